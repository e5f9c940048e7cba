#include "tools/convertersettings.h"

bool ConverterSettings::setSpeedUnit(const QString& word)
{
    if (word == QLatin1String("kmh"))
        m_speedUnit = 0;
    else if (word == QLatin1String("mph"))
        m_speedUnit = 1;
    else
        return false;
    return true;
}

bool ConverterSettings::setHeightUnit(const QString& word)
{
    if (word == QLatin1String("m"))
        m_heightUnit = 0;
    else if (word == QLatin1String("ft"))
        m_heightUnit = 1;
    else
        return false;
    return true;
}

bool ConverterSettings::setTimeSwitch(const QString& word)
{
    if (word == QLatin1String("utc"))
        m_timeSwitch = 0;
    else if (word == QLatin1String("local"))
        m_timeSwitch = 1;
    else
        return false;
    return true;
}
