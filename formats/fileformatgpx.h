#pragma once

#include "formats/fileformat.h"
#include "formats/textoutput.h"

class QIODevice;

// GPX 1.1: one trk with one trkseg per track, times in UTC. Reads GPX 1.0 and 1.1: each trk
// (its segments joined) and each rte becomes a track; waypoints are left out. A file is read
// by GpxScanner where it is plain XML, as GPX files nearly always are, else by
// QXmlStreamReader behind an XmlInputGuard; both give the same tracks and messages.
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

    // Which reader reads a document: the scanner of plain GPX, falling back on the full XML
    // reader for whatever else it meets (the default), or the full reader alone.
    enum class Parser { Scanner, FullXml };
    void setParser(Parser parser) { m_parser = parser; }
    // The reader that gave the last read() its result.
    Parser lastParser() const { return m_lastParser; }
    // The file's bytes, written to an open device; false when a write failed.
    static bool write(QIODevice* device, const QVector<Track>& tracks, const QList<int>& selection,
                      bool markedOnly, const char* lineEnd = platformLineEnd);

    static const char* const creator;

private:
    // False when the scanner gave up on the document (*ok is then unset).
    bool readPlain(QVector<Track>& tracks, QIODevice& device, bool* ok);
    bool readXml(QVector<Track>& tracks, QIODevice& device);
    // The result of a read that reached the document's end.
    bool finishRead(QVector<Track>& tracks, const QVector<Track>& read, int waypoints);
    static void writeTrack(TextOutput& out, const Track& track, bool markedOnly);
    static void writePoint(TextOutput& out, const Vec3& point, int fmt);

    Parser m_parser = Parser::Scanner;
    Parser m_lastParser = Parser::Scanner;
};
