#pragma once

#include "view/vec3.h"

#include <QByteArray>
#include <QFile>
#include <QString>

// Small helpers shared by the test programs.
namespace TestSupport {

inline bool writeFile(const QString& path, const QByteArray& data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(data) == data.size();
}

// The whole file, or an empty array when it cannot be read.
inline QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline Vec3 point(double lat, double lon, double alt = 0.0, qint64 time = 0, int marked = 0,
                  int speed = 0)
{
    Vec3 p;
    p.lat = lat;
    p.lon = lon;
    p.alt = alt;
    p.time = time;
    p.marked = marked;
    p.speed = speed;
    return p;
}

} // namespace TestSupport
