#pragma once

#include "formats/displaysettings.h"
#include "formats/fileformat.h"

#include <QMap>
#include <QString>

// Extension (with its dot, case-sensitive) to format object; owns the objects.
class FileFormatRegistry
{
public:
    FileFormatRegistry() = default;
    ~FileFormatRegistry();
    FileFormatRegistry(const FileFormatRegistry&) = delete;
    FileFormatRegistry& operator=(const FileFormatRegistry&) = delete;

    void add(const QString& extension, FileFormat* format);
    // Registers every format the tool knows, in the order ".tkx", ".csv", ".gpx", ".kml",
    // ".gpl"; the CSV writer reads the display settings at each save.
    void addStandardFormats(const DisplaySettings* settings);
    FileFormat* findFormat(const QString& fileName) const;
    bool load(QVector<Track>& tracks, const QString& fileName);
    bool save(const QVector<Track>& tracks, QString fileName, QList<int> selection,
              bool markedOnly);
    // Why the last load or save failed, for the user.
    QString errorString() const { return m_errorString; }

private:
    QMap<QString, FileFormat*> m_formats;
    QString m_errorString;
};
