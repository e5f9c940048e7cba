#include "isolation.h"
#include "maprecorder.h"
#include "testsupport.h"
#include "view/googlemappage.h"
#include "view/mapwidget.h"
#include "view/tilecache.h"

#include <QImage>
#include <QMenu>
#include <QNetworkDiskCache>
#include <QNetworkReply>
#include <QTcpServer>
#include <QTcpSocket>
#include <QWebFrame>
#include <QtTest>

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

// The map page of a real map widget, driven through its bridge.
class TestMapPage : public QObject
{
    Q_OBJECT

    QString js(const QString& script)
    {
        return widget->mapPage()->mainFrame()->evaluateJavaScript(script).toString();
    }
    // An expression of each element o of a page array.
    QString each(const QString& array, const QString& expression)
    {
        return js(array + ".map(function(o) { return " + expression + "; }).join()");
    }

    QTemporaryDir dir;
    QVector<Track> tracks;
    TestSettings settings;
    MapWidget* widget = nullptr;
    GoogleMapOperator* op = nullptr;

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true); // the page's tile cache
        Isolation::noNetwork();
        // Tiles from a folder named by "MapTiles" in the working directory's Setting.ini.
        QImage tile(256, 256, QImage::Format_RGB32);
        tile.fill(Qt::darkGreen);
        QVERIFY(QDir(dir.path()).mkpath("4/8") && tile.save(dir.filePath("4/8/5.png")));
        QVERIFY(TestSupport::writeFile(dir.filePath("Setting.ini"),
                                       "MapTiles=" + QUrl::fromLocalFile(dir.path()).toEncoded() +
                                           "/{z}/{x}/{y}.png\n"));
        const QString previous = QDir::currentPath();
        QDir::setCurrent(dir.path());
        widget = new MapWidget(&tracks, &settings, nullptr);
        QDir::setCurrent(previous);
        op = widget->mapOperator();
        widget->show();
        QTRY_COMPARE(js("connected"), QString("true"));
    }
    void cleanupTestCase() { delete widget; }

    void identityAndTileFolder()
    {
        QCOMPARE(js("navigator.userAgent"), QString("KV-730/S-OPC-41-1807041"));
        QVERIFY(qobject_cast<TileCache*>(widget->mapPage()->networkAccessManager()));
        // The README names the folder the program uses: <cache folder>/<program file>/tiles.
        QVERIFY(TileCache::defaultDirectory().endsWith("/tst_mappage/tiles"));
        QVERIFY(TestSupport::readFile(KV730_TEST_DATA "/../../README.md")
                    .contains("on Linux `~/.cache/kv730/tiles`"));
        // The tile of the first view, at zoom 4, drawn from the folder.
        QTRY_VERIFY(each("[].slice.call(document.querySelectorAll('img.leaflet-tile-loaded'))",
                         "o.naturalWidth + o.src")
                        .contains(QRegularExpression("256[^,]*/4/8/5.png")));
    }

    // Seven colours in turn, on from the last track list. The page is never loaded again:
    // that would empty the map while the lists still offer the tracks.
    void polylines()
    {
        const int before = js("nPolylines").toInt();
        for (int i = 0; i < 3; ++i)
            emit op->addPolyline();
        emit op->deleteAllObject();
        emit op->addPolyline();
        const QStringList all{"#ff0000", "#00ff00", "#0000ff", "#00ffff",
                              "#ffff00", "#a020f0", "#ffc0cb"};
        QCOMPARE(each("polylinesArray", "o.options.color"), all.at((before + 3) % 7));
        QSignalSpy started(widget->mapPage(), &QWebPage::loadStarted);
        widget->mapPage()->triggerAction(QWebPage::Reload);
        widget->mapPage()->mainFrame()->load(GoogleMapPage::pageUrl());
        widget->mapPage()->mainFrame()->load(QUrl("about:blank"));
        QTest::qWait(200);
        QCOMPARE(started.count(), 0);
        QCOMPARE(js("polylinesArray.length"), QString("1"));
        emit op->deleteAllObject();
        QStringList colours;
        for (int i = 0; i < 8; ++i) {
            emit op->addPolyline();
            colours << all.at((before + 4 + i) % 7);
        }
        QCOMPARE(each("polylinesArray", "o.options.color"), colours.join(','));
        QCOMPARE(each("polylinesArray", "map.hasLayer(o)").count("true"), 0);

        emit op->addLatLng(25.0, 121.0, 1);
        emit op->addLatLng(25.1, 121.1, 1);
        emit op->addLatLng(1.0, 2.0, 70); // no such line
        emit op->showPolyline(1);
        emit op->addLatLng(25.2, 121.2, 1);
        QCOMPARE(each("polylinesArray", "o.getLatLngs().length"), QString("0,3,0,0,0,0,0,0"));
        // The shown line is redrawn once the batch of points is over.
        QTRY_COMPARE(js("polylinesArray[1]._rings[0].length"), QString("3"));
        emit op->clearPolyline(1);
        QCOMPARE(each("polylinesArray", "map.hasLayer(o)").count("true"), 0);
    }

    // No menu in the view: nothing there to reload the page or to follow a link into it.
    void noContextMenu()
    {
        auto* view = widget->findChild<QWidget*>("webView");
        QTimer::singleShot(200, [] {
            if (QWidget* menu = QApplication::activePopupWidget()) {
                menu->close();
                QFAIL(qPrintable(QString::number(menu->actions().size()) + " actions offered"));
            }
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(10, 10),
                                view->mapToGlobal({10, 10}));
        QApplication::sendEvent(view, &event);
        QTest::qWait(300);
    }

    void markersAndCentre()
    {
        emit op->addStartPoint(25.0, 121.0, "1. start #0");
        emit op->addEndPoint(25.1, 121.1, "1. end #1");
        emit op->addMarker(25.2, 121.2, "<b>not markup</b>");
        QCOMPARE(each("markersArray", "o.options.icon.options.className || 'default'"),
                 QString("kv-dot kv-dot-start,kv-dot kv-dot-end,default"));
        QCOMPARE(js("markersArray[2].getPopup().getContent().textContent"),
                 QString("<b>not markup</b>"));
        js("markersArray[0].remove()");
        emit op->showMarked();
        QCOMPARE(each("markersArray", "map.hasLayer(o)"), QString("true,true,true"));
        emit op->deleteMarked();
        emit op->showMarked();
        QCOMPARE(
            js("markersArray.length + document.querySelectorAll('.leaflet-marker-icon').length"),
            QString("0"));

        // One viewed-point marker; the centre at zoom 16.
        js("map.setZoom(9, { animate: false })");
        emit op->setCenter(24.5, 120.5);
        QCOMPARE(js("map.getZoom()"), QString("16"));
        emit op->viewPoint(24.6, 120.6, "1. first");
        emit op->viewPoint(24.7, 120.7, "2. second");
        QCOMPARE(js("document.querySelectorAll('.kv-dot-view').length + markerPoint.options.title"),
                 QString("12. second"));
        QCOMPARE(js("map.getZoom() + ' ' + map.getCenter()"), QString("16 LatLng(24.7, 120.7)"));
        emit op->deleteAllObject();
        QCOMPARE(js("document.querySelectorAll('.kv-dot-view').length"), QString("0"));
    }

    void tileCacheSurvivesRestart()
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

QTEST_MAIN(TestMapPage)
#include "tst_mappage.moc"
