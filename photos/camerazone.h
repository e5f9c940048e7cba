#pragma once

#include <QByteArray>
#include <QString>
#include <QTimeZone>

// The zone a camera's clock was set to: this computer's zone, a fixed offset from UTC (UTC
// itself is offset 0) or a named zone with its daylight-saving rules. It turns the wall-clock
// time a camera writes into a photo into UTC.
class CameraZone
{
public:
    CameraZone() = default; // this computer's zone
    static CameraZone utc() { return fixed(0); }
    static CameraZone fixed(int offsetSeconds);
    static CameraZone named(const QByteArray& ianaId);

    // "local", "utc", "+HH:MM" / "-HH:MM" (also "UTC+HH:MM") or a zone name such as
    // "Europe/Berlin"; false for anything else.
    static bool parse(const QString& text, CameraZone* zone);
    // The text parse() reads back.
    QString text() const;
    bool isLocal() const { return m_kind == Local; }

    // Offset from UTC in seconds at the instant utcSeconds.
    int offsetAt(qint64 utcSeconds) const;
    // UTC milliseconds of a wall-clock time (milliseconds since 1970 read as if UTC). A time
    // that occurs twice (clocks put back) is taken at its first occurrence; one that never
    // occurs (clocks put forward) is read with the offset in force before the change.
    qint64 toUtcMs(qint64 wallMs) const;
    // "+HH:MM" / "-HH:MM".
    static QString offsetText(int offsetSeconds);

private:
    enum Kind { Local, Fixed, Named };
    Kind m_kind = Local;
    int m_offset = 0;
    QTimeZone m_zone;
};
