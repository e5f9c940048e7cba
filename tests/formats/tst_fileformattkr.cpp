#include "formats/fileformattkr.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <cstring>

// Builds archives byte by byte, independently of the writer.
class ArchiveBuilder
{
public:
    explicit ArchiveBuilder(int version = 2) : m_version(version) {}

    void addTrack(const Track& track) { m_tracks << track; }

    QByteArray bytes(qint64 countOverride = -1, qint64 pointCountOverride = -1) const
    {
        QByteArray data;
        QDataStream s(&data, QIODevice::WriteOnly);
        s.setByteOrder(QDataStream::LittleEndian);
        s.setFloatingPointPrecision(QDataStream::DoublePrecision);
        s.writeRawData("VLTR", 4);
        s << quint16(m_version);
        s.writeRawData("KV310-AA-XXXXXX\0KV310-AA-XXXXXX\0", 32);
        s << quint16(0) << quint32(countOverride >= 0 ? countOverride : m_tracks.size());
        s.writeRawData(QByteArray(64, '\0').constData(), 64);
        const int blockHead = m_version == 1 ? 20 : 12;
        quint32 offset = quint32(108 + 12 * m_tracks.size());
        for (int i = 0; i < m_tracks.size(); ++i) {
            const quint32 count = quint32(m_tracks[i].points.size());
            s << quint32(i) << offset
              << quint32(pointCountOverride >= 0 ? pointCountOverride : count);
            offset += quint32(blockHead + 48 * count);
        }
        for (const Track& t : m_tracks) {
            s << qint64(t.startTime);
            if (m_version == 1)
                s << qint64(0x1122334455667788);
            s << qint32(t.fmt);
            for (const Vec3& p : t.points)
                s << qint64(-1) << p.lat << p.lon << p.alt * 10000.0 << qint64(p.time)
                  << qint32(p.speed) << qint32(p.marked);
        }
        return data;
    }

private:
    int m_version;
    QVector<Track> m_tracks;
};

static Vec3 point(double lat, double lon, double alt, qint64 time, int marked, int speed)
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

static Track track(qint64 start, int fmt, int points, int firstMarked = 1)
{
    Track t;
    t.startTime = start;
    t.fmt = fmt;
    for (int i = 0; i < points; ++i)
        t.points << point(25.0 + i * 0.001, -121.5 - i * 0.002, 12.3456 + i, start + i,
                          i >= firstMarked ? 1 : 0, 1234 + i);
    return t;
}

static bool samePoints(const QVector<Vec3>& a, const QVector<Vec3>& b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i) {
        const Vec3& p = a[i];
        const Vec3& q = b[i];
        if (p.lat != q.lat || p.lon != q.lon || qAbs(p.alt - q.alt) > 1e-9 || p.time != q.time ||
            p.marked != q.marked || p.speed != q.speed || p.reserved != 0)
            return false;
    }
    return true;
}

class TestFileFormatTKR : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("kv730.formats=false")); }
    void roundTrip_data();
    void roundTrip();
    void layout();
    void version1();
    void localUtcOffset();
    void truncated_data();
    void truncated();
    void inconsistent_data();
    void inconsistent();

private:
    QString write(const QString& name, const QByteArray& data)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size())
            return QString();
        return path;
    }
    QTemporaryDir m_dir;
};

void TestFileFormatTKR::roundTrip_data()
{
    QTest::addColumn<QList<int>>("selection");
    QTest::addColumn<bool>("markedOnly");
    QTest::addRow("empty selection") << QList<int>{} << false;
    QTest::addRow("all") << QList<int>{0, 1, 2} << false;
    QTest::addRow("reordered, repeated") << QList<int>{2, 0, 2} << false;
    QTest::addRow("marked only") << QList<int>{0, 1, 2} << true;
}

void TestFileFormatTKR::roundTrip()
{
    QFETCH(QList<int>, selection);
    QFETCH(bool, markedOnly);
    QVector<Track> tracks{track(1399371630, 2, 4), track(1399400000, 1, 3, 99), track(0, 7, 0)};
    tracks[0].points[1].reserved = 77;

    FileFormatTKR tkr(3600);
    QString name = m_dir.filePath(QStringLiteral("round.tkx"));
    QVERIFY(tkr.save(tracks, name, selection, markedOnly));

    QVector<Track> read{track(5, 2, 1)};
    QVERIFY(tkr.load(read, name));
    QCOMPARE(read.size(), 1 + selection.size());
    for (int i = 0; i < selection.size(); ++i) {
        const Track& original = tracks[selection[i]];
        QVector<Vec3> expected;
        for (const Vec3& p : original.points)
            if (!markedOnly || p.marked)
                expected << p;
        QCOMPARE(read[1 + i].startTime, original.startTime);
        QCOMPARE(read[1 + i].fmt, original.fmt);
        QVERIFY(samePoints(read[1 + i].points, expected));
    }
}

void TestFileFormatTKR::layout()
{
    const QVector<Track> tracks{track(1399371630, 2, 3), track(-5, 1, 0)};
    FileFormatTKR tkr;
    QString name = m_dir.filePath(QStringLiteral("layout.tkx"));
    QVERIFY(tkr.save(tracks, name, {0, 1}, false));

    QFile f(name);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray data = f.readAll();
    QCOMPARE(data.size(), 300);
    // The writer's own bytes must equal an independently built archive, reserved bytes apart.
    ArchiveBuilder builder;
    for (const Track& t : tracks)
        builder.addTrack(t);
    QByteArray expected = builder.bytes();
    for (int i = 0; i < 3; ++i)
        std::memset(expected.data() + 132 + 12 + 48 * i, 0, 8);
    QCOMPARE(data, expected);

    auto u32 = [&](int offset) { return qFromLittleEndian<quint32>(data.constData() + offset); };
    QCOMPARE(u32(40), 2u);
    QCOMPARE((QList<quint32>{u32(108), u32(112), u32(116)}), (QList<quint32>{0, 132, 3}));
    QCOMPARE((QList<quint32>{u32(120), u32(124), u32(128)}), (QList<quint32>{1, 288, 0}));
    double storedAlt;
    const quint64 bits = qFromLittleEndian<quint64>(data.constData() + 132 + 12 + 24);
    std::memcpy(&storedAlt, &bits, 8);
    QVERIFY(qAbs(storedAlt - 123456.0) < 1e-6);

    name = m_dir.filePath(QStringLiteral("empty.tkx"));
    QVERIFY(tkr.save(tracks, name, {}, false));
    QCOMPARE(QFileInfo(name).size(), 108);
    QVector<Track> read;
    QVERIFY(tkr.load(read, name));
    QVERIFY(read.isEmpty());
}

void TestFileFormatTKR::version1()
{
    Track t = track(1399371630, 1, 3);
    t.points[1].time = -28800; // becomes 0 once shifted: dropped
    ArchiveBuilder builder(1);
    builder.addTrack(t);
    builder.addTrack(track(1000, 2, 1));
    const QString name = write(QStringLiteral("v1.tkx"), builder.bytes());

    QVector<Track> read;
    QVERIFY(FileFormatTKR(28800).load(read, name));
    QCOMPARE(read.size(), 2);
    QCOMPARE(read[0].startTime, 1399371630 + 28800);
    QCOMPARE(read[0].fmt, 1);
    QCOMPARE(read[0].points.size(), 2);
    QCOMPARE(read[0].points[0].time, t.points[0].time + 28800);
    QCOMPARE(read[0].points[1].time, t.points[2].time + 28800);
    QCOMPARE(read[0].points[1].lat, t.points[2].lat);
    QCOMPARE(read[1].startTime, 1000 + 28800);
    QCOMPARE(read[1].points.size(), 1);

    // Version 2 times are taken as they are; a time of 0 is dropped there too.
    Track v2 = track(1000, 2, 2);
    v2.points[0].time = 0;
    ArchiveBuilder b2(9);
    b2.addTrack(v2);
    read.clear();
    QVERIFY(FileFormatTKR(28800).load(read, write(QStringLiteral("v9.tkx"), b2.bytes())));
    QCOMPARE(read.size(), 1);
    QCOMPARE(read[0].startTime, 1000);
    QVERIFY(samePoints(read[0].points, v2.points.mid(1)));
}

void TestFileFormatTKR::localUtcOffset()
{
    const QByteArray oldTz = qgetenv("TZ");
    const bool hadTz = qEnvironmentVariableIsSet("TZ");
    qputenv("TZ", "Asia/Taipei");
    const qint32 taipei = FileFormatTKR().localUtcOffset();
    qputenv("TZ", "UTC");
    const qint32 utc = FileFormatTKR().localUtcOffset();
    if (hadTz)
        qputenv("TZ", oldTz);
    else
        qunsetenv("TZ");
    QCOMPARE(taipei, 28800);
    QCOMPARE(utc, 0);
}

void TestFileFormatTKR::truncated_data()
{
    QTest::addColumn<int>("version");
    QTest::addRow("version 2") << 2;
    QTest::addRow("version 1") << 1;
}

// An archive cut at any byte keeps exactly the tracks and points it holds completely.
void TestFileFormatTKR::truncated()
{
    QFETCH(int, version);
    const QVector<Track> tracks{track(100, 2, 2), track(200, 1, 0), track(300, 2, 3)};
    ArchiveBuilder builder(version);
    for (const Track& t : tracks)
        builder.addTrack(t);
    const QByteArray full = builder.bytes();
    const int blockHead = version == 1 ? 20 : 12;
    const int indexEnd = 108 + 12 * tracks.size();

    FileFormatTKR tkr(0);
    for (int length = 0; length < full.size(); ++length) {
        const QString name = write(QStringLiteral("cut.tkx"), full.left(length));
        QVector<Track> read{track(1, 2, 1)};
        const bool ok = tkr.load(read, name);
        if (length < indexEnd) {
            QVERIFY2(!ok, qPrintable(QString::number(length)));
            QCOMPARE(read.size(), 1);
            QVERIFY(!tkr.errorString().isEmpty());
            continue;
        }
        QVERIFY2(ok, qPrintable(QString::number(length)));
        QVector<Track> expected;
        int pos = indexEnd;
        for (const Track& t : tracks) {
            if (length - pos < blockHead)
                break;
            pos += blockHead;
            Track e = t;
            const int fit = qMin(t.points.size(), (length - pos) / 48);
            e.points = t.points.mid(0, fit);
            expected << e;
            pos += 48 * fit;
            if (fit < t.points.size())
                break;
        }
        QCOMPARE(read.size(), 1 + expected.size());
        for (int i = 0; i < expected.size(); ++i) {
            QCOMPARE(read[1 + i].startTime, expected[i].startTime);
            QVERIFY(samePoints(read[1 + i].points, expected[i].points));
        }
    }
}

void TestFileFormatTKR::inconsistent_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("result");
    QTest::addColumn<int>("trackCount");
    QTest::addColumn<int>("pointCount");

    ArchiveBuilder one;
    one.addTrack(track(100, 2, 3));
    QByteArray pad200 = ArchiveBuilder().bytes(0).leftJustified(200, '\0');
    QByteArray huge = pad200;
    huge.replace(40, 4, QByteArray(4, char(0xff)));
    QTest::addRow("track count 2^32-1 in 200 bytes") << huge << false << 0 << 0;
    QTest::addRow("point count 2^32-1") << one.bytes(-1, 0xffffffffLL).left(200) << true << 1 << 1;
    QByteArray wrongMagic = one.bytes();
    wrongMagic[3] = 'X';
    QTest::addRow("wrong magic") << wrongMagic << false << 0 << 0;
    QTest::addRow("empty file") << QByteArray() << false << 0 << 0;
    QTest::addRow("header only, count 0") << ArchiveBuilder().bytes() << true << 0 << 0;
    QTest::addRow("garbage after the data")
        << one.bytes() + QByteArray(1000, 'x') << true << 1 << 3;
}

void TestFileFormatTKR::inconsistent()
{
    QFETCH(QByteArray, data);
    QFETCH(bool, result);
    QFETCH(int, trackCount);
    QFETCH(int, pointCount);
    const QString name = write(QStringLiteral("odd.tkx"), data);
    FileFormatTKR tkr(0);
    QVector<Track> read;
    QCOMPARE(tkr.load(read, name), result);
    QCOMPARE(read.size(), trackCount);
    if (trackCount > 0)
        QCOMPARE(read[0].points.size(), pointCount);
    if (!result)
        QVERIFY(!tkr.errorString().isEmpty());
}

QTEST_GUILESS_MAIN(TestFileFormatTKR)
#include "tst_fileformattkr.moc"
