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

enum class Form { Valid, Invalid, Unknown };

// Exactly Width ASCII digits, of which the first may be a "+" instead; -1 otherwise.
template <int Width, typename Char> int number(const Char* p)
{
    int value = 0;
    for (int i = 0; i < Width; ++i) {
        const unsigned d = unsigned(p[i]) - unsigned('0');
        if (d <= 9)
            value = value * 10 + int(d);
        else if (i != 0 || p[i] != '+')
            return -1;
    }
    return value;
}

// What QDateTime::fromString makes of the field, worked out by comparing the two over
// millions of mutated fields: exactly 19 characters, the separators in their places and
// each number in exactly its width of ASCII digits, the first of which may be a "+"
// instead; the year runs from 1 to 9999 (proleptic Gregorian), and the date and the time
// of day must exist. Characters beyond Latin-1 are left to QDateTime.
template <typename Char> Form decide(const Char* p, int size, LogDateTime& r)
{
    if (size != 19)
        return Form::Invalid;
    for (int i = 0; sizeof(Char) > 1 && i < 19; ++i) {
        if (unsigned(p[i]) > 0xff)
            return Form::Unknown;
    }
    if (p[4] != ':' || p[7] != ':' || p[10] != '-' || p[13] != ':' || p[16] != ':')
        return Form::Invalid;
    const int year = number<4>(p);
    const int month = number<2>(p + 5);
    const int day = number<2>(p + 8);
    const int hour = number<2>(p + 11);
    const int minute = number<2>(p + 14);
    const int second = number<2>(p + 17);
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month) ||
        hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        return Form::Invalid;
    r.valid = true;
    r.year = year;
    r.month = month;
    r.day = day;
    r.hour = hour;
    r.minute = minute;
    r.second = second;
    r.secs = CivilDate::daysFrom(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
    return Form::Valid;
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

// QDateTime first builds a local time, which is invalid inside a spring-forward gap; for
// the years where that is cheap to tell (QDateTime treats local times past 2037 and before
// 1970 its own way) the answer is ours, otherwise QDateTime's.
template <typename Char, typename Text>
LogDateTime parseLocal(const Char* p, int size, const Text& field)
{
    LogDateTime r;
    const Form form = decide(p, size, r);
    if (form == Form::Invalid)
        return LogDateTime();
    if (form == Form::Valid && r.year >= 1971 && r.year <= 2036 &&
        LocalZone::wallTimeExists(r.secs))
        return r;
    return parseWithQt(field());
}

} // namespace

LogDateTime LogDateTime::parse(const QString& field)
{
    return parseLocal(field.utf16(), field.size(), [&] { return field; });
}

LogDateTime LogDateTime::parseLatin1(const char* field, int size)
{
    return parseLocal(reinterpret_cast<const unsigned char*>(field), size,
                      [&] { return QString::fromLatin1(field, size); });
}

LogDateTime LogDateTime::parseLatin1AsUtc(const char* field, int size)
{
    LogDateTime r;
    if (decide(reinterpret_cast<const unsigned char*>(field), size, r) != Form::Valid)
        return LogDateTime();
    return r;
}
