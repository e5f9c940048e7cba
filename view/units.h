#pragma once

#include <QCoreApplication>
#include <QString>
#include <QtGlobal>

// Unit conversions shared by every list and export; single precision where the
// logger's own software rounds, so that figures agree with it to the last digit.
class Units
{
public:
    static constexpr double KmPerMile = 1.609344;
    static double speedKmh(qint32 speed) { return quint32(speed) / 100.0; }
    static double speedMph(qint32 speed)
    {
        const float kmh = float(quint32(speed) / 100.0);
        return double(float(kmh / 1.609344f));
    }
    static double altitudeFeet(double alt) { return double(float(float(alt) * 3.28084f)); }

    // The unit names of the point list, the statistics, the profile and the filter. Speed
    // unit 0 km/h, else mi/h; height unit 0 metres, else feet. Translated, though the
    // texts in the code are kept as the stored translations know them.
    static QString speedName(int speedUnit)
    {
        return speedUnit != 0 ? QCoreApplication::translate("Units", "mi/hr")
                              : QCoreApplication::translate("Units", "km/hr");
    }
    static QString heightName(int heightUnit)
    {
        return heightUnit != 0 ? QCoreApplication::translate("Units", "feet")
                               : QCoreApplication::translate("Units", "m");
    }
    static QString distanceName(int speedUnit)
    {
        return speedUnit != 0 ? QCoreApplication::translate("Units", "mi")
                              : QCoreApplication::translate("Units", "km");
    }
};
