#include "view/tilecache.h"

#include <QBuffer>
#include <QImage>
#include <QNetworkDiskCache>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace
{

// Serves one PNG for every GET, with the given Cache-Control, and counts the requests.
class TileServer : public QObject
{
public:
    explicit TileServer(const QByteArray& cacheControl) : m_cacheControl(cacheControl)
    {
        QImage image(256, 256, QImage::Format_RGB32);
        image.fill(QColor(10, 120, 200));
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        connect(&m_server, &QTcpServer::newConnection, this, &TileServer::accept);
        m_server.listen(QHostAddress::LocalHost);
    }

    QUrl url(const QString& path) const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path));
    }
    void stop() { m_server.close(); }

    QByteArray png;
    int requests = 0;

private:
    void accept()
    {
        while (QTcpSocket* s = m_server.nextPendingConnection()) {
            connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            connect(s, &QTcpSocket::readyRead, this, [this, s]() {
                m_pending[s] += s->readAll();
                if (!m_pending[s].contains("\r\n\r\n"))
                    return;
                m_pending.remove(s);
                ++requests;
                s->write("HTTP/1.1 200 OK\r\nContent-Type: image/png\r\nCache-Control: " +
                         m_cacheControl + "\r\nContent-Length: " + QByteArray::number(png.size()) +
                         "\r\nConnection: close\r\n\r\n" + png);
                s->disconnectFromHost();
            });
        }
    }

    QTcpServer m_server;
    QByteArray m_cacheControl;
    QHash<QTcpSocket*, QByteArray> m_pending;
};

struct Result {
    QNetworkReply::NetworkError error = QNetworkReply::UnknownNetworkError;
    QByteArray body;
    bool fromCache = false;
};

Result fetch(QNetworkAccessManager& manager, const QUrl& url)
{
    std::unique_ptr<QNetworkReply> reply(manager.get(QNetworkRequest(url)));
    QSignalSpy done(reply.get(), &QNetworkReply::finished);
    if (!reply->isFinished())
        done.wait(10000);
    Result r;
    r.error = reply->error();
    r.body = reply->readAll();
    r.fromCache = reply->attribute(QNetworkRequest::SourceIsFromCacheAttribute).toBool();
    return r;
}

void store(QNetworkDiskCache* cache, const QUrl& url, const QByteArray& body,
           const QDateTime& expires)
{
    QNetworkCacheMetaData meta;
    meta.setUrl(url);
    meta.setSaveToDisk(true);
    meta.setExpirationDate(expires);
    meta.setAttributes({{QNetworkRequest::HttpStatusCodeAttribute, 200}});
    meta.setRawHeaders({{"Content-Type", "image/png"}});
    QIODevice* device = cache->prepare(meta);
    QVERIFY(device);
    device->write(body);
    cache->insert(device);
}

} // namespace

class TestTileCache : public QObject
{
    Q_OBJECT

private slots:
    void survivesRestart_data();
    void survivesRestart();
    void offlineServesStale();
    void oldestDroppedFirst();
};

void TestTileCache::survivesRestart_data()
{
    QTest::addColumn<QByteArray>("cacheControl");
    QTest::newRow("a day") << QByteArray("public, max-age=86400");
    // Shorter lifetimes are stretched to the minimum freshness.
    QTest::newRow("a minute") << QByteArray("max-age=60");
    QTest::newRow("no lifetime") << QByteArray("public");
}

void TestTileCache::survivesRestart()
{
    QFETCH(QByteArray, cacheControl);
    QTemporaryDir dir;
    TileServer server(cacheControl);
    const QUrl url = server.url(QStringLiteral("/5/16/10.png"));

    {
        TileCache first(nullptr, dir.path());
        const Result r = fetch(first, url);
        QCOMPARE(r.error, QNetworkReply::NoError);
        QCOMPARE(r.body, server.png);
        QVERIFY(!r.fromCache);
        const QDateTime expires = first.diskCache()->metaData(url).expirationDate();
        QVERIFY(expires > QDateTime::currentDateTimeUtc().addDays(6));
    }
    QCOMPARE(server.requests, 1);

    TileCache second(nullptr, dir.path());
    Result r = fetch(second, url); // the server is still there, but not asked
    QCOMPARE(server.requests, 1);
    QVERIFY(r.fromCache);
    server.stop();
    r = fetch(second, url);
    QCOMPARE(r.error, QNetworkReply::NoError);
    QCOMPARE(r.body, server.png);
    QVERIFY(r.fromCache);

    // Something never shown is not invented.
    QVERIFY(fetch(second, server.url(QStringLiteral("/5/16/11.png"))).error !=
            QNetworkReply::NoError);
}

void TestTileCache::offlineServesStale()
{
    QTemporaryDir dir;
    TileServer server("public");
    const QUrl url = server.url(QStringLiteral("/1/0/0.png"));
    server.stop();

    TileCache cache(nullptr, dir.path());
    store(cache.diskCache(), url, "old tile", QDateTime::currentDateTimeUtc().addDays(-30));

    // Online, a stale entry goes to the server; failing to reach it marks the cache offline.
    QVERIFY(!cache.isOffline());
    QCOMPARE(fetch(cache, url).error, QNetworkReply::ConnectionRefusedError);
    QVERIFY(cache.isOffline());
    const Result r = fetch(cache, url);
    QCOMPARE(r.error, QNetworkReply::NoError);
    QCOMPARE(r.body, QByteArray("old tile"));
}

void TestTileCache::oldestDroppedFirst()
{
    QTemporaryDir dir;
    TileCache cache(nullptr, dir.path(), 60 * 1024);
    const QByteArray body(20 * 1024, 'x');
    const QDateTime expires = QDateTime::currentDateTimeUtc().addDays(1);
    QList<QUrl> urls;
    for (int i = 0; i < 4; ++i) {
        urls.append(QUrl(QStringLiteral("http://tiles.invalid/%1.png").arg(i)));
        store(cache.diskCache(), urls.last(), body, expires);
        QTest::qWait(20); // distinct creation times
    }
    // The fourth entry pushed the cache over its limit; the first one written went.
    QVERIFY(!cache.diskCache()->metaData(urls[0]).isValid());
    QVERIFY(cache.diskCache()->metaData(urls[3]).isValid());
}

QTEST_MAIN(TestTileCache)
#include "tst_tilecache.moc"
