#include "formats/fileformatgpl.h"
#include "formats/fileformatgpx.h"
#include "formats/fileformatkml.h"
#include "formats/fileformatregistry.h"
#include "formats/numbertext.h"
#include "testsupport.h"
#include "tzswitch.h"

#include <QDateTime>
#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamWriter>

#include <csignal>
#include <cstdio>
#include <sys/resource.h>

using TestSupport::point;
using TestSupport::readFile;

namespace
{

struct Settings : DisplaySettings {
    int speed = 0, height = 0, time = 0;
    int speedUnit() const override { return speed; }
    int heightUnit() const override { return height; }
    int timeSwitch() const override { return time; }
};

// The tests run in Asia/Taipei (UTC+8 all year).
const QVector<Track> Sample{
    {1399371630,
     2,
     {point(25.035522, 121.509644, 35.2, 1399371630, 0, 1234),
      point(-33.5, -70.25, 12.125, 1399392005, 1, 10000), // next day in Taipei; a rounding tie
      // a tie at six decimals, -0.0 and a speed above 2^31 as unsigned
      point(0.0078125, -0.0, 100, 1399391999, 0, qint32(0x80000000u))}},
    {1399400000,
     1,
     {point(24.5, 120.25, 99.5, 1399400000, 1, 250), point(24.6, 120.35, 98.5, 1399400001)}},
    {1399500000, 2, {point(-12.345678, 45.000001, -5.5, 1399500000, 0, 1)}}, // none marked
    {1399600000, 0, {point(1.0, 2.0, 3.0, 1399600000, 1, 4)}},
    {0, 2, {}}};

QVector<Track> randomTracks(quint32 seed)
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

QString fixed(double v, int decimals)
{
    return QString("%1").arg(v, 0, 'f', decimals);
}
QString timeText(qint64 t, bool utc, const char* format)
{
    const QDateTime dt = QDateTime::fromTime_t(uint(t));
    return (utc ? dt.toUTC() : dt).toString(format);
}

// The documents as QXmlStreamWriter writes them; the writers must give exactly these bytes.
QByteArray reference(bool kml, const QVector<Track>& tracks, const QList<int>& selection,
                     bool markedOnly)
{
    QByteArray data;
    QXmlStreamWriter w(&data);
    w.setAutoFormatting(true);
    w.writeStartDocument();
    w.writeStartElement(kml ? "kml" : "gpx");
    if (!kml) {
        w.writeAttribute("creator", FileFormatGPX::creator);
        w.writeAttribute("version", "1.1");
    }
    w.writeAttribute("xmlns",
                     kml ? "http://www.opengis.net/kml/2.2" : "http://www.topografix.com/GPX/1/1");
    if (kml) {
        w.writeStartElement("Folder");
    } else {
        w.writeAttribute("xmlns:xsi", "http://www.w3.org/2001/XMLSchema-instance");
        w.writeAttribute("xsi:schemaLocation", "http://www.topografix.com/GPX/1/1 "
                                               "http://www.topografix.com/GPX/1/1/gpx.xsd");
    }
    int n = 1;
    for (int index : selection) {
        const Track& t = tracks[index];
        QString coordinates;
        if (!kml) {
            w.writeStartElement("trk");
            w.writeTextElement("name", "KV-730 DataLog-1 " +
                                           timeText(t.startTime, true, "yyyy-MM-dd hh:mm:ss"));
            w.writeStartElement("trkseg");
        }
        for (const Vec3& p : t.points) {
            if (markedOnly && !p.marked)
                continue;
            coordinates += fixed(p.lon, 6) + ',' + fixed(p.lat, 6) + ',' + fixed(p.alt, 2) + '\n';
            if (kml)
                continue;
            w.writeStartElement("trkpt");
            w.writeAttribute("lat", fixed(p.lat, 6));
            w.writeAttribute("lon", fixed(p.lon, 6));
            if (t.fmt == 2)
                w.writeTextElement("ele", fixed(p.alt, 2));
            w.writeTextElement("time", timeText(p.time, true, "yyyy-MM-ddThh:mm:ssZ"));
            w.writeEndElement();
        }
        if (!kml) {
            w.writeEndElement();
            w.writeEndElement();
            continue;
        }
        w.writeStartElement("Placemark");
        w.writeTextElement("name", QString("KV-730 DataLog-%1 ").arg(n++) +
                                       timeText(t.startTime, false, "yyyy-MM-dd hh:mm:ss"));
        w.writeTextElement("styleUrl", "root://styleMaps#default+nicon=0x467+hicon=0x477");
        w.writeStartElement("Style");
        w.writeStartElement("LineStyle");
        w.writeTextElement("color", "7f0000ff");
        w.writeTextElement("width", "4");
        w.writeEndElement();
        w.writeEndElement();
        w.writeStartElement("LineString");
        w.writeTextElement("coordinates", coordinates);
        w.writeTextElement("tessellate", "1");
        w.writeTextElement("altitudeMode", "clampToGround");
        w.writeEndElement();
        w.writeEndElement();
    }
    w.writeEndDocument();
    return data;
}

// Nothing when the tool succeeds, else what it says.
QByteArray failure(const QString& program, const QStringList& arguments)
{
    QProcess p;
    p.start(program, arguments);
    const bool ok = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit;
    return ok && p.exitCode() == 0 ? QByteArray() : "failed: " + p.readAllStandardError();
}

} // namespace

class TestTrackExports : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    Settings m_settings;
    FileFormatRegistry m_registry;

private slots:
    void initTestCase() { m_registry.addStandardFormats(&m_settings); }

    // Only the last dot of the file name counts, and case does.
    void findFormat()
    {
        for (const char* name : {"E:/0001.GPL", "/tmp/track", "/tmp/a.gpl/track", "x.txt"})
            QVERIFY2(!m_registry.findFormat(name), name);
        QVERIFY(dynamic_cast<FileFormatGPL*>(m_registry.findFormat("E:/0001.gpl")));
        QVERIFY(dynamic_cast<FileFormatGPX*>(m_registry.findFormat("/tmp/day.one.gpx")));
        QVERIFY(dynamic_cast<FileFormatKML*>(m_registry.findFormat(".kml")));
    }

    // The fast texts of times and numbers equal those of QDateTime, QString::arg and printf.
    void timeTextSameAsQDateTime_data() { TzSwitch::addZoneRows(); }
    void timeTextSameAsQDateTime()
    {
        QFETCH(QByteArray, zone);
        QVector<qint64> list{2147483647, 2147483648, 4294967295, 4294967296 + 1399371630, -1};
        QRandomGenerator random(730);
        // The 32-bit range (only the low 32 bits count), including past 2037 where QDateTime
        // stops using the C library; every quarter hour of years with DST changes; 29 February
        // after 2037.
        for (qint64 t = 0; t <= 0xffffffffLL; t += 259200 + random.bounded(7200))
            list << t;
        for (int year : {2014, 2038, 2040})
            for (QDateTime t(QDate(year, 1, 1), QTime(0, 0), Qt::UTC); t.date().year() == year;
                 t = t.addSecs(900))
                list << t.toSecsSinceEpoch();
        for (int hour = 0; hour < 24; ++hour)
            list << QDateTime(QDate(2104, 2, 29), QTime(hour, 30), Qt::UTC).toSecsSinceEpoch();
        TzSwitch tz(zone);
        int mismatches = 0;
        for (qint64 t : list) {
            for (bool local : {false, true}) {
                const QString want = timeText(t, !local, "yyyy-MM-dd hh:mm:ss");
                const QString got = TimeText::dateTime(TimeText::split(t, local), " ");
                if (want != got && ++mismatches < 10)
                    qWarning() << t << (local ? "local" : "utc") << want << got;
            }
        }
        QCOMPARE(mismatches, 0);
    }

    void fixedText()
    {
        QRandomGenerator r(730);
        const QVector<double> special{-0.0, 0.0078125, 2.675, -1e-7, 1e13, -1e300};
        for (int i = 0; i < 200000; ++i) {
            const double v = i < special.size() ? special[i]
                             : i % 2            ? r.bounded(-100000, 100000) / 1024.0 // ties
                                                : (r.generateDouble() - 0.5) * 400;
            const int decimals = i % 3 ? 6 : 2;
            char got[400], want[400];
            std::snprintf(want, sizeof want, "%.*f", decimals, v);
            QCOMPARE(QByteArray(got, int(NumberText::cFixed(got, v, decimals) - got)),
                     QByteArray(want));
            QCOMPARE(QByteArray(got, int(NumberText::qtFixed(got, v, decimals) - got)),
                     fixed(v, decimals).toLatin1());
        }
    }

    void golden_data()
    {
        QTest::addColumn<QString>("golden");
        QTest::addColumn<QList<int>>("selection");
        QTest::addColumn<bool>("markedOnly");
        QTest::addColumn<QList<int>>("speedHeightTime");
        auto row = [](const QString& golden, const QList<int>& selection, bool markedOnly = false,
                      const QList<int>& settings = {0, 0, 0}) {
            QTest::addRow("%s", qPrintable(golden))
                << golden << selection << markedOnly << settings;
        };
        for (QString ext : {".gpx", ".kml", ".tkx", ".csv"})
            row("empty" + ext, {}, false, {1, 0, 0});
        for (QString ext : {".gpx", ".kml", ".tkx"})
            row("all" + ext, {0, 1, 2, 3, 4});
        row("utc-metric.csv", {0, 1, 2, 3, 4});
        row("local-imperial.csv", {0, 1, 2, 3, 4}, false, {1, 1, 1});
        row("marked.tkx", {2, 0, 1}, true);
        row("marked.csv", {2, 0, 1}, true, {0, 0, 1});
    }
    void golden()
    {
        QFETCH(QString, golden);
        QFETCH(QList<int>, selection);
        QFETCH(bool, markedOnly);
        QFETCH(QList<int>, speedHeightTime);
        m_settings.speed = speedHeightTime[0];
        m_settings.height = speedHeightTime[1];
        m_settings.time = speedHeightTime[2];
        const QString name = m_dir.filePath(golden),
                      goldenPath = KV730_TEST_DATA "/exports/" + golden;
        QVERIFY2(m_registry.save(Sample, name, selection, markedOnly),
                 qPrintable(m_registry.errorString()));
        if (qEnvironmentVariableIsSet("KV730_UPDATE_GOLDEN"))
            QVERIFY(TestSupport::writeFile(goldenPath, readFile(name)));
        QCOMPARE(readFile(name), readFile(goldenPath));
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

    // Numbers of hundreds of digits and a speed read as unsigned still fit a CSV row.
    void csvExtremeValues()
    {
        m_settings = Settings();
        const Vec3 p = point(1e300, -1e300, -1.7e308, 1399371630, 1, -1);
        const QString name = m_dir.filePath("extreme.csv");
        QVERIFY(m_registry.save({Track{0, 2, {p, p}}}, name, {0}, false));
        char row[1200];
        std::snprintf(row, sizeof row, "2014-05-06,10:20:30,%.6f,%.6f,%s,42949672.95", p.lat, p.lon,
                      qPrintable(fixed(p.alt, 2)));
        QCOMPARE(readFile(name).split('\n').value(1), QByteArray(row));
        QCOMPARE(readFile(name).count('\n'), 3);
    }

    // Independent tools: the GPX schema, and a reader that finds every point of GPX and KML.
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
            QVERIFY(latColumn >= 0 && lonColumn >= 0);
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
        rlimit old, small;
        QVERIFY(getrlimit(RLIMIT_FSIZE, &old) == 0);
        small = old;
        small.rlim_cur = 64 * 1024;
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

int main(int argc, char** argv)
{
    TzSwitch taipei("Asia/Taipei");
    QCoreApplication app(argc, argv);
    TestTrackExports test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_trackexports.moc"
