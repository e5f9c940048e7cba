#include "formats/gpsfilter.h"

#include "formats/formatslog.h"
#include "formats/settingfile.h"

#include <QCoreApplication>
#include <QStringList>

#include <atomic>

namespace
{
std::atomic<qint8> g_limit{GpsFilter::Default};
}

qint8 GpsFilter::limit()
{
    return g_limit.load(std::memory_order_relaxed);
}

void GpsFilter::setLimit(qint8 limit)
{
    g_limit.store(limit, std::memory_order_relaxed);
}

bool GpsFilter::parse(const QString& text, qint8* limit)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok || value < Lowest || value > Highest)
        return false;
    *limit = qint8(value);
    return true;
}

qint8 GpsFilter::readSettingFile(const QString& path, QString* problem)
{
    if (problem)
        problem->clear();
    const QVariant value = SettingFile(path).value(QStringLiteral("GPS_filter"));
    qint8 limit = Default;
    // A value with a comma comes as a list of strings: never a number.
    if (value.isValid() &&
        (value.type() != QVariant::String || !parse(value.toString(), &limit))) {
        const QString text = value.type() == QVariant::StringList
                                 ? value.toStringList().join(QLatin1Char(','))
                                 : value.toString();
        const QString message =
            QCoreApplication::translate("GpsFilter",
                                        "%1: GPS_filter \"%2\" is not a whole number from %3 "
                                        "to %4; the default %5 applies.")
                .arg(path, text)
                .arg(Lowest)
                .arg(Highest)
                .arg(Default);
        qCWarning(lcFormats).noquote() << message;
        if (problem)
            *problem = message;
        limit = Default;
    }
    setLimit(limit);
    return limit;
}
