#pragma once

#include "formats/displaysettings.h"
#include "formats/fileformat.h"
#include "formats/textoutput.h"

class QIODevice;

// Comma-separated points for spreadsheets, in the units and time zone chosen at the moment
// of saving. Reads files whose first line names the columns of latitude and longitude (and
// perhaps altitude, speed, date and time), this writer's own among them, as one track.
class FileFormatCSV : public FileFormat
{
public:
    explicit FileFormatCSV(const DisplaySettings* settings);

    bool load(QVector<Track>& tracks, const QString& fileName) override;
    bool save(QVector<Track> tracks, QString& fileName, QList<int> selection,
              bool markedOnly) override;
    bool read(QVector<Track>& tracks, QIODevice& device);
    // Which column names the reader looks for, for the user.
    static QString lookedForText();
    // The file's bytes, written to an open device; false when a write failed.
    bool write(QIODevice* device, const QVector<Track>& tracks, const QList<int>& selection,
               bool markedOnly, const char* lineEnd = platformLineEnd) const;

private:
    const DisplaySettings* m_settings;
};
