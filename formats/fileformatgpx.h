#pragma once

#include "formats/fileformat.h"
#include "formats/textoutput.h"

class QIODevice;

// GPX 1.1: one trk with one trkseg per track, times in UTC. Write only.
// The document is written directly as the bytes that QXmlStreamWriter with auto-formatting
// produces for it (checked by the tests), at a fraction of its cost.
class FileFormatGPX : public FileFormat
{
public:
    bool load(QVector<Track>& tracks, const QString& fileName) override;
    bool save(QVector<Track> tracks, QString& fileName, QList<int> selection,
              bool markedOnly) override;
    bool canRead() const override { return false; }
    // The file's bytes, written to an open device; false when a write failed.
    static bool write(QIODevice* device, const QVector<Track>& tracks, const QList<int>& selection,
                      bool markedOnly, const char* lineEnd = platformLineEnd);

    static const char* const creator;

private:
    static void writeTrack(TextOutput& out, const Track& track, bool markedOnly);
    static void writePoint(TextOutput& out, const Vec3& point, int fmt);
};
