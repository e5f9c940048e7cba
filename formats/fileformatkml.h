#pragma once

#include "formats/fileformat.h"
#include "formats/textoutput.h"

class QIODevice;

// KML 2.2: one folder with one red ground-clamped line per track, named in local time.
// Reads each LineString and gx:Track (a gx:MultiTrack as one track), in folders too; single
// points are left out. Like the GPX writer, it writes the bytes of QXmlStreamWriter's
// auto-formatted output directly.
class FileFormatKML : public FileFormat
{
public:
    bool load(QVector<Track>& tracks, const QString& fileName) override;
    bool save(QVector<Track> tracks, QString& fileName, QList<int> selection,
              bool markedOnly) override;
    // Appends the tracks of a KML document read from an open device, as load() does.
    bool read(QVector<Track>& tracks, QIODevice& device);
    // The file's bytes, written to an open device; false when a write failed.
    static bool write(QIODevice* device, const QVector<Track>& tracks, const QList<int>& selection,
                      bool markedOnly, const char* lineEnd = platformLineEnd);
};
