// Lists a logger folder and downloads every track file through the device worker, with
// the main window's conversion into tracks, while a zero timer on the GUI thread records
// the longest time between two turns of the event loop.
#include "device/devicekv310.h"
#include "device/devicepointconverter.h"
#include "loggenerator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace
{

struct Figures {
    double listMs = 0;
    double totalMs = 0;
    double longestGapMs = 0;
    qint64 points = 0;
};

// The longest time between two turns of this thread's event loop, from start() on.
class LoopGaps
{
public:
    LoopGaps()
    {
        m_ticker.setInterval(0);
        QObject::connect(&m_ticker, &QTimer::timeout, [this] {
            m_longest = qMax(m_longest, m_clock.nsecsElapsed());
            m_clock.restart();
        });
    }
    void start()
    {
        m_clock.start();
        m_ticker.start();
    }
    // The gap still open counts too.
    double longestMs() const { return qMax(m_longest, m_clock.nsecsElapsed()) / 1e6; }

private:
    QElapsedTimer m_clock;
    qint64 m_longest = 0;
    QTimer m_ticker;
};

Figures download(const QString& drive, int fileCount)
{
    Figures figures;
    DeviceKV310 device;
    QVector<Track> tracks;
    QVector<int> queue;
    int counter = 0;
    QEventLoop loop;

    LoopGaps gaps;

    QObject::connect(
        &device, &DeviceKV310::FireRecvTrackFileHeader, &loop,
        [&](const QVector<TrackFileHeader>& headers) {
            for (const TrackFileHeader& header : headers) {
                Track track;
                track.startTime = deviceTimeToSeconds(header.date, header.timeOfDay);
                tracks << track;
                queue << header.fileIndexes;
            }
            gaps.start();
            device.startTrackFileRead(quint16(queue.first()));
        },
        Qt::QueuedConnection);
    QObject::connect(
        &device, &DeviceKV310::FireRecvStatus, &loop,
        [&](int cmd, int) {
            if (cmd != CMD_READ_TRACK_FILE) {
                std::printf("unexpected report %d\n", cmd);
                loop.quit();
                return;
            }
            DevicePointConverter::fillTrack(tracks[counter], device.trackFileData());
            ++counter;
            if (counter < queue.size())
                device.startTrackFileRead(quint16(queue.at(counter)));
            else
                loop.quit();
        },
        Qt::QueuedConnection);

    QElapsedTimer total;
    total.start();
    device.listTrackFiles(drive);
    figures.listMs = total.nsecsElapsed() / 1e6;
    loop.exec();
    figures.totalMs = total.nsecsElapsed() / 1e6;
    figures.longestGapMs = gaps.longestMs();
    for (const Track& track : qAsConst(tracks))
        figures.points += track.points.size();
    if (tracks.size() != fileCount)
        std::printf("expected %d tracks, got %d\n", fileCount, tracks.size());
    return figures;
}

// "Delete all" of a logger folder: the backup copies and the removals on the worker thread,
// with the longest time between two turns of the GUI thread's event loop meanwhile.
Figures deleteAll(const QString& drive, const QString& backup)
{
    Figures figures;
    DeviceKV310 device;
    QEventLoop loop;
    LoopGaps gaps;
    QObject::connect(&device, &DeviceKV310::FireRecvStatus, &loop, &QEventLoop::quit,
                     Qt::QueuedConnection);
    QElapsedTimer total;
    total.start();
    gaps.start();
    device.deleteAllTrackFiles(drive, backup);
    loop.exec();
    figures.totalMs = total.nsecsElapsed() / 1e6;
    figures.longestGapMs = gaps.longestMs();
    return figures;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("kv730.*.debug=false"));
    const QByteArray tzValue = qgetenv("TZ");
    const QByteArray tz =
        qEnvironmentVariableIsSet("TZ") ? "TZ=" + tzValue : QByteArray("TZ unset");
    struct Case {
        int files;
        int lines;
    };
    for (const Case c : {Case{20, 86400}, Case{6, 83334}}) {
        QTemporaryDir dir;
        const QString drive = dir.path() + "/";
        for (int i = 0; i < c.files; ++i) {
            // One recording per day from 2016-05-06 on.
            const LogGenerator generator(1462492800 + qint64(i) * 86400);
            generator.writeLog(drive + QString("LOG%1.gpl").arg(i, 3, 10, QChar('0')), c.lines);
        }
        Figures best;
        double worstGapMs = 0;
        for (int run = 0; run < 5; ++run) {
            const Figures f = download(drive, c.files);
            if (run == 0 || f.totalMs < best.totalMs)
                best = f;
            worstGapMs = qMax(worstGapMs, f.longestGapMs);
        }
        std::printf("%s: %d files x %d lines (%lld points kept): listing %.1f ms, "
                    "listing + download + conversion %.0f ms (best of 5), "
                    "longest event-loop gap %.1f ms (worst of 5)\n",
                    tz.constData(), c.files, c.lines, static_cast<long long>(best.points),
                    best.listMs, best.totalMs, worstGapMs);
    }
    // Delete all of 20 files of a day each (about 120 MB), three times.
    Figures best;
    double worstGapMs = 0;
    for (int run = 0; run < 3; ++run) {
        QTemporaryDir dir, backups;
        for (int i = 0; i < 20; ++i)
            LogGenerator(1462492800 + qint64(i) * 86400)
                .writeLog(dir.path() + QString("/LOG%1.gpl").arg(i, 3, 10, QChar('0')), 86400);
        const Figures f = deleteAll(dir.path() + "/", backups.filePath("backup"));
        if (run == 0 || f.totalMs < best.totalMs)
            best = f;
        worstGapMs = qMax(worstGapMs, f.longestGapMs);
    }
    std::printf("%s: delete all of 20 files x 86400 lines: %.0f ms (best of 3), "
                "longest event-loop gap %.1f ms (worst of 3)\n",
                tz.constData(), best.totalMs, worstGapMs);
    return 0;
}
