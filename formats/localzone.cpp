#include "formats/localzone.h"

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

long offsetAt(qint64 t)
{
    std::tm tm;
    const std::time_t tt = std::time_t(t);
    if (!localtime_r(&tt, &tm))
        return 0;
    return tm.tm_gmtoff;
}

// Scans the instants [from, to] in steps short enough that no two offset changes fall
// into one step, and records the wall-clock gaps that the forward changes leave.
bool buildWindow(WallWindow& w, qint64 from, qint64 to)
{
    w.gapCount = 0;
    qint64 prevT = from;
    long prevOff = offsetAt(from);
    for (qint64 t = from + SampleStep; t <= to; t += SampleStep) {
        const long off = offsetAt(t);
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
        tzset();
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
    const std::time_t tt = std::time_t(t);
    return localtime_r(&tt, out) != nullptr;
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
