#include "device/devicechangedecoder.h"
#include "device/devicekv310.h"
#include "device/devicepointconverter.h"
#include "device/drivechangeevent.h"
#include "device/drivewatcher.h"
#include "device/drivewatcherprivate.h"
#include "formats/gpsfilter.h"
#include "lockedpath.h"
#include "testsupport.h"
#include "tmpfsmount.h"

#include <QtTest>

#include <ctime>
#include <optional>

using namespace TestSupport;

// The worker's reports as the main window takes them: queued, in the test's own thread. A
// QSignalSpy on the worker would record them on the worker thread while the test polls them.
struct QueuedStatus : QList<QVariantList> {
    explicit QueuedStatus(DeviceKV310* device)
    {
        QObject::connect(
            device, &DeviceKV310::FireRecvStatus, &context,
            [this](int cmd, int status) {
                append({cmd, status});
            },
            Qt::QueuedConnection);
    }
    QObject context;
};

// One logger line: "<n>,<date time>,<tag>,<lat>,<N/S>,<lon>,<E/W>,<alt>,<speed>,x,y".
static QByteArray line(const char* time, const char* lat, const char* lon)
{
    return QByteArray("1,") + time + ",*GPS," + lat + ",N," + lon + ",E,35.2,10.00,0,0\r\n";
}

using Change = QPair<int, QString>;

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

// A worker whose file never answers, as on a dead drive, until the test lets it go.
class StuckDevice : public DeviceKV310
{
public:
    QSemaphore entered, letGo;

protected:
    QIODevice* openTrackFile(const QString&, QString* error) override
    {
        entered.release();
        letGo.acquire();
        *error = "gone";
        return nullptr;
    }
};

class TestDeviceKV310 : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // 2014-03-30 02:30 does not exist as local time here; the worker must take it as UTC.
        qputenv("TZ", "Europe/Berlin");
        tzset();
        QLoggingCategory::setFilterRules(QStringLiteral("kv730.*=false"));
    }

    // Listed by name regardless of case; the header is the first point a download gives,
    // with the time to the last point.
    void listing()
    {
        QTemporaryDir drive;
        QVERIFY(writeFile(drive.filePath("b.GPL"), line("2036:01:01-00:00:00", "1", "1") +
                                                       line("2035:12:31-01:02:03", "F", "x")));
        // A dated line without a position first: the track starts with the next line.
        QVERIFY(writeFile(drive.filePath("a.gpl"),
                          line("2015:12:31-23:59:50", "F", "x") +
                              line("2015:12:31-23:59:59", "2502.1", "12130.5") +
                              line("2016:01:01-00:01:01", "2502.1", "12130.5")));
        QVERIFY(writeFile(drive.filePath("c.gpl"), line("2009:01:01-00:00:00", "2502.1", "1")));
        QVERIFY(writeFile(drive.filePath("d.txt"), line("2016:05:06-10:20:30", "1", "1")));
        // Longer than the end that is looked at: the end is found all the same.
        QByteArray longLog;
        for (int i = 0; i < 2000; ++i)
            longLog +=
                line(qPrintable(QString::asprintf("2016:05:06-10:%02d:%02d", i / 60 % 60, i % 60)),
                     "2502.1", "12130.5");
        QVERIFY(longLog.size() > 100000 && writeFile(drive.filePath("e.gpl"), longLog));
        DeviceKV310 device;
        QSignalSpy headers(&device, &DeviceKV310::FireRecvTrackFileHeader);
        const QString root = drive.path() + "/";
        device.listTrackFiles(root);
        QCOMPARE(device.fileList(),
                 QList<QString>({root + "a.gpl", root + "b.GPL", root + "c.gpl", root + "e.gpl"}));
        QStringList got;
        for (const TrackFileHeader& h : headers.first().at(0).value<QVector<TrackFileHeader>>())
            got << QString::asprintf("%d %u %u %lld ", h.fileIndexes.value(0), h.date, h.timeOfDay,
                                     static_cast<long long>(h.duration)) +
                       h.fileName +
                       (h.fileSize == QFileInfo(root + h.fileName).size() ? " true" : "");
        QCOMPARE(got, QStringList({"0 311215 235959 62 a.gpl true", "1 0 0 -1 b.GPL true",
                                   "2 0 0 -1 c.gpl true", "3 60516 100000 1999 e.gpl true"}));
    }

    void read_data() { addTable("worker/reads.txt", {"limit", "start", "points", "log"}); }
    void read()
    {
        QFETCH(QString, limit);
        QFETCH(QString, log);
        GpsFilter::setLimit(qint8(limit.toInt()));
        QTemporaryDir drive;
        QByteArray content = log.toLatin1().replace("\n", "\r\n") + "\r\n";
        if (QByteArray(QTest::currentDataTag()).startsWith("binary garbage"))
            content.prepend(randomBytes(20000, 1) + QByteArray(3000, ','));
        QVERIFY(writeFile(drive.filePath("t.gpl"), content));
        DeviceKV310 device;
        QueuedStatus status(&device);
        device.listTrackFiles(drive.path() + "/");
        device.startTrackFileRead(0);
        QTRY_COMPARE(status.count(), 1);
        QCOMPARE(status.first(), QVariantList({CMD_READ_TRACK_FILE, 1}));
        const DeviceTrackData data = device.trackFileData();
        const DevicePoint& first = data.firstPoint;
        QTEST(QString("%1 %2").arg(first.date).arg(first.timeOfDay), "start");
        QCOMPARE(first.fmt, first.date ? 2 : 0);
        QStringList got;
        for (const DevicePoint& p : QVector<DevicePoint>{first} + data.followingPoints) {
            got << QString::asprintf("%d %d %d %d", p.latitude, p.longitude, p.speed, p.marked);
            if (p.altitude != 352000 && first.date) // 35.2 m
                got.last() += QString::asprintf(" alt %d", p.altitude);
        }
        QTEST(got.mid(first.date ? 0 : 1).join("; "), "points");
    }

    // The worker's records as the main window stores them: degrees (a latitude's degree part
    // of 100 loses 100), metres, seconds (an invalid time of day is midnight), speeds up to
    // 10000 km/h.
    void convert()
    {
        const auto record = [](qint32 lat, qint32 lon, qint32 date, qint32 time, qint32 speed) {
            DevicePoint p;
            p.latitude = lat, p.longitude = lon, p.date = date, p.timeOfDay = time;
            p.speed = speed, p.altitude = -123456, p.fmt = 2, p.marked = speed == 1;
            return p;
        };
        const DeviceTrackData data{record(-25021234, 121305678, 60516, 235959, 1),
                                   {record(100300000, -1000000, 70516, 1, 1000000),
                                    record(99300000, 0, 70516, 2, 1000001),
                                    record(99300000, 0, 70516, 246000, 0)}};
        Track track{0, 0, {}};
        DevicePointConverter::fillTrack(track, data);
        QStringList got;
        for (const Vec3& p : track.points)
            got << QString::asprintf("%.6f %.6f %.4f %lld %d %d", p.lat, p.lon, p.alt,
                                     static_cast<long long>(p.time), p.speed, p.marked);
        QCOMPARE(track.fmt, 2);
        QCOMPARE(got, QStringList({"-25.035390 121.509463 -12.3456 1462579199 1 1",
                                   "0.500000 -1.000000 -12.3456 1462579201 1000000 0",
                                   "99.500000 0.000000 -12.3456 1462579200 0 0"}));
    }

    void readEndsWithOneReport_data()
    {
        addTable("worker/failures.txt", {"failure", "report", "reason"});
    }

    // A read that cannot be done is reported once, and the worker is ready for the next read.
    void readEndsWithOneReport()
    {
        QFETCH(QString, failure);
        QFETCH(QString, report);
        if (failure == "unreadable" && isRoot())
            QSKIP("permission bits do not stop root");
        SKIP_UNLESS_POSIX(failure == "fifo");
        QTemporaryDir tmp;
        std::optional<TmpfsMount> tmpfs;
        if (failure.startsWith("unmounted")) {
            tmpfs.emplace(tmp.filePath("logger"), 64 * 1024);
            if (!tmpfs->isMounted())
                QSKIP(qPrintable(tmpfs->reason()));
        }
        const QString dir = tmpfs ? tmpfs->path() : tmp.path();
        const QString path = dir + "/a.gpl";
        const int lines = failure == "timeout" || failure == "unmounted during" ? 300000 : 10;
        QVERIFY(writeFile(path, line("2016:05:06-10:20:30", "1", "1").repeated(lines)));
        QVERIFY(writeFile(dir + "/kv730.ini", ""));
        DeviceKV310 device;
        QueuedStatus status(&device);
        device.listTrackFiles(dir + "/");
        if (QStringList{"removed", "directory", "fifo", "unreadable"}.contains(failure))
            QVERIFY(QFile::remove(path));
        if (failure == "directory")
            QVERIFY(QDir().mkdir(path));
        else if (failure == "fifo")
            QVERIFY(makeFifo(path));
        else if (failure == "unreadable")
            QVERIFY(writeFile(path, "x") && QFile::setPermissions(path, {}));
        else if (failure == "unmounted before")
            tmpfs->detach();
        device.setReadTimeLimit(failure == "timeout" ? 1 : 60000);
        device.startTrackFileRead(0);
        if (failure == "unmounted during") {
            QVERIFY(QFile::remove(path));
            tmpfs->detach();
        }
        QTRY_COMPARE_WITH_TIMEOUT(status.count(), 1, 60000);
        const QString got = status.first().at(0).toString() + " " + status.first().at(1).toString();
        QVERIFY2(report.isEmpty() ? got == "181 1" || got == "254 0" : got == report,
                 qPrintable(got));
        if (!report.isEmpty())
            QTEST(device.readErrorString(), "reason");
        QVERIFY(device.wait(10000));
        QCoreApplication::processEvents();
        QCOMPARE(status.count(), 1);
        if (failure != "timeout")
            return;
        device.setReadTimeLimit(60000);
        device.startTrackFileRead(0);
        QTRY_COMPARE_WITH_TIMEOUT(status.count(), 2, 10000);
        QCOMPARE(status.last(), QVariantList({CMD_READ_TRACK_FILE, 1}));
        QCOMPARE(device.trackFileData().followingPoints.size(), lines - 1);
    }

    void deleteKeepsFiles_data()
    {
        addRows("fault", {"a file cannot be removed", "a file cannot be backed up"});
    }

    // Every track file is copied first; a file whose copy failed or that cannot go stays.
    void deleteKeepsFiles()
    {
        const bool lockFile = field("fault").contains("removed");
        QTemporaryDir drive, backups;
        for (const char* name : {"x.gpl", "y.GEL", "kv730.ini"})
            QVERIFY(writeFile(drive.filePath(name), name));
        QVERIFY(writeFile(backups.filePath("file"), "in the way"));
        const QString backup = backups.filePath(lockFile ? "b1" : "file/b1");
        DeviceKV310 device;
        QueuedStatus status(&device);
        std::atomic<bool> onWorker{false}; // the window goes on while the files are copied
        connect(
            &device, &DeviceKV310::FireRecvStatus, &device,
            [&] { onWorker = QThread::currentThread() == &device; }, Qt::DirectConnection);
        {
            // As root only the file itself can be protected; otherwise the directory is.
            const bool root = isRoot();
            LockedPath lock(!lockFile ? QString() : root ? drive.filePath("x.gpl") : drive.path());
            if (lockFile && !lock.isLocked())
                QSKIP("cannot protect a file here");
            device.deleteAllTrackFiles(drive.path() + "/", backup);
            QTRY_COMPARE(status.count(), 1);
        }
        QVERIFY(onWorker);
        const int remaining = lockFile && isRoot() ? 1 : 2;
        QCOMPARE(status.first(), QVariantList({CMD_DELETE_ALL, 0}));
        QCOMPARE(device.remainingTrackFiles(), remaining);
        QCOMPARE(QDir(drive.path()).entryList(QDir::Files).size(), 1 + remaining);
        QVERIFY(QFile::exists(drive.filePath("x.gpl")));
        QCOMPARE(QDir(backup).entryList(QDir::Files).join(' '),
                 QString(lockFile ? "x.gpl y.GEL" : ""));
    }

    void readConfig_data() { addTable("worker/config.txt", {"text", "expected"}); }
    void readConfig()
    {
        QFETCH(QString, text);
        SKIP_UNLESS_POSIX(text == "<fifo>");
        QTemporaryDir dir;
        const QString path = dir.filePath("kv730.ini");
        if (text == "<dir>")
            QVERIFY(QDir().mkdir(path));
        else if (text == "<fifo>")
            QVERIFY(makeFifo(path));
        else if (text != "<none>")
            QVERIFY(
                writeFile(path, text == "<endless>" ? QByteArray(1 << 20, '[') : text.toUtf8()));
        const DeviceConfig c = DeviceConfig::readFile(path);
        QTEST(QString::asprintf("%d %g %d %d %d %d", c.loggingFormat, c.gpsInterval, c.powerSaving,
                                c.bluetooth, c.heightLimit, c.testMode),
              "expected");
    }

    void writeConfig_data()
    {
        addTable("worker/writes.txt", {"config", "fault", "before", "text"});
    }

    void writeConfig()
    {
        QFETCH(QString, fault);
        QFETCH(QString, config);
        const QStringList f = config.split(' ');
        const DeviceConfig c{f[0].toInt(), f[1].toDouble(), f[2] == "1",
                             f[3] == "1",  f[4] == "1",     f[5] == "1"};
        SKIP_UNLESS_POSIX(fault == "size limit" || fault == "fifo" || fault == "/dev/full");
        if (fault == "/dev/full") { // a committed replacement would put a file where the node was
            QVERIFY(!c.writeFile(fault));
            QVERIFY(QFileInfo::exists(fault) && !QFileInfo(fault).isFile());
            return;
        }
        QTemporaryDir tmp;
        std::optional<TmpfsMount> tmpfs;
        if (fault == "full drive") {
            tmpfs.emplace(tmp.filePath("full"), 64);
            if (!tmpfs->isMounted())
                QSKIP(qPrintable(tmpfs->reason()));
        }
        const QString dir = tmpfs ? tmpfs->path() : tmp.path(), path = dir + "/kv730.ini";
        QFETCH(QString, before);
        QVERIFY(before == "<none>" || writeFile(path, before.toUtf8()));
        if (tmpfs)
            tmpfs->fill();
        if (fault == "fifo")
            QVERIFY(QFile::remove(path) && makeFifo(path));
        LockedPath lock(fault == "locked drive" ? dir : QString());
        if (fault == "locked drive" && !lock.isLocked())
            QSKIP("cannot make the directory unchangeable here");
        DeviceKV310 device;
        QSignalSpy status(&device, &DeviceKV310::FireRecvStatus);
        const auto write = [&] { device.writeConfiguration(c, dir + "/"); };
        fault == "size limit" ? withFileSizeLimit(40, write) : write(); // the file needs ~130 bytes
        QCOMPARE(status.count(), 1);
        QCOMPARE(status.first(), QVariantList({CMD_WRITE_CONFIG, fault.isEmpty() ? 1 : 0}));
        if (fault == "fifo")
            QVERIFY(!QFileInfo(path).isFile());
        else
            QTEST(QString(readFile(path)), "text");
        QCOMPARE(entries(dir).join(' '), QString(tmpfs ? "filler kv730.ini" : "kv730.ini"));
        device.readConfiguration(dir + "/");
        if (fault.isEmpty())
            QCOMPARE(device.configuration.toText(), c.toText());
    }

    // Releasing the device never waits long for a blocked read; the device goes when it
    // returns.
    void releaseStuckRead()
    {
        QTemporaryDir drive;
        QVERIFY(writeFile(drive.filePath("a.gpl"), line("2016:05:06-10:20:30", "1", "1")));
        auto* device = new StuckDevice;
        QPointer<DeviceKV310> alive(device);
        device->listTrackFiles(drive.path() + "/");
        device->startTrackFileRead(0);
        QVERIFY(device->entered.tryAcquire(1, 5000));
        QVERIFY(!DeviceKV310::release(device, 200) && alive);
        device->letGo.release();
        QTRY_VERIFY(!alive);
    }

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

QTEST_GUILESS_MAIN(TestDeviceKV310)
#include "tst_devicekv310.moc"
