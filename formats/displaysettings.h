#pragma once

// The three display choices of the main window, read at each use by the lists
// and by the CSV writer.
class DisplaySettings
{
public:
    // The values are the numbers kept in the per-user settings.
    enum SpeedUnit { Kmh = 0, Mph = 1 };
    enum HeightUnit { Metres = 0, Feet = 1 };
    enum TimeDisplay { Utc = 0, LocalTime = 1 };

    virtual ~DisplaySettings() = default;
    virtual int speedUnit() const = 0;  // SpeedUnit
    virtual int heightUnit() const = 0; // HeightUnit
    virtual int timeSwitch() const = 0; // TimeDisplay
};
