#include "formats/fileformatgpl.h"

#include "formats/distanceinmeters.h"
#include "formats/formatslog.h"
#include "formats/gpsfilter.h"
#include "formats/logdatetime.h"
#include "formats/loglinereader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <limits>

namespace
{

constexpr qint32 MaxKeptSpeed = 10000; // 100.00 km/h
constexpr double JumpDistance = 10000.0;
// A QVector holds less than 2 GB.
constexpr int MaxPoints = int(std::numeric_limits<int>::max() / sizeof(Vec3)) - 64;

// Scaled NMEA integer to decimal degrees.
double nmeaToDegrees(qint32 v)
{
    const int degrees = v / 1000000;
    const int minutes = (v / 10000) % 100;
    const int fraction = v % 10000;
    return degrees + (minutes + fraction / 10000.0) / 60.0;
}

bool fitsInt32(double v)
{
    return v >= -2147483648.0 && v < 2147483648.0; // false for NaN as well
}

// Room for the points of the whole file, judged from its first lines, so that the
// vector is not regrown (and briefly held twice) while reading.
int estimatePoints(QIODevice& file)
{
    const QByteArray head = file.peek(64 * 1024);
    int longLines = 0;
    int from = 0;
    while (from < head.size()) {
        const int to = head.indexOf('\n', from);
        if (to < 0)
            break;
        if (to + 1 - from > 30)
            ++longLines;
        from = to + 1;
    }
    if (from == 0)
        return 0;
    const double estimate = double(longLines) / from * double(file.size()) * 1.02 + 16;
    // Beyond this the vector regrows as needed; reserving more would ask for gigabytes
    // on the strength of a file's size alone.
    return estimate > double(1 << 22) ? 1 << 22 : int(estimate);
}

} // namespace

double FileFormatGPL::fieldToDouble(const char* field, int size)
{
    return LogLineReader::toDoubleOrZero(LogLineReader::Field{field, size});
}

bool FileFormatGPL::load(QVector<Track>& tracks, const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        setErrorString(QCoreApplication::translate("FileFormatGPL", "The file %1 cannot be read.")
                           .arg(QDir::toNativeSeparators(fileName)));
        qCDebug(lcFormats) << "cannot open" << fileName << file.errorString();
        return false;
    }
    setErrorString(QString());
    const Track track = readTrack(file);
    file.close();
    tracks.append(track);
    return true;
}

Track FileFormatGPL::readTrack(QIODevice& file)
{
    Track track;
    track.fmt = 2;
    track.points.reserve(estimatePoints(file));

    const qint8 limit = GpsFilter::limit();
    bool havePrevTime = false;
    qint64 prevTime = 0;
    double prevLat = 0.0;
    double prevLon = 0.0;
    qint32 prevSpeed = 0;
    qint32 refLat = 0;
    qint32 refLon = 0;
    qint8 counter = 0;

    LogLineReader reader(file);
    while (reader.next()) {
        const LogLineReader::Field& timeField = reader.field(1);
        const LogDateTime when = LogDateTime::parseLatin1AsUtc(timeField.data, timeField.size);
        if (when.year < 2010 || when.year > 2035)
            continue;
        if (track.startTime == 0) {
            track.startTime = when.secs;
            track.fmt = 2;
        }

        qint32 marked;
        if (reader.field(2).equals("*GPS"))
            marked = 0;
        else if (reader.field(2).equals("@GPS"))
            marked = 1;
        else
            continue;

        if (reader.field(3).first() == 'F' || reader.field(5).first() == 'F')
            continue;
        // A field that is no number, an overflowing one included, counts as 0.
        const double a = LogLineReader::toDoubleOrZero(reader.field(3)) * 10000.0;
        const double b = LogLineReader::toDoubleOrZero(reader.field(5)) * 10000.0;
        if (a == 0 || b == 0 || a > 100000000.0)
            continue;
        // Not-a-number and out-of-range values have no integer form; such lines are noise.
        if (!fitsInt32(a) || !fitsInt32(b))
            continue;
        const qint32 latI = qint32(a);
        const qint32 lonI = qint32(b);

        Vec3 point;
        point.lat = nmeaToDegrees(latI);
        point.lon = nmeaToDegrees(lonI);
        if (reader.field(4).first() == 'S')
            point.lat = -point.lat;
        if (reader.field(6).first() == 'W')
            point.lon = -point.lon;
        point.alt = LogLineReader::toDoubleOrZero(reader.field(7));
        point.time = when.secs;
        const double speed = LogLineReader::toDoubleOrZero(reader.field(8)) * 100.0;
        // A speed without integer form counts as out of range, as a negative one does.
        point.speed = fitsInt32(speed) ? qint32(speed) : std::numeric_limits<qint32>::min();
        point.reserved = 0;
        point.marked = marked;

        if (havePrevTime && !(prevTime < when.secs))
            continue;

        const double distance = refLon == 0 ? 0.0 : distanceInMeters(refLon, refLat, lonI, latI);

        if (quint32(point.speed) > quint32(MaxKeptSpeed))
            point.speed = prevSpeed;
        if (point.lat == prevLat && point.lon == prevLon)
            point.speed = 0;
        else
            prevSpeed = point.speed;
        prevLat = point.lat;
        prevLon = point.lon;

        const qint8 c = counter;
        counter = qint8(counter + 1);
        if (c >= limit || distance <= JumpDistance) {
            refLat = latI;
            refLon = lonI;
        }
        havePrevTime = true;
        prevTime = when.secs;

        if (distance <= JumpDistance || limit == 0) {
            counter = 0;
            if (track.points.size() >= MaxPoints) {
                qCWarning(lcFormats) << "log holds more points than a track can keep";
                break;
            }
            track.points.append(point);
        } else {
            counter = qint8(counter + 1);
            qCDebug(lcFormats) << "jump dropped: points" << track.points.size() << "reference"
                               << refLat << refLon << "position" << latI << lonI << "distance"
                               << distance << "counter" << counter;
        }
    }
    return track;
}

bool FileFormatGPL::save(QVector<Track> tracks, QString& fileName, QList<int> selection,
                         bool markedOnly)
{
    Q_UNUSED(fileName);
    Q_UNUSED(markedOnly);
    tracks.clear();
    selection.clear();
    setErrorString(
        QCoreApplication::translate("FileFormatGPL", "Log files cannot be written, only read."));
    return false;
}
