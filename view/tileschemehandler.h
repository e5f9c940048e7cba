#pragma once

#include <QByteArray>
#include <QWebEngineUrlSchemeHandler>

class QNetworkAccessManager;

// Serves the map page's tiles: "kv730tile:ADDRESS" is ADDRESS (http, https or file) fetched
// through the tile cache's network manager, with the tool's user agent, so that tiles shown
// once come back without a network and a folder of tiles on disk works as before.
class TileSchemeHandler : public QWebEngineUrlSchemeHandler
{
    Q_OBJECT

public:
    static QByteArray scheme();
    // Before the application object exists.
    static void registerScheme();

    TileSchemeHandler(QNetworkAccessManager* network, QObject* parent);
    void requestStarted(QWebEngineUrlRequestJob* job) override;

    // The address a request stands for; empty if it names none that may be fetched.
    static QUrl target(const QUrl& request);

private:
    QNetworkAccessManager* m_network;
};
