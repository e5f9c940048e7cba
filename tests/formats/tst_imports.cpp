#include "formats/fileformatgpx.h"
#include "formats/fileformatregistry.h"
#include "formats/importsupport.h"
#include "formats/xmlinputguard.h"
#include "view/trackstatistics.h"
#include "fuzz/fuzzentries.h"
#include "testsupport.h"
#include "tzswitch.h"

#include <QtTest>

#include <cstring>

// A track list as text: "name(fmt): lat,lon,alt,time,speed ; ..." with " / " between tracks.
static QString describe(const QVector<Track>& tracks)
{
    QStringList parts;
    for (const Track& track : tracks) {
        QStringList points;
        for (const Vec3& p : track.points)
            points << QStringLiteral("%1,%2,%3,%4,%5")
                          .arg(QString::number(p.lat, 'g', 10), QString::number(p.lon, 'g', 10),
                               QString::number(p.alt, 'g', 10),
                               p.time == 0 ? QStringLiteral("-")
                                           : QDateTime::fromSecsSinceEpoch(p.time, Qt::UTC)
                                                 .toString(Qt::ISODate)
                                                 .remove(QLatin1Char('Z')),
                               QString::number(p.speed));
        parts << QStringLiteral("%1(%2): ").arg(track.name).arg(track.fmt) + points.join(" ; ");
    }
    return parts.join(" / ");
}

// A double to the bit.
static QString bits(double value)
{
    quint64 b;
    std::memcpy(&b, &value, sizeof b);
    return QString::number(b, 16);
}

// The tool's own GPX export of tracks of counts[i] points.
static QByteArray gpxExport(const QVector<int>& counts, int fmt, bool markedOnly = false,
                            const char* lineEnd = "\n")
{
    QVector<Track> tracks;
    QList<int> selection;
    for (int count : counts) {
        Track t{1399371630, fmt, {}};
        for (int i = 0; i < count; ++i)
            t.points << TestSupport::point(25.03539 - i * 1e-4, 121.509463 + i * 3e-5,
                                           35.2 - i * 0.37, 1399371630 + 7 * i, i % 3 == 1);
        selection << tracks.size();
        tracks << t;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    FileFormatGPX::write(&buffer, tracks, selection, markedOnly, lineEnd);
    return bytes;
}

// The points GPSBabel reads from a file, as "lat lon alt time" (time empty where none).
struct Reference {
    double lat, lon;
    QString alt, time;
};

static QVector<Reference> gpsbabelPoints(const QString& format, const QString& file)
{
    QProcess gpsbabel;
    gpsbabel.start("gpsbabel", {"-t", "-i", format, "-f", file, "-o", "unicsv,utc=0", "-F", "-"});
    if (!gpsbabel.waitForFinished(60000) || gpsbabel.exitCode() != 0)
        return {};
    const QList<QByteArray> lines = gpsbabel.readAllStandardOutput().split('\n');
    const QList<QByteArray> header = lines.value(0).trimmed().split(',');
    const int lat = header.indexOf("Latitude"), lon = header.indexOf("Longitude"),
              alt = header.indexOf("Altitude"), date = header.indexOf("Date"),
              time = header.indexOf("Time");
    QVector<Reference> points;
    for (int i = 1; i < lines.size(); ++i) {
        const QList<QByteArray> f = lines.at(i).trimmed().split(',');
        if (f.size() < header.size())
            continue;
        points.append({f.at(lat).toDouble(), f.at(lon).toDouble(),
                       alt < 0 ? QString() : QString::number(f.at(alt).toDouble()),
                       date < 0 ? QString()
                                : QString(f.at(date)).replace('/', '-') + 'T' + f.at(time)});
    }
    return points;
}

// The readers of GPX, KML, NMEA 0183 and CSV: small cases, files other programs wrote
// (checked against GPSBabel), the tool's own exports read back, and hostile files.
class TestImports : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    TestSupport::TestSettings m_settings;

    QString path(const QString& name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase()
    {
        FuzzEntries::silenceDiagnostics();
        QVERIFY(m_dir.isValid());
    }

    void read_data()
    {
        TestSupport::addTable("imports/readers.txt", {"file", "content", "expected", "messages"});
    }

    void read()
    {
        QFETCH(QString, file);
        QFETCH(QString, content);
        QFETCH(QString, expected);
        QFETCH(QString, messages);
        QTemporaryDir dir;
        const QString name = dir.filePath(file);
        // "@file" stands for the content of a file in tests/data/imports.
        const QByteArray bytes =
            content.startsWith('@')
                ? TestSupport::readFile(KV730_TEST_DATA "/imports/" + content.mid(1))
                : content.toUtf8();
        QVERIFY(!bytes.isEmpty() || content.isEmpty());
        QVERIFY(TestSupport::writeFile(name, bytes));
        FileFormatRegistry registry;
        registry.addStandardFormats(&m_settings);
        QVector<Track> tracks;
        const bool ok = registry.load(tracks, name);
        const QMap<QString, QString> seen = {{"E:", ok ? QString() : registry.errorString()},
                                             {"W:", registry.warningString()},
                                             {"N:", registry.noticeString()}};
        QStringList wanted = messages.split(';', Qt::SkipEmptyParts);
        for (auto it = seen.cbegin(); it != seen.cend(); ++it) {
            const QStringList mine = wanted.filter(QRegularExpression("^\\s*" + it.key()));
            QVERIFY2(mine.isEmpty() == it.value().isEmpty(),
                     qPrintable(it.key() + " \"" + it.value() + "\""));
            for (const QString& text : mine)
                QVERIFY2(it.value().contains(text.trimmed().mid(2)),
                         qPrintable(it.value() + " lacks " + text));
        }
        QCOMPARE(ok, !messages.startsWith("E:"));
        QCOMPARE(describe(tracks), expected);
    }

    // Files other programs wrote and the tool's own exports take the scanner, and it reads
    // them as the full XML reader does.
    void scanner_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        for (const QString& name : QDir(KV730_TEST_DATA "/imports").entryList({"*.gpx"}))
            QTest::newRow(qPrintable(name))
                << TestSupport::readFile(KV730_TEST_DATA "/imports/" + name);
        QTest::newRow("export with altitude") << gpxExport({5}, 2);
        QTest::newRow("export without altitude, CR LF") << gpxExport({5}, 1, false, "\r\n");
        QTest::newRow("export of marked points, several and empty tracks")
            << gpxExport({7, 4, 0}, 2, true);
        QTest::newRow("export of 12000 points") << gpxExport({12000}, 2);
    }

    void scanner()
    {
        QFETCH(QByteArray, bytes);
        FileFormatGPX::Parser used = FileFormatGPX::Parser::FullXml;
        const QString plain = FuzzEntries::gpxRead(bytes, FileFormatGPX::Parser::Scanner, &used);
        QVERIFY(used == FileFormatGPX::Parser::Scanner);
        QVERIFY(plain.startsWith("read|"));
        QCOMPARE(plain, FuzzEntries::gpxRead(bytes, FileFormatGPX::Parser::FullXml));
    }

    // Damaged, cut and unusual variants of small files: whatever the scanner reads, it reads
    // as the full XML reader does; whatever it does not take, the full reader judges.
    void scannerVariants_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("maxRun");
        QTest::newRow("export") << gpxExport({2, 0}, 1) << qint64(0);
        QTest::newRow("export, runs over 20 bytes refused") << gpxExport({2}, 2) << qint64(20);
        for (const QStringList& row : TestSupport::table("imports/readers.txt")) {
            if (row.value(0).startsWith("gpx") && !row.value(2).isEmpty())
                QTest::newRow(qPrintable(row.value(0))) << row.value(2).toUtf8() << qint64(0);
        }
    }

    void scannerVariants()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, maxRun);
        const qint64 saved = XmlInputGuard::maxRun();
        if (maxRun)
            XmlInputGuard::setMaxRun(maxRun);
        QVector<QByteArray> variants;
        for (int i = 0; i <= bytes.size(); ++i) {
            variants << bytes.left(i);
            for (const char* insert :
                 {"<", "&", "\"", "'", "]]>", "<!DOCTYPE gpx>", "<![CDATA[1]]>", "<?pi x?>",
                  "\xff", "\xc3\xa9", "\xef\xbf\xbe", "\x01", "\r\n", "&amp;", "&#49;",
                  "&#0;", "&#xd800;", "&nbsp;", " lat=\"1\"", " p:lat=\"1\"",
                  " xmlns:p=\"u\"", "<p:ele>2</p:ele>", "<!-- - -->", "<!-- -- -->", "</a>",
                  "<trkpt lat=\"3\" lon=\"4\"/>", "<name>N</name>", "<wpt/>"})
                variants << bytes.left(i) + insert + bytes.mid(i);
            for (const char flip : {'\0', ' ', '>', '/', ':', '1'})
                variants << bytes.left(i) + flip + bytes.mid(i + 1);
        }
        FileFormatGPX::Parser used = FileFormatGPX::Parser::FullXml;
        FuzzEntries::gpxRead(bytes, FileFormatGPX::Parser::Scanner, &used);
        const bool plainGpx = used == FileFormatGPX::Parser::Scanner;
        int taken = 0;
        for (const QByteArray& variant : qAsConst(variants)) {
            used = FileFormatGPX::Parser::FullXml;
            const QString plain = FuzzEntries::gpxRead(variant, FileFormatGPX::Parser::Scanner, &used);
            taken += used == FileFormatGPX::Parser::Scanner;
            const QString full = FuzzEntries::gpxRead(variant, FileFormatGPX::Parser::FullXml);
            if (plain != full)
                XmlInputGuard::setMaxRun(saved);
            QVERIFY2(plain == full,
                     qPrintable(QString::fromUtf8(variant.toPercentEncoding(" <>/=\"':!?-")) +
                                "\n" + plain + "\n" + full));
        }
        XmlInputGuard::setMaxRun(saved);
        // Of plain GPX, many variants are still plain: the comparison is not left to the full
        // reader alone.
        QVERIFY2(!plainGpx || taken > variants.size() / 20,
                 qPrintable(QStringLiteral("%1 of %2").arg(taken).arg(variants.size())));
    }

    // Numbers and times of UTF-8 text are read as those of QString text are.
    void byteParsers_data()
    {
        QTest::addColumn<QByteArray>("text");
        for (const char* text :
             {"12", "-0", "+1", ".5", "5.", "-007.250", " 1.5\t", "1e3", "1,5", "1.2.3", "-",
              "", "inf", "nan", "0x10", "123456789012345678901234567890.1234567890123",
              "0.30000000000000004441", "-179.999999999999", "9007199254740993",
              "98.26994243785299", "1234567890.1234567", "\xc2\xa0" "5", "\xd9\xa3",
              "2014-05-06T10:20:30Z",
              " 2014-05-06 10:20:30.5+02:00 ", "2014-05-06T10:20:30.\xd9\xa3Z",
              "2014-05-06T10:20:30-0130", "2014-05-06T10:20:30+1", "2014-13-06T10:20:30",
              "2014-05-06T10:20:30Z\xc2\xa0", "2014-05-06t10:20:30z"})
            QTest::newRow(text) << QByteArray(text);
    }

    void byteParsers()
    {
        QFETCH(QByteArray, text);
        const QString wide = QString::fromUtf8(text);
        double a = 7, b = 7;
        QCOMPARE(ImportSupport::parseNumber(text.constData(), text.size(), &a),
                 ImportSupport::parseNumber(QStringRef(&wide), &b));
        QCOMPARE(bits(a), bits(b));
        qint64 s = 7, t = 7;
        QCOMPARE(ImportSupport::parseIsoTime(text.constData(), text.size(), &s),
                 ImportSupport::parseIsoTime(QStringRef(&wide), &t));
        QCOMPARE(s, t);
    }

    // The figures of an imported track use derived speeds where the file has none, and say so.
    void statistics_data()
    {
        QTest::addColumn<QByteArray>("points");
        QTest::addColumn<QString>("speedRow");
        const QByteArray a = "<trkpt lat=\"0\" lon=\"0\"><ele>5</ele><time>2014-05-06T10:00:00Z"
                             "</time>";
        const QByteArray b = "<trkpt lat=\"0\" lon=\"0.001\"><ele>6</ele><time>2014-05-06T10:00:10Z"
                             "</time>";
        QTest::newRow("derived") << a + "</trkpt>" + b + "</trkpt>"
                                 << "Maximum speed (derived)|40.03 km/hr";
        QTest::newRow("recorded") << a + "<speed>2.5</speed></trkpt>" + b + "<speed>1</speed></trkpt>"
                                  << "Maximum speed|9.00 km/hr";
        QTest::newRow("derived, no altitudes")
            << QByteArray("<trkpt lat=\"0\" lon=\"0\"><time>2014-05-06T10:00:00Z</time></trkpt>"
                          "<trkpt lat=\"0\" lon=\"0.001\"><time>2014-05-06T10:00:10Z</time>"
                          "</trkpt>")
            << "Maximum speed (derived)|40.03 km/hr";
        QTest::newRow("no times") << QByteArray("<trkpt lat=\"0\" lon=\"0\"><ele>5</ele></trkpt>"
                                                "<trkpt lat=\"0\" lon=\"1\"><ele>5</ele></trkpt>")
                                  << "Maximum speed|0.00 km/hr";
    }

    void statistics()
    {
        QFETCH(QByteArray, points);
        QFETCH(QString, speedRow);
        QVERIFY(TestSupport::writeFile(path("s.gpx"),
                                       "<gpx><trk><trkseg>" + points + "</trkseg></trk></gpx>"));
        FileFormatRegistry registry;
        registry.addStandardFormats(&m_settings);
        QVector<Track> tracks;
        QVERIFY(registry.load(tracks, path("s.gpx")));
        QStringList rows;
        for (const auto& row : TrackStatistics::compute(tracks.at(0)).rows(0, 0, 0))
            rows << row.first + '|' + row.second;
        QVERIFY2(rows.contains(speedRow), qPrintable(rows.join('\n')));
    }

    void crossCheck_data()
    {
        TestSupport::addTable("imports/crosscheck.txt",
                              {"file", "reference", "format", "tolerance", "tracks", "notice"});
    }

    // The tool and GPSBabel read the same points from files other programs wrote.
    void crossCheck()
    {
        QFETCH(QString, file);
        QFETCH(QString, reference);
        QFETCH(QString, format);
        QFETCH(QString, tolerance);
        QFETCH(QString, tracks);
        QFETCH(QString, notice);
        if (QStandardPaths::findExecutable("gpsbabel").isEmpty()) {
            if (qgetenv("CI") == "true")
                QFAIL("gpsbabel is missing (scripts/install-deps.sh installs it)");
            QSKIP("gpsbabel is not installed");
        }
        const QString data = KV730_TEST_DATA "/imports/";
        const QVector<Reference> expected = gpsbabelPoints(format, data + reference);
        QVERIFY2(!expected.isEmpty(), "GPSBabel read nothing");

        FileFormatRegistry registry;
        registry.addStandardFormats(&m_settings);
        QVector<Track> read;
        QVERIFY2(registry.load(read, data + file), qPrintable(registry.errorString()));
        QCOMPARE(registry.warningString(), QString());
        QVERIFY(registry.noticeString().contains(notice.replace("points", "point(s)")));
        QCOMPARE(read.size(), tracks.toInt());
        QVector<Vec3> points;
        for (const Track& track : qAsConst(read))
            points += track.points;
        QCOMPARE(points.size(), expected.size());
        const double limit = tolerance.toDouble();
        for (int i = 0; i < points.size(); ++i) {
            const Vec3& p = points.at(i);
            const Reference& r = expected.at(i);
            const QString where = QStringLiteral("point %1").arg(i + 1);
            QVERIFY2(qAbs(p.lat - r.lat) <= limit && qAbs(p.lon - r.lon) <= limit,
                     qPrintable(where + QStringLiteral(": %1 %2 against %3 %4")
                                            .arg(p.lat, 0, 'f', 7)
                                            .arg(p.lon, 0, 'f', 7)
                                            .arg(r.lat, 0, 'f', 7)
                                            .arg(r.lon, 0, 'f', 7)));
            if (!r.alt.isEmpty())
                QCOMPARE(QString::number(p.alt), r.alt);
            QString time =
                p.time == 0 ? QString()
                            : QDateTime::fromSecsSinceEpoch(p.time, Qt::UTC).toString(Qt::ISODate);
            QCOMPARE(time.remove('Z'), r.time);
        }
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<int>("speedUnit");
        QTest::addColumn<int>("heightUnit");
        QTest::addColumn<int>("timeSwitch");
        QTest::addColumn<QByteArray>("zone");
        QTest::newRow("gpx") << "gpx" << 0 << 0 << 0 << QByteArray("Asia/Taipei");
        QTest::newRow("kml") << "kml" << 0 << 0 << 0 << QByteArray("America/New_York");
        QTest::newRow("tkx") << "tkx" << 0 << 0 << 0 << QByteArray("UTC");
        QTest::newRow("csv utc km/h m") << "csv" << 0 << 0 << 0 << QByteArray("Europe/Berlin");
        QTest::newRow("csv local mph ft") << "csv" << 1 << 1 << 1 << QByteArray("Europe/Berlin");
        QTest::newRow("csv local west") << "csv" << 0 << 0 << 1 << QByteArray("America/Denver");
    }

    // The tool's own exports give back the points they hold, to the precision written.
    void roundTrip()
    {
        QFETCH(QString, extension);
        QFETCH(int, speedUnit);
        QFETCH(int, heightUnit);
        QFETCH(int, timeSwitch);
        QFETCH(QByteArray, zone);
        TzSwitch tz(zone);
        Track a{1399371630, 2, {}};
        const double lats[] = {25.035390, -33.868820, 51.376730, 0.000001};
        const double lons[] = {121.509463, 151.209296, -0.731330, -179.999999};
        for (int i = 0; i < 4; ++i)
            a.points << TestSupport::point(lats[i], lons[i], 35.2 - 20 * i, 1399371630 + 7 * i,
                                           i == 2, 1234 + 977 * i);
        Track b{1577836790, 1, {}};
        b.points << TestSupport::point(-45.5, 170.25, 0.0, 1577836790, 0, 0)
                 << TestSupport::point(-45.51, 170.26, 0.0, 1577836800, 1, 100000);
        const QVector<Track> saved = {a, b};

        TestSupport::TestSettings settings(speedUnit, heightUnit, timeSwitch);
        FileFormatRegistry registry;
        registry.addStandardFormats(&settings);
        QString name = path("round." + extension);
        QVERIFY2(registry.save(saved, name, {0, 1}, false), qPrintable(registry.errorString()));
        QVector<Track> read;
        QVERIFY2(registry.load(read, name), qPrintable(registry.errorString()));
        QCOMPARE(registry.warningString(), QString());

        // CSV rows hold no track breaks: its points come back as one track.
        QVector<Track> expected = saved;
        if (extension == "csv") {
            expected = {a};
            expected[0].points += b.points;
            expected[0].fmt = 2;
        }
        QCOMPARE(read.size(), expected.size());
        for (int t = 0; t < read.size(); ++t) {
            const Track& in = read.at(t);
            const Track& out = expected.at(t);
            QCOMPARE(in.points.size(), out.points.size());
            // KML lines carry an altitude whatever the track held.
            QCOMPARE(in.fmt, extension == "kml" ? 2 : out.fmt);
            QCOMPARE(in.startTime, extension == "kml" ? 0 : out.startTime);
            for (int i = 0; i < in.points.size(); ++i) {
                const Vec3& p = in.points.at(i);
                const Vec3& q = out.points.at(i);
                const QString where = QStringLiteral("track %1 point %2").arg(t).arg(i);
                QVERIFY2(qAbs(p.lat - q.lat) < 5e-7 && qAbs(p.lon - q.lon) < 5e-7,
                         qPrintable(where));
                if (in.fmt == 2 && (out.fmt == 2 || extension == "kml"))
                    QVERIFY2(qAbs(p.alt - q.alt) < (heightUnit ? 0.002 : 0.005),
                             qPrintable(where + QStringLiteral(" alt %1").arg(p.alt)));
                QCOMPARE(p.time, extension == "kml" ? 0 : q.time);
                if (extension == "tkx" || extension == "csv")
                    QVERIFY2(qAbs(p.speed - q.speed) <= (speedUnit ? 1 : 0),
                             qPrintable(where + QStringLiteral(" speed %1").arg(p.speed)));
                if (extension == "tkx")
                    QCOMPARE(p.marked, q.marked);
            }
        }
    }

    void hostile_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("opens");
        const QByteArray gpx = "<gpx version=\"1.1\"><trk><name>";
        QTest::newRow("gpx not UTF-8") << "a.gpx"
                                       << gpx + "Caf\xe9 \xff\xfe</name><trkseg><trkpt lat=\"1\" "
                                                "lon=\"2\"/></trkseg></trk></gpx>"
                                       << false;
        QTest::newRow("csv not UTF-8") << "a.csv" << QByteArray("lat,lon,\xff\xfe\n1,2,\xc3\n")
                                       << true;
        QTest::newRow("nmea not UTF-8")
            << "a.nmea" << QByteArray("\xff$GPRMC,102030,A,0000.000,N,00000.000,E,0,0,060514,,\n")
            << true;
        QTest::newRow("gpx nested deep")
            << "a.gpx" << gpx + "</name>" + QByteArray("<extensions>").repeated(100000) << false;
        QTest::newRow("kml nested deep")
            << "a.kml" << "<kml>" + QByteArray("<Folder>").repeated(100000) << false;
        QByteArray huge = gpx + "</name><trkseg><trkpt lat=\"";
        huge += QByteArray(100 * 1024 * 1024, '1');
        huge += "\" lon=\"2\"/></trkseg></trk></gpx>";
        // Read whole, but no point comes of it.
        QTest::newRow("gpx 100 MB attribute") << "a.gpx" << huge << true;
        QTest::newRow("csv 100 MB line")
            << "a.csv" << "lat,lon\n" + QByteArray(100 * 1024 * 1024, '7') << false;
        QTest::newRow("nmea 100 MB line")
            << "a.nmea" << "$GPRMC," + QByteArray(100 * 1024 * 1024, '7') << false;
        for (const char* extension : {"gpx", "kml", "csv", "nmea", "dat"})
            QTest::newRow(qPrintable(QStringLiteral("%1 random bytes").arg(extension)))
                << QStringLiteral("r.") + extension << TestSupport::randomBytes(1 << 20, 22)
                << false;
    }

    // Damaged and hostile files are refused or read in part, with a message, never a crash.
    void hostile()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        QFETCH(bool, opens);
        const QString name = path(file);
        QVERIFY(TestSupport::writeFile(name, content));
        content.clear();
        FileFormatRegistry registry;
        registry.addStandardFormats(&m_settings);
        QVector<Track> tracks;
        const bool ok = registry.load(tracks, name);
        QFile::remove(name);
        QCOMPARE(ok, opens);
        if (!ok) {
            QVERIFY(tracks.isEmpty());
            QVERIFY(!registry.errorString().isEmpty());
        }
    }

    // A text or attribute beyond the guard's limit ends the reading before the parser holds
    // it whole; one just below it is read.
    void longRun_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<QByteArray>("tail");
        QTest::newRow("gpx name") << "a.gpx" << QByteArray("<gpx><trk><name>")
                                  << QByteArray("</name><trkseg><trkpt lat=\"1\" lon=\"2\"/>"
                                                "</trkseg></trk></gpx>");
        QTest::newRow("gpx attribute") << "a.gpx" << QByteArray("<gpx><trk><trkseg><trkpt lat=\"")
                                       << QByteArray("\" lon=\"2\"/><trkpt lat=\"1\" lon=\"2\"/>"
                                                     "</trkseg></trk></gpx>");
        QTest::newRow("kml coordinates")
            << "a.kml" << QByteArray("<kml><Placemark><LineString><coordinates>1,2 ")
            << QByteArray("</coordinates></LineString></Placemark></kml>");
    }

    void longRun()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, head);
        QFETCH(QByteArray, tail);
        const qint64 saved = XmlInputGuard::maxRun();
        XmlInputGuard::setMaxRun(1 << 20);
        FileFormatRegistry registry;
        registry.addStandardFormats(&m_settings);
        // The run also takes in the bytes of head and tail between the filler and the
        // nearest '<' or '>'.
        const int after = qMax(head.lastIndexOf('<'), head.lastIndexOf('>'));
        const int before = qMin(uint(tail.indexOf('<')), uint(tail.indexOf('>')));
        const int around = head.size() - 1 - after + before;
        for (const int run : {1 << 20, (1 << 20) + 1}) {
            QVERIFY(TestSupport::writeFile(path(file),
                                           head + QByteArray(run - around, ' ') + tail));
            QVector<Track> tracks;
            const bool ok = registry.load(tracks, path(file));
            QCOMPARE(ok, run == 1 << 20);
            QCOMPARE(registry.errorString().contains("longer than 1 MB"), !ok);
        }
        XmlInputGuard::setMaxRun(saved);
    }

    // A 2 GB file of garbage, under every extension, is turned down after its first bytes.
    void hugeGarbage_data()
    {
        QTest::addColumn<QString>("file");
        for (const char* name : {"big.gpx", "big.kml", "big.csv", "big.nmea", "big"})
            QTest::newRow(name) << name;
    }

    void hugeGarbage()
    {
        QFETCH(QString, file);
        QFile big(path(file));
        QVERIFY(big.open(QIODevice::WriteOnly));
        big.write("\x01garbage");
        // Sparse where the file system allows: no 2 GB are written.
        if (!big.resize(qint64(2) << 30))
            QSKIP("The temporary folder cannot hold a 2 GB file.");
        big.close();
        FileFormatRegistry registry;
        registry.addStandardFormats(&m_settings);
        QVector<Track> tracks;
        QVERIFY(!registry.load(tracks, big.fileName()));
        QVERIFY(!registry.errorString().isEmpty());
        big.remove();
    }

    // Cut anywhere, the tool's own GPX export still opens what it holds before the cut, or
    // is refused with a reason.
    void cutExport()
    {
        Track t{1399371630, 2, {}};
        for (int i = 0; i < 6; ++i)
            t.points << TestSupport::point(25 + i / 1000.0, 121, i, 1399371630 + i);
        FileFormatRegistry registry;
        registry.addStandardFormats(&m_settings);
        QString name = path("whole.gpx");
        QVERIFY(registry.save({t}, name, {0}, false));
        const QByteArray whole = TestSupport::readFile(name);
        int partial = 0;
        for (int cut = 0; cut < whole.size(); ++cut) {
            QVERIFY(TestSupport::writeFile(name, whole.left(cut)));
            QVector<Track> tracks;
            if (registry.load(tracks, name)) {
                const bool complete = cut >= whole.indexOf("</gpx>") + 6;
                QVERIFY2(registry.warningString().isEmpty() == complete,
                         qPrintable(QString::number(cut)));
                QCOMPARE(tracks.size(), 1);
                QVERIFY(tracks.at(0).points.size() < t.points.size() ||
                           cut >= whole.lastIndexOf("</trkpt>"));
                ++partial;
            } else {
                QVERIFY(!registry.errorString().isEmpty());
            }
        }
        QVERIFY(partial > 0);
    }
};

QTEST_GUILESS_MAIN(TestImports)
#include "tst_imports.moc"
