#include "view/googlemappage.h"

#include "view/googlemapoperator.h"
#include "view/tilecache.h"
#include "view/viewlog.h"

#include <QNetworkRequest>
#include <QWebFrame>

void GoogleMapPage::prepareApplication() {}

GoogleMapPage::GoogleMapPage(QObject* parent) : QWebPage(parent)
{
    setNetworkAccessManager(TileCache::createNetworkAccessManager(this));
    setLinkDelegationPolicy(QWebPage::DelegateAllLinks);
    connect(this, &QWebPage::linkClicked, this, &GoogleMapPage::openExternalLink);
}

void GoogleMapPage::setBridge(GoogleMapOperator* bridge)
{
    connectBridge(bridge);
    connect(mainFrame(), &QWebFrame::javaScriptWindowObjectCleared, this,
            &GoogleMapPage::publishBridge);
}

void GoogleMapPage::publishBridge()
{
    mainFrame()->addToJavaScriptWindowObject(QStringLiteral("googleMapOperator"), m_bridge,
                                             QWebFrame::QtOwnership);
}

void GoogleMapPage::load(const QUrl& url)
{
    mainFrame()->load(url);
}

QString GoogleMapPage::userAgentForUrl(const QUrl& url) const
{
    Q_UNUSED(url);
    return userAgent();
}

bool GoogleMapPage::acceptNavigationRequest(QWebFrame* frame, const QNetworkRequest& request,
                                            NavigationType type)
{
    if (type == NavigationTypeOther && acceptFirstLoad(request.url(), frame == mainFrame()))
        return true;
    if (type == NavigationTypeLinkClicked)
        return QWebPage::acceptNavigationRequest(frame, request, type); // to linkClicked
    qCDebug(lcView) << "navigation refused:" << type << request.url();
    return false;
}

void GoogleMapPage::handBatch(const QString& script)
{
    mainFrame()->evaluateJavaScript(script);
}
