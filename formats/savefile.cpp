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
    return QSaveFile::open(mode);
}
