#include "formats/savefile.h"

#include "formats/platformfiles.h"

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
    // Replacing one name of a file with several would leave the others with the old content.
    const int names = info.isFile() ? PlatformFiles::linkCount(fileName()) : 1;
    if (names > 1) {
        setErrorString(QCoreApplication::translate(
                           "SaveFile", "%1 has %2 names (hard links), and saving would part it "
                                       "from the others. Save it under another name.")
                           .arg(QDir::toNativeSeparators(fileName()))
                           .arg(names));
        return false;
    }
    // Unbuffered, so that every failure shows where it happens: a write buffered until
    // commit() fails there with its reason already cleared by closing.
    if (!QSaveFile::open(mode | QIODevice::Unbuffered))
        return false;
    QString problem;
    if (!PlatformFiles::copyAttributes(fileName(), handle(), &problem)) {
        cancelWriting(); // the temporary file goes with this object
        setErrorString(problem);
        return false;
    }
    return true;
}

qint64 SaveFile::writeData(const char* data, qint64 length)
{
    return writeWhole(data, length,
                      [this](const char* d, qint64 n) { return QSaveFile::writeData(d, n); });
}
