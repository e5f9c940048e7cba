#pragma once

#include <QString>
#include <QtGlobal>

// The process-wide jump-filter limit ("GPS_filter" of ./Setting.ini), held as a
// signed 8-bit value; 0 turns the jump filter off.
class GpsFilter
{
public:
    static constexpr int Lowest = -128;
    static constexpr int Highest = 127;
    static constexpr qint8 Default = 1;

    static qint8 limit();
    static void setLimit(qint8 limit);
    // A limit as text: a whole decimal number from Lowest to Highest; false for anything else
    // (no wrapping into 8 bits, no hexadecimal, no exponent).
    static bool parse(const QString& text, qint8* limit);
    // Reads "GPS_filter" from the INI file and makes it the limit; returns the new limit.
    // A missing key gives the default; so does a value parse() refuses, which is also traced
    // and, when problem is given, described there (else it is left empty).
    static qint8 readSettingFile(const QString& path = QStringLiteral("./Setting.ini"),
                                 QString* problem = nullptr);
};
