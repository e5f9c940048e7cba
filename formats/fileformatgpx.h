#pragma once

#include "formats/fileformat.h"
#include "formats/textoutput.h"

class QIODevice;

// GPX 1.1: one trk with one trkseg per track, times in UTC. Reads GPX 1.0 and 1.1: each trk
// (its segments joined) and each rte becomes a track; waypoints are left out.
// The document is written directly as the bytes that QXmlStreamWriter with auto-formatting
// produces for it (checked by the tests), at a fraction of its cost.
class FileFormatGPX : public FileFormat
{
public:
    bool load(QVector<Track>& tracks, const QString& fileName) override;
    bool save(QVector<Track> tracks, QString& fileName, QList<int> selection,
              bool markedOnly) override;
    // Appends the tracks of a GPX document read from an open device, as load() does.
    bool read(QVector<Track>& tracks, QIODevice& device);
    // The file's bytes, written to an open device; false when a write failed.
    static bool write(QIODevice* device, const QVector<Track>& tracks, const QList<int>& selection,
                      bool markedOnly, const char* lineEnd = platformLineEnd);

    static const char* const creator;

private:
    static void writeTrack(TextOutput& out, const Track& track, bool markedOnly);
    static void writePoint(TextOutput& out, const Vec3& point, int fmt);
};
