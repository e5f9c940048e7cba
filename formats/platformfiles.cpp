#include "formats/platformfiles.h"

#include "formats/formatslog.h"

#include <QFile>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/xattr.h>
#endif
#endif

#include <vector>

#ifdef _WIN32

int PlatformFiles::linkCount(const QString& path)
{
    const HANDLE h =
        CreateFileW(reinterpret_cast<const wchar_t*>(path.utf16()), 0,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return 1;
    BY_HANDLE_FILE_INFORMATION info;
    const bool ok = GetFileInformationByHandle(h, &info) != 0;
    CloseHandle(h);
    return ok && info.nNumberOfLinks > 1 ? int(info.nNumberOfLinks) : 1;
}

bool PlatformFiles::copyAttributes(const QString& original, int fd, QString* problem, Keep keep)
{
    // Qt keeps the permissions; the owner follows the folder, as Windows does for any new file.
    Q_UNUSED(original);
    Q_UNUSED(fd);
    Q_UNUSED(keep);
    problem->clear();
    return true;
}

void PlatformFiles::ignoreFileSizeSignal() {}

#else

namespace
{

#ifdef __linux__
// Attribute names, NUL-separated, or an empty list when there are none or they cannot be read.
std::vector<char> attributeNames(const QByteArray& path)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        const ssize_t size = ::listxattr(path.constData(), nullptr, 0);
        if (size <= 0)
            return {};
        std::vector<char> names(static_cast<size_t>(size));
        const ssize_t got = ::listxattr(path.constData(), names.data(), names.size());
        if (got >= 0) {
            names.resize(size_t(got));
            return names;
        }
        if (errno != ERANGE) // else the list grew meanwhile
            return {};
    }
    return {};
}

bool copyExtendedAttributes(const QByteArray& path, int fd, PlatformFiles::Keep keep,
                            QString* problem)
{
    const std::vector<char> names = attributeNames(path);
    std::vector<char> value;
    for (size_t at = 0; at < names.size(); at += std::strlen(names.data() + at) + 1) {
        const char* name = names.data() + at;
        const ssize_t size = ::getxattr(path.constData(), name, nullptr, 0);
        if (size < 0)
            continue;
        value.resize(size_t(size) + 1);
        const ssize_t got = ::getxattr(path.constData(), name, value.data(), size_t(size));
        if (got >= 0 && ::fsetxattr(fd, name, value.data(), size_t(got), 0) == 0)
            continue;
        // Security labels and the like are the system's to set; the user's own are not.
        if (keep == PlatformFiles::Keep::OwnerAndUserAttributes &&
            std::strncmp(name, "user.", 5) == 0) {
            *problem = QStringLiteral("%1: %2").arg(QString::fromLocal8Bit(name),
                                                    QString::fromLocal8Bit(std::strerror(errno)));
            return false;
        }
        qCWarning(lcFormats) << "extended attribute" << name << "not kept:" << std::strerror(errno);
    }
    return true;
}
#endif

} // namespace

int PlatformFiles::linkCount(const QString& path)
{
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return 1;
    return st.st_nlink > 1 ? int(st.st_nlink) : 1;
}

bool PlatformFiles::copyAttributes(const QString& original, int fd, QString* problem, Keep keep)
{
    problem->clear();
    const QByteArray path = QFile::encodeName(original);
    struct stat st;
    if (::stat(path.constData(), &st) != 0) {
        if (errno == ENOENT) // a new file: nothing to keep
            return true;
        *problem = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    // Root gives the file back to its owner; anyone may keep a group of theirs. Changing the
    // owner clears the set-id bits, so the mode comes after it.
    const uid_t owner = ::geteuid() == 0 ? st.st_uid : uid_t(-1);
    if (::fchown(fd, owner, st.st_gid) != 0 && owner != uid_t(-1)) {
        if (keep == Keep::OwnerAndUserAttributes) {
            *problem = QString::fromLocal8Bit(std::strerror(errno));
            return false;
        }
        qCWarning(lcFormats) << original << "owner not kept:" << std::strerror(errno);
    }
    if (::fchmod(fd, st.st_mode & 07777) != 0)
        qCWarning(lcFormats) << original << "permissions not kept:" << std::strerror(errno);
#ifdef __linux__
    return copyExtendedAttributes(path, fd, keep, problem);
#else
    return true;
#endif
}

void PlatformFiles::ignoreFileSizeSignal()
{
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

#endif
