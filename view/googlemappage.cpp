#include "view/googlemappage.h"

#include "view/tilecache.h"
#include "view/viewlog.h"

#include <QDesktopServices>
#include <QUrl>

GoogleMapPage::GoogleMapPage(QObject* parent) : QWebPage(parent)
{
    setNetworkAccessManager(TileCache::createNetworkAccessManager(this));
    setLinkDelegationPolicy(QWebPage::DelegateAllLinks);
    connect(this, &QWebPage::linkClicked, this, &GoogleMapPage::openExternalLink);
}

QString GoogleMapPage::userAgent()
{
    return QStringLiteral("KV-730/S-OPC-41-1807041");
}

QString GoogleMapPage::userAgentForUrl(const QUrl& url) const
{
    Q_UNUSED(url);
    return userAgent();
}

void GoogleMapPage::openExternalLink(const QUrl& url)
{
    const QString scheme = url.scheme();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https")) {
        qCDebug(lcView) << "link not opened:" << url;
        return;
    }
    QDesktopServices::openUrl(url);
}
