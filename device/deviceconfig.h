#pragma once

#include <QByteArray>
#include <QString>

// The logger's configuration, as held in kv730.ini.
struct DeviceConfig {
    qint32 loggingFormat = 0; // bits: 1 position, 2 G-sensor
    double gpsInterval = 0.0;
    bool powerSaving = false;
    bool bluetooth = false;
    bool heightLimit = false;
    bool testMode = false;

    // Reads an ini file; a missing file or key gives the logger's defaults.
    static DeviceConfig readFile(const QString& filePath);
    // The six lines the logger expects, with "\n" line ends.
    QString toText() const;
    // `old` (a kv730.ini) with the six settings set to this record. Everything else stays
    // as it was: other keys, comments, the order and the line ends; a setting that `old`
    // lacks is added at its end. Without an old file, toText() with `lineEnd`.
    QByteArray mergedInto(const QByteArray& old, const char* lineEnd) const;
    // Rewrites the file's settings (mergedInto), or writes toText() with the platform's line
    // ends where there is no file. The old file is only replaced once the new one is
    // complete, so the logger never ends up without one.
    bool writeFile(const QString& filePath) const;
};
