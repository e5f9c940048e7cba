#include "device/devicechangedecoder.h"
#include "device/drivechangeevent.h"
#include "device/drivewatcher.h"
#include "device/drivewatcherprivate.h"
#include "tmpfsmount.h"

#include <QtTest>

using Change = QPair<int, QString>;

namespace
{

// Collects the DriveChangeEvents posted to it.
class EventSink : public QObject
{
public:
    QList<Change> received;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() != DriveChangeEvent::eventType())
            return QObject::event(e);
        auto* change = static_cast<DriveChangeEvent*>(e);
        received.append({int(change->action()), change->devicePath()});
        return true;
    }
};

QStringList paths(const QSignalSpy& spy)
{
    QStringList list;
    for (const QList<QVariant>& args : spy)
        list << args.at(0).toString();
    return list;
}

} // namespace

class TestDriveWatcher : public QObject
{
    Q_OBJECT

private slots:
    void decodeAndReport_data();
    void decodeAndReport();
    void dispatchChange_data();
    void dispatchChange();
    void mountAndUnmount();
};

void TestDriveWatcher::decodeAndReport_data()
{
    QTest::addColumn<quint32>("code");
    QTest::addColumn<bool>("hasData");
    QTest::addColumn<quint32>("type");
    QTest::addColumn<quint32>("mask");
    QTest::addColumn<QStringList>("drives");
    QTest::addColumn<QString>("action");
    const quint32 volume = DeviceChangeDecoder::TypeVolume;
    const quint32 e = 1u << 4;
    // clang-format off
    QTest::newRow("arrival E and G") << 0x8000u << true << volume << (e | 1u << 6) << QStringList{"E:/", "G:/"} << "add";
    QTest::newRow("bits above Z ignored") << 0x8000u << true << volume << (1u << 26 | 1u << 31 | 1u) << QStringList{"A:/"} << "add";
    QTest::newRow("query remove is add") << 0x8001u << true << volume << (1u << 25) << QStringList{"Z:/"} << "add";
    QTest::newRow("remove complete") << 0x8004u << true << volume << e << QStringList{"E:/"} << "remove";
    QTest::newRow("port arrival") << 0x8000u << true << quint32(DeviceChangeDecoder::TypePort) << e << QStringList() << QString();
    QTest::newRow("no data") << 0x8000u << false << volume << e << QStringList() << QString();
    QTest::newRow("nodes changed") << 0x0007u << true << volume << e << QStringList() << QString();
    QTest::newRow("unknown code") << 0x1234u << true << volume << e << QStringList() << QString();
    // clang-format on
}

// A synthetic device-change message of the Windows source, decoded and reported.
void TestDriveWatcher::decodeAndReport()
{
    QFETCH(quint32, code);
    QFETCH(bool, hasData);
    QFETCH(quint32, type);
    QFETCH(quint32, mask);
    QFETCH(QStringList, drives);
    QFETCH(QString, action);
    const auto result = DeviceChangeDecoder::decode(DeviceChangeMessage{code, hasData, type, mask});
    QCOMPARE(result.drives, drives);
    QCOMPARE(result.actionText, action);
    QCOMPARE(result.warning.isEmpty(), code != 0x1234u); // only an unknown code is warned about

    DriveWatcher watcher;
    EventSink first, second;
    watcher.appendEventReceiver(&first);
    watcher.appendEventReceiver(&second);
    {
        // A receiver that is gone must not be posted to.
        EventSink gone;
        watcher.appendEventReceiver(&gone);
    }
    QSignalSpy added(&watcher, &DriveWatcher::deviceAdded);
    QSignalSpy removed(&watcher, &DriveWatcher::deviceRemoved);
    watcher.privateObject()->reportChanges(result.drives, result.actionText, result.action);
    QCOMPARE(paths(action == "remove" ? removed : added), drives);
    QCOMPARE(added.count() + removed.count(), drives.size());
    QCoreApplication::sendPostedEvents();
    QList<Change> expected;
    for (const QString& drive : drives)
        expected << Change(action == "remove" ? DriveChangeEvent::Remove : DriveChangeEvent::Add,
                           drive);
    QCOMPARE(first.received, expected);
    QCOMPARE(second.received, expected);
}

void TestDriveWatcher::dispatchChange_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("signal"); // added, changed, removed or none
    QTest::newRow("ADD") << "ADD"
                         << "added";
    QTest::newRow("Remove") << "Remove"
                            << "removed";
    QTest::newRow("change") << "change"
                            << "changed";
    QTest::newRow("mount") << "mount" << QString();
}

void TestDriveWatcher::dispatchChange()
{
    QFETCH(QString, action);
    QFETCH(QString, signal);
    DriveWatcher watcher;
    QSignalSpy added(&watcher, &DriveWatcher::deviceAdded);
    QSignalSpy changed(&watcher, &DriveWatcher::deviceChanged);
    QSignalSpy removed(&watcher, &DriveWatcher::deviceRemoved);
    watcher.privateObject()->dispatchChange("E:/", action);
    const QStringList e{"E:/"}, none;
    QCOMPARE(paths(added), signal == "added" ? e : none);
    QCOMPARE(paths(changed), signal == "changed" ? e : none);
    QCOMPARE(paths(removed), signal == "removed" ? e : none);
}

void TestDriveWatcher::mountAndUnmount()
{
    QTemporaryDir dir;
    // A blank in the mount point shows up escaped in the mount table.
    const QString root = dir.path() + "/logger drive/";
    DriveWatcher watcher;
    EventSink first, second;
    watcher.appendEventReceiver(&first);
    watcher.appendEventReceiver(&second);
    QVERIFY(watcher.start());
    QSignalSpy added(&watcher, &DriveWatcher::deviceAdded);
    QSignalSpy removed(&watcher, &DriveWatcher::deviceRemoved);

    TmpfsMount mount(dir.path() + "/logger drive", 1024);
    if (!mount.isMounted())
        QSKIP(qPrintable(mount.reason()));
    // Other tests may mount drives at the same time: only this root counts.
    const Change add(DriveChangeEvent::Add, root), remove(DriveChangeEvent::Remove, root);
    QTRY_COMPARE_WITH_TIMEOUT(first.received.count(add), 1, 10000);
    QTRY_COMPARE_WITH_TIMEOUT(second.received.count(add), 1, 10000);
    QCOMPARE(paths(added).count(root), 1);
    QVERIFY(!paths(removed).contains(root));
    const QStringList volumes = DriveWatcher::mountedVolumes();
    QVERIFY(volumes.contains(root));
    for (const QString& volume : volumes)
        QVERIFY(volume.endsWith('/') && !volume.startsWith("/proc/") &&
                !volume.startsWith("/sys/"));

    mount.detach();
    QTRY_COMPARE_WITH_TIMEOUT(first.received.count(remove), 1, 10000);
    QTRY_COMPARE_WITH_TIMEOUT(second.received.count(remove), 1, 10000);
    QCOMPARE(paths(removed).count(root), 1);
}

QTEST_GUILESS_MAIN(TestDriveWatcher)
#include "tst_drivewatcher.moc"
