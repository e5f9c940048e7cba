#pragma once

#include "formats/fileformat.h"

class QFile;
class QIODevice;

// The TKX track archive: header, index and one block per track, little-endian.
// Writes version 2; reads versions 1 and 2.
class FileFormatTKR : public FileFormat
{
public:
    FileFormatTKR();
    // For archives of version 1, whose times are local: seconds of local time minus UTC.
    explicit FileFormatTKR(qint32 localUtcOffset);

    bool load(QVector<Track>& tracks, const QString& fileName) override;
    bool save(QVector<Track> tracks, QString& fileName, QList<int> selection,
              bool markedOnly) override;
    // The archive's bytes, written to an open device; false when a write failed.
    static bool write(QIODevice* device, const QVector<Track>& tracks, const QList<int>& selection,
                      bool markedOnly);

    static qint32 currentLocalUtcOffset();

    static const int headerSize = 108;
    static const int indexEntrySize = 12;
    static const int pointRecordSize = 48;

private:
    bool read(QVector<Track>& tracks, QFile& file);

    qint32 m_localUtcOffset;
};
