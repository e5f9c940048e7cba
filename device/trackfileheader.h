#pragma once

#include <QMetaType>
#include <QString>
#include <QVector>

// One track file on the logger: UTC time and date of its first point (date 0: none).
struct TrackFileHeader {
    quint32 timeOfDay = 0; // hhmmss
    quint32 date = 0;      // ddmmyy
    QVector<int> fileIndexes;
    QString fileName;     // without the drive
    qint64 fileSize = -1; // bytes; -1 unknown
    qint64 duration = -1; // seconds from the first point to the last; -1 unknown
};
Q_DECLARE_METATYPE(TrackFileHeader)
