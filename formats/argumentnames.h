#pragma once

#include <QSet>
#include <QString>

// File names given on the command line whose bytes are no text in the system's encoding
// (a name written on another system, in another encoding). Qt hands such an argument on
// with replacement characters, so it names no file: the file can be neither opened nor
// told apart from one that does not exist, unless the name is recognised here.
class ArgumentNames
{
public:
    // The arguments among argv[0] to argv[argc - 1] that cannot be read, in the form that
    // QCoreApplication::arguments() gives them.
    static QSet<QString> unreadable(int argc, const char* const* argv);
    // The reason to give for such a name, of a file to read or (output) to write.
    static QString reason(bool output = false);
};
