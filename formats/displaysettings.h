#pragma once

// The three display choices of the main window, read at each use by the lists
// and by the CSV writer.
class DisplaySettings
{
public:
    virtual ~DisplaySettings() = default;
    virtual int speedUnit() const = 0;  // 0 km/h, 1 mi/h
    virtual int heightUnit() const = 0; // 0 metres, 1 feet
    virtual int timeSwitch() const = 0; // 0 UTC, 1 local time
};
