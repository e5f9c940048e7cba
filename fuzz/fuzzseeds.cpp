// Writes the seed corpora of the fuzz targets: valid logs, archives and configuration files
// as the tool itself produces them, plus the near misses the readers must turn down.
//   fuzz-seeds <corpus folder>   (creates <folder>/<target>/<seed>)

#include "device/deviceconfig.h"
#include "formats/fileformatregistry.h"
#include "formats/fileformattkr.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>

namespace
{

QByteArray line(const char* time, const char* lat, const char* lon, const char* speed = "10.00",
                const char* tag = "*GPS", const char* ns = "N", const char* ew = "E")
{
    return QByteArray("1,") + time + ',' + tag + ',' + lat + ',' + ns + ',' + lon + ',' + ew +
           ",35.2," + speed + ",0,0\r\n";
}

QList<QPair<QString, QByteArray>> logs()
{
    return {
        {QStringLiteral("plain"),
         line("2016:05:06-10:20:30", "2502.1234", "12130.5678") +
             line("2016:05:06-10:20:31", "2502.1300", "12130.5700") +
             line("2016:05:06-10:20:32", "2502.1400", "12130.5800", "12.5", "@GPS")},
        {QStringLiteral("south-west"),
         line("2020:01:01-00:00:00", "3351.0000", "15112.0000", "3.1", "*GPS", "S", "W") +
             line("2020:01:01-00:00:05", "3351.0010", "15112.0020", "3.2", "*GPS", "S", "W")},
        {QStringLiteral("jump"), line("2016:05:06-10:20:30", "2502.1234", "12130.5678") +
                                     line("2016:05:06-10:20:31", "2602.1234", "12130.5678") +
                                     line("2016:05:06-10:20:32", "2602.1300", "12130.5678") +
                                     line("2016:05:06-10:20:33", "2602.1400", "12130.5678")},
        {QStringLiteral("rejects"),
         line("2009:12:31-23:59:59", "2502.1234", "12130.5678") +
             line("2036:01:01-00:00:00", "2502.1234", "12130.5678") +
             line("2016:05:06-10:20:30", "F", "12130.5678") +
             line("2016:05:06-10:20:30", "2502.1234", "12130.5678", "150.00") +
             line("2016:05:06-10:20:30", "2502.1234", "12130.5678", "1500.00") +
             line("2016:05:06-10:20:30", "10000.0001", "1.0") +
             line("2016:05:06-10:20:29", "2502.1234", "12130.5678", "1", "*gps") +
             QByteArray("1,2016:05:06-10:20:40,*GPS,1,N,2,E,3,4,5\n")},
        {QStringLiteral("odd-bytes"), line("2016:05:06-10:20:30", "2502.1234", "12130.5678") +
                                          QByteArray(1100, 'x') + "\n" +
                                          QByteArray("1,2016:05:06-10:20:3\0"
                                                     "1,*GPS",
                                                     26) +
                                          line("2016:05:06-10:20:32", "2.5e3", "+12130.5", "nan")},
        // Numbers that parse but are not finite, in every numeric field.
        {QStringLiteral("non-finite"),
         line("2016:05:06-10:20:30", "2502.1234", "12130.5678", "inf") +
             QByteArray("1,2016:05:06-10:20:31,*GPS,2502.1300,N,12130.5700,E,nan,10.00,0,0\r\n"
                        "1,2016:05:06-10:20:32,*GPS,2502.1400,N,12130.5800,E,-inf,NaN,0,0\r\n"
                        "1,2016:05:06-10:20:33,*GPS,2502.1500,N,12130.5900,E,Infinity,1,0,0\r\n"
                        "1,2016:05:06-10:20:34,*GPS,nan,N,12130.6000,E,1,1,0,0\r\n"
                        "1,2016:05:06-10:20:35,*GPS,2502.1600,N,-inf,E,1,1,0,0\r\n")},
    };
}

// A damaged archive: the second track announces far more points than the file holds, the
// rest of which is zeros (as a file with holes reads). The first track holds a point and a
// record of garbage, the second an unknown fmt.
QByteArray sparse(int version)
{
    const int blockHead = version == 1 ? 20 : 12;
    const int fmtAt = version == 1 ? 16 : 8;
    QByteArray data(FileFormatTKR::headerSize + 2 * FileFormatTKR::indexEntrySize + 4096, '\0');
    const auto put = [&data](int at, const auto& value) {
        std::memcpy(data.data() + at, &value, sizeof value); // little-endian machines
    };
    std::memcpy(data.data(), "VLTR", 4);
    put(4, quint16(version));
    put(40, quint32(2));
    put(FileFormatTKR::headerSize + 8, quint32(10));
    put(FileFormatTKR::headerSize + 12 + 8, quint32(0xffffffffu));
    const int block = FileFormatTKR::headerSize + 24;
    put(block + fmtAt, qint32(2));
    const int first = block + blockHead;
    put(first + 8, 25.5);
    put(first + 16, -121.25);
    put(first + 24, 120000.0);
    put(first + 32, qint64(1462530030));
    put(first + 48 + 8, 8.5e111);
    put(first + 48 + 32, qint64(1462530031));
    const int second = first + 10 * 48;
    put(second + fmtAt, qint32(1079922688));
    put(second + blockHead + 8, 25.5);
    put(second + blockHead + 32, qint64(1462530032));
    return data;
}

bool write(const QString& path, const QByteArray& data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

Track track(int points, qint64 start)
{
    Track t;
    t.startTime = start;
    t.fmt = 2;
    for (int i = 0; i < points; ++i) {
        Vec3 p;
        p.lat = 25.0 + i / 1000.0;
        p.lon = -121.5 - i / 1000.0;
        p.alt = 12.3456 * i;
        p.time = start + i;
        p.speed = 1000 * i;
        p.marked = i % 2;
        t.points.append(p);
    }
    return t;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz-seeds <corpus folder>\n");
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    for (const char* target : {"logreader", "deviceline", "deviceheader", "tkx", "deviceconfig",
                               "gpx", "kml", "nmea", "csv"})
        root.mkpath(QLatin1String(target));
    bool ok = true;

    // Logs: the log reader and the device worker's line reading take the jump-filter limit
    // as their first byte.
    for (const auto& log : logs()) {
        ok &= write(root.filePath(QStringLiteral("logreader/") + log.first), '\1' + log.second);
        ok &= write(root.filePath(QStringLiteral("deviceline/") + log.first), '\1' + log.second);
        ok &= write(root.filePath(QStringLiteral("deviceheader/") + log.first), log.second);
    }
    ok &= write(root.filePath(QStringLiteral("logreader/no-filter")), '\0' + logs().at(2).second);
    ok &= write(root.filePath(QStringLiteral("deviceline/no-filter")), '\0' + logs().at(2).second);

    // Archives written by the tool itself, and a version 1 archive.
    QTemporaryDir scratch;
    FileFormatTKR tkx;
    const QVector<Track> tracks = {track(3, 1462530030), track(0, 0), track(2, 1577836800)};
    const QList<QPair<QString, QList<int>>> selections = {{QStringLiteral("empty"), {}},
                                                          {QStringLiteral("one"), {0}},
                                                          {QStringLiteral("three"), {0, 1, 2}}};
    for (const auto& selection : selections) {
        QString path = scratch.filePath(selection.first + QStringLiteral(".tkx"));
        ok &= tkx.save(tracks, path, selection.second, false);
        ok &= write(root.filePath(QStringLiteral("tkx/") + selection.first), readAll(path));
    }
    QByteArray version1 = readAll(scratch.filePath(QStringLiteral("one.tkx")));
    version1[4] = 1;
    version1.insert(FileFormatTKR::headerSize + FileFormatTKR::indexEntrySize + 8,
                    QByteArray(8, '\0'));
    ok &= write(root.filePath(QStringLiteral("tkx/version1")), version1);
    ok &= write(root.filePath(QStringLiteral("tkx/sparse-version1")), sparse(1));
    ok &= write(root.filePath(QStringLiteral("tkx/sparse-version2")), sparse(2));

    // Configuration files as the tool writes them, and as a user might edit them.
    DeviceConfig config;
    config.loggingFormat = 3;
    config.gpsInterval = 2.5;
    config.powerSaving = true;
    ok &= write(root.filePath(QStringLiteral("deviceconfig/written")), config.toText().toLatin1());
    ok &= write(root.filePath(QStringLiteral("deviceconfig/edited")),
                "[General]\r\nData Logger=G-Sensor ; x\r\nGPS%20interval = \"3\"\r\n"
                "Test\\ Mode = Enable\r\n[Other]\r\nHeight Limit = Disable\r\n");

    // The tool's own exports, and small files as other programs write them.
    const QList<int> all = {0, 1, 2};
    struct : DisplaySettings {
        int speedUnit() const override { return Kmh; }
        int heightUnit() const override { return Metres; }
        int timeSwitch() const override { return Utc; }
    } utcSettings;
    for (const char* extension : {"gpx", "kml", "csv"}) {
        FileFormatRegistry registry;
        registry.addStandardFormats(&utcSettings);
        const QString path = scratch.filePath(QStringLiteral("export.") + extension);
        ok &= registry.save(tracks, path, all, false);
        ok &= write(root.filePath(QLatin1String(extension) + QStringLiteral("/export")),
                    readAll(path));
    }
    ok &= write(root.filePath(QStringLiteral("gpx/other")),
                "<?xml version=\"1.0\"?><gpx version=\"1.0\"><wpt lat=\"1\" lon=\"2\"/>"
                "<rte><name>r</name><rtept lat=\"1\" lon=\"2\"><ele>3</ele></rtept></rte>"
                "<trk><trkseg><trkpt lat=\"1.5\" lon=\"2.5\"><time>2020-01-01T00:00:00.5+01:00"
                "</time><speed>3</speed></trkpt></trkseg></trk></gpx>");
    ok &= write(root.filePath(QStringLiteral("kml/track")),
                "<kml xmlns:gx=\"http://www.google.com/kml/ext/2.2\"><Folder><Placemark><name>a"
                "</name><gx:MultiTrack><gx:Track><when>2010-05-28T02:02:09Z</when><gx:coord>1 2 3"
                "</gx:coord></gx:Track></gx:MultiTrack></Placemark><Placemark><Point><coordinates>"
                "1,2</coordinates></Point></Placemark></Folder></kml>");
    ok &= write(root.filePath(QStringLiteral("nmea/log")),
                "$GPGGA,102030.00,2502.1234,N,12130.5678,E,1,08,1.0,35.2,M,0,M,,*6C\r\n"
                "$GPRMC,102030.00,A,2502.1234,N,12130.5678,E,10.0,0,060514,,,A*58\r\n"
                "$GNRMC,102031,A,2502.1234,S,12130.5678,W,0,0,060514,,,A\r\n");
    ok &= write(root.filePath(QStringLiteral("csv/other")),
                "lat;lng;ele;timestamp;speed (mph)\n0;0;100;2020-01-01T00:00:00Z;3\n"
                "\"1\";\"2\";;;\n");
    return ok ? 0 : 1;
}
