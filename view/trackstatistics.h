#pragma once

#include "formats/displaysettings.h"
#include "view/track.h"

#include <QCoreApplication>
#include <QPair>
#include <QString>
#include <QVector>

// The figures of one track, computed once from its points and formatted on demand.
//
// Times are the low 32 bits of the stored times, as every list reads them; points
// without a time (0) take no part in the times. An interval between consecutive
// points counts as moving when its great-circle distance over its time difference
// exceeds 1 km/h; intervals whose time difference is not positive, or that touch a
// point without a time, add nothing to the moving time but still add their distance.
// Ascent and descent count a climb or a descent only once it reaches AscentThreshold from
// the last turning point (hysteresis), so that altitude noise does not add up on a flat
// track. Speed and altitude figures exist only for tracks that record them (fmt 2).
class TrackStatistics
{
    Q_DECLARE_TR_FUNCTIONS(TrackStatistics)

public:
    static constexpr double EarthRadius = 6371008.8; // mean radius, metres
    static constexpr double MovingSpeedKmh = 1.0;
    // Metres. The logger's altitude wanders by several metres from one fix to the next and
    // by up to about 10 m over minutes while standing still (vertical error of a consumer
    // receiver is about 1.5 times its horizontal one); 12 m stays above that noise and is
    // still small against the climbs worth counting.
    static constexpr double AscentThreshold = 12.0;

    static TrackStatistics compute(const Track& track);
    static TrackStatistics compute(const QVector<Vec3>& points, int fmt);
    static QVector<TrackStatistics> computeAll(const QVector<Track>& tracks);
    // Great-circle distance in metres (haversine on the mean Earth radius).
    static double distance(double lat1, double lon1, double lat2, double lon2);

    int pointCount = 0;
    int markedCount = 0;
    bool hasTime = false; // at least one point carries a time
    qint64 startTime = 0; // seconds since 1970 UTC, first timed point
    qint64 endTime = 0;   // last timed point
    qint64 duration = 0;  // seconds, endTime - startTime, never negative
    qint64 movingTime = 0;
    double distanceMeters = 0.0;
    bool hasSpeed = false;    // fmt 2: stored speeds and altitudes are meaningful
    bool derivedSpeed = false; // the speeds were worked out from positions and times
    double maxSpeedKmh = 0.0; // of the stored point speeds
    qint32 maxSpeedRaw = 0;   // the stored value behind maxSpeedKmh
    bool hasAltitude = false;
    double minAltitude = 0.0; // metres
    double maxAltitude = 0.0;
    double ascent = 0.0;  // metres, climbs beyond the threshold
    double descent = 0.0; // metres, descents beyond the threshold, positive

    bool hasAverageSpeed() const { return duration > 0; }
    bool hasMovingAverageSpeed() const { return movingTime > 0; }
    double averageSpeedKmh() const;       // distance / duration
    double movingAverageSpeedKmh() const; // distance / moving time

    // Label and value per figure, always the same rows in the same order; a figure
    // the track does not have shows as a dash.
    QVector<QPair<QString, QString>> rows(int speedUnit, int heightUnit, int timeSwitch) const;
    QVector<QPair<QString, QString>> rows(const DisplaySettings& settings) const;
    // "Label: value" lines of the figures the track has.
    QString toolTip(int speedUnit, int heightUnit, int timeSwitch) const;
    QString toolTip(const DisplaySettings& settings) const;

    // Tab-separated output for scripts: fixed SI-style units whatever the display
    // settings (m, s, km/h), times as UTC ISO 8601, empty fields for missing figures.
    static QString tsvHeader();
    QString tsvLine(int trackNumber) const;

    static QString formatDuration(qint64 seconds); // h:mm:ss, hours unbounded
};
