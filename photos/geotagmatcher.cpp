#include "photos/geotagmatcher.h"
#include "formats/civildate.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

GeotagMatcher::GeotagMatcher(const QVector<Track>& tracks, const QList<int>& selection)
{
    int total = 0;
    for (int index : selection) {
        if (index >= 0 && index < tracks.size())
            total += tracks.at(index).points.size();
    }
    m_points.reserve(total);
    bool sorted = true;
    for (int index : selection) {
        if (index < 0 || index >= tracks.size())
            continue;
        const Track& track = tracks.at(index);
        const bool hasAltitude = track.fmt == 2;
        for (const Vec3& p : track.points) {
            // Times are the low 32 bits, as everywhere the tool reads a point's time.
            const qint64 ms = qint64(quint32(p.time)) * 1000;
            if (ms == 0 || !std::isfinite(p.lat) || !std::isfinite(p.lon))
                continue;
            if (!m_points.isEmpty() && ms < m_points.last().timeMs)
                sorted = false;
            m_points.append({ms, p.lat, p.lon, std::isfinite(p.alt) ? p.alt : 0.0,
                             hasAltitude && std::isfinite(p.alt)});
        }
    }
    // Tracks are in time order each; only tracks that overlap or come out of order need this.
    if (!sorted)
        std::stable_sort(m_points.begin(), m_points.end(),
                         [](const Point& a, const Point& b) { return a.timeMs < b.timeMs; });
}

qint64 GeotagMatcher::photoUtcMs(const PhotoInfo& photo, const Settings& settings)
{
    const qint64 utc = photo.hasOffset ? photo.wallMs - qint64(photo.offsetSeconds) * 1000
                                       : settings.zone.toUtcMs(photo.wallMs);
    return utc - qint64(std::llround(settings.clockErrorSeconds * 1000.0));
}

GeotagMatch GeotagMatcher::match(const PhotoInfo& photo, const Settings& settings) const
{
    if (!photo.hasTime) {
        GeotagMatch none;
        none.reason = QCoreApplication::translate("GeotagMatcher",
                                                  "The photo does not record when it was taken.");
        return none;
    }
    return locate(photoUtcMs(photo, settings), settings.maxGapSeconds);
}

GeotagMatch GeotagMatcher::locate(qint64 utcMs, int maxGapSeconds) const
{
    GeotagMatch m;
    m.hasUtc = true;
    m.utcMs = utcMs;
    if (m_points.isEmpty()) {
        m.status = GeotagMatch::NoPoints;
        m.reason =
            QCoreApplication::translate("GeotagMatcher", "The chosen tracks hold no timed points.");
        return m;
    }
    const auto next = std::lower_bound(m_points.begin(), m_points.end(), utcMs,
                                       [](const Point& p, qint64 t) { return p.timeMs < t; });
    if (next != m_points.end() && next->timeMs == utcMs) {
        m.status = GeotagMatch::Matched;
        m.latitude = next->lat;
        m.longitude = next->lon;
        m.hasAltitude = next->hasAltitude;
        m.altitude = next->alt;
        return m;
    }
    if (next == m_points.begin()) {
        m.status = GeotagMatch::BeforeTrack;
        m.reason = QCoreApplication::translate("GeotagMatcher",
                                               "Taken before the first track point (%1 UTC).")
                       .arg(timeText(next->timeMs));
        return m;
    }
    if (next == m_points.end()) {
        m.status = GeotagMatch::AfterTrack;
        m.reason = QCoreApplication::translate("GeotagMatcher",
                                               "Taken after the last track point (%1 UTC).")
                       .arg(timeText(m_points.last().timeMs));
        return m;
    }
    const Point& a = *(next - 1);
    const Point& b = *next;
    const qint64 gap = b.timeMs - a.timeMs;
    if (gap > qint64(maxGapSeconds) * 1000) {
        m.status = GeotagMatch::InGap;
        m.reason = QCoreApplication::translate(
                       "GeotagMatcher",
                       "Taken in a gap of %1 s between track points (largest allowed: %2 s).")
                       .arg(gap / 1000.0, 0, 'f', gap % 1000 ? 3 : 0)
                       .arg(maxGapSeconds);
        return m;
    }
    const double f = double(utcMs - a.timeMs) / double(gap);
    // Across the date line the short way round, not through the other side of the globe.
    double lonB = b.lon;
    if (lonB - a.lon > 180.0)
        lonB -= 360.0;
    else if (a.lon - lonB > 180.0)
        lonB += 360.0;
    double lon = a.lon + f * (lonB - a.lon);
    if (lon > 180.0)
        lon -= 360.0;
    else if (lon <= -180.0)
        lon += 360.0;
    m.status = GeotagMatch::Matched;
    m.latitude = a.lat + f * (b.lat - a.lat);
    m.longitude = lon;
    m.hasAltitude = a.hasAltitude && b.hasAltitude;
    if (m.hasAltitude)
        m.altitude = a.alt + f * (b.alt - a.alt);
    return m;
}

QString GeotagMatcher::timeText(qint64 ms, QChar separator)
{
    const qint64 days = ms >= 0 ? ms / 86400000 : -((-ms + 86399999) / 86400000);
    const qint64 rest = ms - days * 86400000;
    const CivilDate d = CivilDate::fromDays(days);
    QString text = QString::asprintf("%04d-%02d-%02d", d.year, d.month, d.day) + separator +
                   QString::asprintf("%02d:%02d:%02d", int(rest / 3600000), int(rest / 60000 % 60),
                                     int(rest / 1000 % 60));
    if (rest % 1000)
        text += QString::asprintf(".%03d", int(rest % 1000));
    return text;
}
