#include "formats/loglinefilter.h"

#include "formats/distanceinmeters.h"
#include "formats/formatslog.h"
#include "formats/loglinereader.h"

#include <cmath>
#include <limits>

namespace
{

constexpr double JumpDistance = 10000.0; // metres

} // namespace

const LogLinePolicy LogLinePolicy::logReader = {false, 100000, 2, false};
const LogLinePolicy LogLinePolicy::worker = {true, 100000, 1, true};

LogLineFilter::LogLineFilter(const LogLinePolicy& policy, qint8 limit)
    : m_policy(policy), m_limit(limit)
{
}

qint32 LogLineFilter::truncate(double value)
{
    if (!(value > -2147483649.0 && value < 2147483648.0))
        return std::numeric_limits<qint32>::min();
    return qint32(value);
}

LogLineFilter::Verdict LogLineFilter::take(const LogLineReader& line)
{
    LogFix& f = m_fix;
    f.time = LogDateTime::parseLatin1AsUtc(line.field(1).data, line.field(1).size);
    if (!f.time.valid || f.time.year < 2010 || f.time.year > 2035)
        return Undated;

    if (line.field(2).equals("*GPS"))
        f.marked = false;
    else if (line.field(2).equals("@GPS"))
        f.marked = true;
    else
        return Skipped;
    if (line.field(3).first() == 'F' || line.field(5).first() == 'F')
        return Skipped;
    // A field that is no number, an overflowing one included, counts as 0.
    const double a = LogLineReader::toDoubleOrZero(line.field(3)) * 10000.0;
    const double b = LogLineReader::toDoubleOrZero(line.field(5)) * 10000.0;
    if (a == 0 || b == 0 || a > 100000000.0)
        return Skipped;
    // So is a coordinate without a 32-bit integer form in either hemisphere: such a line
    // is noise, and its point would pull the jump reference to the far end of the range.
    if (!(std::fabs(a) < 2147483648.0 && std::fabs(b) < 2147483648.0))
        return Skipped;
    if (m_hasPrevTime &&
        (m_policy.equalTimePasses ? f.time.secs < m_prevTime : f.time.secs <= m_prevTime))
        return Skipped;

    f.latitude = qint32(a);
    f.longitude = qint32(b);
    f.south = line.field(4).first() == 'S';
    f.west = line.field(6).first() == 'W';
    f.altitude = LogLineReader::toDoubleOrZero(line.field(7));
    f.speed = truncate(LogLineReader::toDoubleOrZero(line.field(8)) * 100.0);

    qint32 lat = f.latitude;
    qint32 lon = f.longitude;
    double keyLat;
    double keyLon;
    if (m_policy.signedPositions) {
        lat = f.south ? -lat : lat;
        lon = f.west ? -lon : lon;
        keyLat = f.south ? -a : a;
        keyLon = f.west ? -b : b;
    } else {
        keyLat = f.south ? -degrees(lat) : degrees(lat);
        keyLon = f.west ? -degrees(lon) : degrees(lon);
    }
    const double distance = m_refLon == 0 ? 0.0 : distanceInMeters(m_refLon, m_refLat, lon, lat);

    if (quint32(f.speed) > m_policy.speedLimit)
        f.speed = m_prevSpeed;
    if (keyLat == m_prevLat && keyLon == m_prevLon)
        f.speed = 0;
    else
        m_prevSpeed = f.speed;
    m_prevLat = keyLat;
    m_prevLon = keyLon;
    m_prevTime = f.time.secs;
    m_hasPrevTime = true;

    const bool near = distance <= JumpDistance;
    if (m_counter >= m_limit || near) {
        m_refLat = lat;
        m_refLon = lon;
    }
    if (near || m_limit == 0) {
        m_counter = 0;
        return Kept;
    }
    m_counter = qint8(m_counter + m_policy.jumpWeight);
    qCDebug(lcFormats) << "jump dropped: reference" << m_refLat << m_refLon << "position" << lat
                       << lon << "distance" << distance << "counter" << m_counter;
    return Jump;
}
