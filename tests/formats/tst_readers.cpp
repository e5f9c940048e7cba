#include "formats/distanceinmeters.h"
#include "formats/fileformatgpl.h"
#include "formats/fileformattkr.h"
#include "formats/gpsfilter.h"
#include "fuzz/fuzzentries.h"
#include "testsupport.h"
#include "tzswitch.h"

#include <QtTest>

#include <atomic>
#include <functional>
#include <thread>

const QDateTime Base(QDate(2014, 5, 6), QTime(10, 0, 0), Qt::UTC);
enum Field { Head, Time, Tag, Lat, NS, Lon, EW, Alt, Speed, Tail };

// One log line at Base + n seconds (or + second); the altitude carries n so that the kept
// points can be told apart.
static QByteArray line(int n, const QList<std::pair<Field, QByteArray>>& changes = {},
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
    Track t = TestSupport::makeTrack(start, points, [=](int i) {
        return TestSupport::point(25.0 + i * 0.001, -121.5 - i * 0.002, 12.3456 + i, start + i,
                                  i >= firstMarked, 1234 + i);
    });
    t.fmt = fmt;
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

// The readers of track logs (FileFormatGPL) and TKX archives (FileFormatTKR), and every input
// that once made a fuzz target fail, with the seeds the fuzzers start from, read again through
// the same entry points.
class TestReaders : public QObject
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
    QString write(const QByteArray& data)
    {
        return TestSupport::writeFile(m_dir.filePath("t.tkx"), data) ? m_dir.filePath("t.tkx") : "";
    }
    QTemporaryDir m_scratch;
    const QMap<QString, std::function<bool(const QByteArray&)>> m_targets{
        {"logreader", FuzzEntries::logReader},
        {"deviceline", FuzzEntries::deviceLines},
        {"deviceheader", FuzzEntries::deviceHeader},
        {"tkx",
         [this](const QByteArray& d) { return FuzzEntries::tkxReader(d, m_scratch.path()); }},
        {"deviceconfig",
         [this](const QByteArray& d) { return FuzzEntries::deviceConfig(d, m_scratch.path()); }},
        {"gpx", FuzzEntries::gpxReader},
        {"kml", FuzzEntries::kmlReader},
        {"nmea", FuzzEntries::nmeaReader},
        {"csv", FuzzEntries::csvReader},
        {"photoreader",
         [this](const QByteArray& d) { return FuzzEntries::photoReader(d, m_scratch.path()); }},
        {"photowriter",
         [this](const QByteArray& d) { return FuzzEntries::photoWriter(d, m_scratch.path()); }}};

private slots:
    void initTestCase() { FuzzEntries::silenceDiagnostics(); }

    void lineRules_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("points");
        QTest::addColumn<qint64>("start");
        QTest::addColumn<int>("limit"); // of the jump filter
        auto row = [](const char* name, const QByteArray& content, const char* points, qint64 start,
                      int limit = 1) {
            QTest::newRow(name) << content << QString(points) << start << limit;
        };
        const qint64 b = Base.toSecsSinceEpoch();
        const QStringList fields{"Head", "Time", "Tag", "Lat",   "NS",
                                 "Lon",  "EW",   "Alt", "Speed", "Tail"};
        for (const QStringList& r : TestSupport::table("readers/linerules.txt")) {
            QByteArray content = r[1].startsWith('"') ? r[1].mid(1, r[1].size() - 2).toLatin1()
                                                      : QByteArray(); // "as it stands"
            for (const QString& text : r[1].startsWith('"') ? QStringList() : r[1].split(" + ")) {
                QStringList words = text.split(' ');
                const QStringList at = words.takeFirst().split('@');
                QList<std::pair<Field, QByteArray>> changes;
                for (const QString& w : words)
                    changes.append({Field(fields.indexOf(w.section('=', 0, 0))),
                                    w.section('=', 1).toLatin1()});
                content += line(at[0].toInt(), changes, at.value(1, "-1").toInt());
            }
            row(qPrintable(r[0]), content, qPrintable(r[2]),
                r[3].startsWith('+') ? b + r[3].toInt() : r[3].toLongLong(),
                r.value(4, "1").toInt());
        }
        row("zero byte in last field", line(0, {{Tail, QByteArray("0,0\0x\n", 6)}}), "0:1234", b);
        row("zero byte before last field", line(0, {{Tail, QByteArray("0\0,0\r\n", 6)}}), "", 0);
        row("line after 1023 bytes of noise", QByteArray(1023, 'x') + line(0), "0:1234", b);
        row("line cut at 1023 bytes", line(0, {{Head, QByteArray(1000, 'x')}}), "", 0);
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

    // A damaged archive (counts beyond its end) lists only what a logger can record; an
    // intact one is read as it stands. Points: "lat lon alt" of those listed.
    void damaged_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QStringList>("points");
        QTest::addColumn<QString>("warning");
        Track t = track(100, 2, 6);
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double inf = std::numeric_limits<double>::infinity();
        t.points[1].lat = 90.5, t.points[2].lon = -180.5, t.points[3].alt = nan;
        t.points[4].lat = 8.5e111, t.points[5].lon = -inf;
        const QStringList first{"25 -121.5 12.3456"};
        const QStringList all{first[0], "90.5 -121.502 13.3456", "25.002 -180.5 14.3456",
                              "25.003 -121.506 nan", "8.5e+111 -121.508 16.3456",
                              "25.005 -inf 17.3456"};
        QTest::newRow("intact") << archive(2, {t}) << all << "";
        QTest::newRow("counts too high") << archive(2, {t}, -1, 7) << first
                                         << "0 of its 1 tracks and 6 of its 7 points are "
                                            "missing. Of the missing points, 5 were read";
        QTest::newRow("version 1, counts too high")
            << archive(1, {t}, -1, 7) << first << "Of the missing points, 5 were read";
        Track other = t;
        other.fmt = 1079922688;
        QTest::newRow("unknown fmt, intact") << archive(2, {other}) << all << "";
        QTest::newRow("unknown fmt, counts too high")
            << archive(2, {other}, -1, 7) << QStringList()
            << "1 of its 1 tracks and 7 of its 7 points are missing. Of the missing points, 6";
    }
    void damaged()
    {
        QFETCH(QByteArray, data);
        QVector<Track> read;
        FileFormatTKR tkr(0);
        QVERIFY(tkr.load(read, write(data)));
        QStringList points;
        for (const Track& track : read)
            for (const Vec3& p : track.points)
                points << QString::asprintf("%.6g %.6g %.6g", p.lat, p.lon, p.alt);
        QTEST(points, "points");
        QFETCH(QString, warning);
        QVERIFY2(warning.isEmpty() ? tkr.warningString().isEmpty()
                                   : tkr.warningString().contains(warning),
                 qPrintable(tkr.warningString()));
    }

    // A file with holes that announces 2^32-1 points: its zeros are read, but neither
    // listed nor held in memory, nor counted as read.
    void sparse()
    {
        for (int version : {1, 2}) {
            Track t = track(100, 2, 3);
            const QByteArray head = archive(version, {t}, -1, 0xffffffffLL);
            QFile file(write(head));
            QVERIFY(file.resize(64 << 20));
            QVector<Track> read;
            FileFormatTKR tkr(0);
            QVERIFY(tkr.load(read, file.fileName()));
            QCOMPARE(read.size(), 1);
            QCOMPARE(read[0].points.size(), 3);
            QVERIFY2(read[0].points.capacity() < 4096,
                     qPrintable(QString::number(read[0].points.capacity())));
            const qint64 zeros = ((64 << 20) - head.size()) / 48;
            QVERIFY2(tkr.warningString().contains(
                         QString("%1 of its 4294967295 points are missing. Of the missing "
                                 "points, %2 were read")
                             .arg(4294967295LL - 3)
                             .arg(zeros)),
                     qPrintable(tkr.warningString()));
        }
    }

    void inputs_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("path");
        int rows = 0;
        for (const char* path :
             {KV730_TEST_DATA "/fuzz-regressions", KV730_TEST_DATA "/../../fuzz/corpus"}) {
            const QDir root(path);
            for (const QString& target : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
                const QDir dir(root.filePath(target));
                for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
                    QTest::newRow(qPrintable(root.dirName() + '/' + target + '/' + name))
                        << target << dir.filePath(name);
                    ++rows;
                }
            }
        }
        QVERIFY2(rows > 0, "no fuzz inputs found");
    }

    void inputs()
    {
        QFETCH(QString, target);
        QFETCH(QString, path);
        QVERIFY(m_scratch.isValid());
        QVERIFY2(m_targets.contains(target), "an input for no known target");
        QVERIFY(m_targets.value(target)(TestSupport::readFile(path)));
    }
};

QTEST_GUILESS_MAIN(TestReaders)
#include "tst_readers.moc"
