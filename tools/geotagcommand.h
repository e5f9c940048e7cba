#pragma once

#include "photos/geotagmatcher.h"
#include "photos/photowriter.h"
#include "view/track.h"

#include <QCommandLineOption>
#include <QList>
#include <QStringList>
#include <QVector>

class QCommandLineParser;

// The converter's --geotag command: writes positions from the tracks read into photos and
// prints one tab-separated line per photo (file, UTC time, latitude, longitude, altitude,
// status). Exit status 0 when every photo was tagged or skipped as asked (not matched,
// already positioned), 1 when a photo could not be read or written.
class GeotagCommand
{
public:
    // Takes "--geotag" and the photos and folders after it (up to the next option) out of
    // arguments, which the option parser cannot keep apart from the track files.
    void takePhotos(QStringList& arguments);
    static QList<QCommandLineOption> options();
    // Reads the command's options; false with the reason for a usage error.
    bool setUp(const QCommandLineParser& parser, QString* error);
    bool isRequested() const { return m_requested; }
    int run(const QVector<Track>& tracks, const QList<int>& selection) const;

private:
    bool m_requested = false;
    QStringList m_photos;
    GeotagMatcher::Settings m_settings;
    PhotoWriter::Options m_writeOptions;
    bool m_dryRun = false;
};
