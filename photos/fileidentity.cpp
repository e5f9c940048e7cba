#include "photos/fileidentity.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/xattr.h>
#endif
#include <cerrno>
#include <cstring>
#include <vector>
#endif

FileIdentity FileIdentity::of(const QString& path)
{
    FileIdentity id;
#ifdef _WIN32
    const QFileInfo info(path);
    id.exists = info.exists();
    id.regular = info.isFile();
    id.size = info.size();
    id.modifiedNs = info.lastModified().toMSecsSinceEpoch() * 1000000;
#else
    struct stat st;
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return id;
    id.exists = true;
    id.regular = S_ISREG(st.st_mode);
    id.device = quint64(st.st_dev);
    id.inode = quint64(st.st_ino);
    id.size = qint64(st.st_size);
    id.modifiedNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    id.links = quint64(st.st_nlink);
    id.owner = st.st_uid;
    id.group = st.st_gid;
#endif
    return id;
}

bool FileIdentity::sameAs(const FileIdentity& other) const
{
    return exists == other.exists && regular == other.regular && device == other.device &&
           inode == other.inode && size == other.size && modifiedNs == other.modifiedNs;
}

bool FileIdentity::copyOwnershipTo(const QString& path, QString* error) const
{
#ifdef _WIN32
    Q_UNUSED(path);
    Q_UNUSED(error);
    return true;
#else
    const FileIdentity now = of(path);
    if (now.owner == owner && now.group == group)
        return true;
    // Only root may give a file away; anyone may keep a group they belong to.
    if (::chown(QFile::encodeName(path).constData(), ::geteuid() == 0 ? owner : uid_t(-1), group) ==
            0 ||
        ::geteuid() != 0)
        return true;
    *error = QString::fromLocal8Bit(std::strerror(errno));
    return false;
#endif
}

bool FileIdentity::copyExtendedAttributes(const QString& from, const QString& to,
                                          QString* error) const
{
#ifdef __linux__
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    const ssize_t size = ::llistxattr(source.constData(), nullptr, 0);
    if (size <= 0)
        return true; // none, or none on this file system
    std::vector<char> names(size_t(size) + 1, '\0');
    const ssize_t listed = ::llistxattr(source.constData(), names.data(), names.size());
    for (ssize_t i = 0; i < listed; i += ssize_t(std::strlen(names.data() + i)) + 1) {
        const char* name = names.data() + i;
        const ssize_t length = ::lgetxattr(source.constData(), name, nullptr, 0);
        std::vector<char> value(size_t(qMax<ssize_t>(length, 0)) + 1);
        const ssize_t got = ::lgetxattr(source.constData(), name, value.data(), value.size());
        if (got < 0 || ::lsetxattr(target.constData(), name, value.data(), size_t(got), 0) != 0) {
            // Security labels and the like are the system's to set; the user's own must stay.
            if (std::strncmp(name, "user.", 5) != 0)
                continue;
            *error = QStringLiteral("%1: %2").arg(QString::fromLocal8Bit(name),
                                                  QString::fromLocal8Bit(std::strerror(errno)));
            return false;
        }
    }
    return true;
#else
    Q_UNUSED(from);
    Q_UNUSED(to);
    Q_UNUSED(error);
    return true;
#endif
}
