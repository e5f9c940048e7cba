#include "formats/distanceinmeters.h"
#include "formats/fileformatgpl.h"
#include "formats/gpsfilter.h"
#include "testsupport.h"
#include "tzswitch.h"

#include <QtTest>

const QDateTime Base(QDate(2014, 5, 6), QTime(10, 0, 0), Qt::UTC);
enum Field { Head, Time, Tag, Lat, NS, Lon, EW, Alt, Speed, Tail };

// One log line at Base + n seconds (or + second); the altitude carries n so that the kept
// points can be told apart.
static QByteArray line(int n, std::initializer_list<std::pair<Field, QByteArray>> changes = {},
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
static QString kept(const Track& track)
{
    QStringList parts;
    for (const Vec3& p : track.points)
        parts << QString::number(p.alt) + ":" + QString::number(p.speed) + (p.marked ? "m" : "");
    return parts.join(' ');
}

// A buffer whose reads fail once `good` more bytes have been read, as a drive going bad.
struct FailingDevice : QBuffer {
    qint64 good;
    qint64 readData(char* data, qint64 max) override
    {
        setErrorString("Input/output error");
        const qint64 n = good > 0 ? QBuffer::readData(data, qMin(max, good)) : -1;
        good -= qMax<qint64>(n, 0);
        return n;
    }
};

class TestFileFormatGPL : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    TzSwitch m_berlin{"Europe/Berlin"}; // log times are UTC all the same
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
        row("30 characters", "," + date + ",,,,,,,,,\n", "", 0);
        row("31 characters", "x," + date + ",,,,,,,,,\n", "", b);
        row("year 2009", at("2009:12:31-23:59:59"), "", 0);
        row("last second 2035", at("2035:12:31-23:59:59"), "0:1234", 2082758399);
        row("year 2036", at("2036:01:01-00:00:00"), "", 0);
        row("no such day", at("2014:02:30-10:00:00"), "", 0);
        row("02:30 of a night that skips it in Berlin", at("2014:03:30-02:30:00"), "0:1234",
            1396146600);
        row("start from a rejected line", line(0, {{Tag, "$GPS"}}) + line(1), "1:1234", b);
        row("latitude F", line(0, {{Lat, "F"}}), "", b);
        row("longitude F", line(0, {{Lon, "F12130.5678"}}), "", b);
        row("latitude zero", line(0, {{Lat, "0000.0000"}}), "", b);
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
    }

    // Hemisphere signs; only 4 decimals of the minutes count.
    void coordinates()
    {
        GpsFilter::setLimit(0); // the hemispheres are far apart
        const Track t = load(line(0) + line(1, {{NS, "S"}, {EW, "W"}}) +
                             line(2, {{NS, "South"}, {EW, "West"}, {Lat, "2502.12349"}}) +
                             line(3, {{NS, "s"}, {EW, "w"}, {Lon, "12130.56781"}}));
        QString got;
        for (const Vec3& p : t.points)
            got += QString::asprintf("%.17g %.17g,", p.lat, p.lon);
        const double lat = 25 + (2 + 1234 / 10000.0) / 60.0,
                     lon = 121 + (30 + 5678 / 10000.0) / 60.0;
        QCOMPARE(got, QString::asprintf("%.17g %.17g,", lat, lon) +
                          QString::asprintf("%.17g %.17g,", -lat, -lon).repeated(2) +
                          QString::asprintf("%.17g %.17g,", lat, lon));
    }

    // A device failing midway (in either pass over it) fails the read; a whole one gives a
    // track sized once from the file, not regrown (and briefly held twice) as it is read.
    void readDevice()
    {
        GpsFilter::setLimit(1);
        QByteArray log(70000, 'x'); // a long line of noise, no point in it (283 KB in all)
        for (int n = 0; n < 3000; ++n)
            log += line(n);
        for (qint64 good : {qint64(65536), qint64(300000), std::numeric_limits<qint64>::max()}) {
            FailingDevice device;
            device.good = good;
            device.setData(log);
            device.open(QIODevice::ReadOnly);
            QVector<Track> tracks;
            FileFormatGPL format;
            const bool whole = good > 2 * log.size();
            QCOMPARE(format.read(tracks, device), whole);
            QCOMPARE(format.errorString(),
                     whole ? "" : "The file cannot be read to its end: Input/output error");
            QCOMPARE(tracks.value(0).points.size(), whole ? 3000 : 0);
            QVERIFY(tracks.value(0).points.capacity() <= 3000 + log.size() / 1023);
        }
    }

    void distance()
    {
        QCOMPARE(distanceInMeters(0, 25000000, 0, 25010000), 1851.1476715088709);
        QCOMPARE(distanceInMeters(121000000, 25000000, 121010000, 25000000), 1677.709607070997);
        QCOMPARE(distanceInMeters(-121000000, -25000000, -121010000, -25010000), 2498.1379376007);
    }
};

QTEST_GUILESS_MAIN(TestFileFormatGPL)
#include "tst_fileformatgpl.moc"
