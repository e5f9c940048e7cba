#include "device/devicepointconverter.h"

double DevicePointConverter::coordinate(qint32 value, bool latitude)
{
    qint32 degrees = value / 1000000;
    const qint32 q = value / 10000;
    const qint32 fraction = value - q * 10000;
    const double minutes = (q % 100) + fraction / 10000.0;
    if (latitude && degrees >= 100)
        degrees -= 100;
    return degrees + minutes / 60.0;
}

Vec3 DevicePointConverter::toVec3(const DevicePoint& point)
{
    Vec3 v;
    v.lat = coordinate(point.latitude, true);
    v.lon = coordinate(point.longitude, false);
    v.alt = point.altitude / 10000.0;
    v.time = qint64(deviceTimeToSeconds(quint32(point.date), quint32(point.timeOfDay)));
    return v;
}

void DevicePointConverter::fillTrack(Track& track, const DeviceTrackData& data)
{
    track.fmt = data.firstPoint.fmt;
    if (track.fmt != 2)
        return;
    track.points.reserve(track.points.size() + 1 + data.followingPoints.size());
    Vec3 first = toVec3(data.firstPoint);
    first.speed = data.firstPoint.speed;
    first.marked = data.firstPoint.marked ? 1 : 0;
    first.reserved = 2;
    track.points.append(first);
    for (const DevicePoint& point : data.followingPoints) {
        if (quint32(point.speed) > 1000000u)
            continue;
        Vec3 v = toVec3(point);
        v.speed = point.speed;
        v.marked = point.marked ? 1 : 0;
        v.reserved = point.fmt;
        track.points.append(v);
    }
}
