#include "tzswitch.h"

#include <ctime>

namespace
{

void apply(const QByteArray& zone)
{
    if (zone == "(unset)")
        qunsetenv("TZ");
    else
        qputenv("TZ", zone);
    tzset();
}

} // namespace

TzSwitch::TzSwitch(const QByteArray& zone)
    : m_hadValue(qEnvironmentVariableIsSet("TZ")), m_previous(qgetenv("TZ"))
{
    apply(zone);
}

TzSwitch::~TzSwitch()
{
    apply(m_hadValue ? m_previous : QByteArray("(unset)"));
}

QList<QByteArray> TzSwitch::zones()
{
    return {"(unset)",
            "UTC",
            "",
            "Europe/Berlin",
            "America/New_York",
            "America/Sao_Paulo",
            "Australia/Lord_Howe",
            "Pacific/Apia",
            "Asia/Tehran",
            "EST5EDT,M3.2.0,M11.1.0"};
}
