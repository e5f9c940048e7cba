#include "formats/distanceinmeters.h"
#include "formats/fileformatgpl.h"
#include "formats/gpsfilter.h"
#include "formats/logdatetime.h"
#include "testsupport.h"
#include "tzswitch.h"

#include <QDateTime>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>

namespace
{

const QDateTime Base(QDate(2014, 5, 6), QTime(10, 0, 0), Qt::UTC);
enum Field { Head, Time, Tag, Lat, NS, Lon, EW, Alt, Speed, Tail };

// One log line at Base + n seconds (or + second); the altitude carries n so that the kept
// points can be told apart.
QByteArray line(int n, std::initializer_list<std::pair<Field, QByteArray>> changes = {},
                int second = -1)
{
    QByteArrayList f =
        QByteArray("$KV730|t|*GPS|2502.1234|N|12130.5678|E|a|12.34|0,0\r\n").split('|');
    f[Time] = Base.addSecs(second < 0 ? n : second).toString("yyyy:MM:dd-hh:mm:ss").toLatin1();
    f[Alt] = QByteArray::number(n);
    for (const auto& change : changes)
        f[change.first] = change.second;
    return f.join(',');
}

// Kept points as "n:speed" (with "m" when marked), in order.
QString kept(const Track& track)
{
    QStringList parts;
    for (const Vec3& p : track.points)
        parts << QString::number(p.alt) + ":" + QString::number(p.speed) + (p.marked ? "m" : "");
    return parts.join(' ');
}

// A date field as QDateTime reads it, then taken as UTC.
QString describe(const LogDateTime& r)
{
    return QString::asprintf("%d %d-%d-%d %d:%d:%d %lld", r.valid, r.year, r.month, r.day, r.hour,
                             r.minute, r.second, static_cast<long long>(r.secs));
}
QString reference(const QString& field)
{
    QDateTime dt = QDateTime::fromString(field, "yyyy:MM:dd-hh:mm:ss");
    dt.setTimeSpec(Qt::UTC);
    const QDate d = dt.date();
    const QTime t = dt.time();
    return describe({dt.isValid(), d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(),
                     dt.toSecsSinceEpoch()});
}

QStringList dateFields()
{
    QStringList list;
    // Every :15 and :45 of years with DST gaps on the hour, the half hour and at midnight, of
    // years where QDateTime's local-time handling changes, and of the year Samoa skipped a day.
    for (int year : {1970, 2011, 2014, 2038})
        for (QDateTime t(QDate(year, 1, 1), QTime(0, 15), Qt::UTC); t.date().year() == year;
             t = t.addSecs(1800))
            list << t.toString("yyyy:MM:dd-hh:mm:ss");
    QRandomGenerator random(730);
    for (int i = 0; i < 3000; ++i)
        list << QDateTime::fromSecsSinceEpoch(qint64(random.bounded(2.7e9)) - 200000000, Qt::UTC)
                    .toString("yyyy:MM:dd-hh:mm:ss");
    // Leap days, and malformed or out-of-range fields: every one-character change of a valid one.
    list << QString("2000:02:29-12:00:00|2015:02:29-12:00:00|2100:02:29-12:00:00|2014:5:6-1:2:3|"
                    "14:05:06-10:20:30")
                .split('|')
         << QString::fromUtf8("\xd9\xa2\xd9\xa0\xd9\xa1\xd9\xa4:05:06-10:20:30")
         << QString::fromUtf8("2014:05:06-10:20:3\xef\xbc\x90");
    const QString valid = "2014:05:06-10:20:30";
    for (int i = 0; i <= valid.size(); ++i) {
        for (QChar c : QString::fromLatin1("0123456789 :-+.x,\n\xb3"))
            list << QString(valid).insert(i, c) << QString(valid).replace(i, 1, c);
        list << QString(valid).remove(i, 1) << valid.left(i);
    }
    return list;
}

} // namespace

class TestFileFormatGPL : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    Track load(const QByteArray& content)
    {
        const QString name = m_dir.filePath("track.gpl");
        QVector<Track> tracks;
        if (!TestSupport::writeFile(name, content) || !FileFormatGPL().load(tracks, name) ||
            tracks.size() != 1)
            qFatal("cannot load %s", content.constData());
        return tracks.at(0);
    }

private slots:
    void lineRules_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("points");
        QTest::addColumn<qint64>("start");
        QTest::addColumn<int>("limit"); // of the jump filter
        auto row = [](const char* name, const QByteArray& content, const char* points,
                      qint64 start) {
            QTest::newRow(name) << content << QString(points) << start << 1;
        };
        auto at = [](const QByteArray& time) { return line(0, {{Time, time}}); };
        auto moved = [](int n, const QByteArray& speed) {
            return line(n, {{Lat, "2502.2000"}, {Speed, speed}});
        };
        const qint64 b = Base.toSecsSinceEpoch();
        const QByteArray date = "2014:05:06-10:00:00";
        row("plain", line(0), "0:1234", b);
        row("marked", line(0, {{Tag, "@GPS"}}), "0:1234m", b);
        row("lower-case tag", line(0, {{Tag, "*gps"}}), "", b);
        row("ten fields", line(0, {{Tail, "0\r\n"}}), "", 0);
        row("eleven fields, last empty", line(0, {{Tail, ","}}), "0:1234", b);
        row("no line end at file end", line(0, {{Tail, "0,0"}}), "0:1234", b);
        row("30 characters", "," + date + ",,,,,,,,,\n", "", 0);
        row("31 characters", "x," + date + ",,,,,,,,,\n", "", b);
        row("year 2009", at("2009:12:31-23:59:59"), "", 0);
        row("first second 2010", at("2010:01:01-00:00:00"), "0:1234", 1262304000);
        row("last second 2035", at("2035:12:31-23:59:59"), "0:1234", 2082758399);
        row("year 2036", at("2036:01:01-00:00:00"), "", 0);
        row("no such day", at("2014:02:30-10:00:00"), "", 0);
        row("start from a rejected line", line(0, {{Tag, "$GPS"}}) + line(1), "1:1234", b);
        row("latitude F", line(0, {{Lat, "F"}}), "", b);
        row("longitude F", line(0, {{Lon, "F12130.5678"}}), "", b);
        row("latitude zero", line(0, {{Lat, "0000.0000"}}), "", b);
        row("latitude nan", line(0, {{Lat, "nan"}}), "", b);
        row("latitude 10000", line(0, {{Lat, "10000.0000"}}), "0:1234", b);
        row("latitude above 10000", line(0, {{Lat, "10000.0001"}}), "", b);
        row("longitude out of range", line(0, {{Lon, "1e300"}}), "", b);
        row("speed 100.00 kept", line(0) + moved(1, "100.00"), "0:1234 1:10000", b);
        row("speed 100.01 replaced", line(0) + moved(1, "100.01"), "0:1234 1:1234", b);
        row("negative speed replaced", line(0) + moved(1, "-1.00"), "0:1234 1:1234", b);
        row("first speed too high", moved(0, "150"), "0:0", b);
        row("same time dropped", line(0) + line(1, {{Lat, "2502.2"}}, 0), "0:1234", b);
        // An earlier time is dropped and keeps the previous time as the reference.
        row("earlier time", line(5) + moved(3, "12.34") + moved(4, "1") + moved(6, "12.34"),
            "5:1234 6:1234", b + 5);
        row("same position", line(0) + line(1, {{Speed, "50"}}) + moved(2, "150"),
            "0:1234 1:0 2:1234", b);
        row("same position, speed replaced", line(0) + line(1, {{Speed, "150"}}), "0:1234 1:0", b);
        row("zero byte in last field", line(0, {{Tail, QByteArray("0,0\0x\n", 6)}}), "0:1234", b);
        row("zero byte before last field", line(0, {{Tail, QByteArray("0\0,0\r\n", 6)}}), "", 0);
        row("line after 1023 bytes of noise", QByteArray(1023, 'x') + line(0), "0:1234", b);
        row("line cut at 1023 bytes", line(0, {{Head, QByteArray(1000, 'x')}}), "", 0);
        row("empty file", QByteArray(), "", 0);
        // n: near the previous near points; f: about 55 km north of them, near the other far
        // ones; d: far, at the time of the line before (dropped).
        auto jump = [](int limit, const char* pattern, const char* points) {
            QByteArray content;
            for (int n = 0; pattern[n]; ++n)
                content += line(
                    n, {{Lat, (pattern[n] == 'n' ? "2502." : "2532.") + QByteArray::number(n)}},
                    pattern[n] == 'd' ? n - 1 : n);
            QTest::addRow("limit %d, %s", limit, pattern)
                << content << QString(points).replace(QRegularExpression("(\\d+)"), "\\1:1234")
                << Base.toSecsSinceEpoch() << limit;
        };
        jump(1, "nnffff", "0 1 4 5"); // a relocation loses two points
        jump(1, "nfnn", "0 2 3");
        jump(1, "nfnfff", "0 2 5");
        jump(3, "nfffff", "0 4 5");
        jump(3, "nffn", "0 3");
        jump(0, "nfnf", "0 1 2 3");
        jump(-1, "nffnn", "0 2 4"); // the reference moves each time
        jump(1, "ndfff", "0 4");    // lines dropped by time do not count
    }

    void lineRules()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, limit);
        GpsFilter::setLimit(qint8(limit));
        const Track track = load(content);
        QTEST(kept(track), "points");
        QTEST(track.startTime, "start");
        QCOMPARE(track.fmt, 2);
    }

    void coordinates()
    {
        GpsFilter::setLimit(1);
        const double lat = 25 + (2 + 1234 / 10000.0) / 60.0,
                     lon = 121 + (30 + 5678 / 10000.0) / 60.0;
        for (const auto& [content, wantLat, wantLon] :
             std::initializer_list<std::tuple<QByteArray, double, double>>{
                 {line(0), lat, lon},
                 {line(0, {{NS, "S"}, {EW, "W"}}), -lat, -lon},
                 {line(0, {{NS, "South"}, {EW, "West"}}), -lat, -lon},
                 {line(0, {{NS, "s"}, {EW, "w"}}), lat, lon},
                 {line(0, {{Lat, "0502.5"}, {Lon, "00030.25"}, {EW, "W"}}), 5 + 2.5 / 60,
                  -30.25 / 60},
                 {line(0, {{Lat, "2502.12349"}, {Lon, "12130.56781"}}), lat, lon}}) { // 4 decimals
            const Track track = load(content);
            QCOMPARE(track.points.size(), 1);
            QCOMPARE(track.points.at(0).lat, wantLat);
            QCOMPARE(track.points.at(0).lon, wantLon);
        }
    }

    // The fast number reader gives the bits of QString::toDouble (0 for no number).
    void fieldToDouble()
    {
        const QByteArrayList fields =
            QByteArray("0|-0|0.0000|2502.1234|12130.5678|0502.1234|-12.5|100.00|1234567890123456|"
                       "0.000000000000001|9007199254740993|1.7976931348623157e308|1e400|1e-400|12.|"
                       ".5|+1.5| 1.5|1.5 |1,5|1e3|nan|inf|-inf|0x10||-|.|1.2.3|\xb5|１")
                .split('|');
        for (const QByteArray& field : fields) {
            bool ok = false;
            double expected = QString::fromLatin1(field).toDouble(&ok);
            expected = ok ? expected : 0.0;
            const double got = FileFormatGPL::fieldToDouble(field.constData(), field.size());
            QVERIFY2(std::memcmp(&got, &expected, sizeof got) == 0, field.constData());
        }
    }

    // The fast date reader gives what QDateTime gives, in every zone.
    void dateFieldSameAsQDateTime_data() { TzSwitch::addZoneRows(); }
    void dateFieldSameAsQDateTime()
    {
        QFETCH(QByteArray, zone);
        static const QStringList inputs = dateFields();
        static QStringList utcExpected; // parseLatin1AsUtc reads as QDateTime does in UTC
        if (utcExpected.isEmpty()) {
            TzSwitch utc("UTC");
            for (const QString& input : inputs)
                utcExpected << reference(input);
        }
        TzSwitch tz(zone);
        int mismatches = 0;
        for (int i = 0; i < inputs.size(); ++i) {
            const QString& input = inputs.at(i);
            const QByteArray b = input.toLatin1();
            const bool latin1 = QString::fromLatin1(b) == input;
            QStringList want{reference(input)}, got{describe(LogDateTime::parse(input))};
            if (latin1) {
                want << want[0];
                got << describe(LogDateTime::parseLatin1(b.constData(), b.size()));
            }
            // Only for the years the reader takes (2010 to 2035): outside them, a time in a
            // local gap is read as invalid, as QDateTime reads it.
            if (latin1 && b.left(4).toInt() >= 2010 && b.left(4).toInt() <= 2035) {
                want << utcExpected.at(i);
                got << describe(LogDateTime::parseLatin1AsUtc(b.constData(), b.size()));
            }
            if (got != want && ++mismatches < 10)
                qWarning() << input << "expected" << want << "got" << got;
        }
        QCOMPARE(mismatches, 0);
    }

    void failures()
    {
        FileFormatGPL format;
        QVector<Track> tracks(1);
        QVERIFY(!format.load(tracks, m_dir.filePath("missing.gpl")));
        QVERIFY(!format.errorString().isEmpty() && !format.load(tracks, m_dir.path()));
        QCOMPARE(tracks.size(), 1);
        QString name = m_dir.filePath("out.gpl");
        QVERIFY(!format.save(tracks, name, {0}, false));
        QVERIFY(!QFile::exists(name));
    }

    // 02:30 does not exist on that night in Berlin, but the log's times are UTC.
    void utcTimeInLocalGap()
    {
        TzSwitch tz("Europe/Berlin");
        GpsFilter::setLimit(1);
        const Track track = load(line(0, {{Time, "2014:03:30-01:59:59"}}) +
                                 line(1, {{Time, "2014:03:30-02:30:00"}, {Lat, "2502.2"}}) +
                                 line(2, {{Time, "2014:03:30-03:00:00"}, {Lat, "2502.3"}}));
        QCOMPARE(kept(track), QStringLiteral("0:1234 1:1234 2:1234"));
        QCOMPARE(track.points.at(1).time, qint64(1396146600));
    }

    void readSettingFile()
    {
        const QString path = m_dir.filePath("Setting.ini");
        QCOMPARE(GpsFilter::readSettingFile(path), qint8(1)); // no file
        for (auto [content, limit] : std::initializer_list<std::pair<QByteArray, int>>{
                 {"[General]\nOther=5\n", 1},
                 {"[General]\nGPS_filter=0\n", 0},
                 {"GPS_filter=300\n", 44}, // the low 8 bits
                 {"[General]\nGPS_filter=255\n", -1}}) {
            QVERIFY(TestSupport::writeFile(path, content));
            GpsFilter::setLimit(77);
            QCOMPARE(int(GpsFilter::readSettingFile(path)), limit);
            QCOMPARE(int(GpsFilter::limit()), limit);
        }
    }

    void distance()
    {
        QCOMPARE(distanceInMeters(121305678, 25021234, 121305678, 25021234), 0.0);
        QCOMPARE(distanceInMeters(0, 25000000, 0, 25010000), 1851.1476715088709);
        QCOMPARE(distanceInMeters(121000000, 25000000, 121010000, 25000000), 1677.709607070997);
        QCOMPARE(distanceInMeters(-121000000, -25000000, -121010000, -25010000), 2498.1379376007);
        QCOMPARE(distanceInMeters(-121010000, -25010000, -121000000, -25000000), 2498.1379376007);
    }
};

QTEST_GUILESS_MAIN(TestFileFormatGPL)
#include "tst_fileformatgpl.moc"
