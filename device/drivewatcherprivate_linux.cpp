#include "device/drivewatcherprivate.h"

#include "device/devicelog.h"
#include "device/drivewatcher.h"

#include <QByteArray>
#include <QSocketNotifier>
#include <QStorageInfo>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

// Mount-table source: /proc/self/mountinfo reports every change of the mount table
// as an exceptional condition on its descriptor; where that file is missing the
// table is polled instead.

namespace
{

const char mountInfoPath[] = "/proc/self/mountinfo";
const int pollIntervalMs = 1000;

bool isPseudoFileSystem(const QByteArray& type)
{
    static const char* const pseudo[] = {
        "proc",     "sysfs",      "cgroup",    "cgroup2",         "devpts",      "devtmpfs",
        "mqueue",   "debugfs",    "tracefs",   "securityfs",      "pstore",      "bpf",
        "configfs", "fusectl",    "hugetlbfs", "autofs",          "binfmt_misc", "nsfs",
        "efivarfs", "rpc_pipefs", "selinuxfs", "fuse.gvfsd-fuse", "fuse.portal", "fuse.lxcfs",
    };
    for (const char* name : pseudo) {
        if (type == name)
            return true;
    }
    return false;
}

// Kernel views that are no storage volumes, whatever file system backs them.
bool isSystemMountPoint(const QString& path)
{
    return path.startsWith(QLatin1String("/proc/")) || path.startsWith(QLatin1String("/sys/")) ||
           path.startsWith(QLatin1String("/dev/"));
}

// mountinfo writes blanks, tabs, new lines and backslashes as \ooo.
QString decodeMountPath(const QByteArray& field)
{
    QByteArray out;
    out.reserve(field.size());
    for (int i = 0; i < field.size(); ++i) {
        const char c = field.at(i);
        if (c == '\\' && i + 3 < field.size() && field.at(i + 1) >= '0' && field.at(i + 1) <= '3' &&
            field.at(i + 2) >= '0' && field.at(i + 2) <= '7' && field.at(i + 3) >= '0' &&
            field.at(i + 3) <= '7') {
            out.append(char(((field.at(i + 1) - '0') << 6) | ((field.at(i + 2) - '0') << 3) |
                            (field.at(i + 3) - '0')));
            i += 3;
        } else {
            out.append(c);
        }
    }
    return QString::fromLocal8Bit(out);
}

QString rootPath(const QString& mountPoint)
{
    return mountPoint.endsWith(QLatin1Char('/')) ? mountPoint : mountPoint + QLatin1Char('/');
}

QStringList volumesFromMountInfo(const QByteArray& table)
{
    QStringList volumes;
    const QList<QByteArray> lines = table.split('\n');
    for (const QByteArray& line : lines) {
        const QList<QByteArray> fields = line.split(' ');
        // id parent dev root mountpoint options [optional...] - fstype source superoptions
        const int separator = fields.indexOf(QByteArray("-"), 6);
        if (fields.size() < 5 || separator < 0 || separator + 1 >= fields.size())
            continue;
        if (isPseudoFileSystem(fields.at(separator + 1)))
            continue;
        const QString mountPoint = decodeMountPath(fields.at(4));
        if (!mountPoint.startsWith(QLatin1Char('/')) || isSystemMountPoint(mountPoint))
            continue;
        volumes << rootPath(mountPoint);
    }
    return volumes;
}

bool readAll(int fd, QByteArray* out)
{
    if (::lseek(fd, 0, SEEK_SET) < 0)
        return false;
    out->clear();
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0)
            return true;
        out->append(buffer, int(n));
    }
}

QStringList sortedUnique(QStringList list)
{
    std::sort(list.begin(), list.end());
    list.erase(std::unique(list.begin(), list.end()), list.end());
    return list;
}

QStringList readVolumes(int fd)
{
    QByteArray table;
    if (fd >= 0 && readAll(fd, &table))
        return sortedUnique(volumesFromMountInfo(table));
    const int ownFd = ::open(mountInfoPath, O_RDONLY | O_CLOEXEC);
    if (ownFd >= 0) {
        const bool ok = readAll(ownFd, &table);
        ::close(ownFd);
        if (ok)
            return sortedUnique(volumesFromMountInfo(table));
    }
    QStringList volumes;
    const QList<QStorageInfo> infos = QStorageInfo::mountedVolumes();
    for (const QStorageInfo& info : infos) {
        if (info.isValid() && !isPseudoFileSystem(info.fileSystemType()) &&
            !isSystemMountPoint(info.rootPath()))
            volumes << rootPath(info.rootPath());
    }
    return sortedUnique(volumes);
}

QSet<QString> toSet(const QStringList& list)
{
    return QSet<QString>(list.begin(), list.end());
}

QStringList sortedList(const QSet<QString>& set)
{
    QStringList list(set.begin(), set.end());
    std::sort(list.begin(), list.end());
    return list;
}

} // namespace

DriveWatcherPrivate::DriveWatcherPrivate(DriveWatcher* q) : QObject(nullptr), q(q) {}

DriveWatcherPrivate::~DriveWatcherPrivate()
{
    stop();
    eventReceivers.clear();
}

bool DriveWatcherPrivate::start()
{
    if (m_notifier || m_pollTimer)
        return true;
    m_mountTableFd = ::open(mountInfoPath, O_RDONLY | O_CLOEXEC);
    // Read after the descriptor is open: a change from here on also raises the notifier.
    const QStringList now = snapshot();
    m_volumes = toSet(now);
    if (m_mountTableFd >= 0) {
        m_notifier = new QSocketNotifier(m_mountTableFd, QSocketNotifier::Exception, this);
        connect(m_notifier, &QSocketNotifier::activated, this,
                &DriveWatcherPrivate::parseDeviceInfo);
        qCDebug(lcDevice) << "drive watcher: watching" << mountInfoPath;
    } else {
        m_pollTimer = new QTimer(this);
        connect(m_pollTimer, &QTimer::timeout, this, &DriveWatcherPrivate::parseDeviceInfo);
        m_pollTimer->start(pollIntervalMs);
        qCDebug(lcDevice) << "drive watcher: polling the mount table";
    }
    if (hasListedVolumes)
        reportSince(listedVolumes, now);
    return true;
}

bool DriveWatcherPrivate::stop()
{
    delete m_notifier;
    m_notifier = nullptr;
    delete m_pollTimer;
    m_pollTimer = nullptr;
    if (m_mountTableFd >= 0)
        ::close(m_mountTableFd);
    m_mountTableFd = -1;
    m_volumes.clear();
    return true;
}

void DriveWatcherPrivate::parseDeviceInfo()
{
    const QSet<QString> now = toSet(snapshot());
    if (now == m_volumes)
        return;
    const QStringList removed = sortedList(m_volumes - now);
    const QStringList added = sortedList(now - m_volumes);
    m_volumes = now;
    for (const QString& path : removed)
        qCDebug(lcDevice) << "drive watcher: remove" << path;
    for (const QString& path : added)
        qCDebug(lcDevice) << "drive watcher: add" << path;
    if (!removed.isEmpty())
        reportChanges(removed, QStringLiteral("remove"), DriveChangeEvent::Remove);
    if (!added.isEmpty())
        reportChanges(added, QStringLiteral("add"), DriveChangeEvent::Add);
}

QStringList DriveWatcherPrivate::mountedVolumes()
{
    return readVolumes(-1);
}

QStringList DriveWatcherPrivate::snapshot() const
{
    return volumeSource ? currentVolumes() : readVolumes(m_mountTableFd);
}
