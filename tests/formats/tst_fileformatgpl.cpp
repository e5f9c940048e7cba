#include "formats/fileformatgpl.h"
#include "formats/gpsfilter.h"
#include "tzswitch.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>

namespace
{

const QDateTime Base(QDate(2014, 5, 6), QTime(10, 0, 0), Qt::UTC);

// One log line; the altitude field carries the line's number so that the kept points
// can be told apart.
struct Line {
    explicit Line(int number, int second = -1)
        : alt(QByteArray::number(number)), time(Base.addSecs(second < 0 ? number : second)
                                                    .toString(QStringLiteral("yyyy:MM:dd-hh:mm:ss"))
                                                    .toLatin1())
    {
    }
    Line& at(const QByteArray& v)
    {
        time = v;
        return *this;
    }
    Line& tagged(const QByteArray& v)
    {
        tag = v;
        return *this;
    }
    Line& latitude(const QByteArray& v, const QByteArray& h = "N")
    {
        lat = v;
        ns = h;
        return *this;
    }
    Line& longitude(const QByteArray& v, const QByteArray& h = "E")
    {
        lon = v;
        ew = h;
        return *this;
    }
    Line& moving(const QByteArray& v)
    {
        speed = v;
        return *this;
    }
    Line& ending(const QByteArray& v)
    {
        tail = v;
        return *this;
    }
    Line& starting(const QByteArray& v)
    {
        head = v;
        return *this;
    }
    operator QByteArray() const
    {
        return head + ',' + time + ',' + tag + ',' + lat + ',' + ns + ',' + lon + ',' + ew + ',' +
               alt + ',' + speed + ',' + tail;
    }

    QByteArray alt;
    QByteArray time;
    QByteArray head = "$KV730";
    QByteArray tag = "*GPS";
    QByteArray lat = "2502.1234";
    QByteArray ns = "N";
    QByteArray lon = "12130.5678";
    QByteArray ew = "E";
    QByteArray speed = "12.34";
    QByteArray tail = "0,0\r\n";
};

QByteArray join(std::initializer_list<QByteArray> lines)
{
    QByteArray all;
    for (const QByteArray& line : lines)
        all += line;
    return all;
}

// Kept points as "number:speed" (with "m" when marked), in order.
QString kept(const Track& track, bool withSpeed = true)
{
    QStringList parts;
    for (const Vec3& p : track.points) {
        QString part = QString::number(p.alt);
        if (withSpeed)
            part += QLatin1Char(':') + QString::number(p.speed);
        if (p.marked)
            part += QLatin1Char('m');
        parts << part;
    }
    return parts.join(QLatin1Char(' '));
}

} // namespace

class TestFileFormatGPL : public QObject
{
    Q_OBJECT

private slots:
    void init() { GpsFilter::setLimit(1); }
    void lineRules_data();
    void lineRules();
    void jumpFilter_data();
    void jumpFilter();
    void coordinates_data();
    void coordinates();
    void fieldToDouble_data();
    void fieldToDouble();
    void failures();
    void utcTimeInLocalGap();

private:
    Track load(const QByteArray& content, bool* ok = nullptr);
    QTemporaryDir m_dir;
};

Track TestFileFormatGPL::load(const QByteArray& content, bool* ok)
{
    const QString name = m_dir.filePath(QStringLiteral("track.gpl"));
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(content) != content.size())
        qFatal("cannot write test file");
    file.close();
    QVector<Track> tracks;
    FileFormatGPL format;
    const bool loaded = format.load(tracks, name);
    if (ok)
        *ok = loaded;
    return tracks.value(0);
}

void TestFileFormatGPL::lineRules_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("points");
    QTest::addColumn<qint64>("start");

    const QByteArray date = "2014:05:06-10:00:00";
    const qint64 base = Base.toSecsSinceEpoch();
    QTest::newRow("plain") << QByteArray(Line(0)) << "0:1234" << base;
    QTest::newRow("marked") << QByteArray(Line(0).tagged("@GPS")) << "0:1234m" << base;
    QTest::newRow("lower-case tag") << QByteArray(Line(0).tagged("*gps")) << "" << base;
    QTest::newRow("tag with blank") << QByteArray(Line(0).tagged("*GPS ")) << "" << base;
    QTest::newRow("ten fields") << QByteArray(Line(0).ending("0\r\n")) << "" << qint64(0);
    QTest::newRow("eleven fields, last empty")
        << QByteArray(Line(0).ending(",")) << "0:1234" << base;
    QTest::newRow("no line end at file end")
        << QByteArray(Line(0).ending("0,0")) << "0:1234" << base;
    QTest::newRow("30 characters") << ("," + date + ",,,,,,,,,\n") << "" << qint64(0);
    QTest::newRow("31 characters") << ("x," + date + ",,,,,,,,,\n") << "" << base;
    QTest::newRow("year 2009") << QByteArray(Line(0).at("2009:12:31-23:59:59")) << "" << qint64(0);
    QTest::newRow("year 2036") << QByteArray(Line(0).at("2036:01:01-00:00:00")) << "" << qint64(0);
    QTest::newRow("first day 2010")
        << QByteArray(Line(0).at("2010:01:01-00:00:00")) << "0:1234"
        << (QDateTime(QDate(2010, 1, 1), QTime(0, 0), Qt::UTC).toSecsSinceEpoch());
    QTest::newRow("last second 2035")
        << QByteArray(Line(0).at("2035:12:31-23:59:59")) << "0:1234"
        << (QDateTime(QDate(2035, 12, 31), QTime(23, 59, 59), Qt::UTC).toSecsSinceEpoch());
    QTest::newRow("no such day") << QByteArray(Line(0).at("2014:02:30-10:00:00")) << ""
                                 << qint64(0);
    QTest::newRow("blank in date")
        << QByteArray(Line(0).at("2014:05:06 10:00:00")) << "" << qint64(0);
    QTest::newRow("start from a rejected line")
        << join({Line(0).tagged("$GPS"), Line(1)}) << "1:1234" << base;
    QTest::newRow("latitude F") << QByteArray(Line(0).latitude("F")) << "" << base;
    QTest::newRow("longitude F") << QByteArray(Line(0).longitude("F12130.5678")) << "" << base;
    QTest::newRow("latitude zero") << QByteArray(Line(0).latitude("0000.0000")) << "" << base;
    QTest::newRow("latitude no number") << QByteArray(Line(0).latitude("25O2.1234")) << "" << base;
    QTest::newRow("latitude empty") << QByteArray(Line(0).latitude("")) << "" << base;
    QTest::newRow("latitude above 10000")
        << QByteArray(Line(0).latitude("10000.0001")) << "" << base;
    QTest::newRow("latitude 10000")
        << QByteArray(Line(0).latitude("10000.0000")) << "0:1234" << base;
    QTest::newRow("longitude zero") << QByteArray(Line(0).longitude("0")) << "" << base;
    QTest::newRow("longitude out of range") << QByteArray(Line(0).longitude("1e300")) << "" << base;
    QTest::newRow("latitude nan") << QByteArray(Line(0).latitude("nan")) << "" << base;
    QTest::newRow("speed 100.00 kept")
        << join({Line(0), Line(1).latitude("2502.2000").moving("100.00")}) << "0:1234 1:10000"
        << base;
    QTest::newRow("speed 100.01 replaced")
        << join({Line(0), Line(1).latitude("2502.2000").moving("100.01")}) << "0:1234 1:1234"
        << base;
    QTest::newRow("speed 150.00 replaced")
        << join({Line(0), Line(1).latitude("2502.2000").moving("150.00")}) << "0:1234 1:1234"
        << base;
    QTest::newRow("negative speed replaced")
        << join({Line(0), Line(1).latitude("2502.2000").moving("-1.00")}) << "0:1234 1:1234"
        << base;
    QTest::newRow("huge speed replaced")
        << join({Line(0), Line(1).latitude("2502.2000").moving("1e30")}) << "0:1234 1:1234" << base;
    QTest::newRow("first speed too high")
        << QByteArray(Line(0).latitude("2502.2000").moving("150")) << "0:0" << base;
    QTest::newRow("same time dropped")
        << join({Line(0), Line(1, 0).latitude("2502.2000")}) << "0:1234" << base;
    QTest::newRow("earlier time keeps the previous time")
        << join({Line(5), Line(3).latitude("2502.2"), Line(4).latitude("2502.3"),
                 Line(6).latitude("2502.4")})
        << "5:1234 6:1234" << base + 5;
    QTest::newRow("same position")
        << join({Line(0), Line(1).moving("50.00"), Line(2).latitude("2502.2").moving("150")})
        << "0:1234 1:0 2:1234" << base;
    QTest::newRow("same position after replaced speed")
        << join({Line(0), Line(1).moving("150.00")}) << "0:1234 1:0" << base;
    QTest::newRow("zero byte in last field")
        << QByteArray(Line(0).ending(QByteArray("0,0\0junk\r\n", 10))) << "0:1234" << base;
    QTest::newRow("zero byte before last field")
        << QByteArray(Line(0).ending(QByteArray("0\0,0\r\n", 6))) << "" << qint64(0);
    QTest::newRow("line after 1023 bytes of noise")
        << (QByteArray(1023, 'x') + Line(0)) << "0:1234" << base;
    QTest::newRow("line cut at 1023 bytes")
        << QByteArray(Line(0).starting(QByteArray(1000, 'x'))) << "" << qint64(0);
    QTest::newRow("Latin-1 noise") << QByteArray(Line(0).starting("\xb0\xff")) << "0:1234" << base;
    QTest::newRow("empty file") << QByteArray() << "" << qint64(0);
}

void TestFileFormatGPL::lineRules()
{
    QFETCH(QByteArray, content);
    QFETCH(qint64, start);
    bool ok = false;
    const Track track = load(content, &ok);
    QVERIFY(ok);
    QTEST(kept(track), "points");
    QCOMPARE(track.startTime, start);
    QCOMPARE(track.fmt, 2);
    qint64 previous = 0;
    for (const Vec3& p : track.points) {
        QVERIFY(p.time > previous);
        QCOMPARE(p.reserved, 0);
        previous = p.time;
    }
}

void TestFileFormatGPL::jumpFilter_data()
{
    QTest::addColumn<int>("limit");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("points");

    // "near" points lie within a few hundred metres of each other; "far" ones about 55 km
    // north of them, again close to each other.
    auto near = [](int n) { return Line(n).latitude("2502." + QByteArray::number(n)); };
    auto far = [](int n) { return Line(n).latitude("2532." + QByteArray::number(n)); };
    QTest::newRow("limit 1, relocation loses two")
        << 1 << join({near(0), near(1), far(2), far(3), far(4), far(5)}) << "0 1 4 5";
    QTest::newRow("limit 1, single outlier")
        << 1 << join({near(0), far(1), near(2), near(3)}) << "0 2 3";
    QTest::newRow("limit 1, outlier then relocation")
        << 1 << join({near(0), far(1), near(2), far(3), far(4), far(5)}) << "0 2 5";
    QTest::newRow("limit 3, relocation loses three")
        << 3 << join({near(0), far(1), far(2), far(3), far(4), far(5)}) << "0 4 5";
    QTest::newRow("limit 3, two outliers")
        << 3 << join({near(0), far(1), far(2), near(3)}) << "0 3";
    QTest::newRow("limit 0 keeps every point")
        << 0 << join({near(0), far(1), near(2), far(3)}) << "0 1 2 3";
    QTest::newRow("negative limit moves the reference each time")
        << -1 << join({near(0), far(1), far(2), near(3), near(4)}) << "0 2 4";
    QTest::newRow("dropped lines by time do not count")
        << 1 << join({near(0), Line(1, 0).latitude("2532.1"), far(2), far(3), far(4)}) << "0 4";
}

void TestFileFormatGPL::jumpFilter()
{
    QFETCH(int, limit);
    QFETCH(QByteArray, content);
    GpsFilter::setLimit(qint8(limit));
    QTEST(kept(load(content), false), "points");
}

void TestFileFormatGPL::coordinates_data()
{
    QTest::addColumn<QByteArray>("lat");
    QTest::addColumn<QByteArray>("ns");
    QTest::addColumn<QByteArray>("lon");
    QTest::addColumn<QByteArray>("ew");
    QTest::addColumn<double>("expectedLat");
    QTest::addColumn<double>("expectedLon");

    const double lat = 25 + (2 + 1234 / 10000.0) / 60.0;
    const double lon = 121 + (30 + 5678 / 10000.0) / 60.0;
    QTest::newRow("north east") << QByteArray("2502.1234") << QByteArray("N")
                                << QByteArray("12130.5678") << QByteArray("E") << lat << lon;
    QTest::newRow("south west") << QByteArray("2502.1234") << QByteArray("S")
                                << QByteArray("12130.5678") << QByteArray("W") << -lat << -lon;
    QTest::newRow("hemisphere words")
        << QByteArray("2502.1234") << QByteArray("South") << QByteArray("12130.5678")
        << QByteArray("West") << -lat << -lon;
    QTest::newRow("lower-case hemispheres")
        << QByteArray("2502.1234") << QByteArray("s") << QByteArray("12130.5678") << QByteArray("w")
        << lat << lon;
    QTest::newRow("empty hemispheres") << QByteArray("2502.1234") << QByteArray()
                                       << QByteArray("12130.5678") << QByteArray() << lat << lon;
    QTest::newRow("leading zeros")
        << QByteArray("0502.5") << QByteArray("N") << QByteArray("00030.25") << QByteArray("W")
        << 5 + 2.5 / 60.0 << -(30.25 / 60.0);
    QTest::newRow("fifth decimal truncated")
        << QByteArray("2502.12349") << QByteArray("N") << QByteArray("12130.56781")
        << QByteArray("E") << lat << lon;
}

void TestFileFormatGPL::coordinates()
{
    QFETCH(QByteArray, lat);
    QFETCH(QByteArray, ns);
    QFETCH(QByteArray, lon);
    QFETCH(QByteArray, ew);
    const Track track = load(Line(0).latitude(lat, ns).longitude(lon, ew));
    QCOMPARE(track.points.size(), 1);
    QTEST(track.points.at(0).lat, "expectedLat");
    QTEST(track.points.at(0).lon, "expectedLon");
    QCOMPARE(track.points.at(0).alt, 0.0);
}

void TestFileFormatGPL::fieldToDouble_data()
{
    QTest::addColumn<QByteArray>("field");
    for (const char* text : {"0",
                             "-0",
                             "-0.0",
                             "0.0000",
                             "2502.1234",
                             "12130.5678",
                             "0502.1234",
                             "35.2",
                             "-12.5",
                             "100.00",
                             "150.00",
                             "123456789012345",
                             "1234567890123456",
                             "0.000000000000001",
                             "9007199254740993",
                             "1.7976931348623157e308",
                             "1e400",
                             "1e-400",
                             "12.",
                             ".5",
                             "+1.5",
                             " 1.5",
                             "1.5 ",
                             "1,5",
                             "1e3",
                             "nan",
                             "inf",
                             "-inf",
                             "0x10",
                             "",
                             "-",
                             ".",
                             "1.2.3",
                             "\xb5",
                             "１"})
        QTest::newRow(text) << QByteArray(text);
}

void TestFileFormatGPL::fieldToDouble()
{
    QFETCH(QByteArray, field);
    bool ok = false;
    double expected = QString::fromLatin1(field).toDouble(&ok);
    if (!ok)
        expected = 0.0;
    const double got = FileFormatGPL::fieldToDouble(field.constData(), field.size());
    QVERIFY2(std::memcmp(&got, &expected, sizeof got) == 0,
             qPrintable(QStringLiteral("%1 != %2").arg(got, 0, 'g', 17).arg(expected, 0, 'g', 17)));
}

void TestFileFormatGPL::failures()
{
    FileFormatGPL format;
    QVector<Track> tracks(1);
    QVERIFY(!format.load(tracks, m_dir.filePath(QStringLiteral("missing.gpl"))));
    QVERIFY(!format.errorString().isEmpty());
    QVERIFY(!format.load(tracks, m_dir.path()));
    QCOMPARE(tracks.size(), 1);

    QString name = m_dir.filePath(QStringLiteral("out.gpl"));
    QVERIFY(!format.save(tracks, name, {0}, false));
    QVERIFY(!format.errorString().isEmpty());
    QVERIFY(!QFile::exists(name));
}

void TestFileFormatGPL::utcTimeInLocalGap()
{
    // 02:30 does not exist on that night in Berlin, but the log's times are UTC.
    TzSwitch tz("Europe/Berlin");
    const Track track = load(join({Line(0).at("2014:03:30-01:59:59"),
                                   Line(1).at("2014:03:30-02:30:00").latitude("2502.2"),
                                   Line(2).at("2014:03:30-03:00:00").latitude("2502.3")}));
    QCOMPARE(kept(track), QStringLiteral("0:1234 1:1234 2:1234"));
    QCOMPARE(track.points.at(1).time, qint64(1396146600));
}

QTEST_GUILESS_MAIN(TestFileFormatGPL)
#include "tst_fileformatgpl.moc"
