#pragma once

#include <QString>
#include <QtGlobal>

// What tells one file from another that took its name: device, inode, size and modification
// time, read without following a last link; its number of names; its owner. On Windows only
// the size and time are compared, and ownership and extended attributes are left to the system.
struct FileIdentity {
    bool exists = false;
    bool regular = false;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    quint64 links = 1;
    quint32 owner = 0;
    quint32 group = 0;

    static FileIdentity of(const QString& path);
    bool sameAs(const FileIdentity& other) const;

    // Gives the file at path this file's owner and group (where the process may) and its
    // extended attributes; false with the reason when one of them cannot be kept.
    bool copyOwnershipTo(const QString& path, QString* error) const;
    bool copyExtendedAttributes(const QString& from, const QString& to, QString* error) const;
};
