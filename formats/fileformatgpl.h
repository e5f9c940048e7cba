#pragma once

#include "formats/fileformat.h"

class QIODevice;

// Reader of the logger's own track log files (*.gpl): one file becomes one track,
// with unusable lines, repeated times and position jumps left out. Writing is not
// supported.
class FileFormatGPL : public FileFormat
{
public:
    bool load(QVector<Track>& tracks, const QString& fileName) override;
    bool save(QVector<Track> tracks, QString& fileName, QList<int> selection,
              bool markedOnly) override;

    // The track of one log, read from an open device (load() reads a file through it).
    static Track readTrack(QIODevice& device);

    // A log field (Latin-1 bytes) read as QString::toDouble reads it; 0 when it is not
    // a number.
    static double fieldToDouble(const char* field, int size);
};
