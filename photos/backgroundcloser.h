#pragma once

#include <QtGlobal>

class QFile;

// Closing the last handle of a file that was just replaced frees its blocks and cached pages,
// which on some file systems takes as long as copying it did. Handed over here, that happens
// on a thread of its own while the next photo is written.
class BackgroundCloser
{
public:
    // Takes over the file's handle and closes it later; file itself is closed at once
    // (cheaply, as the handle lives on). Where this cannot be done, file is simply closed.
    static void close(QFile& file);
    // Waits until every handle handed over so far is closed.
    static void drain();
};
