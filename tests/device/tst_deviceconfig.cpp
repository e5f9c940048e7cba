#include "device/deviceconfig.h"
#include "device/devicekv310.h"
#include "lockedpath.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(DeviceConfig)

namespace
{

bool writeText(const QString& path, const QByteArray& text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

QByteArray readText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

DeviceConfig make(int format, double interval, bool power, bool bluetooth, bool height, bool test)
{
    DeviceConfig c;
    c.loggingFormat = format;
    c.gpsInterval = interval;
    c.powerSaving = power;
    c.bluetooth = bluetooth;
    c.heightLimit = height;
    c.testMode = test;
    return c;
}

bool same(const DeviceConfig& a, const DeviceConfig& b)
{
    return a.loggingFormat == b.loggingFormat && a.gpsInterval == b.gpsInterval &&
           a.powerSaving == b.powerSaving && a.bluetooth == b.bluetooth &&
           a.heightLimit == b.heightLimit && a.testMode == b.testMode;
}

} // namespace

class TestDeviceConfig : public QObject
{
    Q_OBJECT

private slots:
    void read_data();
    void read();
    void write_data();
    void write();
    void failedWriteKeepsOldFile();

private:
    QTemporaryDir m_dir;
};

void TestDeviceConfig::read_data()
{
    QTest::addColumn<QByteArray>("text"); // null: no file at all
    QTest::addColumn<DeviceConfig>("expected");

    QTest::newRow("no file") << QByteArray() << make(3, 1, true, false, true, false);
    QTest::newRow("only G-Sensor")
        << QByteArray("Data Logger = G-Sensor\n") << make(2, 1, true, false, true, false);
    QTest::newRow("enable in lower case")
        << QByteArray("Power Saving Mode = enable\n") << make(3, 1, false, false, true, false);
    QTest::newRow("full file") << QByteArray(
                                      "Data Logger = Position:G-Sensor\r\nGPS interval = 3\r\n"
                                      "Power Saving Mode = Disable\r\nBluetooth Status = "
                                      "Enable\r\nHeight Limit = Disable\r\nTest Mode = Enable\r\n")
                               << make(3, 3, false, true, false, true);
    QTest::newRow("interval not a number")
        << QByteArray("GPS interval = fast\n") << make(3, 0, true, false, true, false);
    QTest::newRow("empty logger value") << QByteArray("Data Logger = \nGPS interval = 2.5\n")
                                        << make(0, 2.5, true, false, true, false);
}

void TestDeviceConfig::read()
{
    QFETCH(QByteArray, text);
    QFETCH(DeviceConfig, expected);
    const QString path = m_dir.filePath(QString("read-%1.ini").arg(QTest::currentDataTag()));
    if (!text.isNull())
        QVERIFY(writeText(path, text));
    const DeviceConfig config = DeviceConfig::readFile(path);
    QVERIFY2(same(config, expected), qPrintable(config.toText()));
}

void TestDeviceConfig::write_data()
{
    QTest::addColumn<DeviceConfig>("config");
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("position") << make(1, 2.0, true, false, true, false)
                              << QByteArray(
                                     "Data Logger = Position\nGPS interval = 2\n"
                                     "Power Saving Mode = Enable\nBluetooth Status = Disable\n"
                                     "Height Limit = Enable\nTest Mode = Disable\n");
    QTest::newRow("both, half seconds")
        << make(3, 2.5, false, true, false, true)
        << QByteArray("Data Logger = Position:G-Sensor\nGPS interval = 2.5\n"
                      "Power Saving Mode = Disable\nBluetooth Status = Enable\n"
                      "Height Limit = Disable\nTest Mode = Enable\n");
    QTest::newRow("no format") << make(0, 1.0, false, false, false, false)
                               << QByteArray(
                                      "Data Logger = \nGPS interval = 1\n"
                                      "Power Saving Mode = Disable\nBluetooth Status = Disable\n"
                                      "Height Limit = Disable\nTest Mode = Disable\n");
}

void TestDeviceConfig::write()
{
    QFETCH(DeviceConfig, config);
    QFETCH(QByteArray, text);
    QTemporaryDir drive;
    const QString path = drive.filePath("kv730.ini");
    QVERIFY(writeText(path, "old content that is longer than the new one\n"));

    DeviceKV310 device;
    QSignalSpy status(&device, &DeviceKV310::FireRecvStatus);
    device.writeConfiguration(config, drive.path() + "/");
    QCOMPARE(status.count(), 1);
    QCOMPARE(status.first(), QList<QVariant>({CMD_WRITE_CONFIG, 1}));
    QCOMPARE(readText(path), text);
    // Nothing but the file itself is left behind.
    QCOMPARE(QDir(drive.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"kv730.ini"});

    device.readConfiguration(drive.path() + "/");
    QVERIFY2(same(device.configuration, config), qPrintable(device.configuration.toText()));
}

void TestDeviceConfig::failedWriteKeepsOldFile()
{
    QTemporaryDir drive;
    const QString path = drive.filePath("kv730.ini");
    const QByteArray old = "Data Logger = G-Sensor\n";
    QVERIFY(writeText(path, old));
    DeviceKV310 device;
    QSignalSpy status(&device, &DeviceKV310::FireRecvStatus);
    {
        LockedPath lock(drive.path());
        if (!lock.isLocked())
            QSKIP("cannot make the directory unchangeable here");
        device.writeConfiguration(make(1, 1, true, true, true, true), drive.path() + "/");
    }
    QCOMPARE(status.count(), 1);
    QCOMPARE(status.first(), QList<QVariant>({CMD_WRITE_CONFIG, 0}));
    QCOMPARE(readText(path), old);

    device.writeConfiguration(make(1, 1, true, true, true, true), drive.filePath("missing") + "/");
    QCOMPARE(status.last(), QList<QVariant>({CMD_WRITE_CONFIG, 0}));
}

QTEST_GUILESS_MAIN(TestDeviceConfig)
#include "tst_deviceconfig.moc"
