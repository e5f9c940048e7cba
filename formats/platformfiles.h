#pragma once

#include <QString>

// The few file system calls Qt does not offer, with a branch per system.
class PlatformFiles
{
public:
    // How many names (hard links) the file at path has; 1 when that cannot be told.
    static int linkCount(const QString& path);

    // Gives the open file fd (a replacement being written) what the file at original carries
    // besides its content: the owner (only root can give a file away) and group, the
    // permission bits, and the extended attributes (ACLs, labels, the user's own). What the
    // system refuses is left as it is; false, with the reason in *problem, only when the
    // original cannot be examined at all.
    static bool copyAttributes(const QString& original, int fd, QString* problem);

    // Makes a write beyond the file size limit ("ulimit -f") fail with EFBIG, as any other
    // failed write, instead of killing the process with SIGXFSZ.
    static void ignoreFileSizeSignal();
};
