#pragma once

#include <QString>

// The logger's configuration, as held in kv730.ini.
struct DeviceConfig {
    qint32 loggingFormat = 0; // bits: 1 position, 2 G-sensor
    double gpsInterval = 0.0;
    bool powerSaving = false;
    bool bluetooth = false;
    bool heightLimit = false;
    bool testMode = false;
};
