#include "view/googlemappage.h"

#include "view/googlemapoperator.h"
#include "view/mapcommandqueue.h"
#include "view/viewlog.h"

#include <QDesktopServices>
#include <QEventLoop>
#include <QTimer>

#include <memory>

#if KV730_MAP_WEBKIT
#include <QWebFrame>
#endif

// What both engines share; the rest is in googlemappage_<engine>.cpp.

GoogleMapPage::~GoogleMapPage() = default;

QString GoogleMapPage::userAgent()
{
    return QStringLiteral("KV-730/S-OPC-41-1807041");
}

QUrl GoogleMapPage::pageUrl()
{
    return QUrl(QStringLiteral("qrc:/map.html"));
}

bool GoogleMapPage::acceptFirstLoad(const QUrl& url, bool mainFrame)
{
    if (m_loadAccepted || !mainFrame || url != pageUrl())
        return false;
    m_loadAccepted = true;
    return true;
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

void GoogleMapPage::connectBridge(GoogleMapOperator* bridge)
{
    m_bridge = bridge;
    m_queue = new MapCommandQueue(bridge, this);
    connect(this, &GoogleMapPage::loadFinished, this, [this](bool ok) {
        qCDebug(lcView) << "map page loaded:" << ok;
        if (m_pageLoaded)
            return;
        m_pageLoaded = true;
        m_queue->setSink([this](const QString& script) { handBatch(script); });
    });
}

void GoogleMapPage::runScript(const QString& script)
{
    if (m_queue)
        m_queue->flush();
    handBatch(script);
}

QVariant GoogleMapPage::evaluate(const QString& script)
{
    if (m_queue)
        m_queue->flush();
#if KV730_MAP_WEBKIT
    return mainFrame()->evaluateJavaScript(script);
#else
    // The answer comes from the page's process; a page that is gone never answers.
    struct Answer {
        QVariant value;
        bool done = false;
        QEventLoop loop;
    };
    auto answer = std::make_shared<Answer>();
    runJavaScript(script, [answer](const QVariant& value) {
        answer->value = value;
        answer->done = true;
        answer->loop.quit();
    });
    if (!answer->done) {
        QTimer::singleShot(20000, &answer->loop, &QEventLoop::quit);
        answer->loop.exec();
    }
    return answer->value;
#endif
}
