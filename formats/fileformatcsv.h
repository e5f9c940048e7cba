#pragma once

#include "formats/displaysettings.h"
#include "formats/fileformat.h"

// Comma-separated points for spreadsheets, in the units and time zone chosen at the moment
// of saving. Write only.
class FileFormatCSV : public FileFormat
{
public:
    explicit FileFormatCSV(const DisplaySettings* settings);

    bool load(QVector<Track>& tracks, const QString& fileName) override;
    bool save(QVector<Track> tracks, QString& fileName, QList<int> selection,
              bool markedOnly) override;

private:
    const DisplaySettings* m_settings;
};
