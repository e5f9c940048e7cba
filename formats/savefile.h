#pragma once

#include <QSaveFile>

// The QSaveFile every writer uses, with three mendings:
// - it refuses to stand in for a device, pipe or socket: committing would put a regular
//   file in the place of the node (and report success, also for /dev/full);
// - a write that stops half-way (a full drive, the file size limit) fails with the reason,
//   where QSaveFile reports a short count without one and later a nameless error.
// - the saved file keeps the owner (when root saves it), group, permissions and extended
//   attributes of the file it replaces, and a file with several names (hard links) is not
//   replaced at all, which would split it.
// It is unbuffered and refuses text mode: writers hand it whole blocks with their own line
// ends (TextOutput), each of which goes to the file in one call. In text mode Qt on Windows
// would write every line and every line end in a call of its own.
// Writes what a short write left, again and again: the call that then writes nothing
// brings out the error that stopped the first (a full drive, the file size limit), where
// Qt's file device reports a short count without a reason. write(data, length) is a
// device's writeData.
template <typename Write> qint64 writeWhole(const char* data, qint64 length, Write write)
{
    qint64 done = 0;
    while (done < length) {
        const qint64 written = write(data + done, length - done);
        if (written < 0)
            return -1;
        if (written == 0)
            break;
        done += written;
    }
    return done;
}

class SaveFile : public QSaveFile
{
public:
    explicit SaveFile(const QString& name) : QSaveFile(name) {}
    bool open(OpenMode mode) override;

protected:
    qint64 writeData(const char* data, qint64 length) override;
};
