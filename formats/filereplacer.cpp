#include "formats/filereplacer.h"
#include "formats/formatslog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <filesystem>
#include <system_error>

namespace
{

QString tr(const char* text)
{
    return QCoreApplication::translate("FileReplacer", text);
}

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

} // namespace

FileReplacer::Attributes FileReplacer::attributesOf(const QString& path)
{
    const QFileInfo info(path);
    Attributes a;
    a.keepPermissions = info.exists();
    a.permissions = info.permissions();
    a.modified = info.lastModified();
    return a;
}

bool FileReplacer::replace(const QString& target, const char* data, qint64 size,
                           const Attributes& attributes, bool mayCreate, QString* error)
{
    const QFileInfo info(target);
    QTemporaryFile temp(
        info.dir().filePath(QStringLiteral(".") + info.fileName() + QStringLiteral(".XXXXXX")));
    if (!temp.open()) {
        *error = tr("No temporary file can be made beside it: %1").arg(temp.errorString());
        return false;
    }
    qint64 done = 0;
    while (done < size) {
        const qint64 written = temp.write(data + done, size - done);
        if (written <= 0)
            break;
        done += written;
    }
    if (done < size || !temp.flush()) {
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
    temp.close();
    if (!mayCreate && !info.exists()) {
        *error = tr("The file is no longer there.");
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

bool FileReplacer::keepCopy(const QString& path, const QString& copyPath, const QByteArray& content,
                            const Attributes& attributes, QString* error)
{
    if (QFileInfo::exists(copyPath))
        return true;
    std::error_code code;
    std::filesystem::create_hard_link(nativePath(path), nativePath(copyPath), code);
    if (!code)
        return true;
    // No hard links here (FAT, for instance): a copy from the content already read.
    if (!replace(copyPath, content.constData(), content.size(), attributes, true, error)) {
        *error = tr("No copy of the original can be kept: %1").arg(*error);
        return false;
    }
    return true;
}
