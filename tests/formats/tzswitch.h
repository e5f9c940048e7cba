#pragma once

#include <QByteArray>

#include <ctime>

// Sets TZ ("(unset)" unsets it) until the end of the scope.
struct TzSwitch {
    explicit TzSwitch(const QByteArray& zone) { apply(zone); }
    ~TzSwitch() { apply(previous); }
    static void apply(const QByteArray& zone)
    {
        zone == "(unset)" ? qunsetenv("TZ") : qputenv("TZ", zone);
        tzset();
    }
    const QByteArray previous = qEnvironmentVariableIsSet("TZ") ? qgetenv("TZ") : "(unset)";
};
