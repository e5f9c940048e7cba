#include "view/googlemapoperator.h"

GoogleMapOperator::GoogleMapOperator(QObject* parent) : QObject(parent) {}

void GoogleMapOperator::setTiles(const QString& url, const QString& attribution)
{
    m_tileUrl = url;
    m_tileAttribution = attribution;
}

QString GoogleMapOperator::tileErrorText() const
{
    return tr("Map tiles cannot be loaded: no network connection or no such tiles.");
}
