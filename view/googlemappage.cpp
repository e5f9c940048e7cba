#include "view/googlemappage.h"

#include "view/tilecache.h"
#include "view/viewlog.h"

#include <QDesktopServices>
#include <QNetworkRequest>
#include <QUrl>
#include <QWebFrame>

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

QUrl GoogleMapPage::pageUrl()
{
    return QUrl(QStringLiteral("qrc:/map.html"));
}

QString GoogleMapPage::userAgentForUrl(const QUrl& url) const
{
    Q_UNUSED(url);
    return userAgent();
}

bool GoogleMapPage::acceptNavigationRequest(QWebFrame* frame, const QNetworkRequest& request,
                                            NavigationType type)
{
    if (!m_loaded && frame == mainFrame() && type == NavigationTypeOther &&
        request.url() == pageUrl()) {
        m_loaded = true;
        return true;
    }
    if (type == NavigationTypeLinkClicked)
        return QWebPage::acceptNavigationRequest(frame, request, type); // to linkClicked
    qCDebug(lcView) << "navigation refused:" << type << request.url();
    return false;
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
