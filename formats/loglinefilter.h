#pragma once

#include "formats/logdatetime.h"

#include <QtGlobal>

class LogLineReader;

// Where the two readers of track logs part ways. The log reader (FileFormatGPL) and the
// device worker (DeviceKV310) apply the same line rules and jump filter, except in the
// points below, where each keeps a rule of its own. The differences are deliberate: files
// opened and files downloaded give the points their users have always got from each path,
// and archives saved from either rely on them, so do not make the two agree. The speed
// limit is the exception: the log reader's 100 km/h replaced every faster speed by the one
// before it, so a drive on a freeway showed a flat 100 km/h once opened; a speed that is
// simply wrong is no rule worth keeping, and both readers now use the worker's 1000 km/h.
struct LogLinePolicy {
    // A line dated the same second as the last one that passed: kept by the worker, dropped
    // by the log reader (both drop a line dated earlier).
    bool equalTimePasses;
    // A speed above this many hundredths of km/h (read as unsigned) is replaced by the
    // previous speed: 1000 km/h in both readers.
    quint32 speedLimit;
    // What a dropped jump adds to the rejection counter: 1 in the worker, 2 in the log
    // reader, which therefore keeps the old reference for half as many dropped lines.
    int jumpWeight;
    // The worker measures jumps between positions signed by their hemisphere and tells a
    // repeated position by the fields' values; the log reader measures jumps between
    // unsigned positions and tells a repeated position by its decimal degrees.
    bool signedPositions;

    static const LogLinePolicy logReader;
    static const LogLinePolicy worker;
};

// A line that passed the line rules, as both readers build their points from it.
struct LogFix {
    LogDateTime time;
    qint32 latitude = 0; // scaled NMEA integers as written, without the hemisphere
    qint32 longitude = 0;
    bool south = false;
    bool west = false;
    double altitude = 0.0; // metres
    qint32 speed = 0;      // hundredths of km/h, after the speed rules
    bool marked = false;
};

// The line rules and the jump filter of one track log, line after line.
class LogLineFilter
{
public:
    enum Verdict {
        Undated, // no valid date from 2010 to 2035
        Skipped, // dated, but unusable or out of time order
        Jump,    // usable, but dropped by the jump filter
        Kept,
    };

    // limit: the jump-filter limit ("GPS_filter"); 0 turns the jump filter off.
    LogLineFilter(const LogLinePolicy& policy, qint8 limit);

    // Judges the reader's current (split) line. After any verdict but Undated, fix().time
    // holds the line's date; after Jump and Kept, fix() describes the whole line.
    Verdict take(const LogLineReader& line);
    const LogFix& fix() const { return m_fix; }

    // A scaled NMEA integer (ddmm.mmmm times 10000) in decimal degrees.
    static double degrees(qint32 v)
    {
        return v / 1000000 + ((v / 10000) % 100 + (v % 10000) / 10000.0) / 60.0;
    }
    // Truncation toward zero; a value without a 32-bit form (NaN included) gives the
    // "integer indefinite" 0x80000000 that the logger's software gets from x86.
    static qint32 truncate(double value);

private:
    const LogLinePolicy m_policy;
    const qint8 m_limit;
    LogFix m_fix;
    bool m_hasPrevTime = false;
    qint64 m_prevTime = 0;
    double m_prevLat = 0.0; // as the policy compares positions
    double m_prevLon = 0.0;
    qint32 m_prevSpeed = 0;
    qint32 m_refLat = 0; // as the policy measures jumps
    qint32 m_refLon = 0;
    qint8 m_counter = 0;
};
