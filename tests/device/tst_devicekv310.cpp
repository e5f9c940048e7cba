#include "device/devicekv310.h"
#include "device/devicepointconverter.h"
#include "formats/gpsfilter.h"
#include "lockedpath.h"
#include "queuedstatus.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

// One logger line: "<n>,<date time>,<tag>,<lat>,<N/S>,<lon>,<E/W>,<alt>,<speed>,x,y".
QByteArray line(const char* time, const char* lat, const char* lon, const char* speed = "10.00",
                const char* tag = "*GPS", const char* ns = "N", const char* ew = "E")
{
    return QByteArray("1,") + time + ',' + tag + ',' + lat + ',' + ns + ',' + lon + ',' + ew +
           ",35.2," + speed + ",0,0\r\n";
}

bool writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Lists the drive and reads file 0; returns the report.
QList<QVariant> readFirstFile(DeviceKV310& device, const QString& drive)
{
    QueuedStatus relay(&device);
    QSignalSpy status(&relay, &QueuedStatus::status);
    device.listTrackFiles(drive);
    device.startTrackFileRead(0);
    if (!QTest::qWaitFor([&] { return !status.isEmpty(); }, 10000))
        return {};
    return status.first();
}

} // namespace

class TestDeviceKV310 : public QObject
{
    Q_OBJECT

private slots:
    void init() { GpsFilter::setLimit(1); }
    void listing();
    void header_data();
    void header();
    void read_data();
    void read();
    void unopenableFile();
    void timeout();
    void deleteWithBackup();
    void deleteKeepsWhatCannotBeRemoved();
    void deleteKeepsWhatCannotBeBackedUp();
    void convert();
};

void TestDeviceKV310::listing()
{
    QTemporaryDir drive;
    const QByteArray content = line("2016:01:02-03:04:05", "2502.1234", "12130.5678");
    QVERIFY(writeFile(drive.filePath("b.GPL"), content));
    QVERIFY(writeFile(drive.filePath("a.gpl"), content));
    QVERIFY(writeFile(drive.filePath("c.txt"), content));
    QVERIFY(QDir(drive.path()).mkdir("x.gpl"));

    DeviceKV310 device;
    QSignalSpy headers(&device, &DeviceKV310::FireRecvTrackFileHeader);
    const QString root = drive.path() + "/";
    device.listTrackFiles(root);
    QCOMPARE(headers.count(), 1);
    const auto list = headers.first().at(0).value<QVector<TrackFileHeader>>();
    QCOMPARE(list.size(), 2);
    QCOMPARE(device.fileList(), QList<QString>({root + "a.gpl", root + "b.GPL"}));
    QCOMPARE(list.at(0).fileIndexes, QVector<int>{0});
    QCOMPARE(list.at(1).fileIndexes, QVector<int>{1});
    QCOMPARE(list.at(1).date, 20116u);
    QCOMPARE(list.at(1).timeOfDay, 30405u);

    device.listTrackFiles(drive.filePath("missing") + "/");
    QVERIFY(headers.last().at(0).value<QVector<TrackFileHeader>>().isEmpty());
}

void TestDeviceKV310::header_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("found");
    QTest::addColumn<quint32>("date");
    QTest::addColumn<quint32>("timeOfDay");

    const QByteArray in2016 = line("2016:05:06-10:20:30", "2502.1234", "12130.5678");
    QTest::newRow("2015 line skipped")
        << line("2015:12:31-23:59:59", "2502.1234", "12130.5678") + in2016 << true << 60516u
        << 102030u;
    QTest::newRow("2036 skipped, 2035 taken")
        << line("2036:01:01-00:00:00", "1", "1") + line("2035:12:31-01:02:03", "F", "x") << true
        << 311235u << 10203u;
    QTest::newRow("short and narrow lines skipped")
        << QByteArray("1,2016:01:01-00:00:00,*GPS\n1,2016:01:01-00:00:00,a,b,c,d,e,f,g,h\n") +
               in2016
        << true << 60516u << 102030u;
    QTest::newRow("no dated line") << line("2009:01:01-00:00:00", "1", "1") << false << 0u << 0u;
}

void TestDeviceKV310::header()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, found);
    QTemporaryDir dir;
    const QString path = dir.filePath("t.gpl");
    QVERIFY(writeFile(path, content));
    quint32 date = 0;
    quint32 timeOfDay = 0;
    QCOMPARE(DeviceKV310::readTrackFileHeader(path, &timeOfDay, &date), found);
    QTEST(date, "date");
    QTEST(timeOfDay, "timeOfDay");
}

void TestDeviceKV310::read_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("limit");
    // first point then following points: latitude, longitude, speed, marked
    QTest::addColumn<QVector<QVector<qint32>>>("points");

    const char* t1 = "2016:05:06-10:20:30";
    const char* t2 = "2016:05:06-10:20:31";
    const char* t3 = "2016:05:06-10:20:32";
    const char* t4 = "2016:05:06-10:20:33";
    using P = QVector<QVector<qint32>>;

    QTest::newRow("one line is the first point only")
        << line(t1, "2502.1234", "12130.5678") << 1 << P{{25021234, 121305678, 1000, 0}};
    QTest::newRow("equal times pass, earlier time dropped")
        << line(t2, "2502.1234", "12130.5678") + line(t2, "2502.2000", "12130.5678") +
               line(t1, "2502.3000", "12130.5678")
        << 1 << P{{25021234, 121305678, 1000, 0}, {25022000, 121305678, 1000, 0}};
    QTest::newRow("speed limit 100000") << line(t1, "2502.1000", "12130.5678", "10.00") +
                                               line(t2, "2502.2000", "12130.5678", "150.00") +
                                               line(t3, "2502.3000", "12130.5678", "1500.00")
                                        << 1
                                        << P{{25021000, 121305678, 1000, 0},
                                             {25022000, 121305678, 15000, 0},
                                             {25023000, 121305678, 15000, 0}};
    QTest::newRow("same position has speed 0") << line(t1, "2502.1000", "12130.5678", "10.00") +
                                                      line(t2, "2502.1000", "12130.5678", "20.00") +
                                                      line(t3, "2502.2000", "12130.5678", "1500.00")
                                               << 1
                                               << P{{25021000, 121305678, 1000, 0},
                                                    {25021000, 121305678, 0, 0},
                                                    {25022000, 121305678, 1000, 0}};
    QTest::newRow("hemispheres and mark")
        << line(t1, "2502.1234", "12130.5678", "1.00", "@GPS", "S", "W") +
               line(t2, "2502.1234", "12130.5000", "1.00", "@GPS", "S", "W")
        << 1 << P{{-25021234, -121305678, 100, 1}, {-25021234, -121305000, 100, 1}};
    QTest::newRow("unusable lines skipped")
        << line(t1, "2502.1000", "12130.5678") + line(t2, "2502.2000", "12130.5678", "1", "*gps") +
               line(t2, "F502.2000", "12130.5678") + line(t2, "2502.2000", "F") +
               line(t2, "0000.0000", "12130.5678") + line(t2, "2502.2000", "abc") +
               line(t2, "10000.0001", "12130.5678") +
               line("2009:12:31-23:59:59", "2502.2", "12130.5") +
               line("2036:01:01-00:00:00", "2502.2", "12130.5") + line(t2, "nan", "12130.5678") +
               QByteArray("1,2016:05:06-10:20:31,*GPS,2502.2,N,12130.5,E,1,1,0\n") +
               QByteArray("1,") + QByteArray(t2) + ",*GPS,2502.2,N\n"
        << 1 << P{{25021000, 121305678, 1000, 0}};
    QTest::newRow("2010 lines are read") << line("2010:01:01-00:00:00", "2502.1000", "12130.5678")
                                         << 1 << P{{25021000, 121305678, 1000, 0}};
    // A at 25°02', far points about 50 km north; the second far point becomes the reference.
    QTest::newRow("jump filter limit 1")
        << line(t1, "2502.0000", "12130.0000") + line(t2, "2530.0000", "12130.0000") +
               line(t3, "2530.1000", "12130.0000") + line(t4, "2530.2000", "12130.0000")
        << 1 << P{{25020000, 121300000, 1000, 0}, {25302000, 121300000, 1000, 0}};
    QTest::newRow("jump filter limit 2")
        << line(t1, "2502.0000", "12130.0000") + line(t2, "2530.0000", "12130.0000") +
               line(t3, "2530.1000", "12130.0000") + line(t4, "2530.2000", "12130.0000") +
               line("2016:05:06-10:20:34", "2530.3000", "12130.0000")
        << 2 << P{{25020000, 121300000, 1000, 0}, {25303000, 121300000, 1000, 0}};
    QTest::newRow("limit 0 keeps jumps")
        << line(t1, "2502.0000", "12130.0000") + line(t2, "2530.0000", "12130.0000") << 0
        << P{{25020000, 121300000, 1000, 0}, {25300000, 121300000, 1000, 0}};
    QTest::newRow("no usable line") << line(t1, "0", "0") << 1 << P{};
    QByteArray garbage;
    for (int i = 0; i < 20000; ++i)
        garbage += char((i * 7919 + i / 13) % 256);
    QTest::newRow("binary garbage and a long line")
        << garbage + QByteArray(3000, ',') + line(t1, "1e300", "-1e300") << 1 << P{};
}

void TestDeviceKV310::read()
{
    QFETCH(QByteArray, content);
    QFETCH(int, limit);
    QFETCH(QVector<QVector<qint32>>, points);
    GpsFilter::setLimit(qint8(limit));
    QTemporaryDir drive;
    QVERIFY(writeFile(drive.filePath("t.gpl"), content));

    DeviceKV310 device;
    QCOMPARE(readFirstFile(device, drive.path() + "/"), QList<QVariant>({CMD_READ_TRACK_FILE, 1}));
    const DeviceTrackData data = device.trackFileData();
    QVector<QVector<qint32>> got;
    if (data.firstPoint.date != 0) {
        QCOMPARE(data.firstPoint.fmt, 2);
        const bool in2010 = QByteArray(QTest::currentDataTag()) == "2010 lines are read";
        QCOMPARE(data.firstPoint.date, in2010 ? 10110 : 60516);
        got << QVector<qint32>{data.firstPoint.latitude, data.firstPoint.longitude,
                               data.firstPoint.speed, data.firstPoint.marked};
    } else {
        QCOMPARE(data.firstPoint.fmt, 0);
    }
    for (const DevicePoint& p : data.followingPoints) {
        QCOMPARE(p.constantOne, 1);
        QCOMPARE(p.altitude, 352000);
        got << QVector<qint32>{p.latitude, p.longitude, p.speed, p.marked};
    }
    QCOMPARE(got, points);
}

void TestDeviceKV310::unopenableFile()
{
    QTemporaryDir drive;
    QVERIFY(writeFile(drive.filePath("a.gpl"), line("2016:05:06-10:20:30", "2502.1", "12130.5")));
    DeviceKV310 device;
    QueuedStatus relay(&device);
    QSignalSpy status(&relay, &QueuedStatus::status);
    device.listTrackFiles(drive.path() + "/");
    QVERIFY(QFile::remove(drive.filePath("a.gpl")));
    device.startTrackFileRead(0);
    QVERIFY(QTest::qWaitFor([&] { return status.count() == 1; }, 10000));
    QCOMPARE(status.first(), QList<QVariant>({CMD_CONNECT_RESULT, 0}));
    QCOMPARE(device.trackFileData().firstPoint.date, 0);

    // An index from no listing at all.
    device.startTrackFileRead(7);
    QTRY_COMPARE(status.count(), 2);
    QCOMPARE(status.last(), QList<QVariant>({CMD_CONNECT_RESULT, 0}));
}

void TestDeviceKV310::timeout()
{
    QTemporaryDir drive;
    QByteArray content;
    const QByteArray oneLine = line("2016:05:06-10:20:30", "2502.1000", "12130.5678");
    for (int i = 0; i < 300000; ++i)
        content += oneLine;
    QVERIFY(writeFile(drive.filePath("big.gpl"), content));

    DeviceKV310 device;
    device.setReadTimeLimit(1);
    QueuedStatus relay(&device);
    QSignalSpy status(&relay, &QueuedStatus::status);
    device.listTrackFiles(drive.path() + "/");
    device.startTrackFileRead(0);
    QVERIFY(QTest::qWaitFor([&] { return status.count() == 1; }, 10000));
    QCOMPARE(status.first(), QList<QVariant>({CMD_READ_TIMEOUT, 0}));
    QVERIFY(device.wait(10000));
    QCoreApplication::processEvents();
    QCOMPARE(status.count(), 1);

    // The next read runs normally.
    device.setReadTimeLimit(60000);
    device.startTrackFileRead(0);
    QVERIFY(QTest::qWaitFor([&] { return status.count() == 2; }, 10000));
    QCOMPARE(status.last(), QList<QVariant>({CMD_READ_TRACK_FILE, 1}));
    QCOMPARE(device.trackFileData().followingPoints.size(), 300000 - 1);
}

void TestDeviceKV310::deleteWithBackup()
{
    QTemporaryDir drive;
    QTemporaryDir backups;
    for (const char* name : {"x.gpl", "y.GEL", "kv730.ini", "z.txt"})
        QVERIFY(writeFile(drive.filePath(name), QByteArray("content of ") + name));
    DeviceKV310 device;
    QSignalSpy status(&device, &DeviceKV310::FireRecvStatus);
    const QString backup = backups.filePath("20260101-000000");
    device.deleteAllTrackFiles(drive.path() + "/", backup);
    QCOMPARE(status.first(), QList<QVariant>({CMD_DELETE_ALL, 1}));
    QCOMPARE(device.remainingTrackFiles(), 0);
    QCOMPARE(device.lastBackupFolder(), backup);
    QCOMPARE(QDir(drive.path()).entryList(QDir::Files, QDir::Name),
             QStringList({"kv730.ini", "z.txt"}));
    QCOMPARE(QDir(backup).entryList(QDir::Files, QDir::Name), QStringList({"x.gpl", "y.GEL"}));
    QCOMPARE(readFile(backup + "/y.GEL"), QByteArray("content of y.GEL"));
}

void TestDeviceKV310::deleteKeepsWhatCannotBeRemoved()
{
    QTemporaryDir drive;
    QTemporaryDir backups;
    QVERIFY(writeFile(drive.filePath("a.gpl"), "a"));
    QVERIFY(writeFile(drive.filePath("b.gpl"), "b"));
    DeviceKV310 device;
    QSignalSpy status(&device, &DeviceKV310::FireRecvStatus);
    {
        // As root only the file itself can be protected; otherwise the directory is.
        LockedPath lock(::geteuid() == 0 ? drive.filePath("a.gpl") : drive.path());
        if (!lock.isLocked())
            QSKIP("cannot protect a file here");
        device.deleteAllTrackFiles(drive.path() + "/", backups.filePath("b1"));
    }
    QCOMPARE(status.first(), QList<QVariant>({CMD_DELETE_ALL, 0}));
    QVERIFY(QFile::exists(drive.filePath("a.gpl")));
    QCOMPARE(device.remainingTrackFiles(), ::geteuid() == 0 ? 1 : 2);
    QCOMPARE(readFile(backups.filePath("b1/a.gpl")), QByteArray("a"));
    QCOMPARE(readFile(backups.filePath("b1/b.gpl")), QByteArray("b"));
}

void TestDeviceKV310::deleteKeepsWhatCannotBeBackedUp()
{
    QTemporaryDir drive;
    QTemporaryDir backups;
    QVERIFY(writeFile(drive.filePath("a.gpl"), "a"));
    QVERIFY(writeFile(drive.filePath("b.gel"), "b"));
    QVERIFY(writeFile(backups.filePath("file"), "in the way"));
    DeviceKV310 device;
    QSignalSpy status(&device, &DeviceKV310::FireRecvStatus);
    device.deleteAllTrackFiles(drive.path() + "/", backups.filePath("file/backup"));
    QCOMPARE(status.first(), QList<QVariant>({CMD_DELETE_ALL, 0}));
    QCOMPARE(device.remainingTrackFiles(), 2);
    QCOMPARE(QDir(drive.path()).entryList(QDir::Files, QDir::Name),
             QStringList({"a.gpl", "b.gel"}));
}

void TestDeviceKV310::convert()
{
    QCOMPARE(DevicePointConverter::coordinate(25021234, true), 25 + 2.1234 / 60.0);
    QCOMPARE(DevicePointConverter::coordinate(-25021234, true), -(25 + 2.1234 / 60.0));
    QCOMPARE(DevicePointConverter::coordinate(121305678, false), 121 + 30.5678 / 60.0);
    QCOMPARE(DevicePointConverter::coordinate(125021234, true), 25 + 2.1234 / 60.0);

    DeviceTrackData data;
    Track empty;
    DevicePointConverter::fillTrack(empty, data);
    QCOMPARE(empty.fmt, 0);
    QVERIFY(empty.points.isEmpty());

    DevicePoint p;
    p.latitude = 25021234;
    p.longitude = 121305678;
    p.date = 60514;
    p.timeOfDay = 102030;
    p.altitude = 352000;
    p.speed = 1000000;
    p.fmt = 2;
    p.marked = true;
    data.firstPoint = p;
    data.followingPoints << p;
    p.speed = 1000001;
    data.followingPoints << p;
    p.speed = -1;
    data.followingPoints << p;
    Track track;
    DevicePointConverter::fillTrack(track, data);
    QCOMPARE(track.fmt, 2);
    QCOMPARE(track.points.size(), 2);
    const Vec3& first = track.points.at(0);
    QCOMPARE(first.time,
             QDateTime(QDate(2014, 5, 6), QTime(10, 20, 30), Qt::UTC).toSecsSinceEpoch());
    QCOMPARE(first.alt, 35.2);
    QCOMPARE(first.marked, 1);
    QCOMPARE(first.reserved, 2);
    QCOMPARE(track.points.at(1).speed, 1000000);

    // Times of consecutive points, across date changes and invalid parts.
    const QVector<QPair<qint32, qint32>> times{
        {60514, 235959}, {70514, 0},      {70514, 240000}, {70514, 61},     {0, 102030},
        {320514, 1},     {70514, 235959}, {290215, 10203}, {290216, 10203}, {-1, -1}};
    DeviceTrackData timed;
    timed.firstPoint = p;
    timed.firstPoint.speed = 0;
    for (const auto& t : times) {
        p.date = t.first;
        p.timeOfDay = t.second;
        p.speed = 0;
        timed.followingPoints << p;
    }
    Track timedTrack;
    DevicePointConverter::fillTrack(timedTrack, timed);
    QCOMPARE(timedTrack.points.size(), times.size() + 1);
    for (int i = 0; i < times.size(); ++i) {
        const quint32 date = quint32(times.at(i).first);
        const quint32 tod = quint32(times.at(i).second);
        const QDateTime reference(
            QDate(2000 + int(date % 100), int(date / 100 % 100), int(date / 10000)),
            QTime(int(tod / 10000), int(tod / 100 % 100), int(tod % 100)), Qt::UTC);
        QCOMPARE(deviceTimeToSeconds(date, tod), reference.toTime_t());
        QCOMPARE(timedTrack.points.at(i + 1).time, qint64(reference.toTime_t()));
    }
}

QTEST_GUILESS_MAIN(TestDeviceKV310)
#include "tst_devicekv310.moc"
