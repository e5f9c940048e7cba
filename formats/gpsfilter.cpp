#include "formats/gpsfilter.h"

#include "formats/settingfile.h"

#include <atomic>

namespace
{
std::atomic<qint8> g_limit{1};
}

qint8 GpsFilter::limit()
{
    return g_limit.load(std::memory_order_relaxed);
}

void GpsFilter::setLimit(qint8 limit)
{
    g_limit.store(limit, std::memory_order_relaxed);
}

qint8 GpsFilter::readSettingFile(const QString& path)
{
    const qint8 value = qint8(SettingFile(path).value(QStringLiteral("GPS_filter"), 1).toInt());
    setLimit(value);
    return value;
}
