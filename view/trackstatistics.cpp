#include "view/trackstatistics.h"

#include "formats/timetext.h"
#include "view/units.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

namespace
{

constexpr double DegToRad = 3.14159265358979323846 / 180.0;
constexpr double MetresPerMile = 1609.344;

// asin(sqrt(a)) for the haversine term. Consecutive track points are metres apart,
// where a is tiny and a short series is exact to the last bit and much cheaper.
inline double centralHalfAngle(double a)
{
    if (a < 1e-8) {
        const double x = std::sqrt(a);
        return x * (1.0 + a * (1.0 / 6.0 + a * (3.0 / 40.0)));
    }
    return std::asin(std::sqrt(std::min(a, 1.0)));
}

inline double haversineTerm(double lat1, double cosLat1, double lon1, double lat2, double cosLat2,
                            double lon2)
{
    const double sLat = std::sin((lat2 - lat1) * 0.5);
    const double sLon = std::sin((lon2 - lon1) * 0.5);
    return sLat * sLat + cosLat1 * cosLat2 * sLon * sLon;
}

QString dash()
{
    return QString(QChar(0x2014));
}

QString fixed(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

QString isoUtc(qint64 time)
{
    return TimeText::dateTime(TimeText::split(time, false), QStringLiteral("T")) + QLatin1Char('Z');
}

} // namespace

double TrackStatistics::distance(double lat1, double lon1, double lat2, double lon2)
{
    const double a1 = lat1 * DegToRad;
    const double a2 = lat2 * DegToRad;
    const double a =
        haversineTerm(a1, std::cos(a1), lon1 * DegToRad, a2, std::cos(a2), lon2 * DegToRad);
    return 2.0 * EarthRadius * centralHalfAngle(a);
}

namespace
{

// Ascent and descent with hysteresis: a change of direction counts only once the altitude
// has moved AscentThreshold away from the last turning point, and from then on every
// metre beyond that point counts. Swings smaller than the threshold add nothing, so
// altitude noise on a flat track is not summed, while a real climb keeps its full height
// (only a last stretch shorter than the threshold is left out).
struct ClimbCounter {
    explicit ClimbCounter(double start) : turn(start) {}
    void add(double alt)
    {
        if (direction >= 0 && alt > turn) {
            if (direction > 0 || alt - turn >= TrackStatistics::AscentThreshold) {
                up += alt - turn;
                turn = alt;
                direction = 1;
            }
        } else if (direction <= 0 && alt < turn) {
            if (direction < 0 || turn - alt >= TrackStatistics::AscentThreshold) {
                down += turn - alt;
                turn = alt;
                direction = -1;
            }
        } else if (std::abs(alt - turn) >= TrackStatistics::AscentThreshold) {
            (direction > 0 ? down : up) += std::abs(alt - turn);
            turn = alt;
            direction = -direction;
        }
    }
    double turn;       // the highest altitude of a climb, the lowest of a descent
    int direction = 0; // 1 climbing, -1 descending, 0 not yet known
    double up = 0.0;
    double down = 0.0;
};

} // namespace

TrackStatistics TrackStatistics::compute(const Track& track)
{
    TrackStatistics s = compute(track.points, track.fmt);
    s.derivedSpeed = track.derivedSpeed;
    if (track.speedsWithoutAltitude && !track.points.isEmpty()) {
        s.hasSpeed = true;
        quint32 maxSpeed = 0;
        for (const Vec3& p : track.points)
            maxSpeed = std::max(maxSpeed, quint32(p.speed));
        s.maxSpeedRaw = qint32(maxSpeed);
        s.maxSpeedKmh = Units::speedKmh(s.maxSpeedRaw);
    }
    return s;
}

TrackStatistics TrackStatistics::compute(const QVector<Vec3>& points, int fmt)
{
    TrackStatistics s;
    s.pointCount = points.size();
    s.hasSpeed = fmt == 2 && !points.isEmpty();
    s.hasAltitude = s.hasSpeed;
    if (points.isEmpty())
        return s;

    // A stretch is moving when d / dt > 1 km/h, i.e. d * 3.6 > dt (d in m, dt in s).
    const double movingFactor = 3.6 / MovingSpeedKmh;
    const Vec3* p = points.constData();
    const int n = points.size();

    double prevLat = p[0].lat * DegToRad;
    double prevLon = p[0].lon * DegToRad;
    double prevCos = std::cos(prevLat);
    qint64 prevTime = quint32(p[0].time);
    double halfAngles = 0.0;
    qint64 moving = 0;
    qint64 firstTime = prevTime;
    qint64 lastTime = prevTime;
    int marked = p[0].marked != 0 ? 1 : 0;
    quint32 maxSpeed = quint32(p[0].speed);
    double minAlt = p[0].alt;
    double maxAlt = p[0].alt;
    ClimbCounter climb(p[0].alt);

    for (int i = 1; i < n; ++i) {
        const Vec3& q = p[i];
        const double lat = q.lat * DegToRad;
        const double lon = q.lon * DegToRad;
        const double cosLat = std::cos(lat);
        const double half =
            centralHalfAngle(haversineTerm(prevLat, prevCos, prevLon, lat, cosLat, lon));
        halfAngles += half;

        const qint64 t = quint32(q.time);
        if (t != 0) {
            if (prevTime != 0) {
                const qint64 dt = t - prevTime;
                if (dt > 0 && 2.0 * EarthRadius * half * movingFactor > double(dt))
                    moving += dt;
            }
            if (firstTime == 0)
                firstTime = t;
            lastTime = t;
        }

        marked += q.marked != 0 ? 1 : 0;
        maxSpeed = std::max(maxSpeed, quint32(q.speed));
        climb.add(q.alt);
        minAlt = std::min(minAlt, q.alt);
        maxAlt = std::max(maxAlt, q.alt);

        prevLat = lat;
        prevLon = lon;
        prevCos = cosLat;
        prevTime = t;
    }

    s.markedCount = marked;
    s.distanceMeters = 2.0 * EarthRadius * halfAngles;
    s.movingTime = moving;
    s.hasTime = firstTime != 0;
    if (s.hasTime) {
        s.startTime = firstTime;
        s.endTime = lastTime;
        s.duration = std::max<qint64>(0, lastTime - firstTime);
    }
    if (s.hasSpeed) {
        s.maxSpeedRaw = qint32(maxSpeed);
        s.maxSpeedKmh = Units::speedKmh(s.maxSpeedRaw);
        s.minAltitude = minAlt;
        s.maxAltitude = maxAlt;
        s.ascent = climb.up;
        s.descent = climb.down;
    }
    return s;
}

QVector<TrackStatistics> TrackStatistics::computeAll(const QVector<Track>& tracks)
{
    QVector<TrackStatistics> all;
    all.reserve(tracks.size());
    for (const Track& track : tracks)
        all.append(compute(track));
    return all;
}

double TrackStatistics::averageSpeedKmh() const
{
    return hasAverageSpeed() ? distanceMeters / double(duration) * 3.6 : 0.0;
}

double TrackStatistics::movingAverageSpeedKmh() const
{
    return hasMovingAverageSpeed() ? distanceMeters / double(movingTime) * 3.6 : 0.0;
}

QString TrackStatistics::formatDuration(qint64 seconds)
{
    seconds = std::max<qint64>(0, seconds);
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QVector<QPair<QString, QString>> TrackStatistics::rows(int speedUnit, int heightUnit,
                                                       int timeSwitch) const
{
    const bool miles = speedUnit == DisplaySettings::Mph;
    const bool feet = heightUnit == DisplaySettings::Feet;
    const QString speedText = QStringLiteral("%1 ") + Units::speedName(speedUnit);
    const QString heightText = QStringLiteral("%1 ") + Units::heightName(heightUnit);
    auto speed = [&](double kmh) { return speedText.arg(fixed(miles ? kmh / 1.609344 : kmh, 2)); };
    auto height = [&](double metres) {
        return heightText.arg(fixed(feet ? Units::altitudeFeet(metres) : metres, 2));
    };
    auto when = [&](qint64 time) {
        return TimeText::dateTime(TimeText::split(time, timeSwitch == DisplaySettings::LocalTime),
                                  QStringLiteral(" - "));
    };
    const QString distanceText =
        fixed(miles ? distanceMeters / MetresPerMile : distanceMeters / 1000.0, 2) +
        QLatin1Char(' ') + Units::distanceName(speedUnit);
    const bool moved = pointCount > 0;

    QVector<QPair<QString, QString>> r;
    r.reserve(14);
    r.append({tr("Points"), QString::number(pointCount)});
    r.append({tr("Marked points"), QString::number(markedCount)});
    r.append({tr("Start"), hasTime ? when(startTime) : dash()});
    r.append({tr("End"), hasTime ? when(endTime) : dash()});
    r.append({tr("Duration"), hasTime ? formatDuration(duration) : dash()});
    r.append({tr("Moving time"), hasTime ? formatDuration(movingTime) : dash()});
    r.append({tr("Distance"), moved ? distanceText : dash()});
    r.append({tr("Average speed"), hasAverageSpeed() ? speed(averageSpeedKmh()) : dash()});
    r.append({tr("Moving average speed"),
              hasMovingAverageSpeed() ? speed(movingAverageSpeedKmh()) : dash()});
    // The list shows stored speeds with the single-precision conversion; so does the maximum.
    r.append({derivedSpeed ? tr("Maximum speed (derived)") : tr("Maximum speed"),
              hasSpeed ? speedText.arg(fixed(miles ? Units::speedMph(maxSpeedRaw) : maxSpeedKmh, 2))
                       : dash()});
    r.append({tr("Minimum altitude"), hasAltitude ? height(minAltitude) : dash()});
    r.append({tr("Maximum altitude"), hasAltitude ? height(maxAltitude) : dash()});
    r.append({tr("Ascent"), hasAltitude ? height(ascent) : dash()});
    r.append({tr("Descent"), hasAltitude ? height(descent) : dash()});
    return r;
}

QVector<QPair<QString, QString>> TrackStatistics::rows(const DisplaySettings& settings) const
{
    return rows(settings.speedUnit(), settings.heightUnit(), settings.timeSwitch());
}

QString TrackStatistics::toolTip(int speedUnit, int heightUnit, int timeSwitch) const
{
    QStringList lines;
    const QString none = dash();
    const auto all = rows(speedUnit, heightUnit, timeSwitch);
    for (const auto& row : all) {
        if (row.second != none)
            lines.append(tr("%1: %2").arg(row.first, row.second));
    }
    return lines.join(QLatin1Char('\n'));
}

QString TrackStatistics::toolTip(const DisplaySettings& settings) const
{
    return toolTip(settings.speedUnit(), settings.heightUnit(), settings.timeSwitch());
}

QString TrackStatistics::tsvHeader()
{
    return QStringLiteral("track\tpoints\tmarked\tstart_utc\tend_utc\tduration_s\tmoving_s\t"
                          "distance_m\tavg_kmh\tmoving_avg_kmh\tmax_kmh\tmin_alt_m\tmax_alt_m\t"
                          "ascent_m\tdescent_m");
}

QString TrackStatistics::tsvLine(int trackNumber) const
{
    QStringList f;
    f.reserve(15);
    f << QString::number(trackNumber) << QString::number(pointCount)
      << QString::number(markedCount);
    f << (hasTime ? isoUtc(startTime) : QString()) << (hasTime ? isoUtc(endTime) : QString());
    f << (hasTime ? QString::number(duration) : QString())
      << (hasTime ? QString::number(movingTime) : QString());
    f << (pointCount > 0 ? fixed(distanceMeters, 1) : QString());
    f << (hasAverageSpeed() ? fixed(averageSpeedKmh(), 2) : QString())
      << (hasMovingAverageSpeed() ? fixed(movingAverageSpeedKmh(), 2) : QString())
      << (hasSpeed ? fixed(maxSpeedKmh, 2) : QString());
    if (hasAltitude) {
        f << fixed(minAltitude, 1) << fixed(maxAltitude, 1) << fixed(ascent, 1)
          << fixed(descent, 1);
    } else {
        f << QString() << QString() << QString() << QString();
    }
    return f.join(QLatin1Char('\t'));
}
