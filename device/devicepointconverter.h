#pragma once

#include "device/devicekv310.h"
#include "view/track.h"

// Turns the worker's point records into track points, as the main window stores them.
class DevicePointConverter
{
public:
    // A scaled NMEA integer (ddmm.mmmm times 10000, signed) in decimal degrees; for a
    // latitude a degree part of 100 or more loses 100.
    static double coordinate(qint32 value, bool latitude);
    // Sets the track's fmt from the first point and, for fmt 2, appends the first point
    // and every following point whose speed is at most 1000000.
    static void fillTrack(Track& track, const DeviceTrackData& data);
};
