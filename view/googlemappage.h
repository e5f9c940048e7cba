#pragma once

#include <QUrl>
#include <QVariant>

// The map runs on Qt WebEngine, or on Qt WebKit where the build asks for it
// (KV730_MAP_ENGINE=WebKit). This class and MapView are the only places that know which; the
// rest of the tool talks to the map through the bridge object and the calls below.
#if KV730_MAP_WEBKIT
#include <QWebPage>
using MapPageBase = QWebPage;
#else
#include <QWebEnginePage>
using MapPageBase = QWebEnginePage;
#endif

class GoogleMapOperator;
class MapCommandQueue;

// Hosts the map page. Tile servers get this application's own name and the tiles go through
// the tile cache; links in the page (the map attribution) open in the system browser instead
// of replacing the map. The bridge's signals reach the page in batches (MapCommandQueue).
class GoogleMapPage : public MapPageBase
{
    Q_OBJECT

public:
    explicit GoogleMapPage(QObject* parent = nullptr);
    ~GoogleMapPage() override;

    static QString userAgent();
    // The one page this page object shows; loaded once.
    static QUrl pageUrl();
    // What the engine needs before the application object exists; every program that shows
    // the map calls it first thing in main().
    static void prepareApplication();

    // Makes the bridge known to the page under its name and hands the page its emissions.
    void setBridge(GoogleMapOperator* bridge);
    // Runs script in the page after everything handed to it so far; nothing is waited for.
    void runScript(const QString& script);
    // Hands over what is pending, then runs script and waits for its value (tests and
    // benchmarks; an invalid value if the page does not answer).
    QVariant evaluate(const QString& script);
    // Whether the page's one load has finished.
    bool isPageLoaded() const { return m_pageLoaded; }

#if KV730_MAP_WEBKIT
    void load(const QUrl& url);
#endif

protected:
    // Only the first load of pageUrl() is let through: a reload or any other navigation
    // would drop every line and marker while the lists still offer the tracks.
#if KV730_MAP_WEBKIT
    QString userAgentForUrl(const QUrl& url) const override;
    bool acceptNavigationRequest(QWebFrame* frame, const QNetworkRequest& request,
                                 NavigationType type) override;
#else
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                  int line, const QString& source) override;
#endif

private:
    void openExternalLink(const QUrl& url);
    bool acceptFirstLoad(const QUrl& url, bool mainFrame);
    void handBatch(const QString& script);
    void connectBridge(GoogleMapOperator* bridge);
#if KV730_MAP_WEBKIT
    void publishBridge();
#endif

    MapCommandQueue* m_queue = nullptr;
    GoogleMapOperator* m_bridge = nullptr;
    bool m_loadAccepted = false;
    bool m_pageLoaded = false;
};
