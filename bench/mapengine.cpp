// The map's web engine at work, in the real main window: how soon the map is usable after
// start, how soon a 500,000-point track is drawn after it is listed, ticking and unticking all
// of 1,000 tracks with 10 marked points each (time and the longest stall of the event loop),
// the memory of the whole application (every process of it) with the long track shown, and the
// long track opened from a TKX and from a GPX file.
// Built with either engine (KV730_MAP_ENGINE); run offscreen, with TZ unset and TZ=UTC.
#include "synthetictrack.h"
#include "app/mainwindow.h"
#include "formats/fileformatgpx.h"
#include "formats/fileformattkr.h"
#include "view/googlemappage.h"
#include "view/mapwidget.h"
#include "view/track.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

#include <cstdio>

namespace
{

QElapsedTimer sinceStart;

// Watches the event loop: the longest time between two turns while it runs.
class StallMeter : public QObject
{
public:
    StallMeter()
    {
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            m_longest = qMax(m_longest, m_last.restart());
        });
    }
    void start()
    {
        m_longest = 0;
        m_last.start();
        m_timer.start();
    }
    qint64 stop()
    {
        m_timer.stop();
        return qMax(m_longest, m_last.elapsed());
    }

private:
    QTimer m_timer;
    QElapsedTimer m_last;
    qint64 m_longest = 0;
};

void wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Waits, turning the event loop, until the page has nothing left to draw.
bool settled(GoogleMapPage* page, const char* extra = "true")
{
    for (int i = 0; i < 3000; ++i) {
        if (page->evaluate(QStringLiteral("connected === true && !pendingWork() && (%1)")
                               .arg(QLatin1String(extra)))
                .toBool())
            return true;
        wait(2);
    }
    return false;
}

// Resident and proportional set sizes in kB of a process and all its descendants.
void memoryOf(qint64 pid, qint64* rss, qint64* pss, int* processes)
{
    ++*processes;
    QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
    if (rollup.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : rollup.readAll().split('\n')) {
            const QList<QByteArray> f = line.simplified().split(' ');
            if (f.size() >= 2 && f[0] == "Rss:")
                *rss += f[1].toLongLong();
            if (f.size() >= 2 && f[0] == "Pss:")
                *pss += f[1].toLongLong();
        }
    }
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile children(tasks.filePath(task + QStringLiteral("/children")));
        if (!children.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& child : children.readAll().simplified().split(' '))
            if (!child.isEmpty())
                memoryOf(child.toLongLong(), rss, pss, processes);
    }
}

Track longTrack(int count)
{
    return syntheticTrack(count, 2e-6, 1e-6);
}

QVector<Track> manyTracks()
{
    QVector<Track> tracks;
    for (int k = 0; k < 1000; ++k) {
        Track t;
        t.fmt = 2;
        t.startTime = 1500000000 + k * 3600;
        for (int i = 0; i < 20; ++i) {
            Vec3 p;
            p.lat = 20 + k % 40 * 0.25 + i * 0.002;
            p.lon = 100 + k / 40 * 0.25;
            p.time = t.startTime + i;
            p.marked = i >= 5 && i < 15;
            t.points << p;
        }
        tracks << t;
    }
    return tracks;
}

} // namespace

int main(int argc, char** argv)
{
    sinceStart.start();
    // No settings, tile cache or tiles of the user's: everything in a folder of its own.
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath("config").toUtf8());
    qputenv("XDG_CACHE_HOME", home.filePath("cache").toUtf8());
    QDir::setCurrent(home.path());
    QFile ini(home.filePath("Setting.ini"));
    if (ini.open(QIODevice::WriteOnly))
        ini.write("[General]\nMapTiles=file://" + home.path().toUtf8() + "/tiles/{z}/{x}/{y}.png\n");
    ini.close();
    GoogleMapPage::prepareApplication();
    QApplication app(argc, argv);
#if KV730_MAP_WEBKIT
    const char* engine = "Qt WebKit";
#else
    const char* engine = "Qt WebEngine";
#endif
    const QByteArray tz = qgetenv("TZ");
    std::printf("map engine %s, TZ %s\n", engine, tz.isNull() ? "unset" : tz.constData());

    MainWindow window;
    window.resize(1280, 900);
    window.show();
    GoogleMapPage* page = window.mapWidget()->mapPage();
    if (!settled(page)) {
        std::printf("map page not loaded\n");
        return 1;
    }
    std::printf("usable map (window shown, page loaded, bridge connected): %lld ms after start\n",
                sinceStart.elapsed());

    StallMeter stalls;
    QElapsedTimer timer;
    auto* tree = window.mapWidget()->findChild<QTreeWidget*>("treeWidget");

    // The long track: listed (as after an open), then double-clicked (ticked, point list filled).
    window.tracks() = {longTrack(500000)};
    stalls.start();
    timer.start();
    window.mapWidget()->updateTrackList();
    const qint64 listed = timer.elapsed();
    QTreeWidgetItem* item = tree->topLevelItem(0)->child(0);
    window.mapWidget()->TreeWidgetItemDoubleClicked(item, 0);
    const qint64 queued = timer.elapsed();
    const bool drawn = settled(page, "polylinesArray[0].count === 500000 && shownLines.length === 1");
    const qint64 total = timer.elapsed();
    std::printf("500,000-point track listed and double-clicked: %lld ms until drawn%s, longest "
                "stall %lld ms; in the window %lld ms (list %lld, double-click %lld), in the page "
                "%s ms (batches, drawing)\n",
                total, drawn ? "" : " NOT DRAWN", stalls.stop(), queued, listed, queued - listed,
                qPrintable(page->evaluate("JSON.stringify(kvTimes)").toString()));
    wait(500);
    qint64 rss = 0, pss = 0;
    int processes = 0;
    memoryOf(QCoreApplication::applicationPid(), &rss, &pss, &processes);
    std::printf("memory with the track shown: %lld MB resident, %lld MB proportional, in %d "
                "processes\n",
                rss / 1024, pss / 1024, processes);

    // 1,000 tracks, all ticked with the root's box, then all unticked.
    window.tracks() = manyTracks();
    window.mapWidget()->updateTrackList();
    settled(page);
    QTreeWidgetItem* root = tree->topLevelItem(0);
    for (Qt::CheckState state : {Qt::Checked, Qt::Unchecked}) {
        stalls.start();
        timer.start();
        root->setCheckState(0, state);
        const bool done = settled(page, state == Qt::Checked ? "shownLines.length === 1000"
                                                             : "shownLines.length === 0");
        std::printf("%s all of 1,000 tracks with 10 marked points: %lld ms%s, longest stall "
                    "%lld ms\n",
                    state == Qt::Checked ? "tick" : "untick", timer.elapsed(),
                    done ? "" : " NOT DONE", stalls.stop());
    }

    // The long track opened from a file as the user opens it, until the window has listed it
    // and the page is idle: the tool's archive against a GPX export of it (best of 3 each).
    QString tkx = home.filePath(QStringLiteral("long.tkx"));
    QString gpx = home.filePath(QStringLiteral("long.gpx"));
    const QVector<Track> longOne = {longTrack(500000)};
    if (!FileFormatTKR().save(longOne, tkx, {0}, false) ||
        !FileFormatGPX().save(longOne, gpx, {0}, false)) {
        std::printf("cannot write the track files\n");
        return 1;
    }
    qint64 opened[2] = {1 << 30, 1 << 30};
    for (int round = 0; round < 3; ++round) {
        for (int k = 0; k < 2; ++k) {
            timer.start();
            const bool ok = window.openFile(k == 0 ? tkx : gpx) && settled(page);
            opened[k] = qMin(opened[k], ok ? timer.elapsed() : qint64(1 << 30));
        }
    }
    std::printf("500,000-point track opened in the window: TKX %lld ms, GPX %lld ms (%.2f x TKX)\n",
                opened[0], opened[1], double(opened[1]) / double(opened[0]));
    return 0;
}
