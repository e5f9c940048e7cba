#include "formats/distanceinmeters.h"

#include <cmath>

namespace
{

double nmeaToDegrees(qint32 value)
{
    // 64 bits so that the absolute value of the most negative input does not overflow.
    const qint64 u = value < 0 ? -qint64(value) : qint64(value);
    const qint64 r = u % 1000000;
    qint64 d = u - r + r * 10 / 6;
    if (value < 0)
        d = -d;
    return d / 1000000.0;
}

} // namespace

double distanceInMeters(qint32 lonA, qint32 latA, qint32 lonB, qint32 latB)
{
    const float kmPerDegree = 111.0733f;
    const double lonDegA = nmeaToDegrees(lonA);
    const double latDegA = nmeaToDegrees(latA);
    const double lonDegB = nmeaToDegrees(lonB);
    const double latDegB = nmeaToDegrees(latB);
    const double northSouth = std::fabs(latDegB - latDegA) * double(kmPerDegree);
    const double minLat = latDegA < latDegB ? latDegA : latDegB;
    const float cosine = float(std::cos(minLat * 3.1415926535 / 180));
    const float scale = cosine * kmPerDegree;
    const double eastWest = std::fabs(lonDegB - lonDegA) * double(scale);
    return std::sqrt(northSouth * northSouth + eastWest * eastWest) * 1000.0;
}
