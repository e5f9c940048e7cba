#include "formats/gpsfilter.h"

#include <QSettings>

#include <atomic>

namespace {
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
    QSettings settings(path, QSettings::IniFormat);
    const qint8 value = qint8(settings.value(QStringLiteral("GPS_filter"), 1).toInt());
    setLimit(value);
    return value;
}
