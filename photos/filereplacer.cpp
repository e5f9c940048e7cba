#include "photos/filereplacer.h"
#include "formats/platformfiles.h"
#include "formats/formatslog.h"
#include "formats/savefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#ifdef Q_OS_LINUX
#include <unistd.h>
#endif
#ifndef _WIN32
#include <csignal>
#include <ctime>
#include <pthread.h>
#endif

namespace
{

std::filesystem::path nativePath(const QString& path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

QString systemMessage(const std::error_code& code)
{
    return QString::fromLocal8Bit(code.message().c_str());
}

// Unbuffered, and a write that stops half-way fails with its reason, as the writers' files do.
class TemporaryFile : public QTemporaryFile
{
public:
    using QTemporaryFile::QTemporaryFile;
    bool openUnbuffered() { return open(QIODevice::ReadWrite | QIODevice::Unbuffered); }

protected:
    qint64 writeData(const char* data, qint64 length) override
    {
        return writeWhole(data, length, [this](const char* d, qint64 n) {
            return QTemporaryFile::writeData(d, n);
        });
    }
};

// While it lives, a write beyond the size limit of the process ("ulimit -f") fails with "File
// too large" in this thread instead of killing the process with SIGXFSZ.
class FileSizeSignalGuard
{
public:
    FileSizeSignalGuard()
    {
#ifndef _WIN32
        sigset_t set;
        sigemptyset(&set);
        sigaddset(&set, SIGXFSZ);
        pthread_sigmask(SIG_BLOCK, &set, &m_saved);
#endif
    }
    ~FileSizeSignalGuard()
    {
#ifndef _WIN32
        // A signal raised meanwhile is taken here, so that unblocking does not deliver it.
        sigset_t set;
        sigemptyset(&set);
        sigaddset(&set, SIGXFSZ);
        const timespec now{0, 0};
        while (sigtimedwait(&set, nullptr, &now) == SIGXFSZ) {
        }
        pthread_sigmask(SIG_SETMASK, &m_saved, nullptr);
#endif
    }
    FileSizeSignalGuard(const FileSizeSignalGuard&) = delete;
    FileSizeSignalGuard& operator=(const FileSizeSignalGuard&) = delete;

private:
#ifndef _WIN32
    sigset_t m_saved;
#endif
};

enum class Copied { All, Failed, NotHere };

// The rest of a file copied by the system without passing through this process (as cp does),
// where the system offers that for these two files.
Copied systemCopy(QFile& from, qint64 offset, QFile& to, QString* error)
{
#ifdef Q_OS_LINUX
    loff_t in = offset;
    bool any = false;
    for (;;) {
        const ssize_t n = ::copy_file_range(from.handle(), &in, to.handle(), nullptr, 1 << 30, 0);
        if (n == 0)
            return Copied::All;
        if (n > 0) {
            any = true;
            continue;
        }
        if (errno == EINTR)
            continue;
        if (!any && (errno == ENOSYS || errno == EXDEV || errno == EINVAL || errno == EOPNOTSUPP ||
                     errno == EBADF))
            return Copied::NotHere;
        *error = QString::fromLocal8Bit(std::strerror(errno));
        return Copied::Failed;
    }
#else
    Q_UNUSED(from);
    Q_UNUSED(offset);
    Q_UNUSED(to);
    Q_UNUSED(error);
    return Copied::NotHere;
#endif
}

} // namespace

FileReplacer::Attributes FileReplacer::attributesOf(const QString& path)
{
    const QFileInfo info(path);
    Attributes a;
    a.keepPermissions = info.exists();
    a.permissions = info.permissions();
    a.modified = info.lastModified();
    a.identity = FileIdentity::of(path);
    return a;
}

bool FileReplacer::replace(const QString& target, const QByteArray& head, QFile* source,
                           qint64 restFrom, const Attributes& attributes, bool mayCreate,
                           QString* error, const QByteArray& tail)
{
    if (attributes.identity.exists && attributes.identity.links > 1) {
        *error = tr("It has %1 names (hard links), which replacing it would split; it is left "
                    "as it is.")
                     .arg(attributes.identity.links);
        return false;
    }
    const FileSizeSignalGuard guard;
    const QFileInfo info(target);
    TemporaryFile temp(
        info.dir().filePath(QStringLiteral(".") + info.fileName() + QStringLiteral(".XXXXXX")));
    if (!temp.openUnbuffered()) {
        *error = tr("No temporary file can be made beside it: %1").arg(temp.errorString());
        return false;
    }
    const auto writeAll = [&temp](const char* data, qint64 size) {
        return size == 0 || temp.write(data, size) == size;
    };
    if (!writeAll(head.constData(), head.size()) || !temp.flush()) {
        *error = tr("It cannot be written: %1").arg(temp.errorString());
        return false;
    }
    QString reason;
    const Copied copied = source ? systemCopy(*source, restFrom, temp, &reason) : Copied::All;
    if (copied == Copied::Failed) {
        *error = tr("It cannot be copied: %1").arg(reason);
        return false;
    }
    // Else the unchanged rest goes across in large blocks.
    if (copied == Copied::NotHere && !source->seek(restFrom)) {
        *error = tr("It cannot be read: %1").arg(source->errorString());
        return false;
    }
    QByteArray block(copied == Copied::NotHere ? 1 << 20 : 0, Qt::Uninitialized);
    while (!block.isEmpty()) {
        const qint64 n = source->read(block.data(), block.size());
        if (n < 0) {
            *error = tr("It cannot be read: %1").arg(source->errorString());
            return false;
        }
        if (n == 0)
            break;
        if (!writeAll(block.constData(), n)) {
            *error = tr("It cannot be written: %1").arg(temp.errorString());
            return false;
        }
    }
    if (!tail.isEmpty() && (!temp.seek(temp.size()) || !writeAll(tail.constData(), tail.size()))) {
        *error = tr("It cannot be written: %1").arg(temp.errorString());
        return false;
    }
    if (!temp.flush()) {
        *error = tr("It cannot be written: %1").arg(temp.errorString());
        return false;
    }
    // A new file is readable by all, as files the tool saves are; the temporary file is not.
    temp.setPermissions(attributes.keepPermissions
                            ? attributes.permissions
                            : QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                  QFileDevice::ReadUser | QFileDevice::WriteUser |
                                  QFileDevice::ReadGroup | QFileDevice::ReadOther);
    // Set last: every write before it would move the time again.
    if (attributes.modified.isValid() &&
        !temp.setFileTime(attributes.modified, QFileDevice::FileModificationTime))
        qCDebug(lcFormats) << "modification time not kept for" << target << temp.errorString();
    QString problem;
    if (attributes.identity.exists &&
        !PlatformFiles::copyAttributes(target, int(temp.handle()), &problem,
                                       PlatformFiles::Keep::OwnerAndUserAttributes)) {
        *error = tr("Its owner or attributes cannot be kept: %1").arg(problem);
        return false;
    }
    temp.close();
    if (!mayCreate && !QFileInfo::exists(target)) {
        *error = tr("The file is no longer there.");
        return false;
    }
    if (attributes.identity.exists && !FileIdentity::of(target).sameAs(attributes.identity)) {
        *error = tr("Another program changed, replaced or removed it meanwhile; it is left as "
                    "it is.");
        return false;
    }
    std::error_code code;
    std::filesystem::rename(nativePath(temp.fileName()), nativePath(target), code);
    if (code) {
        *error = tr("It cannot be replaced: %1").arg(systemMessage(code));
        return false;
    }
    temp.setAutoRemove(false);
    return true;
}

bool FileReplacer::keepCopy(const QString& path, const QString& copyPath,
                            const Attributes& attributes, QString* error)
{
    if (QFileInfo::exists(copyPath))
        return true;
    std::error_code code;
    std::filesystem::create_hard_link(nativePath(path), nativePath(copyPath), code);
    if (!code)
        return true;
    // No hard links here (FAT, for instance): a copy.
    QFile source(path);
    Attributes copyAttributes = attributes;
    copyAttributes.identity = FileIdentity();
    if (!source.open(QIODevice::ReadOnly) ||
        !replace(copyPath, QByteArray(), &source, 0, copyAttributes, true, error)) {
        *error = tr("No copy of the original can be kept: %1")
                     .arg(source.isOpen() ? *error : source.errorString());
        return false;
    }
    return true;
}
