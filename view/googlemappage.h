#pragma once

#include <QUrl>
#include <QWebPage>

// Hosts the map page. Its downloads go through the tile cache, tile servers get this
// application's own name, and links in the page (the map attribution) open in the system
// browser instead of replacing the map.
class GoogleMapPage : public QWebPage
{
    Q_OBJECT

public:
    explicit GoogleMapPage(QObject* parent = nullptr);

    static QString userAgent();
    // The one page this page object shows; loaded once.
    static QUrl pageUrl();

protected:
    QString userAgentForUrl(const QUrl& url) const override;
    // Only the first load of pageUrl() is let through: a reload or any other navigation
    // would drop every line and marker while the lists still offer the tracks.
    bool acceptNavigationRequest(QWebFrame* frame, const QNetworkRequest& request,
                                 NavigationType type) override;

private slots:
    void openExternalLink(const QUrl& url);

private:
    bool m_loaded = false;
};
