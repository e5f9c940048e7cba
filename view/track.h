#pragma once

#include "view/vec3.h"

#include <QList>
#include <QVector>

// One track: its start, its record format (2: with altitude, 1: without) and its points.
struct Track {
    qint64 startTime = 0;
    qint32 fmt = 0;
    QVector<Vec3> points;
};
