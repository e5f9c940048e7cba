#include "formats/savefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

bool SaveFile::open(OpenMode mode)
{
    const QFileInfo info(fileName());
    if (info.exists() && !info.isFile() && !info.isDir()) {
        setErrorString(QCoreApplication::translate("SaveFile", "%1 is not a regular file.")
                           .arg(QDir::toNativeSeparators(fileName())));
        return false;
    }
    if (mode & QIODevice::Text) {
        setErrorString(QStringLiteral("SaveFile: text mode is not supported"));
        return false;
    }
    // Unbuffered, so that every failure shows where it happens: a write buffered until
    // commit() fails there with its reason already cleared by closing.
    return QSaveFile::open(mode | QIODevice::Unbuffered);
}

qint64 SaveFile::writeData(const char* data, qint64 length)
{
    return writeWhole(data, length,
                      [this](const char* d, qint64 n) { return QSaveFile::writeData(d, n); });
}
