#pragma once

#include "formats/displaysettings.h"

#include <QString>

// The display choices given on the converter's command line; the defaults are those of
// a first start of the application (km/h, metres, local time).
class ConverterSettings : public DisplaySettings
{
public:
    int speedUnit() const override { return m_speedUnit; }
    int heightUnit() const override { return m_heightUnit; }
    int timeSwitch() const override { return m_timeSwitch; }

    // Each returns false for a word it does not know.
    bool setSpeedUnit(const QString& word);  // kmh, mph
    bool setHeightUnit(const QString& word); // m, ft
    bool setTimeSwitch(const QString& word); // utc, local

private:
    int m_speedUnit = 0;
    int m_heightUnit = 0;
    int m_timeSwitch = 1;
};
