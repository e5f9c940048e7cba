#include "formats/fileformatgpl.h"

#include "formats/formatslog.h"
#include "formats/gpsfilter.h"
#include "formats/loglinefilter.h"
#include "formats/loglinereader.h"

#include <QCoreApplication>
#include <QFile>

#include <cstring>
#include <limits>

namespace
{

// A QVector holds less than 2 GB.
constexpr int MaxPoints = int(std::numeric_limits<int>::max() / sizeof(Vec3)) - 64;

QString tr(const char* text)
{
    return QCoreApplication::translate("FileFormatGPL", text);
}

// At most how many points the log can give: one a line, a line longer than the reader's
// 1023-byte window counted once for each piece it is cut into. Counting costs a fraction of
// reading, and the track's vector, sized once, is then never regrown (and never briefly held
// twice). -1 when the device fails.
qint64 pointsAtMost(QIODevice& device)
{
    if (device.isSequential())
        return 0;
    const qint64 start = device.pos();
    QByteArray block(64 * 1024, Qt::Uninitialized);
    qint64 lines = 0;
    qint64 length = 0; // of the line read so far
    for (qint64 n; (n = device.read(block.data(), block.size())) != 0;) {
        if (n < 0)
            return -1;
        const char* p = block.constData();
        const char* const end = p + n;
        while (const void* newline = std::memchr(p, '\n', size_t(end - p))) {
            length += static_cast<const char*>(newline) + 1 - p;
            lines += (length + 1022) / 1023;
            length = 0;
            p = static_cast<const char*>(newline) + 1;
        }
        length += end - p;
    }
    lines += (length + 1022) / 1023;
    return device.seek(start) ? lines : -1;
}

Vec3 toPoint(const LogFix& fix)
{
    Vec3 point;
    point.lat = LogLineFilter::degrees(fix.latitude);
    point.lon = LogLineFilter::degrees(fix.longitude);
    if (fix.south)
        point.lat = -point.lat;
    if (fix.west)
        point.lon = -point.lon;
    point.alt = fix.altitude;
    point.time = fix.time.secs;
    point.speed = fix.speed;
    point.reserved = 0;
    point.marked = fix.marked ? 1 : 0;
    return point;
}

} // namespace

bool FileFormatGPL::load(QVector<Track>& tracks, const QString& fileName)
{
    setWarningString(QString());
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        setErrorString(tr("The file cannot be read: %1").arg(file.errorString()));
        qCDebug(lcFormats) << "cannot open" << fileName << file.errorString();
        return false;
    }
    return read(tracks, file);
}

bool FileFormatGPL::read(QVector<Track>& tracks, QIODevice& device)
{
    setErrorString(QString());
    setWarningString(QString());
    const qint64 lines = pointsAtMost(device);
    Track track;
    track.fmt = 2;
    track.points.reserve(int(qBound<qint64>(0, lines, MaxPoints)));

    LogLineFilter filter(LogLinePolicy::logReader, GpsFilter::limit());
    LogLineReader reader(device);
    qint64 leftOut = 0;
    while (lines >= 0 && reader.next()) {
        const LogLineFilter::Verdict verdict = filter.take(reader);
        if (verdict == LogLineFilter::Undated)
            continue;
        // The first dated line gives the start, whether or not it gives a point.
        if (track.startTime == 0) {
            track.startTime = filter.fix().time.secs;
            track.fmt = 2;
        }
        if (verdict != LogLineFilter::Kept)
            continue;
        if (track.points.size() < MaxPoints)
            track.points.append(toPoint(filter.fix()));
        else
            ++leftOut;
    }
    // A read error midway would otherwise pass for a shorter track.
    if (lines < 0 || reader.failed()) {
        setErrorString(tr("The file cannot be read to its end: %1").arg(device.errorString()));
        return false;
    }
    if (leftOut > 0) {
        setWarningString(tr("The log holds more points than a track can keep: its last %1 "
                            "points were left out.")
                             .arg(leftOut));
    }
    tracks.append(track);
    return true;
}

bool FileFormatGPL::save(QVector<Track> tracks, QString& fileName, QList<int> selection,
                         bool markedOnly)
{
    Q_UNUSED(fileName);
    Q_UNUSED(markedOnly);
    tracks.clear();
    selection.clear();
    setErrorString(tr("Log files cannot be written, only read."));
    return false;
}
