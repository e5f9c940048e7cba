#include "formats/fileformatcsv.h"
#include "formats/fileformatgpx.h"
#include "formats/fileformatkml.h"
#include "formats/fileformatregistry.h"
#include "formats/fileformattkr.h"
#include "formats/numbertext.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamWriter>

#include <csignal>
#include <cstdio>
#include <ctime>
#include <sys/resource.h>

namespace
{

struct Settings : DisplaySettings {
    int speed = 0;
    int height = 0;
    int time = 0;
    int speedUnit() const override { return speed; }
    int heightUnit() const override { return height; }
    int timeSwitch() const override { return time; }
};

Vec3 point(double lat, double lon, double alt, qint64 time, int marked, int speed)
{
    Vec3 p;
    p.lat = lat;
    p.lon = lon;
    p.alt = alt;
    p.time = time;
    p.marked = marked;
    p.speed = speed;
    return p;
}

Track track(qint64 start, int fmt, const QVector<Vec3>& points)
{
    Track t;
    t.startTime = start;
    t.fmt = fmt;
    t.points = points;
    return t;
}

// Small collection covering the interesting cases; the tests run in Asia/Taipei (UTC+8).
QVector<Track> sampleTracks()
{
    return {
        track(1399371630, 2,
              {point(25.035522, 121.509644, 35.2, 1399371630, 0, 1234),
               // 16:00:05 UTC is already the next day in Taipei; 12.125 is a rounding tie
               point(-33.5, -70.25, 12.125, 1399392005, 1, 10000),
               // 0.0078125 ties at six decimals; -0.0 and a speed above 2^31 as unsigned
               point(0.0078125, -0.0, 100, 1399391999, 0, qint32(0x80000000u))}),
        track(1399400000, 1,
              {point(24.5, 120.25, 99.5, 1399400000, 1, 250),
               point(24.6, 120.35, 98.5, 1399400001, 0, 0)}),
        track(1399500000, 2, {point(-12.345678, 45.000001, -5.5, 1399500000, 0, 1)}),
        track(1399600000, 0, {point(1.0, 2.0, 3.0, 1399600000, 1, 4)}),
        track(0, 2, {}),
    };
}

// The documents as QXmlStreamWriter writes them element by element; the writers must
// produce exactly these bytes.
QByteArray referenceGpx(const QVector<Track>& tracks, const QList<int>& selection, bool markedOnly)
{
    QByteArray data;
    QXmlStreamWriter w(&data);
    w.setAutoFormatting(true);
    w.writeStartDocument();
    w.writeStartElement(QStringLiteral("gpx"));
    w.writeAttribute(QStringLiteral("creator"), QLatin1String(FileFormatGPX::creator));
    w.writeAttribute(QStringLiteral("version"), QStringLiteral("1.1"));
    w.writeAttribute(QStringLiteral("xmlns"), QStringLiteral("http://www.topografix.com/GPX/1/1"));
    w.writeAttribute(QStringLiteral("xmlns:xsi"),
                     QStringLiteral("http://www.w3.org/2001/XMLSchema-instance"));
    w.writeAttribute(QStringLiteral("xsi:schemaLocation"),
                     QStringLiteral("http://www.topografix.com/GPX/1/1 "
                                    "http://www.topografix.com/GPX/1/1/gpx.xsd"));
    for (int index : selection) {
        const Track& t = tracks[index];
        w.writeStartElement(QStringLiteral("trk"));
        w.writeTextElement(QStringLiteral("name"),
                           QStringLiteral("KV-730 DataLog-%1 ").arg(1) +
                               QDateTime::fromTime_t(uint(t.startTime))
                                   .toUTC()
                                   .toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
        w.writeStartElement(QStringLiteral("trkseg"));
        for (const Vec3& p : t.points) {
            if (markedOnly && !p.marked)
                continue;
            w.writeStartElement(QStringLiteral("trkpt"));
            w.writeAttribute(QStringLiteral("lat"), QStringLiteral("%1").arg(p.lat, 0, 'f', 6));
            w.writeAttribute(QStringLiteral("lon"), QStringLiteral("%1").arg(p.lon, 0, 'f', 6));
            if (t.fmt == 2)
                w.writeTextElement(QStringLiteral("ele"),
                                   QStringLiteral("%1").arg(p.alt, 0, 'f', 2));
            w.writeTextElement(QStringLiteral("time"),
                               QDateTime::fromTime_t(uint(p.time))
                                   .toUTC()
                                   .toString(QStringLiteral("yyyy-MM-ddThh:mm:ssZ")));
            w.writeEndElement();
        }
        w.writeEndElement();
        w.writeEndElement();
    }
    w.writeEndElement();
    w.writeEndDocument();
    return data;
}

QByteArray referenceKml(const QVector<Track>& tracks, const QList<int>& selection, bool markedOnly)
{
    QByteArray data;
    QXmlStreamWriter w(&data);
    w.setAutoFormatting(true);
    w.writeStartDocument();
    w.writeStartElement(QStringLiteral("kml"));
    w.writeAttribute(QStringLiteral("xmlns"), QStringLiteral("http://www.opengis.net/kml/2.2"));
    w.writeStartElement(QStringLiteral("Folder"));
    int n = 1;
    for (int index : selection) {
        const Track& t = tracks[index];
        QString coordinates;
        for (const Vec3& p : t.points) {
            if (markedOnly && !p.marked)
                continue;
            coordinates += QStringLiteral("%1,%2,%3\n")
                               .arg(p.lon, 0, 'f', 6)
                               .arg(p.lat, 0, 'f', 6)
                               .arg(p.alt, 0, 'f', 2);
        }
        w.writeStartElement(QStringLiteral("Placemark"));
        w.writeTextElement(QStringLiteral("name"),
                           QStringLiteral("KV-730 DataLog-%1 ").arg(n++) +
                               QDateTime::fromTime_t(uint(t.startTime))
                                   .toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
        w.writeTextElement(QStringLiteral("styleUrl"),
                           QStringLiteral("root://styleMaps#default+nicon=0x467+hicon=0x477"));
        w.writeStartElement(QStringLiteral("Style"));
        w.writeStartElement(QStringLiteral("LineStyle"));
        w.writeTextElement(QStringLiteral("color"), QStringLiteral("7f0000ff"));
        w.writeTextElement(QStringLiteral("width"), QStringLiteral("4"));
        w.writeEndElement();
        w.writeEndElement();
        w.writeStartElement(QStringLiteral("LineString"));
        w.writeTextElement(QStringLiteral("coordinates"), coordinates);
        w.writeTextElement(QStringLiteral("tessellate"), QStringLiteral("1"));
        w.writeTextElement(QStringLiteral("altitudeMode"), QStringLiteral("clampToGround"));
        w.writeEndElement();
        w.writeEndElement();
    }
    w.writeEndElement();
    w.writeEndElement();
    w.writeEndDocument();
    return data;
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QVector<Track> randomTracks(quint32 seed)
{
    QRandomGenerator rng(seed);
    QVector<Track> tracks;
    for (int t = 0; t < 3; ++t) {
        Track track;
        track.startTime = rng.bounded(2000000000);
        track.fmt = int(rng.bounded(3));
        for (int i = int(rng.bounded(40)); i > 0; --i) {
            // Multiples of 1/128 and 1/8 produce exact rounding ties.
            const double lat = rng.bounded(2) ? rng.bounded(-11520, 11520) / 128.0
                                              : rng.generateDouble() * 180 - 90;
            const double lon = rng.generateDouble() * 360 - 180;
            const double alt = rng.bounded(2) ? rng.bounded(-8000, 80000) / 8.0
                                              : rng.generateDouble() * 9000 - 500;
            track.points << point(lat, lon, alt, rng.bounded(2000000000), int(rng.bounded(2)),
                                  int(rng.generate()));
        }
        // Values no logger writes still give the same text, however long.
        if (seed % 5 == 0 && !track.points.isEmpty())
            track.points[0] = point(1e300, -1e300, -1.7e308, 0, 1, -1);
        tracks << track;
    }
    return tracks;
}

} // namespace

class TestTrackExports : public QObject
{
    Q_OBJECT

private slots:
    void fixedText_data();
    void fixedText();
    void fixedTextRandom();
    void golden_data();
    void golden();
    void sameBytesAsStreamWriter();
    void csvExtremeValues();
    void gpxValidates();
    void readBackByGpsBabel_data();
    void readBackByGpsBabel();
    void writeErrorKeepsOldFile_data();
    void writeErrorKeepsOldFile();

private:
    QTemporaryDir m_dir;
};

void TestTrackExports::fixedText_data()
{
    QTest::addColumn<double>("value");
    for (double v : {0.0, -0.0, 0.125, -0.125, 0.0078125, -0.0078125, 12.345, 2.675, -1e-7,
                     121.509644, -70.25, 1e13, -1e300, 123456789.987654321})
        QTest::addRow("%.17g", v) << v;
}

// Qt-style numbers must equal QString::arg, C-style numbers printf, for every value.
void TestTrackExports::fixedText()
{
    QFETCH(double, value);
    for (int decimals : {2, 6}) {
        char buffer[400];
        char* end = NumberText::qtFixed(buffer, value, decimals);
        QCOMPARE(QByteArray(buffer, int(end - buffer)),
                 QStringLiteral("%1").arg(value, 0, 'f', decimals).toLatin1());
        end = NumberText::cFixed(buffer, value, decimals);
        char expected[400];
        std::snprintf(expected, sizeof expected, "%.*f", decimals, value);
        QCOMPARE(QByteArray(buffer, int(end - buffer)), QByteArray(expected));
    }
}

void TestTrackExports::fixedTextRandom()
{
    QRandomGenerator rng(730);
    for (int i = 0; i < 200000; ++i) {
        const int kind = i % 4;
        const double v = kind == 0   ? rng.generateDouble() * 360 - 180
                         : kind == 1 ? rng.bounded(-100000, 100000) / 1024.0
                         : kind == 2 ? (rng.generateDouble() - 0.5) * 1e-5
                                     : rng.bounded(-2000000, 2000000) / 100.0;
        const int decimals = i % 2 ? 6 : 2;
        char buffer[400];
        char* end = NumberText::qtFixed(buffer, v, decimals);
        const QByteArray qt = QStringLiteral("%1").arg(v, 0, 'f', decimals).toLatin1();
        if (QByteArray(buffer, int(end - buffer)) != qt)
            QFAIL(qPrintable(QStringLiteral("qt %1").arg(v, 0, 'g', 17)));
        end = NumberText::cFixed(buffer, v, decimals);
        char expected[400];
        std::snprintf(expected, sizeof expected, "%.*f", decimals, v);
        if (QByteArray(buffer, int(end - buffer)) != QByteArray(expected))
            QFAIL(qPrintable(QStringLiteral("c %1").arg(v, 0, 'g', 17)));
    }
}

void TestTrackExports::golden_data()
{
    QTest::addColumn<QString>("golden");
    QTest::addColumn<QList<int>>("selection");
    QTest::addColumn<bool>("markedOnly");
    QTest::addColumn<int>("speedUnit");
    QTest::addColumn<int>("heightUnit");
    QTest::addColumn<int>("timeSwitch");
    const QList<int> all{0, 1, 2, 3, 4};
    for (const char* ext : {"gpx", "kml", "tkx"}) {
        QTest::addRow("%s all", ext)
            << QStringLiteral("all.%1").arg(ext) << all << false << 0 << 0 << 0;
        QTest::addRow("%s marked only, reordered", ext)
            << QStringLiteral("marked.%1").arg(ext) << QList<int>{2, 0, 1} << true << 0 << 0 << 0;
        QTest::addRow("%s empty selection", ext)
            << QStringLiteral("empty.%1").arg(ext) << QList<int>{} << false << 0 << 0 << 0;
    }
    QTest::addRow("csv utc, m, km/h") << "utc-metric.csv" << all << false << 0 << 0 << 0;
    QTest::addRow("csv local, feet, mi/h") << "local-imperial.csv" << all << false << 1 << 1 << 1;
    QTest::addRow("csv marked only") << "marked.csv" << QList<int>{2, 0, 1} << true << 0 << 0 << 1;
    QTest::addRow("csv empty selection") << "empty.csv" << QList<int>{} << false << 1 << 0 << 0;
}

void TestTrackExports::golden()
{
    QFETCH(QString, golden);
    QFETCH(QList<int>, selection);
    QFETCH(bool, markedOnly);
    Settings settings;
    QFETCH(int, speedUnit);
    QFETCH(int, heightUnit);
    QFETCH(int, timeSwitch);
    settings.speed = speedUnit;
    settings.height = heightUnit;
    settings.time = timeSwitch;

    FileFormatRegistry registry;
    registry.addStandardFormats(&settings);
    const QVector<Track> tracks = sampleTracks();
    const QString name = m_dir.filePath(golden);
    QVERIFY2(registry.save(tracks, name, selection, markedOnly),
             qPrintable(registry.errorString()));
    const QByteArray written = readFile(name);

    const QString goldenPath = QStringLiteral(KV730_TEST_DATA "/exports/") + golden;
    if (qEnvironmentVariableIsSet("KV730_UPDATE_GOLDEN")) {
        QFile f(goldenPath);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(written) == written.size());
    }
    QCOMPARE(written, readFile(goldenPath));
    if (golden.endsWith(QLatin1String(".gpx")))
        QCOMPARE(written, referenceGpx(tracks, selection, markedOnly));
    if (golden.endsWith(QLatin1String(".kml")))
        QCOMPARE(written, referenceKml(tracks, selection, markedOnly));
}

void TestTrackExports::sameBytesAsStreamWriter()
{
    FileFormatGPX gpx;
    FileFormatKML kml;
    for (quint32 seed = 1; seed <= 40; ++seed) {
        const QVector<Track> tracks = randomTracks(seed);
        const QList<int> selection{2, 0, 1, 0};
        const bool markedOnly = seed % 3 == 0;
        QString name = m_dir.filePath(QStringLiteral("random.gpx"));
        QVERIFY(gpx.save(tracks, name, selection, markedOnly));
        QCOMPARE(readFile(name), referenceGpx(tracks, selection, markedOnly));
        name = m_dir.filePath(QStringLiteral("random.kml"));
        QVERIFY(kml.save(tracks, name, selection, markedOnly));
        QCOMPARE(readFile(name), referenceKml(tracks, selection, markedOnly));
    }
}

void TestTrackExports::csvExtremeValues()
{
    Settings settings;
    FileFormatCSV csv(&settings);
    const Vec3 p = point(1e300, -1e300, -1.7e308, 1399371630, 1, -1);
    QString name = m_dir.filePath(QStringLiteral("extreme.csv"));
    QVERIFY(csv.save({track(0, 2, {p, p})}, name, {0}, false));
    char lat[400];
    char lon[400];
    std::snprintf(lat, sizeof lat, "%.6f", p.lat);
    std::snprintf(lon, sizeof lon, "%.6f", p.lon);
    const QByteArray row = QByteArray("2014-05-06,10:20:30,") + QByteArray(lat) + "," +
                           QByteArray(lon) + "," +
                           QStringLiteral("%1").arg(p.alt, 0, 'f', 2).toLatin1() + ",42949672.95";
    QCOMPARE(readFile(name).split('\n').value(1), row);
    QCOMPARE(readFile(name).count('\n'), 3);
}

void TestTrackExports::gpxValidates()
{
    const QString xmllint = QStandardPaths::findExecutable(QStringLiteral("xmllint"));
    if (xmllint.isEmpty())
        QSKIP("xmllint (libxml2-utils) is not installed");
    const QString schema = QStringLiteral(KV730_TEST_DATA "/../../../shared/schemas/gpx.xsd");
    if (!QFile::exists(schema))
        QSKIP("the GPX 1.1 schema is not beside the source tree");
    FileFormatGPX gpx;
    for (bool markedOnly : {false, true}) {
        QString name = m_dir.filePath(QStringLiteral("valid.gpx"));
        QVERIFY(gpx.save(sampleTracks(), name, {0, 1, 2, 3, 4}, markedOnly));
        QProcess p;
        p.start(xmllint, {QStringLiteral("--noout"), QStringLiteral("--schema"), schema, name});
        QVERIFY(p.waitForFinished(60000));
        QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
    }
}

void TestTrackExports::readBackByGpsBabel_data()
{
    QTest::addColumn<QString>("format");
    QTest::addRow("gpx") << "gpx";
    QTest::addRow("kml") << "kml";
}

// An independent reader finds every point with its coordinates.
void TestTrackExports::readBackByGpsBabel()
{
    QFETCH(QString, format);
    const QString gpsbabel = QStandardPaths::findExecutable(QStringLiteral("gpsbabel"));
    if (gpsbabel.isEmpty())
        QSKIP("gpsbabel is not installed");
    QVector<Track> tracks = sampleTracks();
    tracks[0].points[2].lon = -0.5; // gpsbabel's CSV output cannot tell -0 from 0
    const QList<int> selection{0, 1, 2};
    Settings settings;
    FileFormatRegistry registry;
    registry.addStandardFormats(&settings);
    QString name = m_dir.filePath(QStringLiteral("babel.") + format);
    QVERIFY(registry.save(tracks, name, selection, false));
    const QString csv = m_dir.filePath(QStringLiteral("babel.csv"));
    QProcess p;
    p.start(gpsbabel,
            {QStringLiteral("-t"), QStringLiteral("-i"), format, QStringLiteral("-f"), name,
             QStringLiteral("-o"), QStringLiteral("unicsv"), QStringLiteral("-F"), csv});
    QVERIFY(p.waitForFinished(60000));
    QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());

    const QList<QByteArray> lines = readFile(csv).trimmed().split('\n');
    QVERIFY(!lines.isEmpty());
    const QList<QByteArray> header = lines[0].trimmed().split(',');
    const int latColumn = header.indexOf("Latitude");
    const int lonColumn = header.indexOf("Longitude");
    QVERIFY(latColumn >= 0 && lonColumn >= 0);
    QVector<Vec3> expected;
    for (int i : selection)
        expected += tracks[i].points;
    QCOMPARE(lines.size() - 1, expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        const QList<QByteArray> fields = lines[i + 1].trimmed().split(',');
        QVERIFY(qAbs(fields.value(latColumn).toDouble() - expected[i].lat) < 1e-6);
        QVERIFY(qAbs(fields.value(lonColumn).toDouble() - expected[i].lon) < 1e-6);
    }
}

void TestTrackExports::writeErrorKeepsOldFile_data()
{
    QTest::addColumn<QString>("extension");
    for (const char* ext : {".tkx", ".csv", ".gpx", ".kml"})
        QTest::addRow("%s", ext) << QString::fromLatin1(ext);
}

// A write that fails half-way (here: the file size limit) is a failure and the file that
// was there before stays as it was, with no temporary file left behind.
void TestTrackExports::writeErrorKeepsOldFile()
{
    QFETCH(QString, extension);
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("old") + extension);
    {
        QFile f(name);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write("old contents") == 12);
    }
    Track big;
    big.fmt = 2;
    big.startTime = 1399371630;
    for (int i = 0; i < 20000; ++i)
        big.points << point(25 + i * 1e-5, 121 + i * 1e-5, 10, 1399371630 + i, 1, 100);

    Settings settings;
    FileFormatRegistry registry;
    registry.addStandardFormats(&settings);
    rlimit old;
    QVERIFY(getrlimit(RLIMIT_FSIZE, &old) == 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 64 * 1024;
    QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
    const bool saved = registry.save({big}, name, {0}, false);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    QVERIFY(!saved);
    QVERIFY(registry.errorString().contains(QLatin1String("cannot be written")));
    QCOMPARE(readFile(name), QByteArray("old contents"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{"old" + extension});
}

int main(int argc, char** argv)
{
    // Fixed zone for the local-time columns and names: UTC+8 all year.
    qputenv("TZ", "Asia/Taipei");
    tzset();
    QCoreApplication app(argc, argv);
    TestTrackExports test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_trackexports.moc"
