#include "view/tilecache.h"

#include <QNetworkDiskCache>
#include <QNetworkReply>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

class TestTileCache : public QObject
{
    Q_OBJECT

    // The body of the answer or the error code, after "cached " when it came from the cache.
    static QString fetch(QNetworkAccessManager& manager, const QUrl& url)
    {
        QScopedPointer<QNetworkReply> reply(manager.get(QNetworkRequest(url)));
        if (!reply->isFinished())
            QSignalSpy(reply.data(), &QNetworkReply::finished).wait(10000);
        const QString body = reply->error() ? QString::number(reply->error()) : reply->readAll();
        const bool cached = reply->attribute(QNetworkRequest::SourceIsFromCacheAttribute).toBool();
        return cached ? "cached " + body : body;
    }

private slots:
    void survivesRestart()
    {
        // A tile server whose answers live a minute: stretched to the minimum freshness.
        QTcpServer server;
        int requests = 0;
        connect(&server, &QTcpServer::newConnection, this, [&] {
            QTcpSocket* s = server.nextPendingConnection();
            connect(s, &QTcpSocket::readyRead, s, [s, &requests] {
                if (!s->peek(4096).contains("\r\n\r\n"))
                    return;
                ++requests;
                s->write("HTTP/1.1 200 OK\r\nContent-Type: image/png\r\nCache-Control: "
                         "max-age=60\r\nContent-Length: 4\r\nConnection: close\r\n\r\ntile");
                s->disconnectFromHost();
            });
            connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
        });
        QVERIFY(server.listen(QHostAddress::LocalHost));
        const QString base = QString("http://127.0.0.1:%1/5/16/").arg(server.serverPort());
        const QUrl url(base + "10.png");
        QTemporaryDir dir;
        {
            TileCache first(nullptr, dir.path());
            QCOMPARE(fetch(first, url), QString("tile"));
            QVERIFY(first.diskCache()->metaData(url).expirationDate() >
                    QDateTime::currentDateTimeUtc().addDays(6));
        }
        TileCache second(nullptr, dir.path());
        QCOMPARE(fetch(second, url), QString("cached tile"));
        QCOMPARE(requests, 1);
        server.close();
        QCOMPARE(fetch(second, url), QString("cached tile"));

        // A stale tile goes to the server; when that fails, the cache answers offline.
        QNetworkCacheMetaData meta = second.diskCache()->metaData(url);
        meta.setExpirationDate(QDateTime::currentDateTimeUtc().addDays(-30));
        second.diskCache()->updateMetaData(meta);
        QCOMPARE(fetch(second, url), QString::number(QNetworkReply::ConnectionRefusedError));
        QVERIFY(second.isOffline());
        QCOMPARE(fetch(second, url), QString("cached tile"));
        QVERIFY(!fetch(second, QUrl(base + "11.png")).contains("tile")); // never shown
    }
};

QTEST_MAIN(TestTileCache)
#include "tst_tilecache.moc"
