#include "photos/fileidentity.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
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
#endif
    return id;
}

bool FileIdentity::sameAs(const FileIdentity& other) const
{
    return exists == other.exists && regular == other.regular && device == other.device &&
           inode == other.inode && size == other.size && modifiedNs == other.modifiedNs;
}
