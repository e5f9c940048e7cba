#pragma once

#include <QString>
#include <QtGlobal>

// Where and when a photo was taken, as found on the tracks, or why it was not found.
struct GeotagMatch {
    enum Status {
        Matched,
        NoTime,      // the photo records no capture time
        NoPoints,    // the chosen tracks hold no point with a time
        BeforeTrack, // earlier than the first point
        AfterTrack,  // later than the last point
        InGap,       // between two points further apart than the largest gap
    };

    Status status = NoTime;
    QString reason; // for the user, when not matched

    bool hasUtc = false; // false only for NoTime
    qint64 utcMs = 0;    // the photo's corrected UTC time, milliseconds since 1970

    double latitude = 0.0;
    double longitude = 0.0;
    bool hasAltitude = false;
    double altitude = 0.0; // metres above sea level, negative below

    bool matched() const { return status == Matched; }
};
