#include "device/deviceconfig.h"
#include "device/devicekv310.h"
#include "lockedpath.h"
#include "testsupport.h"

#include <QtTest>

using namespace TestSupport;

Q_DECLARE_METATYPE(DeviceConfig)

class TestDeviceConfig : public QObject
{
    Q_OBJECT

private slots:
    void read_data();
    void read();
    void writeAndReadBack_data();
    void writeAndReadBack();
};

void TestDeviceConfig::read_data()
{
    QTest::addColumn<QByteArray>("text"); // null: no file at all
    QTest::addColumn<DeviceConfig>("expected");
    // clang-format off
    QTest::newRow("no file") << QByteArray() << DeviceConfig{3, 1, true, false, true, false};
    QTest::newRow("only G-Sensor") << QByteArray("Data Logger = G-Sensor\n") << DeviceConfig{2, 1, true, false, true, false};
    QTest::newRow("enable in lower case") << QByteArray("Power Saving Mode = enable\n") << DeviceConfig{3, 1, false, false, true, false};
    QTest::newRow("interval not a number") << QByteArray("GPS interval = fast\n") << DeviceConfig{3, 0, true, false, true, false};
    QTest::newRow("full file, CRLF")
        << QByteArray("Data Logger = \r\nGPS interval = 2.5\r\nPower Saving Mode = Disable\r\n"
                      "Bluetooth Status = Enable\r\nHeight Limit = Disable\r\nTest Mode = Enable\r\n")
        << DeviceConfig{0, 2.5, false, true, false, true};
    // clang-format on
}

void TestDeviceConfig::read()
{
    QFETCH(QByteArray, text);
    QFETCH(DeviceConfig, expected);
    QTemporaryDir dir;
    if (!text.isNull())
        QVERIFY(writeFile(dir.filePath("kv730.ini"), text));
    QCOMPARE(DeviceConfig::readFile(dir.filePath("kv730.ini")).toText(), expected.toText());
}

void TestDeviceConfig::writeAndReadBack_data()
{
    QTest::addColumn<DeviceConfig>("config");
    QTest::addColumn<bool>("locked"); // the drive cannot be changed
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("position") << DeviceConfig{1, 2.0, true, false, true, false} << false
                              << QByteArray(
                                     "Data Logger = Position\nGPS interval = 2\n"
                                     "Power Saving Mode = Enable\nBluetooth Status = Disable\n"
                                     "Height Limit = Enable\nTest Mode = Disable\n");
    QTest::newRow("both, half seconds")
        << DeviceConfig{3, 2.5, false, true, false, true} << false
        << QByteArray("Data Logger = Position:G-Sensor\nGPS interval = 2.5\n"
                      "Power Saving Mode = Disable\nBluetooth Status = Enable\n"
                      "Height Limit = Disable\nTest Mode = Enable\n");
    QTest::newRow("failed write keeps the old file")
        << DeviceConfig{1, 1, true, true, true, true} << true << QByteArray("old content\n");
}

void TestDeviceConfig::writeAndReadBack()
{
    QFETCH(DeviceConfig, config);
    QFETCH(bool, locked);
    QTemporaryDir drive;
    const QString path = drive.filePath("kv730.ini");
    QVERIFY(writeFile(path, "old content\n"));
    LockedPath lock(locked ? drive.path() : QString());
    if (locked && !lock.isLocked())
        QSKIP("cannot make the directory unchangeable here");
    DeviceKV310 device;
    QSignalSpy status(&device, &DeviceKV310::FireRecvStatus);
    device.writeConfiguration(config, drive.path() + "/");
    QCOMPARE(status.count(), 1);
    QCOMPARE(status.first(), QVariantList({CMD_WRITE_CONFIG, locked ? 0 : 1}));
    QTEST(readFile(path), "text");
    // Nothing but the file itself is left behind.
    QCOMPARE(QDir(drive.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"kv730.ini"});
    device.readConfiguration(drive.path() + "/");
    if (!locked)
        QCOMPARE(device.configuration.toText(), config.toText());
}

QTEST_GUILESS_MAIN(TestDeviceConfig)
#include "tst_deviceconfig.moc"
