#pragma once

#include "formats/fileformat.h"
#include "formats/textoutput.h"

class QIODevice;

// KML 2.2: one folder with one red ground-clamped line per track, named in local time.
// Write only. Like the GPX writer, it writes the bytes of QXmlStreamWriter's
// auto-formatted output directly.
class FileFormatKML : public FileFormat
{
public:
    bool load(QVector<Track>& tracks, const QString& fileName) override;
    bool save(QVector<Track> tracks, QString& fileName, QList<int> selection,
              bool markedOnly) override;
    bool canRead() const override { return false; }
    // The file's bytes, written to an open device; false when a write failed.
    static bool write(QIODevice* device, const QVector<Track>& tracks, const QList<int>& selection,
                      bool markedOnly, const char* lineEnd = platformLineEnd);
};
