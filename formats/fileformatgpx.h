#pragma once

#include "formats/fileformat.h"

class TextOutput;

// GPX 1.1: one trk with one trkseg per track, times in UTC. Write only.
// The document is written directly as the bytes that QXmlStreamWriter with auto-formatting
// produces for it (checked by the tests), at a fraction of its cost.
class FileFormatGPX : public FileFormat
{
public:
    bool load(QVector<Track>& tracks, const QString& fileName) override;
    bool save(QVector<Track> tracks, QString& fileName, QList<int> selection,
              bool markedOnly) override;

    static const char* const creator;

private:
    static void writeTrack(TextOutput& out, const Track& track, bool markedOnly);
    static void writePoint(TextOutput& out, const Vec3& point, int fmt);
};
