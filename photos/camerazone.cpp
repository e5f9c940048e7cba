#include "photos/camerazone.h"
#include "formats/civildate.h"
#include "formats/localzone.h"

#include <QDateTime>
#include <QRegularExpression>

#include <cstdlib>
#include <ctime>

CameraZone CameraZone::fixed(int offsetSeconds)
{
    CameraZone zone;
    zone.m_kind = Fixed;
    zone.m_offset = offsetSeconds;
    return zone;
}

CameraZone CameraZone::named(const QByteArray& ianaId)
{
    CameraZone zone;
    zone.m_kind = Named;
    zone.m_zone = QTimeZone(ianaId);
    return zone;
}

bool CameraZone::parse(const QString& text, CameraZone* zone)
{
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("local"), Qt::CaseInsensitive) == 0) {
        *zone = CameraZone();
        return true;
    }
    if (t.compare(QLatin1String("utc"), Qt::CaseInsensitive) == 0 || t == QLatin1String("Z")) {
        *zone = utc();
        return true;
    }
    static const QRegularExpression offset(QStringLiteral("^(?:UTC)?([+-])(\\d{1,2}):?(\\d{2})$"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = offset.match(t);
    if (m.hasMatch()) {
        const int hours = m.captured(2).toInt();
        const int minutes = m.captured(3).toInt();
        if (hours > 14 || minutes > 59 || (hours == 14 && minutes > 0))
            return false;
        const int seconds = hours * 3600 + minutes * 60;
        *zone = fixed(m.captured(1) == QLatin1String("-") ? -seconds : seconds);
        return true;
    }
    const QByteArray id = t.toUtf8();
    if (id.isEmpty() || !QTimeZone::isTimeZoneIdAvailable(id))
        return false;
    *zone = named(id);
    return true;
}

QString CameraZone::text() const
{
    switch (m_kind) {
    case Local:
        return QStringLiteral("local");
    case Fixed:
        return m_offset == 0 ? QStringLiteral("utc") : offsetText(m_offset);
    case Named:
        break;
    }
    return QString::fromUtf8(m_zone.id());
}

QString CameraZone::offsetText(int offsetSeconds)
{
    const int a = std::abs(offsetSeconds);
    return QString::asprintf("%c%02d:%02d", offsetSeconds < 0 ? '-' : '+', a / 3600, a / 60 % 60);
}

int CameraZone::offsetAt(qint64 utcSeconds) const
{
    switch (m_kind) {
    case Fixed:
        return m_offset;
    case Local: {
        // The C library's zone (TZ), as the rest of the program shows local times, without
        // QDateTime's reading of the zone at every call.
        std::tm tm;
        if (!LocalZone::localTime(utcSeconds, &tm))
            return QDateTime::fromSecsSinceEpoch(utcSeconds, Qt::LocalTime).offsetFromUtc();
        const qint64 wall =
            CivilDate::daysFrom(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday) * 86400 +
            tm.tm_hour * 3600 + tm.tm_min * 60 + tm.tm_sec;
        return int(wall - utcSeconds);
    }
    case Named:
        break;
    }
    return m_zone.offsetFromUtc(QDateTime::fromSecsSinceEpoch(utcSeconds, Qt::UTC));
}

qint64 CameraZone::toUtcMs(qint64 wallMs) const
{
    if (m_kind == Fixed)
        return wallMs - qint64(m_offset) * 1000;
    // The offsets half a day either side cover any one change of the zone's rules; a wall
    // time is valid with an offset when that offset is the one in force at the result.
    const qint64 wall = wallMs >= 0 ? wallMs / 1000 : -((-wallMs + 999) / 1000);
    const int before = offsetAt(wall - 12 * 3600);
    const int after = offsetAt(wall + 12 * 3600);
    if (offsetAt(wall - before) == before)
        return wallMs - qint64(before) * 1000;
    if (offsetAt(wall - after) == after)
        return wallMs - qint64(after) * 1000;
    return wallMs - qint64(before) * 1000;
}
