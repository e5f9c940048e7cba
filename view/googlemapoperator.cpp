#include "view/googlemapoperator.h"

GoogleMapOperator::GoogleMapOperator(QObject* parent) : QObject(parent) {}

void GoogleMapOperator::setTiles(const QString& url, const QString& attribution)
{
    m_tileUrl = url;
    m_tileAttribution = attribution;
}
