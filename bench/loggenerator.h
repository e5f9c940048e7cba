#pragma once

#include <QString>
#include <QtGlobal>

// A made-up recording for the benchmarks: one point per second wandering around Taipei,
// every 50th point marked, written as a logger log file (.gpl) or, for other tools, as the
// same points in NMEA 0183 RMC and GGA sentences.
class LogGenerator
{
public:
    struct Sample {
        qint64 time;     // seconds since 1970 UTC
        double latitude; // decimal degrees
        double longitude;
        double altitude; // metres
        double speed;    // km/h
        bool marked;
    };

    explicit LogGenerator(qint64 startTime = 1399334400) : m_startTime(startTime) {}

    Sample sample(int index) const;
    bool writeLog(const QString& path, int count) const;
    bool writeNmea(const QString& path, int count) const;

private:
    qint64 m_startTime; // 2014-05-06 00:00:00 UTC
};
