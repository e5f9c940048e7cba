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
    // Writing the rest of a short write brings out the error that stopped it.
    qint64 done = 0;
    while (done < length) {
        const qint64 written = QSaveFile::writeData(data + done, length - done);
        if (written < 0)
            return -1;
        if (written == 0)
            break;
        done += written;
    }
    return done;
}
