#include "formats/fileformat.h"

#include "formats/savefile.h"

#include <QCoreApplication>

bool FileFormat::saveThrough(const QString& fileName, const std::function<bool(QIODevice*)>& write)
{
    SaveFile file(fileName);
    if (file.open(QIODevice::WriteOnly) && write(&file) && file.commit())
        return true;
    setErrorString(QCoreApplication::translate("FileFormat", "The file cannot be written: %1")
                       .arg(file.errorString()));
    file.cancelWriting();
    return false;
}
