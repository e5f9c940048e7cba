#pragma once

#include "formats/displaysettings.h"
#include "formats/fileformat.h"

#include <QMap>
#include <QString>
#include <QStringList>

// Extension (with its dot) to format object; owns the objects. Saving looks the extension
// up case-sensitively; opening without regard to case, since a FAT drive shows short names
// in upper case.
class FileFormatRegistry
{
public:
    FileFormatRegistry() = default;
    ~FileFormatRegistry();
    FileFormatRegistry(const FileFormatRegistry&) = delete;
    FileFormatRegistry& operator=(const FileFormatRegistry&) = delete;

    void add(const QString& extension, FileFormat* format);
    // Registers every format the tool knows, in the order ".tkx", ".csv", ".gpx", ".kml",
    // ".gpl", ".nmea"; the CSV writer reads the display settings at each save. A file whose
    // extension is none of these is read by what its first bytes show.
    void addStandardFormats(const DisplaySettings* settings);
    FileFormat* findFormat(const QString& fileName,
                           Qt::CaseSensitivity cs = Qt::CaseSensitive) const;
    // The registered extension whose format the first bytes of a file show, or an empty
    // string.
    static QString sniffExtension(const QByteArray& head);
    bool load(QVector<Track>& tracks, const QString& fileName);
    // The extension is looked up as cs says (the converter wants it as registered).
    bool save(const QVector<Track>& tracks, QString fileName, QList<int> selection, bool markedOnly,
              Qt::CaseSensitivity cs = Qt::CaseSensitive);
    // The extensions (with their dots) of the formats that read, or write, in the order
    // they were registered.
    QStringList readableExtensions() const;
    QStringList writableExtensions() const;
    // Why the last load or save failed, for the user.
    QString errorString() const { return m_errorString; }
    // What the last successful load left out of a damaged file, for the user; empty when
    // nothing was lost.
    QString warningString() const { return m_warningString; }
    // What the last successful load left out on purpose, for the user; empty when nothing.
    QString noticeString() const { return m_noticeString; }

private:
    QMap<QString, FileFormat*> m_formats;
    QStringList m_order; // the extensions as registered
    QString m_errorString;
    QString m_warningString;
    QString m_noticeString;
};
