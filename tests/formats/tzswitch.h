#pragma once

#include <QByteArray>
#include <QList>

// Sets TZ for the rest of the test function and restores the previous value afterwards.
class TzSwitch
{
public:
    explicit TzSwitch(const QByteArray& zone); // "(unset)" unsets TZ
    ~TzSwitch();
    TzSwitch(const TzSwitch&) = delete;
    TzSwitch& operator=(const TzSwitch&) = delete;

    // The zones the differential tests run under: unset, UTC, zones with DST gaps at
    // various hours and sizes, a skipped day, a POSIX rule and the empty value.
    static QList<QByteArray> zones();

private:
    bool m_hadValue;
    QByteArray m_previous;
};
