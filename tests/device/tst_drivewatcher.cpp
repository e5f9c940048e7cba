#include "device/devicechangedecoder.h"
#include "device/drivechangeevent.h"
#include "device/drivewatcher.h"
#include "device/drivewatcherprivate.h"
#include "testsupport.h"
#include "tmpfsmount.h"

#include <QtTest>

using Change = QPair<int, QString>;
using TestSupport::addTable;

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
    void decode_data() { addTable("drives/messages.txt", {"message", "drives", "action"}); }
    // A synthetic device-change message of the Windows source.
    void decode()
    {
        QFETCH(QString, message);
        QFETCH(QString, action);
        const QStringList m = message.split(' ');
        const auto result = DeviceChangeDecoder::decode(
            {m[0].toUInt(nullptr, 16), m[1] == "1", m[2].toUInt(), m[3].toUInt(nullptr, 16)});
        QTEST(result.drives.join(' '), "drives");
        QCOMPARE(result.actionText, action);
        QCOMPARE(result.action,
                 action == "remove" ? DriveChangeEvent::Remove : DriveChangeEvent::Add);
        QCOMPARE(!result.warning.isEmpty(), m[0] == "0x1234"); // only unknown codes warn
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
