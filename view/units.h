#pragma once

#include <QtGlobal>

// Unit conversions shared by every list and export; single precision where the
// logger's own software rounds, so that figures agree with it to the last digit.
class Units
{
public:
    static double speedKmh(qint32 speed) { return quint32(speed) / 100.0; }
    static double speedMph(qint32 speed)
    {
        const float kmh = float(quint32(speed) / 100.0);
        return double(float(kmh / 1.609344f));
    }
    static double altitudeFeet(double alt) { return double(float(float(alt) * 3.28084f)); }
};
