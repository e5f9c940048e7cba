#pragma once

#include <QString>
#include <QtGlobal>

// What tells one file from another that took its name: device, inode, size and modification
// time, read without following a last link; its number of names. On Windows only
// the size and time are compared.
struct FileIdentity {
    bool exists = false;
    bool regular = false;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    quint64 links = 1;

    static FileIdentity of(const QString& path);
    bool sameAs(const FileIdentity& other) const;
};
