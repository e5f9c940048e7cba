#include "view/googlemappage.h"

#include "view/googlemapoperator.h"
#include "view/tilecache.h"
#include "view/tileschemehandler.h"
#include "view/viewlog.h"

#include <QCoreApplication>
#include <QWebChannel>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace
{

// One profile for the map of the whole process: nothing of it is kept on disk (the tile
// cache keeps the tiles), and tiles come through the tool's own scheme.
QWebEngineProfile* mapProfile()
{
    static QWebEngineProfile* profile = nullptr;
    if (!profile) {
        profile = new QWebEngineProfile(QCoreApplication::instance());
        profile->setHttpUserAgent(GoogleMapPage::userAgent());
        profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
        profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
        profile->installUrlSchemeHandler(
            TileSchemeHandler::scheme(),
            new TileSchemeHandler(TileCache::createNetworkAccessManager(profile), profile));
    }
    return profile;
}

void addChromiumFlag(const QByteArray& flag)
{
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (flags.contains(flag))
        return;
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", (flags + ' ' + flag).trimmed());
}

} // namespace

void GoogleMapPage::prepareApplication()
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    TileSchemeHandler::registerScheme();
#ifdef Q_OS_UNIX
    // The engine's sandbox refuses to start for root, which would leave the map empty.
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
#endif
    // Without a display server there is no OpenGL: the page is drawn in software.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.startsWith("offscreen") || platform.startsWith("minimal")) {
        if (!qEnvironmentVariableIsSet("QT_QUICK_BACKEND"))
            qputenv("QT_QUICK_BACKEND", "software");
        addChromiumFlag("--disable-gpu");
    }
}

GoogleMapPage::GoogleMapPage(QObject* parent) : QWebEnginePage(mapProfile(), parent)
{
    settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings()->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
}

void GoogleMapPage::setBridge(GoogleMapOperator* bridge)
{
    bridge->setTilePrefix(QString::fromLatin1(TileSchemeHandler::scheme()) + QLatin1Char(':'));
    auto* channel = new QWebChannel(this);
    channel->registerObject(QStringLiteral("googleMapOperator"), bridge);
    setWebChannel(channel);
    connectBridge(bridge);
}

bool GoogleMapPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame)
{
    if (acceptFirstLoad(url, isMainFrame))
        return true;
    if (type == NavigationTypeLinkClicked)
        openExternalLink(url);
    else
        qCDebug(lcView) << "navigation refused:" << type << url;
    return false;
}

void GoogleMapPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level,
                                             const QString& message, int line,
                                             const QString& source)
{
    qCDebug(lcView) << "map page:" << level << message << source << line;
}

void GoogleMapPage::handBatch(const QString& script)
{
    runJavaScript(script);
}
