#pragma once

#include <QtGlobal>

// Proleptic Gregorian dates and days since 1970-01-01, converted without QDate's detour
// through Julian days (H. Hinnant's days_from_civil and civil_from_days). Inline: the log
// reader and the point list convert a date for every point.
struct CivilDate {
    int year = 1970;
    int month = 1;
    int day = 1;

    static qint64 daysFrom(int y, int m, int d)
    {
        y -= m <= 2;
        const int era = (y >= 0 ? y : y - 399) / 400;
        const int yoe = y - era * 400;
        const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
        const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
        return qint64(era) * 146097 + doe - 719468;
    }

    static CivilDate fromDays(qint64 z)
    {
        z += 719468;
        const qint64 era = (z >= 0 ? z : z - 146096) / 146097;
        const int doe = int(z - era * 146097);
        const int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
        const int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
        const int mp = (5 * doy + 2) / 153;
        CivilDate date;
        date.day = doy - (153 * mp + 2) / 5 + 1;
        date.month = mp < 10 ? mp + 3 : mp - 9;
        date.year = int(yoe + era * 400) + (date.month <= 2);
        return date;
    }
};
