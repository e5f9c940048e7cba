#include "formats/localzone.h"

#include "formats/civildate.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace
{

struct TzState {
    bool known = false;
    bool set = false;
    std::string value;
    quint64 generation = 0;
};

thread_local TzState t_tz;

// Wall-clock range known to be free of gaps except those listed, for one TZ generation.
struct WallWindow {
    quint64 generation = ~quint64(0);
    qint64 lo = 1;
    qint64 hi = 0;
    int gapCount = 0;
    qint64 gapStart[8] = {};
    qint64 gapEnd[8] = {};
};

thread_local WallWindow t_window;

constexpr qint64 SampleStep = 6 * 3600;
constexpr qint64 Day = 86400;

// The C library's own local time conversion, the one QDateTime uses on each system.
bool cLocalTime(qint64 t, std::tm* out)
{
#ifdef Q_OS_WIN
    const __time64_t tt = t;
    return _localtime64_s(out, &tt) == 0;
#else
    const std::time_t tt = std::time_t(t);
    return localtime_r(&tt, out) != nullptr;
#endif
}

void cTzSet()
{
#ifdef Q_OS_WIN
    _tzset();
#else
    tzset();
#endif
}

// Local time minus UTC, taken from the wall-clock fields rather than tm_gmtoff, which
// Windows lacks and which in zones with leap seconds ("right/...") leaves out the seconds
// that the wall clock shows.
qint64 offsetAt(qint64 t)
{
    std::tm tm;
    if (!cLocalTime(t, &tm))
        return 0;
    const qint64 wall = CivilDate::daysFrom(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday) * 86400 +
                        tm.tm_hour * 3600 + tm.tm_min * 60 + tm.tm_sec;
    return wall - t;
}

// Scans the instants [from, to] in steps short enough that no two offset changes fall
// into one step, and records the wall-clock gaps that the forward changes leave.
bool buildWindow(WallWindow& w, qint64 from, qint64 to)
{
    w.gapCount = 0;
    qint64 prevT = from;
    qint64 prevOff = offsetAt(from);
    for (qint64 t = from + SampleStep; t <= to; t += SampleStep) {
        const qint64 off = offsetAt(t);
        if (off != prevOff) {
            qint64 lo = prevT;
            qint64 hi = t;
            while (hi - lo > 1) {
                const qint64 mid = lo + (hi - lo) / 2;
                if (offsetAt(mid) == prevOff)
                    lo = mid;
                else
                    hi = mid;
            }
            if (off > prevOff) {
                if (w.gapCount == 8)
                    return false;
                w.gapStart[w.gapCount] = hi + prevOff;
                w.gapEnd[w.gapCount] = hi + off;
                ++w.gapCount;
            }
            prevOff = off;
        }
        prevT = t;
    }
    // Offsets stay within a day, so every instant that shows a wall time inside this
    // range has been scanned.
    w.lo = from + Day;
    w.hi = to - Day;
    return true;
}

} // namespace

quint64 LocalZone::sync()
{
    TzState& s = t_tz;
    const char* tz = std::getenv("TZ");
    const bool same = s.known && (tz ? (s.set && s.value == tz) : !s.set);
    if (!same) {
        cTzSet();
        s.known = true;
        s.set = tz != nullptr;
        s.value = tz ? tz : "";
        ++s.generation;
    }
    return s.generation;
}

bool LocalZone::localTime(qint64 t, std::tm* out)
{
    sync();
    return cLocalTime(t, out);
}

bool LocalZone::wallTimeExists(qint64 wall)
{
    const quint64 generation = sync();
    WallWindow& w = t_window;
    if (w.generation != generation || wall < w.lo || wall > w.hi) {
        w.generation = ~quint64(0);
        if (!buildWindow(w, wall - 2 * Day, wall + 40 * Day))
            return false;
        w.generation = generation;
    }
    for (int i = 0; i < w.gapCount; ++i) {
        if (wall >= w.gapStart[i] && wall < w.gapEnd[i])
            return false;
    }
    return true;
}
