#pragma once

#include "formats/timetext.h"

// Writes numbers and calendar fields straight into a character buffer, for the writers
// that turn hundreds of thousands of points into text. Each function returns the end of
// what it wrote; a number takes at most 340 bytes, a calendar field 10.
class NumberText
{
public:
    // The text of QString::arg(value, 0, 'f', decimals): ties round away from zero,
    // a minus sign only for values below zero.
    static char* qtFixed(char* out, double value, int decimals);
    // The text of printf("%.*f", decimals, value): ties round to even, a minus sign
    // whenever the sign bit is set.
    static char* cFixed(char* out, double value, int decimals);
    // yyyy<sep>MM<sep>dd
    static char* date(char* out, const CalendarTime& t, char separator);
    // hh:mm:ss
    static char* clock(char* out, const CalendarTime& t);
    static char* unsignedNumber(char* out, quint64 value);
};
