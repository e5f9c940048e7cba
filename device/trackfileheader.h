#pragma once

#include <QMetaType>
#include <QVector>

// One track file on the logger: UTC time and date of its first valid line.
struct TrackFileHeader {
    quint32 timeOfDay = 0; // hhmmss
    quint32 date = 0;      // ddmmyy
    QVector<int> fileIndexes;
};
Q_DECLARE_METATYPE(TrackFileHeader)
