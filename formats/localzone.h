#pragma once

#include <QtGlobal>

#include <ctime>

// The C library's local zone, as QDateTime sees it: QDateTime re-reads TZ (tzset) on
// every local conversion, which dominates its cost. Here tzset runs only when TZ has
// changed since the last call on this thread; conversions then use the C library's
// reentrant localtime (localtime_r, or _localtime64_s on Windows), as QDateTime does.
class LocalZone
{
public:
    // Calls tzset when TZ differs from the last value seen; returns a number that
    // changes whenever that happened.
    static quint64 sync();
    // The local time of t after sync().
    static bool localTime(qint64 t, std::tm* out);
    // True when the wall-clock time wall (seconds since 1970, read as if UTC) certainly
    // exists in the local zone, i.e. lies in no spring-forward gap. False when it lies in
    // a gap or when that cannot be decided cheaply.
    static bool wallTimeExists(qint64 wall);
};
