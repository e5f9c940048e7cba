#include "device/devicepointconverter.h"

#include <limits>

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

namespace
{

// deviceTimeToSeconds for a run of points that mostly share their date.
class PointTime
{
public:
    qint64 seconds(const DevicePoint& p)
    {
        if (p.date != m_date || !m_known) {
            m_date = p.date;
            m_known = true;
            m_dayStart = deviceTimeToSeconds(quint32(p.date), 0);
        }
        const quint32 t = quint32(p.timeOfDay);
        const quint32 hour = t / 10000;
        const quint32 minute = t / 100 % 100;
        const quint32 second = t % 100;
        // An invalid date gives the invalid value; an invalid time counts as midnight.
        if (m_dayStart == std::numeric_limits<quint32>::max() || hour > 23 || minute > 59 ||
            second > 59)
            return qint64(m_dayStart);
        return qint64(quint32(m_dayStart + hour * 3600 + minute * 60 + second));
    }

private:
    qint32 m_date = 0;
    bool m_known = false;
    quint32 m_dayStart = 0;
};

void setPosition(Vec3& v, const DevicePoint& p, PointTime& time)
{
    v.lat = DevicePointConverter::coordinate(p.latitude, true);
    v.lon = DevicePointConverter::coordinate(p.longitude, false);
    v.alt = p.altitude / 10000.0;
    v.time = time.seconds(p);
}

} // namespace

void DevicePointConverter::fillTrack(Track& track, const DeviceTrackData& data)
{
    track.fmt = data.firstPoint.fmt;
    if (track.fmt != 2)
        return;
    int kept = 0;
    for (const DevicePoint& point : data.followingPoints) {
        if (quint32(point.speed) <= 1000000u)
            ++kept;
    }
    const int start = track.points.size();
    track.points.resize(start + 1 + kept);
    Vec3* out = track.points.data() + start;
    PointTime time;

    setPosition(*out, data.firstPoint, time);
    out->speed = data.firstPoint.speed;
    out->marked = data.firstPoint.marked ? 1 : 0;
    out->reserved = 2;
    ++out;
    for (const DevicePoint& point : data.followingPoints) {
        if (quint32(point.speed) > 1000000u)
            continue;
        setPosition(*out, point, time);
        out->speed = point.speed;
        out->marked = point.marked ? 1 : 0;
        out->reserved = point.fmt;
        ++out;
    }
}
