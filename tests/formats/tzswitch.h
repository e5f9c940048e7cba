#pragma once

#include <QByteArray>

#include <ctime>

// Sets TZ ("(unset)" unsets it) until the end of the scope.
class TzSwitch
{
public:
    explicit TzSwitch(const QByteArray& zone)
        : m_previous(qEnvironmentVariableIsSet("TZ") ? qgetenv("TZ") : "(unset)")
    {
        apply(zone);
    }
    ~TzSwitch() { apply(m_previous); }

private:
    static void apply(const QByteArray& zone)
    {
        if (zone == "(unset)")
            qunsetenv("TZ");
        else
            qputenv("TZ", zone);
        tzset();
    }
    const QByteArray m_previous;
};
