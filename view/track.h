#pragma once

#include "view/vec3.h"

#include <QList>
#include <QString>
#include <QVector>

// One track: its start, its record format (2: with altitude, 1: without) and its points.
struct Track {
    Track() = default;
    Track(qint64 start, qint32 format, const QVector<Vec3>& trackPoints = {})
        : startTime(start), fmt(format), points(trackPoints)
    {
    }

    qint64 startTime = 0;
    qint32 fmt = 0;
    QVector<Vec3> points;
    // The name an imported file gave the track; empty for the logger's tracks.
    QString name;
    // The file held no speeds: those of the points were worked out from positions and times.
    bool derivedSpeed = false;
    // An imported track whose points have speeds but no altitudes (fmt 1).
    bool speedsWithoutAltitude = false;

    // Whether the points' speeds mean anything: always with altitudes (fmt 2), as the logger
    // records both.
    bool hasSpeeds() const { return fmt == 2 || speedsWithoutAltitude; }
};
