#pragma once

#include "view/track.h"

// A long recording at 1 s going north-east from Taipei, with altitudes, speeds and every
// 10,000th point marked; wiggle (degrees) moves the points off a straight line in a pattern
// that repeats every 100 points, so that a line simplifier has work to do.
inline Track syntheticTrack(int count, double latitudeStep, double wiggle)
{
    Track track;
    track.fmt = 2;
    track.startTime = 1500000000;
    track.points.reserve(count);
    for (int i = 0; i < count; ++i) {
        Vec3 p;
        p.lat = 25.0 + i * latitudeStep + (i % 100) * wiggle;
        p.lon = 121.5 + i * 1e-6;
        p.alt = 100.0 + (i % 500) * 0.25;
        p.time = track.startTime + i;
        p.marked = i % 10000 == 0;
        p.speed = i % 9000;
        track.points << p;
    }
    return track;
}
