#include "device/devicechangedecoder.h"
#include "device/drivechangeevent.h"
#include "device/drivewatcher.h"
#include "device/drivewatcherprivate.h"
#include "tmpfsmount.h"

#include <QtTest>

using Change = QPair<int, QString>;
Q_DECLARE_METATYPE(DeviceChangeMessage)

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

static QStringList paths(const QSignalSpy& spy)
{
    QStringList list;
    for (const QList<QVariant>& args : spy)
        list << args.at(0).toString();
    return list;
}

class TestDriveWatcher : public QObject
{
    Q_OBJECT

private slots:
    void decode_data()
    {
        QTest::addColumn<DeviceChangeMessage>("message"); // code, has data, device type, unit mask
        QTest::addColumn<QStringList>("drives");
        QTest::addColumn<QString>("action");
        const quint32 volume = DeviceChangeDecoder::TypeVolume;
        const quint32 e = 1u << 4;
        // clang-format off
        QTest::newRow("arrival E and G") << DeviceChangeMessage{0x8000u, true, volume, (e | 1u << 6)} << QStringList{"E:/", "G:/"} << "add";
        QTest::newRow("bits above Z ignored") << DeviceChangeMessage{0x8000u, true, volume, (1u << 26 | 1u << 31 | 1u)} << QStringList{"A:/"} << "add";
        QTest::newRow("query remove is add") << DeviceChangeMessage{0x8001u, true, volume, (1u << 25)} << QStringList{"Z:/"} << "add";
        QTest::newRow("remove complete") << DeviceChangeMessage{0x8004u, true, volume, e} << QStringList{"E:/"} << "remove";
        QTest::newRow("port arrival") << DeviceChangeMessage{0x8000u, true, DeviceChangeDecoder::TypePort, e} << QStringList() << QString();
        QTest::newRow("no data") << DeviceChangeMessage{0x8000u, false, volume, e} << QStringList() << QString();
        QTest::newRow("unknown code") << DeviceChangeMessage{0x1234u, true, volume, e} << QStringList() << QString();
        // clang-format on
    }
    // A synthetic device-change message of the Windows source.
    void decode()
    {
        QFETCH(DeviceChangeMessage, message);
        QFETCH(QStringList, drives);
        QFETCH(QString, action);
        const auto result = DeviceChangeDecoder::decode(message);
        QCOMPARE(result.drives, drives);
        QCOMPARE(result.actionText, action);
        QCOMPARE(result.action,
                 action == "remove" ? DriveChangeEvent::Remove : DriveChangeEvent::Add);
        QCOMPARE(!result.warning.isEmpty(),
                 message.eventCode == 0x1234u); // only unknown codes warn
    }
    // The action text is matched without regard to case; an unknown one is ignored.
    void dispatchChange()
    {
        DriveWatcher watcher;
        QSignalSpy added(&watcher, &DriveWatcher::deviceAdded);
        QSignalSpy changed(&watcher, &DriveWatcher::deviceChanged);
        QSignalSpy removed(&watcher, &DriveWatcher::deviceRemoved);
        for (const char* action : {"ADD", "Remove", "change", "mount"})
            watcher.privateObject()->dispatchChange(QString(action) + ":/", action);
        QCOMPARE(paths(added) + paths(changed) + paths(removed),
                 QStringList({"ADD:/", "change:/", "Remove:/"}));
    }
    void mountAndUnmount()
    {
        QTemporaryDir dir;
        // A blank in the mount point shows up escaped in the mount table.
        const QString root = dir.path() + "/logger drive/";
        DriveWatcher watcher;
        EventSink first, second;
        watcher.appendEventReceiver(&first);
        watcher.appendEventReceiver(&second);
        {
            // A receiver that is gone must not be posted to.
            EventSink gone;
            watcher.appendEventReceiver(&gone);
        }
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
        QVERIFY(DriveWatcher::mountedVolumes().contains(root)); // the start-up scan

        mount.detach();
        QTRY_COMPARE_WITH_TIMEOUT(first.received.count(remove), 1, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(second.received.count(remove), 1, 10000);
        QCOMPARE(paths(removed).count(root), 1);
    }
};

QTEST_GUILESS_MAIN(TestDriveWatcher)
#include "tst_drivewatcher.moc"
