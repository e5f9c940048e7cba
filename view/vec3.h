#pragma once

#include <QtGlobal>

#include <cmath>

// One track point.
class Vec3
{
public:
    Vec3() = default;
    Vec3(const Vec3&) = default;
    Vec3& operator=(const Vec3&) = default;
    virtual ~Vec3() = default;

    // Writers leave out what no file format can hold: a position that is not finite (only
    // an archive written elsewhere can bring one), and such an altitude.
    bool hasFinitePosition() const { return std::isfinite(lat) && std::isfinite(lon); }
    bool hasFiniteAltitude() const { return std::isfinite(alt); }

    double lat = 0.0; // decimal degrees, negative south
    double lon = 0.0; // decimal degrees, negative west
    double alt = 0.0; // metres
    qint64 time = 0;  // seconds since 1970 UTC; 0: no time
    qint32 marked = 0;
    qint32 speed = 0; // hundredths of km/h, read as unsigned
    qint32 reserved = 0;
};
