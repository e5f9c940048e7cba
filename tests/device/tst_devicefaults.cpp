#include "../tmpfsmount.h"
#include "device/deviceconfig.h"
#include "device/devicekv310.h"
#include "formats/gpsfilter.h"
#include "queuedstatus.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

// What users' drives do to the device worker and the configuration file: filling up,
// vanishing in the middle of a download, holding something else than a file where a file
// was, and carrying garbage.
namespace
{

QByteArray logLines(int count)
{
    QByteArray log;
    for (int i = 0; i < count; ++i)
        log += "1,2016:05:06-" + QTime(10, 0).addSecs(i).toString("hh:mm:ss").toLatin1() +
               ",*GPS,2502." + QByteArray::number(1000 + i % 9000) +
               ",N,12130.5678,E,35.2,10.00,0,0\r\n";
    return log;
}

bool writeFile(const QString& path, const QByteArray& data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.flush();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray randomBytes(int size, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& c : bytes)
        c = char(random.bounded(256));
    return bytes;
}

// Fills the rest of a drive with one file.
void fill(const QString& dir)
{
    QFile filler(dir + "/filler");
    if (!filler.open(QIODevice::WriteOnly))
        return;
    const QByteArray block(4096, 'f');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
}

QStringList entries(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                               QDir::NoDotAndDotDot);
}

} // namespace

class TestDeviceFaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { GpsFilter::setLimit(1); }
    void configOnFullDrive();
    void configCutBySizeLimit();
    void configOnDeviceNode();
    void garbageConfig_data();
    void garbageConfig();
    void garbageSettingFile();
    void driveUnmountedBeforeRead();
    void driveUnmountedDuringRead();
    void trackFileReplaced_data();
    void trackFileReplaced();

private:
    QTemporaryDir m_dir;
};

void TestDeviceFaults::initTestCase()
{
    QLoggingCategory::setFilterRules(QStringLiteral("kv730.*=false"));
    QVERIFY(m_dir.isValid());
}

void TestDeviceFaults::configOnFullDrive()
{
    TmpfsMount drive(m_dir.filePath("full"), 64);
    if (!drive.isMounted())
        QSKIP(qPrintable(drive.reason()));
    const QByteArray old = "Data Logger = G-Sensor\n";
    QVERIFY(writeFile(drive.path() + "/kv730.ini", old));
    fill(drive.path());

    DeviceKV310 device;
    QSignalSpy status(&device, &DeviceKV310::FireRecvStatus);
    DeviceConfig config;
    config.loggingFormat = 3;
    config.gpsInterval = 5;
    device.writeConfiguration(config, drive.path() + "/");
    QCOMPARE(status.count(), 1);
    QCOMPARE(status.first(), QList<QVariant>({CMD_WRITE_CONFIG, 0}));
    QCOMPARE(readFile(drive.path() + "/kv730.ini"), old);
    QCOMPARE(entries(drive.path()), QStringList({"filler", "kv730.ini"}));
}

void TestDeviceFaults::configCutBySizeLimit()
{
    QTemporaryDir drive;
    const QString path = drive.filePath("kv730.ini");
    const QByteArray old = "Data Logger = Position\n";
    QVERIFY(writeFile(path, old));
    rlimit saved;
    QVERIFY(getrlimit(RLIMIT_FSIZE, &saved) == 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 40; // the file needs some 130 bytes
    QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
    const bool written = DeviceConfig().writeFile(path);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    QVERIFY(!written);
    QCOMPARE(readFile(path), old);
    QCOMPARE(entries(drive.path()), QStringList{"kv730.ini"});
}

// Committing a replacement would put a regular file where the node was.
void TestDeviceFaults::configOnDeviceNode()
{
    struct stat before;
    QVERIFY(::stat("/dev/full", &before) == 0 && S_ISCHR(before.st_mode));
    QVERIFY(!DeviceConfig().writeFile(QStringLiteral("/dev/full")));
    struct stat after;
    QVERIFY(::stat("/dev/full", &after) == 0 && S_ISCHR(after.st_mode));
    QCOMPARE(after.st_rdev, before.st_rdev);

    const QString fifo = m_dir.filePath("fifo");
    QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
    QVERIFY(!DeviceConfig().writeFile(fifo)); // and no hang waiting for a reader
    QVERIFY(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());
    QVERIFY(QFile::remove(fifo));
}

void TestDeviceFaults::garbageConfig_data()
{
    QTest::addColumn<QByteArray>("content");
    for (quint32 seed = 1; seed <= 8; ++seed)
        QTest::addRow("random %u", seed) << randomBytes(int(seed) * 700, seed);
    QTest::addRow("binary keys") << QByteArray("\0\xff=\x01\n[\xfe]\nData Logger=\x80G-Sensor\0\n",
                                               32);
    QTest::addRow("endless line") << QByteArray(1 << 20, '[');
    QTest::addRow("directory") << QByteArray("<dir>");
    QTest::addRow("fifo") << QByteArray("<fifo>");
}

// Whatever the drive holds, reading gives a usable record and hangs nowhere.
void TestDeviceFaults::garbageConfig()
{
    QFETCH(QByteArray, content);
    QTemporaryDir drive;
    const QString path = drive.filePath("kv730.ini");
    if (content == "<dir>")
        QVERIFY(QDir().mkdir(path));
    else if (content == "<fifo>")
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    else
        QVERIFY(writeFile(path, content));
    DeviceKV310 device;
    QSignalSpy status(&device, &DeviceKV310::FireRecvStatus);
    device.readConfiguration(drive.path() + "/");
    QCOMPARE(status.count(), 1);
    QVERIFY(device.configuration.loggingFormat >= 0 && device.configuration.loggingFormat <= 3);
    if (content.startsWith('<')) {
        QCOMPARE(device.configuration.loggingFormat, 3); // the defaults of a missing file
        QCOMPARE(device.configuration.gpsInterval, 1.0);
    }
}

void TestDeviceFaults::garbageSettingFile()
{
    const QString path = m_dir.filePath("Setting.ini");
    for (quint32 seed = 1; seed <= 8; ++seed) {
        QVERIFY(writeFile(path, randomBytes(int(seed) * 500, seed)));
        GpsFilter::readSettingFile(path); // any 8-bit value will do; it must not fail
    }
    QVERIFY(writeFile(path, "GPS_filter=\xff\xfe\n"));
    QCOMPARE(GpsFilter::readSettingFile(path), qint8(0));
    QVERIFY(QFile::remove(path));
}

// The logger is pulled out after the listing: the read reports that the drive is gone.
void TestDeviceFaults::driveUnmountedBeforeRead()
{
    TmpfsMount drive(m_dir.filePath("logger1"), 512);
    if (!drive.isMounted())
        QSKIP(qPrintable(drive.reason()));
    QVERIFY(writeFile(drive.path() + "/a.gpl", logLines(10)));
    QVERIFY(writeFile(drive.path() + "/b.gpl", logLines(10)));
    DeviceKV310 device;
    QSignalSpy headers(&device, &DeviceKV310::FireRecvTrackFileHeader);
    QueuedStatus relay(&device);
    QSignalSpy status(&relay, &QueuedStatus::status);
    device.listTrackFiles(drive.path() + "/");
    QCOMPARE(headers.count(), 1);
    device.startTrackFileRead(0);
    QVERIFY(QTest::qWaitFor([&] { return status.count() == 1; }, 10000));
    QCOMPARE(status.last(), QList<QVariant>({CMD_READ_TRACK_FILE, 1}));
    drive.detach();
    device.startTrackFileRead(1);
    QVERIFY(QTest::qWaitFor([&] { return status.count() == 2; }, 10000));
    QCOMPARE(status.last(), QList<QVariant>({CMD_CONNECT_RESULT, 0}));
    QCOMPARE(device.trackFileData().followingPoints.size(), 0);
}

// Pulled out while a file is being read: the read ends with one report, either complete
// (the open file stays readable after a lazy unmount) or failed, and never hangs.
void TestDeviceFaults::driveUnmountedDuringRead()
{
    TmpfsMount drive(m_dir.filePath("logger2"), 64 * 1024);
    if (!drive.isMounted())
        QSKIP(qPrintable(drive.reason()));
    QVERIFY(writeFile(drive.path() + "/big.gpl", logLines(400000)));
    DeviceKV310 device;
    QueuedStatus relay(&device);
    QSignalSpy status(&relay, &QueuedStatus::status);
    device.listTrackFiles(drive.path() + "/");
    device.startTrackFileRead(0);
    QVERIFY(QFile::remove(drive.path() + "/big.gpl"));
    drive.detach();
    QVERIFY(QTest::qWaitFor([&] { return status.count() == 1; }, 60000));
    QVERIFY(device.wait(10000));
    QCoreApplication::processEvents();
    QCOMPARE(status.count(), 1);
    const int cmd = status.first().at(0).toInt();
    QVERIFY2(cmd == CMD_READ_TRACK_FILE || cmd == CMD_CONNECT_RESULT,
             qPrintable(QString::number(cmd)));
}

void TestDeviceFaults::trackFileReplaced_data()
{
    QTest::addColumn<QString>("what");
    QTest::newRow("directory") << "directory";
    QTest::newRow("fifo") << "fifo";
    QTest::newRow("unreadable file") << "unreadable";
}

// Between the listing and the read the track file became something that cannot be read:
// the read fails at once with a report (a pipe must not block the worker for good).
void TestDeviceFaults::trackFileReplaced()
{
    QFETCH(QString, what);
    if (what == "unreadable" && ::geteuid() == 0)
        QSKIP("permission bits do not stop root");
    QTemporaryDir drive;
    const QString path = drive.filePath("a.gpl");
    QVERIFY(writeFile(path, logLines(5)));
    QElapsedTimer clock;
    clock.start();
    {
        DeviceKV310 device;
        QueuedStatus relay(&device);
        QSignalSpy status(&relay, &QueuedStatus::status);
        device.listTrackFiles(drive.path() + "/");
        QVERIFY(QFile::remove(path));
        if (what == "directory")
            QVERIFY(QDir().mkdir(path));
        else if (what == "fifo")
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        else
            QVERIFY(writeFile(path, logLines(5)) && QFile::setPermissions(path, {}));
        device.startTrackFileRead(0);
        QVERIFY(QTest::qWaitFor([&] { return status.count() == 1; }, 10000));
        QCOMPARE(status.first(), QList<QVariant>({CMD_CONNECT_RESULT, 0}));
        QCOMPARE(device.trackFileData().firstPoint.date, 0);

        // Listing again skips what is no file.
        QSignalSpy headers(&device, &DeviceKV310::FireRecvTrackFileHeader);
        device.listTrackFiles(drive.path() + "/");
        QCOMPARE(headers.count(), 1);
    } // the destructor must not wait for a blocked read
    QVERIFY(clock.elapsed() < 30000);
}

QTEST_GUILESS_MAIN(TestDeviceFaults)
#include "tst_devicefaults.moc"
