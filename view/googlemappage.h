#pragma once

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

protected:
    QString userAgentForUrl(const QUrl& url) const override;

private slots:
    void openExternalLink(const QUrl& url);
};
