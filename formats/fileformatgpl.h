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
    bool canWrite() const override { return false; }

    // Appends the track of one log read from an open device, as load() does for a file;
    // false, with nothing appended, when the device fails.
    bool read(QVector<Track>& tracks, QIODevice& device);
};
