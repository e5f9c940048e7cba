#include "formats/logdatetime.h"

#include "formats/civildate.h"
#include "formats/localzone.h"

#include <QDateTime>

namespace
{

int daysInMonth(int y, int m)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (m == 2 && ((y % 4 == 0 && y % 100 != 0) || y % 400 == 0))
        return 29;
    return days[m - 1];
}

template <typename Char> int digit(Char c)
{
    const unsigned v = unsigned(c) - unsigned('0');
    return v <= 9 ? int(v) : -1;
}

template <typename Char> int twoDigits(const Char* p)
{
    const int a = digit(p[0]);
    const int b = digit(p[1]);
    return (a < 0 || b < 0) ? -1 : a * 10 + b;
}

// Only the canonical form with plainly valid fields is decided here; QDateTime's
// parser accepts variants (short fields and more) that are left to it.
template <typename Char>
bool parseCanonical(const Char* p, int size, LogDateTime& r, bool localStep)
{
    if (size != 19 || p[4] != ':' || p[7] != ':' || p[10] != '-' || p[13] != ':' || p[16] != ':')
        return false;
    const int hi = twoDigits(p);
    const int lo = twoDigits(p + 2);
    const int month = twoDigits(p + 5);
    const int day = twoDigits(p + 8);
    const int hour = twoDigits(p + 11);
    const int minute = twoDigits(p + 14);
    const int second = twoDigits(p + 17);
    if (hi < 0 || lo < 0 || month < 1 || month > 12 || day < 1 || hour < 0 || hour > 23 ||
        minute < 0 || minute > 59 || second < 0 || second > 59)
        return false;
    const int year = hi * 100 + lo;
    // QDateTime treats local times past 2037 differently; stay well inside.
    if (year < 1971 || year > 2036 || day > daysInMonth(year, month))
        return false;
    const qint64 secs =
        CivilDate::daysFrom(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
    // QDateTime first builds a local time, which is invalid inside a spring-forward gap.
    if (localStep && !LocalZone::wallTimeExists(secs))
        return false;
    r.valid = true;
    r.year = year;
    r.month = month;
    r.day = day;
    r.hour = hour;
    r.minute = minute;
    r.second = second;
    r.secs = secs;
    return true;
}

LogDateTime parseWithQt(const QString& field)
{
    QDateTime dt = QDateTime::fromString(field, QStringLiteral("yyyy:MM:dd-hh:mm:ss"));
    dt.setTimeSpec(Qt::UTC);
    LogDateTime r;
    r.valid = dt.isValid();
    const QDate date = dt.date();
    const QTime time = dt.time();
    r.year = date.year();
    r.month = date.month();
    r.day = date.day();
    r.hour = time.hour();
    r.minute = time.minute();
    r.second = time.second();
    r.secs = dt.toSecsSinceEpoch();
    return r;
}

} // namespace

LogDateTime LogDateTime::parse(const QString& field)
{
    LogDateTime r;
    if (parseCanonical(field.utf16(), field.size(), r, true))
        return r;
    return parseWithQt(field);
}

LogDateTime LogDateTime::parseLatin1(const char* field, int size)
{
    LogDateTime r;
    if (parseCanonical(reinterpret_cast<const unsigned char*>(field), size, r, true))
        return r;
    return parseWithQt(QString::fromLatin1(field, size));
}

LogDateTime LogDateTime::parseLatin1AsUtc(const char* field, int size)
{
    LogDateTime r;
    if (parseCanonical(reinterpret_cast<const unsigned char*>(field), size, r, false))
        return r;
    return parseWithQt(QString::fromLatin1(field, size));
}
