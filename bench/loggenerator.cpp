#include "loggenerator.h"

#include <QDateTime>
#include <QFile>

#include <cmath>
#include <cstdio>

namespace
{

struct DegreesMinutes {
    int degrees;
    double minutes;
};

DegreesMinutes split(double value)
{
    const double a = std::fabs(value);
    const int degrees = int(a);
    double minutes = (a - degrees) * 60.0;
    // Keep the 4-decimal text below 60 minutes.
    if (minutes >= 59.99995)
        minutes = 59.9999;
    return {degrees, minutes};
}

struct Utc {
    int year, month, day, hour, minute, second;
};

Utc utc(qint64 time)
{
    const QDateTime t = QDateTime::fromSecsSinceEpoch(time, Qt::UTC);
    return {t.date().year(), t.date().month(),  t.date().day(),
            t.time().hour(), t.time().minute(), t.time().second()};
}

bool writeChunks(const QString& path, int count, int (*line)(const void*, int, char*),
                 const void* self)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray chunk;
    chunk.reserve(1 << 20);
    char buffer[512];
    for (int i = 0; i < count; ++i) {
        chunk.append(buffer, line(self, i, buffer));
        if (chunk.size() > (1 << 20) - 512 || i + 1 == count) {
            if (file.write(chunk) != chunk.size())
                return false;
            chunk.clear();
        }
    }
    return file.flush();
}

int nmeaSentence(char* out, const char* body)
{
    unsigned char sum = 0;
    for (const char* p = body; *p; ++p)
        sum ^= static_cast<unsigned char>(*p);
    return std::sprintf(out, "$%s*%02X\r\n", body, sum);
}

} // namespace

LogGenerator::Sample LogGenerator::sample(int index) const
{
    const double t = index;
    Sample s;
    s.time = m_startTime + index;
    // A slow loop of a few kilometres with a wobble; steps stay far below the jump limit.
    s.latitude = 25.0330 + 0.02 * std::sin(t / 3000.0) + 0.0005 * std::sin(t / 37.0);
    s.longitude = 121.5654 + 0.03 * std::cos(t / 3000.0) + 0.0005 * std::cos(t / 41.0);
    s.altitude = 60.0 + 50.0 * std::sin(t / 700.0);
    s.speed = 20.0 + 15.0 * std::sin(t / 90.0);
    s.marked = index % 50 == 0;
    return s;
}

bool LogGenerator::writeLog(const QString& path, int count) const
{
    auto line = [](const void* self, int i, char* out) {
        const Sample s = static_cast<const LogGenerator*>(self)->sample(i);
        const Utc u = utc(s.time);
        const DegreesMinutes lat = split(s.latitude);
        const DegreesMinutes lon = split(s.longitude);
        return std::sprintf(out,
                            "%d,%04d:%02d:%02d-%02d:%02d:%02d,%s,%02d%07.4f,%c,%03d%07.4f,%c,"
                            "%.1f,%.2f,0,0\r\n",
                            i, u.year, u.month, u.day, u.hour, u.minute, u.second,
                            s.marked ? "@GPS" : "*GPS", lat.degrees, lat.minutes,
                            s.latitude < 0 ? 'S' : 'N', lon.degrees, lon.minutes,
                            s.longitude < 0 ? 'W' : 'E', s.altitude, s.speed);
    };
    return writeChunks(path, count, line, this);
}

bool LogGenerator::writeNmea(const QString& path, int count) const
{
    auto line = [](const void* self, int i, char* out) {
        const Sample s = static_cast<const LogGenerator*>(self)->sample(i);
        const Utc u = utc(s.time);
        const DegreesMinutes lat = split(s.latitude);
        const DegreesMinutes lon = split(s.longitude);
        char body[256];
        std::sprintf(
            body, "GPRMC,%02d%02d%02d.00,A,%02d%07.4f,%c,%03d%07.4f,%c,%.2f,0.0,%02d%02d%02d,,,A",
            u.hour, u.minute, u.second, lat.degrees, lat.minutes, s.latitude < 0 ? 'S' : 'N',
            lon.degrees, lon.minutes, s.longitude < 0 ? 'W' : 'E', s.speed / 1.852, u.day, u.month,
            u.year % 100);
        int n = nmeaSentence(out, body);
        std::sprintf(
            body, "GPGGA,%02d%02d%02d.00,%02d%07.4f,%c,%03d%07.4f,%c,1,08,1.0,%.1f,M,0.0,M,,",
            u.hour, u.minute, u.second, lat.degrees, lat.minutes, s.latitude < 0 ? 'S' : 'N',
            lon.degrees, lon.minutes, s.longitude < 0 ? 'W' : 'E', s.altitude);
        n += nmeaSentence(out + n, body);
        return n;
    };
    return writeChunks(path, count, line, this);
}
