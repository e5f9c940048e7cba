#pragma once

#include <QString>
#include <QtGlobal>

// The process-wide jump-filter limit ("GPS_filter" of ./Setting.ini), held as a
// signed 8-bit value; 0 turns the jump filter off.
class GpsFilter
{
public:
    static qint8 limit();
    static void setLimit(qint8 limit);
    // Reads "GPS_filter" (default 1) from the INI file, keeps its low 8 bits and
    // makes it the limit; returns the new limit.
    static qint8 readSettingFile(const QString& path = QStringLiteral("./Setting.ini"));
};
