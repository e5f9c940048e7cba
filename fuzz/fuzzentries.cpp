#include "fuzz/fuzzentries.h"

#include "device/deviceconfig.h"
#include "device/devicekv310.h"
#include "formats/fileformatcsv.h"
#include "formats/fileformatgpl.h"
#include "formats/fileformatgpx.h"
#include "formats/fileformatkml.h"
#include "formats/fileformatnmea.h"
#include "formats/fileformattkr.h"
#include "formats/gpsfilter.h"
#include "photos/photoreader.h"
#include "photos/photowriter.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QtEndian>

#include <cmath>
#include <cstring>
#include <limits>

namespace
{

int lineCount(const QByteArray& log)
{
    // A physical line longer than the reader's buffer arrives in pieces: count them all.
    return log.count('\n') + log.size() / 1023 + 1;
}

bool writeScratch(const QString& path, const QByteArray& data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

// A fresh name for every call: QSettings caches files by name and would not notice a
// rewrite within the same millisecond.
QString scratchName(const QString& dir, const char* suffix)
{
    static quint64 serial = 0;
    return dir + QStringLiteral("/input-") + QString::number(++serial) + QLatin1String(suffix);
}

QTemporaryDir* scratch = nullptr;

// Feeds the bytes to a reader of other programs' files. A refusal comes with a reason and
// appends nothing; what is read has sane positions and no more points than the input could
// describe (each takes at least three bytes).
template <typename Read> bool importSane(const QByteArray& data, FileFormat& format, Read read)
{
    QByteArray bytes = data;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QVector<Track> tracks;
    if (!read(tracks, buffer))
        return tracks.isEmpty() && !format.errorString().isEmpty();
    qint64 points = 0;
    for (const Track& track : qAsConst(tracks)) {
        if (track.fmt != 1 && track.fmt != 2)
            return false;
        points += track.points.size();
        for (const Vec3& p : track.points) {
            if (!(std::fabs(p.lat) <= 90.0) || !(std::fabs(p.lon) <= 180.0) ||
                !std::isfinite(p.alt) || p.speed < 0)
                return false;
        }
    }
    return points * 3 <= data.size();
}

QString bits(double value)
{
    quint64 b;
    std::memcpy(&b, &value, sizeof b);
    return QString::number(b, 16);
}

} // namespace

namespace FuzzEntries
{

QString gpxRead(const QByteArray& bytes, FileFormatGPX::Parser parser,
                FileFormatGPX::Parser* used)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    FileFormatGPX gpx;
    gpx.setParser(parser);
    QVector<Track> tracks;
    const bool ok = gpx.read(tracks, buffer);
    if (used)
        *used = gpx.lastParser();
    QString text = (ok ? "read|" : "refused|") + gpx.errorString() + '|' + gpx.warningString() +
                   '|' + gpx.noticeString();
    for (const Track& t : qAsConst(tracks)) {
        text += QStringLiteral("\n%1|%2|%3|%4|%5:")
                    .arg(t.name)
                    .arg(t.startTime)
                    .arg(t.fmt)
                    .arg(int(t.derivedSpeed))
                    .arg(int(t.speedsWithoutAltitude));
        for (const Vec3& p : t.points)
            text += QStringLiteral(" %1,%2,%3,%4,%5,%6,%7")
                        .arg(bits(p.lat), bits(p.lon), bits(p.alt))
                        .arg(p.time)
                        .arg(p.marked)
                        .arg(p.speed)
                        .arg(p.reserved);
    }
    return text;
}


void silenceDiagnostics()
{
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.warning=false"));
}

int initializeTarget(bool withScratch)
{
    silenceDiagnostics();
    if (!withScratch)
        return 0;
    // A RAM-backed folder when there is one: every input goes through a file.
    const QString base =
        QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    scratch = new QTemporaryDir(base + QStringLiteral("/kv730-fuzz-XXXXXX"));
    std::atexit([] { delete scratch; });
    return scratch->isValid() ? 0 : 1;
}

QString scratchPath()
{
    return scratch->path();
}

bool logReader(const QByteArray& data)
{
    if (data.isEmpty())
        return true;
    GpsFilter::setLimit(qint8(data.at(0)));
    QByteArray log = data.mid(1);
    QBuffer buffer(&log);
    buffer.open(QIODevice::ReadOnly);
    QVector<Track> tracks;
    if (!FileFormatGPL().read(tracks, buffer) || tracks.size() != 1)
        return false;
    const Track& track = tracks.first();
    if (track.fmt != 2 || track.points.size() > lineCount(log))
        return false;
    qint64 previous = std::numeric_limits<qint64>::min();
    for (const Vec3& p : track.points) {
        // Times strictly increase. Positions and altitudes are finite ("nan" and "inf" count
        // as 0): a field such as "-35011" passes the reader's checks and gives -350 degrees,
        // so only the 32-bit range bounds them.
        if (p.time <= previous || !std::isfinite(p.lat) || !std::isfinite(p.lon) ||
            !std::isfinite(p.alt) ||
            std::fabs(p.lat) > 2148.0 || std::fabs(p.lon) > 2148.0 || p.marked < 0 ||
            p.marked > 1 || quint32(p.speed) > 100000u)
            return false;
        previous = p.time;
    }
    return track.points.isEmpty() || track.startTime != 0;
}

bool deviceLines(const QByteArray& data)
{
    if (data.isEmpty())
        return true;
    QByteArray log = data.mid(1);
    QBuffer buffer(&log);
    buffer.open(QIODevice::ReadOnly);
    DevicePoint first;
    QVector<DevicePoint> following;
    const DeviceKV310::ReadResult result = DeviceKV310::readTrackData(
        buffer, qint8(data.at(0)), &first, &following, [] { return true; });
    if (result != DeviceKV310::ReadComplete)
        return false;
    if (first.date == 0)
        return following.isEmpty();
    if (following.size() + 1 > lineCount(log))
        return false;
    quint32 previous = deviceTimeToSeconds(quint32(first.date), quint32(first.timeOfDay));
    for (const DevicePoint& p : QVector<DevicePoint>{first} + following) {
        const quint32 seconds = deviceTimeToSeconds(quint32(p.date), quint32(p.timeOfDay));
        // A coordinate without a 32-bit form would come back as the integer indefinite.
        if (p.date == 0 || p.fmt != 2 || p.constantOne != 1 || seconds < previous ||
            quint32(p.speed) > 100000u || p.latitude == std::numeric_limits<qint32>::min() ||
            p.longitude == std::numeric_limits<qint32>::min())
            return false;
        previous = seconds;
    }
    return true;
}

bool deviceHeader(const QByteArray& data)
{
    QByteArray log = data;
    QBuffer buffer(&log);
    buffer.open(QIODevice::ReadOnly);
    quint32 timeOfDay = 0;
    quint32 date = 0;
    qint64 duration = 0;
    if (!DeviceKV310::readTrackFileHeader(buffer, &timeOfDay, &date, &duration))
        return timeOfDay == 0 && date == 0 && duration == -1;
    const quint32 year = date % 100;
    const quint32 month = date / 100 % 100;
    const quint32 day = date / 10000;
    return duration >= -1 && year >= 10 && year <= 35 && month >= 1 && month <= 12 && day >= 1 &&
           day <= 31 && timeOfDay / 10000 <= 23 && timeOfDay / 100 % 100 <= 59 &&
           timeOfDay % 100 <= 59;
}

bool tkxReader(const QByteArray& data, const QString& scratchDir)
{
    const QString path = scratchName(scratchDir, ".tkx");
    if (!writeScratch(path, data))
        return false;
    FileFormatTKR format(3600);
    QVector<Track> tracks;
    const bool ok = format.load(tracks, path);
    QFile::remove(path);
    if (!ok)
        return tracks.isEmpty() && !format.errorString().isEmpty();
    if (data.size() < FileFormatTKR::headerSize)
        return false;
    // Nothing comes back that the file does not hold.
    const quint32 count = qFromLittleEndian<quint32>(data.constData() + 40);
    qint64 points = 0;
    for (const Track& track : qAsConst(tracks))
        points += track.points.size();
    // A damaged archive lists only what a logger can have recorded.
    if (!format.warningString().isEmpty()) {
        for (const Track& track : qAsConst(tracks)) {
            if (track.fmt != 1 && track.fmt != 2)
                return false;
            for (const Vec3& p : track.points)
                if (!(std::fabs(p.lat) <= 90 && std::fabs(p.lon) <= 180 &&
                      std::isfinite(p.alt) && p.time != 0))
                    return false;
        }
    }
    return quint32(tracks.size()) <= count &&
           FileFormatTKR::headerSize +
                   qint64(tracks.size()) * (FileFormatTKR::indexEntrySize + 12) +
                   points * FileFormatTKR::pointRecordSize <=
               data.size();
}

bool deviceConfig(const QByteArray& data, const QString& scratchDir)
{
    const QString path = scratchName(scratchDir, ".ini");
    if (!writeScratch(path, data))
        return false;
    const DeviceConfig config = DeviceConfig::readFile(path);
    QFile::remove(path);
    // What was read can be written back and reads the same.
    const QString text = config.toText();
    return config.loggingFormat >= 0 && config.loggingFormat <= 3 &&
           text.count(QLatin1Char('\n')) == 6;
}

bool gpxReader(const QByteArray& data)
{
    FileFormatGPX format;
    if (!importSane(data, format,
                    [&](QVector<Track>& t, QIODevice& d) { return format.read(t, d); }))
        return false;
    // What the scanner read, the full XML reader reads the same.
    FileFormatGPX::Parser used;
    const QString plain = gpxRead(data, FileFormatGPX::Parser::Scanner, &used);
    return used != FileFormatGPX::Parser::Scanner ||
           plain == gpxRead(data, FileFormatGPX::Parser::FullXml, &used);
}

bool kmlReader(const QByteArray& data)
{
    FileFormatKML format;
    return importSane(data, format, [&](QVector<Track>& t, QIODevice& d) {
        return format.read(t, d);
    });
}

bool nmeaReader(const QByteArray& data)
{
    FileFormatNMEA format;
    return importSane(data, format, [&](QVector<Track>& t, QIODevice& d) {
        return format.read(t, d);
    });
}

bool csvReader(const QByteArray& data)
{
    class : public DisplaySettings
    {
        int speedUnit() const override { return Kmh; }
        int heightUnit() const override { return Metres; }
        int timeSwitch() const override { return Utc; }
    } settings;
    FileFormatCSV format(&settings);
    return importSane(data, format, [&](QVector<Track>& t, QIODevice& d) {
        return format.read(t, d);
    });
}

bool photoReader(const QByteArray& data, const QString& scratchDir)
{
    const QString path = scratchName(scratchDir, ".jpg");
    if (!writeScratch(path, data))
        return false;
    const PhotoInfo info = PhotoReader::read(path, true);
    QFile::remove(path);
    return (info.kind == PhotoInfo::Unreadable) == !info.error.isEmpty() &&
           (!info.hasPosition || (std::isfinite(info.latitude) && std::isfinite(info.longitude)));
}

bool photoWriter(const QByteArray& data, const QString& scratchDir)
{
    static const char* const suffixes[] = {".jpg", ".tif", ".dng"};
    const char* suffix = suffixes[data.isEmpty() ? 0 : quint8(data.at(0)) % 3];
    const QByteArray photo = data.mid(1);
    const QString path = scratchName(scratchDir, suffix);
    if (!writeScratch(path, photo))
        return false;
    const QStringList before = QDir(scratchDir).entryList(QDir::Files | QDir::Hidden);
    GeotagMatch where;
    where.status = GeotagMatch::Matched;
    where.hasUtc = true;
    where.utcMs = 1399371630500;
    where.latitude = -33.8568;
    where.longitude = 151.2153;
    where.hasAltitude = true;
    where.altitude = 58.5;
    const PhotoWriter::Result r = PhotoWriter::write(path, where, {true, false});
    QFile written(path);
    const QByteArray after = written.open(QIODevice::ReadOnly) ? written.readAll() : QByteArray();
    written.close();
    const QString sidecar = PhotoReader::sidecarPath(path);
    bool sane = true;
    if (r.status == PhotoWriter::Result::Tagged && r.written == path) {
        const PhotoInfo info = PhotoReader::read(path);
        sane = info.hasPosition && std::fabs(info.latitude - where.latitude) < 1e-6 &&
               std::fabs(info.longitude - where.longitude) < 1e-6 &&
               after.size() >= photo.size() - 65536;
    } else {
        sane = after == photo;
    }
    QFile::remove(path);
    QFile::remove(sidecar);
    // No temporary file, no other leftover.
    const QStringList left = QDir(scratchDir).entryList(QDir::Files | QDir::Hidden);
    return sane && left.size() == before.size() - 1 &&
           (r.status == PhotoWriter::Result::Tagged) == r.reason.isEmpty();
}

} // namespace FuzzEntries
