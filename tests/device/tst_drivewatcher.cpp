#include "device/devicechangedecoder.h"
#include "device/drivechangeevent.h"
#include "device/drivewatcher.h"
#include "device/drivewatcherprivate.h"

#include <QDir>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

namespace
{

// Collects the DriveChangeEvents posted to it.
class EventSink : public QObject
{
public:
    QList<QPair<int, QString>> received;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == DriveChangeEvent::eventType()) {
            auto* change = static_cast<DriveChangeEvent*>(e);
            received.append({int(change->action()), change->devicePath()});
            return true;
        }
        return QObject::event(e);
    }
};

QStringList argumentsOf(const QSignalSpy& spy)
{
    QStringList list;
    for (const QList<QVariant>& args : spy)
        list << args.at(0).toString();
    return list;
}

int countOf(const QList<QPair<int, QString>>& events, int action, const QString& path)
{
    return int(std::count(events.begin(), events.end(), qMakePair(action, path)));
}

} // namespace

class TestDriveWatcher : public QObject
{
    Q_OBJECT

private slots:
    void decode_data();
    void decode();
    void dispatchChange_data();
    void dispatchChange();
    void decodedMessageReachesSignalsAndReceivers();
    void mountAndUnmount();
};

void TestDriveWatcher::decode_data()
{
    QTest::addColumn<quint32>("code");
    QTest::addColumn<bool>("hasData");
    QTest::addColumn<quint32>("type");
    QTest::addColumn<quint32>("mask");
    QTest::addColumn<QStringList>("drives");
    QTest::addColumn<QString>("action");

    const quint32 volume = DeviceChangeDecoder::TypeVolume;
    QTest::newRow("arrival E and G") << 0x8000u << true << volume << ((1u << 4) | (1u << 6))
                                     << QStringList{"E:/", "G:/"} << "add";
    QTest::newRow("bits above Z ignored")
        << 0x8000u << true << volume << ((1u << 26) | (1u << 31) | 1u) << QStringList{"A:/"}
        << "add";
    QTest::newRow("query remove counts as add")
        << 0x8001u << true << volume << (1u << 25) << QStringList{"Z:/"} << "add";
    QTest::newRow("remove complete")
        << 0x8004u << true << volume << (1u << 4) << QStringList{"E:/"} << "remove";
    QTest::newRow("port arrival") << 0x8000u << true << quint32(DeviceChangeDecoder::TypePort)
                                  << (1u << 4) << QStringList() << QString();
    QTest::newRow("interface arrival")
        << 0x8000u << true << quint32(DeviceChangeDecoder::TypeDeviceInterface) << (1u << 4)
        << QStringList() << QString();
    QTest::newRow("arrival without data")
        << 0x8000u << false << volume << (1u << 4) << QStringList() << QString();
    QTest::newRow("nodes changed")
        << 0x0007u << true << volume << (1u << 4) << QStringList() << QString();
    QTest::newRow("unknown code") << 0x1234u << true << volume << (1u << 4) << QStringList()
                                  << QString();
}

void TestDriveWatcher::decode()
{
    QFETCH(quint32, code);
    QFETCH(bool, hasData);
    QFETCH(quint32, type);
    QFETCH(quint32, mask);
    QFETCH(QStringList, drives);
    QFETCH(QString, action);

    DeviceChangeMessage message;
    message.eventCode = code;
    message.hasData = hasData;
    message.deviceType = type;
    message.unitMask = mask;
    const DeviceChangeDecoder::Result result = DeviceChangeDecoder::decode(message);
    QCOMPARE(result.drives, drives);
    QCOMPARE(result.actionText, action);
    if (!drives.isEmpty())
        QCOMPARE(int(result.action),
                 int(action == "remove" ? DriveChangeEvent::Remove : DriveChangeEvent::Add));
    QCOMPARE(result.warning.isEmpty(), code != 0x1234u);
}

void TestDriveWatcher::dispatchChange_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("added");
    QTest::addColumn<int>("changed");
    QTest::addColumn<int>("removed");

    QTest::newRow("add") << "add" << 1 << 0 << 0;
    QTest::newRow("ADD") << "ADD" << 1 << 0 << 0;
    QTest::newRow("Remove") << "Remove" << 0 << 0 << 1;
    QTest::newRow("change") << "change" << 0 << 1 << 0;
    QTest::newRow("mount") << "mount" << 0 << 0 << 0;
}

void TestDriveWatcher::dispatchChange()
{
    QFETCH(QString, action);
    QFETCH(int, added);
    QFETCH(int, changed);
    QFETCH(int, removed);
    DriveWatcher watcher;
    QSignalSpy addedSpy(&watcher, &DriveWatcher::deviceAdded);
    QSignalSpy changedSpy(&watcher, &DriveWatcher::deviceChanged);
    QSignalSpy removedSpy(&watcher, &DriveWatcher::deviceRemoved);
    watcher.privateObject()->dispatchChange("E:/", action);
    QCOMPARE(addedSpy.count(), added);
    QCOMPARE(changedSpy.count(), changed);
    QCOMPARE(removedSpy.count(), removed);
    for (const QSignalSpy* spy : {&addedSpy, &changedSpy, &removedSpy}) {
        if (!spy->isEmpty())
            QCOMPARE(spy->first().at(0).toString(), QStringLiteral("E:/"));
    }
}

void TestDriveWatcher::decodedMessageReachesSignalsAndReceivers()
{
    DriveWatcher watcher;
    EventSink first;
    EventSink second;
    watcher.appendEventReceiver(&first);
    watcher.appendEventReceiver(&second);
    {
        // A receiver that is gone must not be posted to.
        EventSink gone;
        watcher.appendEventReceiver(&gone);
    }
    QSignalSpy added(&watcher, &DriveWatcher::deviceAdded);
    QSignalSpy removed(&watcher, &DriveWatcher::deviceRemoved);

    DeviceChangeMessage message;
    message.eventCode = DeviceChangeDecoder::DeviceArrival;
    message.hasData = true;
    message.deviceType = DeviceChangeDecoder::TypeVolume;
    message.unitMask = (1u << 4) | (1u << 6);
    DeviceChangeDecoder::Result result = DeviceChangeDecoder::decode(message);
    watcher.privateObject()->reportChanges(result.drives, result.actionText, result.action);
    message.eventCode = DeviceChangeDecoder::DeviceRemoveComplete;
    message.unitMask = 1u << 4;
    result = DeviceChangeDecoder::decode(message);
    watcher.privateObject()->reportChanges(result.drives, result.actionText, result.action);

    QCOMPARE(argumentsOf(added), QStringList({"E:/", "G:/"}));
    QCOMPARE(argumentsOf(removed), QStringList({"E:/"}));
    QCoreApplication::sendPostedEvents();
    const QList<QPair<int, QString>> expected{{DriveChangeEvent::Add, "E:/"},
                                              {DriveChangeEvent::Add, "G:/"},
                                              {DriveChangeEvent::Remove, "E:/"}};
    QCOMPARE(first.received, expected);
    QCOMPARE(second.received, expected);
}

void TestDriveWatcher::mountAndUnmount()
{
    if (::geteuid() != 0)
        QSKIP("mounting a tmpfs needs root");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // A blank in the mount point shows up escaped in the mount table.
    const QString mountPoint = dir.path() + "/logger drive";
    QVERIFY(QDir().mkpath(mountPoint));
    const QString root = mountPoint + "/";

    DriveWatcher watcher;
    EventSink first;
    EventSink second;
    watcher.appendEventReceiver(&first);
    watcher.appendEventReceiver(&second);
    QVERIFY(watcher.start());
    QVERIFY(watcher.isRunning());
    QSignalSpy added(&watcher, &DriveWatcher::deviceAdded);
    QSignalSpy removed(&watcher, &DriveWatcher::deviceRemoved);

    if (QProcess::execute("mount", {"-t", "tmpfs", "none", mountPoint}) != 0)
        QSKIP("mount -t tmpfs is not allowed here");
    bool mounted = true;
    auto cleanup = qScopeGuard([&] {
        if (mounted)
            QProcess::execute("umount", {mountPoint});
    });

    QTRY_VERIFY_WITH_TIMEOUT(argumentsOf(added).contains(root), 10000);
    QCOMPARE(argumentsOf(added).count(root), 1);
    QTRY_COMPARE_WITH_TIMEOUT(countOf(first.received, DriveChangeEvent::Add, root), 1, 10000);
    QTRY_COMPARE_WITH_TIMEOUT(countOf(second.received, DriveChangeEvent::Add, root), 1, 10000);
    QVERIFY(!argumentsOf(removed).contains(root));
    const QStringList volumes = DriveWatcher::mountedVolumes();
    QVERIFY(volumes.contains(root));
    for (const QString& volume : volumes)
        QVERIFY(volume.endsWith('/') && !volume.startsWith("/proc/") &&
                !volume.startsWith("/sys/"));

    QCOMPARE(QProcess::execute("umount", {mountPoint}), 0);
    mounted = false;
    QTRY_VERIFY_WITH_TIMEOUT(argumentsOf(removed).contains(root), 10000);
    QCOMPARE(argumentsOf(removed).count(root), 1);
    QTRY_COMPARE_WITH_TIMEOUT(countOf(first.received, DriveChangeEvent::Remove, root), 1, 10000);
    QTRY_COMPARE_WITH_TIMEOUT(countOf(second.received, DriveChangeEvent::Remove, root), 1, 10000);
}

QTEST_GUILESS_MAIN(TestDriveWatcher)
#include "tst_drivewatcher.moc"
