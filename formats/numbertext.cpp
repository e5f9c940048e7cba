#include "formats/numbertext.h"

#include <QString>

#include <charconv>
#include <cmath>
#include <cstring>

namespace
{

const double powersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};

char* copyLatin1(char* out, const QString& text)
{
    const QByteArray bytes = text.toLatin1();
    std::memcpy(out, bytes.constData(), size_t(bytes.size()));
    return out + bytes.size();
}

char* twoDigits(char* out, int value)
{
    out[0] = char('0' + value / 10 % 10);
    out[1] = char('0' + value % 10);
    return out + 2;
}

// Rounds |value| times 10^decimals to an integer where the product is far enough from a
// tie that the rounding error of the multiplication cannot change the result; the callers
// fall back to an exact conversion otherwise.
bool scaledMagnitude(double value, int decimals, quint64& result)
{
    if (decimals < 0 || decimals > 9)
        return false;
    const double scaled = std::fabs(value) * powersOfTen[decimals];
    if (!(scaled < 1e12)) // also false for NaN
        return false;
    const double whole = std::floor(scaled);
    const double fraction = scaled - whole;
    if (std::fabs(fraction - 0.5) < 1e-3)
        return false;
    result = quint64(whole) + (fraction > 0.5 ? 1 : 0);
    return true;
}

char* writeScaled(char* out, bool negative, quint64 scaled, int decimals)
{
    if (negative)
        *out++ = '-';
    char digits[24];
    int n = 0;
    do {
        digits[n++] = char('0' + scaled % 10);
        scaled /= 10;
    } while (scaled != 0 || n <= decimals);
    while (n > decimals)
        *out++ = digits[--n];
    if (decimals > 0) {
        *out++ = '.';
        while (n > 0)
            *out++ = digits[--n];
    }
    return out;
}

} // namespace

char* NumberText::qtFixed(char* out, double value, int decimals)
{
    quint64 scaled;
    if (scaledMagnitude(value, decimals, scaled))
        return writeScaled(out, value < 0, scaled, decimals);
    return copyLatin1(out, QString::number(value, 'f', decimals));
}

char* NumberText::cFixed(char* out, double value, int decimals)
{
    quint64 scaled;
    if (scaledMagnitude(value, decimals, scaled))
        return writeScaled(out, std::signbit(value), scaled, decimals);
    if (std::isnan(value) || std::isinf(value)) {
        const char* text = std::isnan(value) ? (std::signbit(value) ? "-nan" : "nan")
                                             : (value < 0 ? "-inf" : "inf");
        const size_t length = std::strlen(text);
        std::memcpy(out, text, length);
        return out + length;
    }
    // Exact and round-to-even like printf; 330 bytes hold any double with 9 decimals.
    char buffer[340];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    const size_t length = size_t(result.ptr - buffer);
    std::memcpy(out, buffer, length);
    return out + length;
}

char* NumberText::date(char* out, const CalendarTime& t, char separator)
{
    out = twoDigits(out, t.year / 100);
    out = twoDigits(out, t.year % 100);
    *out++ = separator;
    out = twoDigits(out, t.month);
    *out++ = separator;
    return twoDigits(out, t.day);
}

char* NumberText::clock(char* out, const CalendarTime& t)
{
    out = twoDigits(out, t.hour);
    *out++ = ':';
    out = twoDigits(out, t.minute);
    *out++ = ':';
    return twoDigits(out, t.second);
}

char* NumberText::unsignedNumber(char* out, quint64 value)
{
    char digits[24];
    int n = 0;
    do {
        digits[n++] = char('0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (n > 0)
        *out++ = digits[--n];
    return out;
}
