#include "formats/fileformatgpl.h"
#include "formats/fileformatgpx.h"
#include "formats/fileformatkml.h"
#include "formats/fileformatregistry.h"
#include "testsupport.h"
#include "tzswitch.h"

#include <QtTest>

#include <csignal>
#include <cstdio>
#include <sys/resource.h>

using TestSupport::point;
using TestSupport::readFile;

struct Settings : DisplaySettings {
    QList<int> units{0, 0, 0}; // speed, height, time switch
    int speedUnit() const override { return units[0]; }
    int heightUnit() const override { return units[1]; }
    int timeSwitch() const override { return units[2]; }
};

// In Taipei (UTC+8), point 2 is the next day; ties at 2 and 6 decimals, -0.0 and a speed above
// 2^31; track 2 has no marked point.
const QVector<Track> Sample{
    {1399371630,
     2,
     {point(25.035522, 121.509644, 35.2, 1399371630, 0, 1234),
      point(-33.5, -70.25, 12.125, 1399392005, 1, 10000),
      point(0.0078125, -0.0, 100, 1399391999, 0, qint32(0x80000000u))}},
    {1399400000,
     1,
     {point(24.5, 120.25, 99.5, 1399400000, 1, 250), point(24.6, 120.35, 98.5, 1399400001)}},
    {1399500000, 2, {point(-12.345678, 45.000001, -5.5, 1399500000, 0, 1)}},
    {1399600000, 0, {point(1.0, 2.0, 3.0, 1399600000, 1, 4)}},
    {0, 2, {}}};

static QVector<Track> randomTracks(quint32 seed)
{
    QRandomGenerator r(seed);
    QVector<Track> tracks;
    for (int t = 0; t < 3; ++t) {
        tracks << Track{r.bounded(2000000000), int(r.bounded(3)), {}};
        for (int i = int(r.bounded(40)); i > 0; --i) // multiples of 1/128 and 1/8 make ties
            tracks[t].points << point(
                r.bounded(2) ? r.bounded(-11520, 11520) / 128.0 : r.generateDouble() * 180 - 90,
                r.generateDouble() * 360 - 180,
                r.bounded(2) ? r.bounded(-8000, 80000) / 8.0 : r.generateDouble() * 9000 - 500,
                r.bounded(2000000000), int(r.bounded(2)), int(r.generate()));
        if (seed % 5 == 0 && !tracks[t].points.isEmpty()) // however long the text
            tracks[t].points[0] = point(1e300, -1e300, -1.7e308, 0, 1, -1);
    }
    return tracks;
}

const auto fixedArg = [](double v, int decimals) { return QString("%1").arg(v, 0, 'f', decimals); };
const auto timeText = [](qint64 t, bool utc, const char* format) {
    return QDateTime::fromTime_t(uint(t), utc ? Qt::UTC : Qt::LocalTime).toString(format);
};

// The documents as QXmlStreamWriter writes them; the writers must give exactly these bytes.
static QByteArray reference(bool kml, const QVector<Track>& tracks, const QList<int>& selection,
                            bool markedOnly)
{
    QByteArray data;
    QXmlStreamWriter w(&data);
    w.setAutoFormatting(true);
    w.writeStartDocument();
    if (kml) {
        w.writeStartElement("kml");
        w.writeAttribute("xmlns", "http://www.opengis.net/kml/2.2");
        w.writeStartElement("Folder");
    } else {
        w.writeStartElement("gpx");
        w.writeAttribute("creator", FileFormatGPX::creator);
        w.writeAttribute("version", "1.1");
        w.writeAttribute("xmlns", "http://www.topografix.com/GPX/1/1");
        w.writeAttribute("xmlns:xsi", "http://www.w3.org/2001/XMLSchema-instance");
        w.writeAttribute("xsi:schemaLocation", "http://www.topografix.com/GPX/1/1 "
                                               "http://www.topografix.com/GPX/1/1/gpx.xsd");
    }
    for (int i = 0; i < selection.size(); ++i) {
        const Track& t = tracks[selection[i]];
        if (kml) {
            w.writeStartElement("Placemark");
            w.writeTextElement("name", QString("KV-730 DataLog-%1 ").arg(i + 1) +
                                           timeText(t.startTime, false, "yyyy-MM-dd hh:mm:ss"));
            w.writeTextElement("styleUrl", "root://styleMaps#default+nicon=0x467+hicon=0x477");
            w.writeStartElement("Style");
            w.writeStartElement("LineStyle");
            w.writeTextElement("color", "7f0000ff");
            w.writeTextElement("width", "4");
            w.writeEndElement();
            w.writeEndElement();
            w.writeStartElement("LineString");
        } else {
            w.writeStartElement("trk");
            w.writeTextElement("name", "KV-730 DataLog-1 " +
                                           timeText(t.startTime, true, "yyyy-MM-dd hh:mm:ss"));
            w.writeStartElement("trkseg");
        }
        QString coordinates;
        for (const Vec3& p : t.points) {
            if (markedOnly && !p.marked)
                continue;
            coordinates +=
                fixedArg(p.lon, 6) + ',' + fixedArg(p.lat, 6) + ',' + fixedArg(p.alt, 2) + '\n';
            if (kml)
                continue;
            w.writeStartElement("trkpt");
            w.writeAttribute("lat", fixedArg(p.lat, 6));
            w.writeAttribute("lon", fixedArg(p.lon, 6));
            if (t.fmt == 2)
                w.writeTextElement("ele", fixedArg(p.alt, 2));
            w.writeTextElement("time", timeText(p.time, true, "yyyy-MM-ddThh:mm:ssZ"));
            w.writeEndElement();
        }
        if (kml) {
            w.writeTextElement("coordinates", coordinates);
            w.writeTextElement("tessellate", "1");
            w.writeTextElement("altitudeMode", "clampToGround");
        }
        w.writeEndElement();
        w.writeEndElement();
    }
    w.writeEndDocument();
    return data;
}

static QByteArray failure(const QString& program, const QStringList& arguments)
{
    QProcess p;
    p.start(program, arguments);
    const bool ok = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit;
    return ok && p.exitCode() == 0 ? QByteArray() : "failed: " + p.readAllStandardError();
}

class TestTrackExports : public QObject
{
    Q_OBJECT

    TzSwitch m_taipei{"Asia/Taipei"};
    QTemporaryDir m_dir;
    Settings m_settings;
    FileFormatRegistry m_registry;

private slots:
    void initTestCase() { m_registry.addStandardFormats(&m_settings); }

    void findFormat()
    {
        for (const char* name : {"E:/0001.GPL", "/tmp/track", "/tmp/a.gpl/track", "x.txt"})
            QVERIFY2(!m_registry.findFormat(name), name);
        QVERIFY(dynamic_cast<FileFormatGPL*>(m_registry.findFormat("E:/0001.gpl")) &&
                dynamic_cast<FileFormatGPX*>(m_registry.findFormat("/tmp/day.one.gpx")) &&
                dynamic_cast<FileFormatKML*>(m_registry.findFormat(".kml")));
    }

    // "marked" files hold the marked points of tracks 2, 0 and 1; "all" files all tracks.
    void golden_data()
    {
        QTest::addColumn<QString>("golden");
        QTest::addColumn<QList<int>>("speedHeightTime");
        for (const char* name : {"all.gpx", "all.kml", "all.tkx", "marked.tkx", "empty.gpx",
                                 "empty.kml", "empty.tkx", "utc-metric.csv"})
            QTest::newRow(name) << QString(name) << QList<int>{0, 0, 0};
        QTest::newRow("local-imperial.csv") << "local-imperial.csv" << QList<int>{1, 1, 1};
        QTest::newRow("marked.csv") << "marked.csv" << QList<int>{0, 0, 1};
        QTest::newRow("empty.csv") << "empty.csv" << QList<int>{1, 0, 0};
    }
    void golden()
    {
        QFETCH(QString, golden);
        QFETCH(QList<int>, speedHeightTime);
        m_settings.units = speedHeightTime;
        const bool markedOnly = golden.startsWith("marked");
        const QList<int> selection = golden.startsWith("empty") ? QList<int>{}
                                     : markedOnly               ? QList<int>{2, 0, 1}
                                                                : QList<int>{0, 1, 2, 3, 4};
        const QString name = m_dir.filePath(golden);
        QVERIFY(m_registry.save(Sample, name, selection, markedOnly));
        QCOMPARE(readFile(name), readFile(KV730_TEST_DATA "/exports/" + golden));
        if (golden.endsWith("gpx") || golden.endsWith("kml"))
            QCOMPARE(readFile(name),
                     reference(golden.endsWith("kml"), Sample, selection, markedOnly));
    }

    void sameBytesAsStreamWriter()
    {
        const QList<int> selection{2, 0, 1, 0};
        for (quint32 seed = 1; seed <= 40; ++seed) {
            const QVector<Track> tracks = randomTracks(seed);
            for (bool kml : {false, true}) {
                QString name = m_dir.filePath(kml ? "random.kml" : "random.gpx");
                QVERIFY(m_registry.save(tracks, name, selection, seed % 3 == 0));
                QCOMPARE(readFile(name), reference(kml, tracks, selection, seed % 3 == 0));
            }
        }
    }

    // Numbers of hundreds of digits fit, and are those of printf and QString::arg.
    void csvNumbers()
    {
        m_settings.units = {0, 0, 0};
        const QVector<Track> random = randomTracks(5);
        Track t{0, 2, random[0].points + random[1].points + random[2].points};
        for (Vec3& p : t.points)
            p.time = 1399371630;
        const QString name = m_dir.filePath("numbers.csv");
        QVERIFY(m_registry.save({t}, name, {0}, false));
        const QList<QByteArray> rows = readFile(name).split('\n');
        QCOMPARE(rows.size(), t.points.size() + 2);
        for (int i = 0; i < t.points.size(); ++i) {
            const Vec3& p = t.points[i];
            char row[1200];
            std::snprintf(row, sizeof row, "2014-05-06,10:20:30,%.6f,%.6f,%s,%u.%02u", p.lat, p.lon,
                          qPrintable(fixedArg(p.alt, 2)), quint32(p.speed) / 100,
                          quint32(p.speed) % 100);
            QCOMPARE(rows[i + 1], QByteArray(row));
        }
    }

    void externalTools()
    {
        const QString xmllint = QStandardPaths::findExecutable("xmllint");
        const QString gpsbabel = QStandardPaths::findExecutable("gpsbabel");
        const QString schema = KV730_TEST_DATA "/../../../shared/schemas/gpx.xsd";
        if (xmllint.isEmpty() || gpsbabel.isEmpty() || !QFile::exists(schema))
            QSKIP("xmllint (libxml2-utils), gpsbabel or the GPX 1.1 schema is missing");
        QVector<Track> tracks = Sample;
        tracks[0].points[2].lon = -0.5; // gpsbabel's CSV cannot tell -0 from 0
        const QVector<Vec3> expected = tracks[0].points + tracks[1].points + tracks[2].points;
        for (QString format : {"gpx", "kml"}) {
            QString name = m_dir.filePath("babel." + format), csv = m_dir.filePath("babel.csv");
            QVERIFY(m_registry.save(tracks, name, {0, 1, 2}, false));
            if (format == "gpx")
                QCOMPARE(failure(xmllint, {"--noout", "--schema", schema, name}), QByteArray());
            QCOMPARE(failure(gpsbabel, {"-t", "-i", format, "-f", name, "-o", "unicsv", "-F", csv}),
                     QByteArray());
            const QList<QByteArray> lines = readFile(csv).trimmed().split('\n');
            const QList<QByteArray> header = lines[0].trimmed().split(',');
            const int latColumn = header.indexOf("Latitude"),
                      lonColumn = header.indexOf("Longitude");
            QCOMPARE(lines.size() - 1, expected.size());
            for (int i = 0; i < expected.size(); ++i) {
                const QList<QByteArray> fields = lines[i + 1].trimmed().split(',');
                QVERIFY(qAbs(fields.value(latColumn).toDouble() - expected[i].lat) < 1e-6);
                QVERIFY(qAbs(fields.value(lonColumn).toDouble() - expected[i].lon) < 1e-6);
            }
        }
    }

    // A write that fails half-way (here: at the file size limit) is a failure, and the file
    // that was there before stays as it was, with no temporary file left behind.
    void writeErrorKeepsOldFile_data()
    {
        QTest::addColumn<QString>("extension");
        for (const char* ext : {".tkx", ".csv", ".gpx", ".kml"})
            QTest::newRow(ext) << QString(ext);
    }
    void writeErrorKeepsOldFile()
    {
        QFETCH(QString, extension);
        QTemporaryDir dir;
        const QString name = dir.filePath("old" + extension);
        QVERIFY(TestSupport::writeFile(name, "old contents"));
        Track big{1399371630, 2, {}};
        for (int i = 0; i < 20000; ++i)
            big.points << point(25 + i * 1e-5, 121 + i * 1e-5, 10, 1399371630 + i, 1, 100);
        rlimit old;
        QVERIFY(getrlimit(RLIMIT_FSIZE, &old) == 0);
        const rlimit small{64 * 1024, old.rlim_max};
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
        const bool saved = m_registry.save({big}, name, {0}, false);
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
        QVERIFY(!saved && m_registry.errorString().contains("cannot be written"));
        QCOMPARE(readFile(name), QByteArray("old contents"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"old" + extension});
    }
};

QTEST_GUILESS_MAIN(TestTrackExports)
#include "tst_trackexports.moc"
