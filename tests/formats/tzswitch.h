#pragma once

#include <QByteArray>
#include <QTest>

#include <ctime>

// Sets TZ ("(unset)" unsets it) until the end of the scope.
class TzSwitch
{
public:
    explicit TzSwitch(const QByteArray& zone)
        : m_had(qEnvironmentVariableIsSet("TZ")), m_previous(qgetenv("TZ"))
    {
        apply(zone);
    }
    ~TzSwitch() { apply(m_had ? m_previous : QByteArray("(unset)")); }

    // Unset, UTC, empty, DST gaps at various hours and sizes, a skipped day, a POSIX rule.
    static void addZoneRows()
    {
        QTest::addColumn<QByteArray>("zone");
        for (const QByteArray& zone : QByteArray("(unset)|UTC||Europe/Berlin|America/New_York|"
                                                 "America/Sao_Paulo|Australia/Lord_Howe|"
                                                 "Pacific/Apia|Asia/Tehran|EST5EDT,M3.2.0,M11.1.0")
                                          .split('|'))
            QTest::newRow(zone.isEmpty() ? "(empty)" : zone.constData()) << zone;
    }

private:
    static void apply(const QByteArray& zone)
    {
        if (zone == "(unset)")
            qunsetenv("TZ");
        else
            qputenv("TZ", zone);
        tzset();
    }
    bool m_had;
    QByteArray m_previous;
};
