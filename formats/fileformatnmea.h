#pragma once

#include "formats/fileformat.h"

#include <QString>

class QIODevice;

// Reader of NMEA 0183 logs: each RMC sentence (date, time, position, speed) becomes a point,
// with the altitude of a GGA sentence of the same second; any talker. Lines whose checksum
// is wrong are skipped. A new track starts where the time goes backwards or pauses longer
// than the track gap. Writing is not supported.
class FileFormatNMEA : public FileFormat
{
public:
    bool load(QVector<Track>& tracks, const QString& fileName) override;
    bool save(QVector<Track> tracks, QString& fileName, QList<int> selection,
              bool markedOnly) override;
    bool read(QVector<Track>& tracks, QIODevice& device);

    // The process-wide track gap in seconds (default 60), and "NMEA_track_gap" of the
    // INI file, read into it; returns the new gap.
    static int trackGap();
    static void setTrackGap(int seconds);
    static int readSettingFile(const QString& path = QStringLiteral("./Setting.ini"));

    static const int defaultTrackGap = 60;
};
