#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QFileDevice>
#include <QString>

#include "photos/fileidentity.h"

class QFile;

// Replaces a file only once its new content is complete: the content goes to a hidden
// temporary file in the same folder, which then takes the old file's place in one rename.
// Whatever fails on the way (a full drive, a folder that cannot be written, a file that
// vanished, was replaced or cannot be read), the old file stays as it was and no temporary
// file is left. A file with more than one name (hard links) is not replaced: that would split
// it.
class FileReplacer
{
    Q_DECLARE_TR_FUNCTIONS(FileReplacer)

public:
    struct Attributes {
        bool keepPermissions = false;
        QFileDevice::Permissions permissions;
        QDateTime modified; // invalid: the time of writing
        // The file as it was read: it is replaced only while it is still that file, and it
        // keeps its owner, group and extended attributes. Not set: a new file.
        FileIdentity identity;
    };

    // The new content is head followed by the content of source from restFrom on (source
    // may be null), then tail. target must exist unless mayCreate; false with the reason
    // otherwise.
    static bool replace(const QString& target, const QByteArray& head, QFile* source,
                        qint64 restFrom, const Attributes& attributes, bool mayCreate,
                        QString* error, const QByteArray& tail = QByteArray());

    // Keeps the file at path also as copyPath: a second name for the same file where the
    // file system allows it (nothing is copied), else a copy with the same permissions and
    // modification time. An existing copyPath is left as it is.
    static bool keepCopy(const QString& path, const QString& copyPath, const Attributes& attributes,
                         QString* error);

    static Attributes attributesOf(const QString& path);
};
