#pragma once

#include "photos/camerazone.h"
#include "photos/geotagmatch.h"
#include "photos/photoinfo.h"
#include "view/track.h"

#include <QList>
#include <QVector>

// Finds where photos were taken on the chosen tracks: their points merged in time order, a
// photo's time placed between the two consecutive points that enclose it, and its position
// interpolated linearly in time.
class GeotagMatcher
{
public:
    struct Settings {
        CameraZone zone; // read for photos that record no offset of their own
        // How far the camera's clock was ahead, in seconds (negative: behind).
        double clockErrorSeconds = 0.0;
        // Points further apart than this give no position in between.
        int maxGapSeconds = 60;
    };

    GeotagMatcher() = default;
    // The points of tracks[selection]; points without a time are left out.
    GeotagMatcher(const QVector<Track>& tracks, const QList<int>& selection);

    int pointCount() const { return m_points.size(); }

    // The photo's capture time in UTC: in its own offset, else in the camera zone, minus the
    // clock error. Only for a photo that has a time.
    static qint64 photoUtcMs(const PhotoInfo& photo, const Settings& settings);
    GeotagMatch match(const PhotoInfo& photo, const Settings& settings) const;
    GeotagMatch locate(qint64 utcMs, int maxGapSeconds) const;

    // "yyyy-MM-dd hh:mm:ss", with ".zzz" when the milliseconds are not 0.
    static QString timeText(qint64 ms, QChar separator = QLatin1Char(' '));

private:
    struct Point {
        qint64 timeMs;
        double lat;
        double lon;
        double alt;
        bool hasAltitude;
    };
    QVector<Point> m_points; // ascending time
};
