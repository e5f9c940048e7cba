#pragma once

#include <QtGlobal>

// Distance in metres between two positions given as scaled NMEA integers (degrees
// times 1000000 plus minutes times 10000), longitude before latitude for each point.
// The single-precision steps match the logger's own software.
double distanceInMeters(qint32 lonA, qint32 latA, qint32 lonB, qint32 latB);
