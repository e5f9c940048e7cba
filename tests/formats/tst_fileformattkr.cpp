#include "formats/fileformattkr.h"
#include "testsupport.h"

#include <QtTest>

#include <atomic>
#include <thread>

// An archive built byte by byte, independently of the writer; the counts can be overridden.
static QByteArray archive(int version, const QVector<Track>& tracks, qint64 count = -1,
                          qint64 points = -1, qint64 reserved = -1)
{
    QByteArray data;
    QDataStream s(&data, QIODevice::WriteOnly);
    s.setByteOrder(QDataStream::LittleEndian);
    s.writeRawData("VLTR", 4);
    s << quint16(version);
    s.writeRawData("KV310-AA-XXXXXX\0KV310-AA-XXXXXX\0", 32);
    s << quint16(0) << quint32(count >= 0 ? count : tracks.size());
    s.writeRawData(QByteArray(64, '\0').constData(), 64);
    quint32 offset = quint32(108 + 12 * tracks.size());
    for (int i = 0; i < tracks.size(); ++i) {
        const int size = tracks[i].points.size();
        s << quint32(i) << offset << quint32(points >= 0 ? points : size);
        offset += (version == 1 ? 20 : 12) + 48 * size;
    }
    for (const Track& t : tracks) {
        s << qint64(t.startTime);
        if (version == 1)
            s << qint64(0x1122334455667788);
        s << qint32(t.fmt);
        for (const Vec3& p : t.points)
            s << reserved << p.lat << p.lon << p.alt * 10000.0 << qint64(p.time) << qint32(p.speed)
              << qint32(p.marked);
    }
    return data;
}

static Track track(qint64 start, int fmt, int points, int firstMarked = 1)
{
    Track t;
    t.startTime = start;
    t.fmt = fmt;
    for (int i = 0; i < points; ++i)
        t.points << TestSupport::point(25.0 + i * 0.001, -121.5 - i * 0.002, 12.3456 + i, start + i,
                                       i >= firstMarked, 1234 + i);
    return t;
}

static QStringList text(const QVector<Track>& tracks)
{
    QStringList list;
    for (const Track& t : tracks) {
        list << QString::asprintf("track %lld %d", static_cast<long long>(t.startTime), t.fmt);
        for (const Vec3& p : t.points)
            list << QString::asprintf("%.17g %.17g %.6f %lld %d %d %d", p.lat, p.lon, p.alt,
                                      static_cast<long long>(p.time), p.marked, p.speed,
                                      p.reserved);
    }
    return list;
}

class TestFileFormatTKR : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString write(const QByteArray& data)
    {
        return TestSupport::writeFile(m_dir.filePath("t.tkx"), data) ? m_dir.filePath("t.tkx") : "";
    }

private slots:
    void initTestCase() { QLoggingCategory::setFilterRules("kv730.formats=false"); }

    void roundTrip_data()
    {
        QTest::addColumn<QList<int>>("selection");
        QTest::addColumn<bool>("markedOnly");
        QTest::addRow("empty selection") << QList<int>{} << false;
        QTest::addRow("reordered, repeated") << QList<int>{2, 0, 2, 1} << false;
        QTest::addRow("marked only") << QList<int>{0, 1, 2} << true;
    }
    // Written bytes as built independently (reserved bytes 0); read tracks are appended.
    void roundTrip()
    {
        QFETCH(QList<int>, selection);
        QFETCH(bool, markedOnly);
        QVector<Track> tracks{track(1399371630, 2, 4), track(-5, 1, 3, 99), track(0, 7, 0)};
        tracks[0].points[1].reserved = 77;
        QString name = m_dir.filePath("round.tkx");
        QVERIFY(FileFormatTKR(3600).save(tracks, name, selection, markedOnly));
        tracks[0].points[1].reserved = 0;
        QVector<Track> expected;
        for (int i : selection) {
            expected << tracks[i];
            auto& points = expected.last().points;
            points.erase(std::remove_if(points.begin(), points.end(),
                                        [&](const Vec3& p) { return markedOnly && !p.marked; }),
                         points.end());
        }
        QCOMPARE(TestSupport::readFile(name), archive(2, expected, -1, -1, 0));
        QVector<Track> read{track(5, 2, 1)};
        FileFormatTKR reader(3600);
        QVERIFY(reader.load(read, name) && reader.warningString().isEmpty());
        QCOMPARE(text(read), text(QVector<Track>{track(5, 2, 1)} + expected));
    }

    void version1()
    {
        // Version 1 times are local: shifted by the offset, and a time of 0 after that dropped.
        Track t = track(1399371630, 1, 3);
        t.points[1].time = -28800;
        QVector<Track> read, expected{track(1399371630 + 28800, 1, 3), track(1000 + 28800, 2, 1)};
        expected[0].points.remove(1);
        QVERIFY(FileFormatTKR(28800).load(read, write(archive(1, {t, track(1000, 2, 1)}))));
        QCOMPARE(text(read), text(expected));
    }

    // An archive cut at any byte keeps exactly the tracks and points it holds completely.
    void truncated()
    {
        for (int version : {1, 2}) {
            const QVector<Track> tracks{track(100, 2, 2), track(200, 1, 0), track(300, 2, 3)};
            const QByteArray full = archive(version, tracks);
            const int blockHead = version == 1 ? 20 : 12;
            const int indexEnd = 108 + 12 * tracks.size();
            FileFormatTKR tkr(0);
            for (int length = 0; length < full.size(); ++length) {
                QVector<Track> read{track(1, 2, 1)}, expected{track(1, 2, 1)};
                const bool ok = tkr.load(read, write(full.left(length)));
                QCOMPARE(ok, length >= indexEnd);
                QVERIFY(ok ? !tkr.warningString().isEmpty() : !tkr.errorString().isEmpty());
                for (int i = 0, pos = indexEnd; ok && i < tracks.size(); ++i) {
                    if (length - pos < blockHead)
                        break;
                    pos += blockHead;
                    expected << tracks[i];
                    expected.last().points.resize(
                        qMin(tracks[i].points.size(), (length - pos) / 48));
                    pos += 48 * expected.last().points.size();
                    if (expected.last().points.size() < tracks[i].points.size())
                        break;
                }
                QVERIFY2(text(read) == text(expected),
                         qPrintable(QString("version %1, %2 bytes").arg(version).arg(length)));
            }
        }
    }

    // An archive that shrinks while it is read (a drive pulled out) is read as far as it goes
    // or fails with a reason; the reader is never killed (as it was by SIGBUS, reading a
    // mapped file).
    void shrinking()
    {
        QString name = m_dir.filePath("shrinking.tkx");
        QVERIFY(FileFormatTKR(0).save({track(100, 2, 20000)}, name, {0}, false));
        const qint64 size = QFileInfo(name).size();
        std::atomic<bool> stop{false};
        std::thread shrinker([&] {
            while (!stop)
                QFile::resize(name, 4096) && QFile::resize(name, size);
        });
        int silentFailures = 0;
        for (int i = 0; i < 200; ++i) {
            QVector<Track> read;
            FileFormatTKR tkr(0);
            silentFailures += !tkr.load(read, name) && tkr.errorString().isEmpty();
        }
        stop = true;
        shrinker.join();
        QCOMPARE(silentFailures, 0);
    }

    // Counts that the file cannot hold are cut to what it holds before anything is allocated.
    void inconsistent()
    {
        const QVector<Track> one{track(100, 2, 3)};
        for (const auto& [data, result, points] :
             std::initializer_list<std::tuple<QByteArray, bool, QList<int>>>{
                 {archive(2, {}, 0xffffffffLL).leftJustified(200, '\0'), false, {}},
                 {archive(2, one, -1, 0xffffffffLL).left(200), true, {1}},
                 {archive(2, one).replace(0, 4, "VLTX"), false, {}},
                 {archive(2, one) + QByteArray(1000, 'x'), true, {3}}}) {
            QVector<Track> read, expected;
            QCOMPARE(FileFormatTKR(0).load(read, write(data)), result);
            for (int n : points)
                expected << track(100, 2, n);
            QCOMPARE(text(read), text(expected));
        }
    }
};

QTEST_GUILESS_MAIN(TestFileFormatTKR)
#include "tst_fileformattkr.moc"
