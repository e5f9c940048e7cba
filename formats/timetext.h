#pragma once

#include <QString>
#include <QtGlobal>

// A stored point time broken down into calendar fields.
struct CalendarTime {
    int year = 1970;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Turns stored point times (the low 32 bits, as QDateTime::fromTime_t reads them)
// into calendar fields and texts, in UTC or in the local zone, with results identical
// to QDateTime but without its per-call cost of re-reading the zone.
class TimeText
{
public:
    static CalendarTime split(qint64 time, bool local);
    static QString date(const CalendarTime& t);  // yyyy-MM-dd
    static QString clock(const CalendarTime& t); // hh:mm:ss
    // yyyy-MM-dd, separator, hh:mm:ss (for example " - " or " ")
    static QString dateTime(const CalendarTime& t, const QString& separator);
};
