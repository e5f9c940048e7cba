#include "formats/timetext.h"

#include "formats/civildate.h"
#include "formats/localzone.h"

namespace
{

// The last second QDateTime converts to local time with the C library; later instants
// take the offset of the same calendar day in 2037.
constexpr qint64 LastLocaltimeSecond = 2145916799; // 2037-12-31 23:59:59 UTC

CalendarTime utcFields(qint64 secs)
{
    CalendarTime t;
    qint64 days = secs / 86400;
    qint64 rest = secs % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    const CivilDate date = CivilDate::fromDays(days);
    t.year = date.year;
    t.month = date.month;
    t.day = date.day;
    t.hour = int(rest / 3600);
    t.minute = int(rest / 60 % 60);
    t.second = int(rest % 60);
    return t;
}

bool localFields(qint64 secs, CalendarTime& t)
{
    std::tm tm;
    if (!LocalZone::localTime(secs, &tm))
        return false;
    t.year = tm.tm_year + 1900;
    t.month = tm.tm_mon + 1;
    t.day = tm.tm_mday;
    t.hour = tm.tm_hour;
    t.minute = tm.tm_min;
    t.second = tm.tm_sec;
    return true;
}

QChar* putNumber(QChar* p, int value, int width)
{
    for (int i = width - 1; i >= 0; --i) {
        p[i] = QChar(ushort('0' + value % 10));
        value /= 10;
    }
    return p + width;
}

QChar* putDate(QChar* p, const CalendarTime& t)
{
    p = putNumber(p, t.year, 4);
    *p++ = QLatin1Char('-');
    p = putNumber(p, t.month, 2);
    *p++ = QLatin1Char('-');
    return putNumber(p, t.day, 2);
}

QChar* putClock(QChar* p, const CalendarTime& t)
{
    p = putNumber(p, t.hour, 2);
    *p++ = QLatin1Char(':');
    p = putNumber(p, t.minute, 2);
    *p++ = QLatin1Char(':');
    return putNumber(p, t.second, 2);
}

bool plainYear(const CalendarTime& t)
{
    return t.year >= 0 && t.year <= 9999;
}

QString yearText(int year)
{
    return QString::number(year).rightJustified(year < 0 ? 5 : 4, QLatin1Char('0'));
}

} // namespace

CalendarTime TimeText::split(qint64 time, bool local)
{
    const qint64 secs = quint32(time);
    if (!local)
        return utcFields(secs);
    CalendarTime t;
    if (secs <= LastLocaltimeSecond) {
        if (!localFields(secs, t))
            t = utcFields(secs);
        return t;
    }
    // Same substitute as QDateTime: the offset that applies on that month and day in 2037
    // (28 February for 29 February), moved back to the real year.
    const CalendarTime utc = utcFields(secs);
    const int fakeDay = (utc.month == 2 && utc.day == 29) ? 28 : utc.day;
    const qint64 fakeDays = CivilDate::daysFrom(2037, utc.month, fakeDay);
    const qint64 clock = secs % 86400;
    CalendarTime fake;
    if (!localFields(fakeDays * 86400 + clock, fake))
        return utc;
    const qint64 shift = CivilDate::daysFrom(fake.year, fake.month, fake.day) - fakeDays;
    t = utcFields((CivilDate::daysFrom(utc.year, utc.month, utc.day) + shift) * 86400);
    t.hour = fake.hour;
    t.minute = fake.minute;
    t.second = fake.second;
    return t;
}

QString TimeText::date(const CalendarTime& t)
{
    if (!plainYear(t)) {
        return yearText(t.year) + QString::asprintf("-%02d-%02d", t.month, t.day);
    }
    QString s(10, Qt::Uninitialized);
    putDate(s.data(), t);
    return s;
}

QString TimeText::clock(const CalendarTime& t)
{
    QString s(8, Qt::Uninitialized);
    putClock(s.data(), t);
    return s;
}

QString TimeText::dateTime(const CalendarTime& t, const QString& separator)
{
    if (!plainYear(t))
        return date(t) + separator + clock(t);
    const int n = separator.size();
    QString s(18 + n, Qt::Uninitialized);
    QChar* p = putDate(s.data(), t);
    for (int i = 0; i < n; ++i)
        *p++ = separator.at(i);
    putClock(p, t);
    return s;
}
