#pragma once

#include "view/vec3.h"

#include <QString>
#include <QVector>

// The speeds of a track as colour steps for the map: one character per point, '0' for the
// slow end of the scale up to '0' + Steps - 1 for the fast end. The scale runs from the lowest
// speed to the highest once the fastest hundredth of the points is set aside, so that a few
// wild readings do not wash out the rest; those points take the fast end. A point whose
// position is not a finite number gets no character, as the map leaves it out of the line.
class SpeedScale
{
public:
    static constexpr int Steps = 64;

    static SpeedScale compute(const QVector<Vec3>& points);

    QString levels;
    quint32 slowest = 0; // hundredths of km/h at the two ends of the scale
    quint32 fastest = 0;
};
