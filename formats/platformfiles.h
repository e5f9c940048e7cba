#pragma once

#include <QString>

// The few file system calls Qt does not offer, with a branch per system.
class PlatformFiles
{
public:
    // How many names (hard links) the file at path has; 1 when that cannot be told.
    static int linkCount(const QString& path);

    // How much of a file's attributes must be kept for its replacement to go ahead.
    enum class Keep {
        // What the system refuses is left as it is (a saved track file).
        AsFarAsAllowed,
        // The owner (where the process is root) and the user's own extended attributes
        // (desktop tags, ratings) must be kept: a photo is the user's and stays so whole.
        OwnerAndUserAttributes,
    };

    // Gives the open file fd (a replacement being written) what the file at original carries
    // besides its content: the owner (only root can give a file away) and group, the
    // permission bits, and the extended attributes (ACLs, labels, the user's own). False,
    // with the reason in *problem, when the original cannot be examined, or when keep asks
    // for what could not be kept.
    static bool copyAttributes(const QString& original, int fd, QString* problem,
                               Keep keep = Keep::AsFarAsAllowed);

    // Makes a write beyond the file size limit ("ulimit -f") fail with EFBIG, as any other
    // failed write, instead of killing the process with SIGXFSZ.
    static void ignoreFileSizeSignal();
};
