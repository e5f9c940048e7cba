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
#include <QTreeWidget>
#include <QWebFrame>
#include <QWebView>
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
    // The colour on a canvas layer of the page at a position, as "r,g,b,a".
    QString pixel(const QString& layer, double lat, double lng)
    {
        js("flushPendingWork()");
        return js(QString("(function(l) { var p = map.latLngToLayerPoint([%1, %2])"
                          ".subtract(l._bounds.min).round();"
                          "return [].join.call(l._ctx.getImageData(p.x, p.y, 1, 1).data); })(%3)")
                      .arg(lat, 0, 'g', 12)
                      .arg(lng, 0, 'g', 12)
                      .arg(layer));
    }
    // Whether the map shows all of the box around the points of a track.
    bool inView(int track)
    {
        double s = 90, w = 180, n = -90, e = -180;
        for (const Vec3& p : tracks.at(track).points) {
            s = qMin(s, p.lat), w = qMin(w, p.lon), n = qMax(n, p.lat), e = qMax(e, p.lon);
        }
        return js(QString::asprintf("map.getBounds().contains([[%f, %f], [%f, %f]])", s, w, n,
                                    e)) == "true";
    }
    QTreeWidgetItem* trackItem(int k)
    {
        return widget->findChild<QTreeWidget*>("treeWidget")->topLevelItem(0)->child(k);
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
        // The folder lacks the view's other tiles: the map says so.
        QTRY_COMPARE(js("document.getElementById('tile_error').style.display"), QString("block"));
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
        emit op->addLatLng(1.0, 2.0, 70);       // no such line
        emit op->addLatLng(qQNaN(), 121.15, 1); // nowhere to draw it
        emit op->showPolyline(1);
        emit op->addLatLng(25.1, 121.2, 1);
        QCOMPARE(each("polylinesArray", "o.getLatLngs().length"), QString("0,3,0,0,0,0,0,0"));
        js("map.setView([25.1, 121.1], 10, { animate: false })");
        // The shown line is drawn once the batch of points is over, the last point included.
        QTRY_COMPARE(js("pendingWork()"), QString("false"));
        const QColor line(colours.at(1));
        QCOMPARE(pixel("lineLayer", 25.1, 121.15),
                 QString("%1,%2,%3,255").arg(line.red()).arg(line.green()).arg(line.blue()));
        emit op->clearPolyline(1);
        QCOMPARE(pixel("lineLayer", 25.1, 121.15), QString("0,0,0,0"));
        QCOMPARE(each("polylinesArray", "o.shown").count("true"), 0);
    }

    // A line is drawn from its points thinned to what differs by a pixel at the zoom level:
    // a straight line of 2,000 points with one point off it, added in two batches.
    void thinning_data()
    {
        QTest::addColumn<int>("zoom");
        QTest::addColumn<double>("offset"); // degrees north of point 1000
        QTest::addColumn<QString>("kept");  // whether it is kept, whether few points are
        QTest::newRow("3.6 px at zoom 10") << 10 << 0.005 << "true true";
        QTest::newRow("0.4 px at zoom 10") << 10 << 0.0005 << "false true";
        QTest::newRow("23 px at zoom 16") << 16 << 0.0005 << "true true";
        QTest::newRow("straight, only chunk ends") << 16 << 0.0 << "false true";
    }
    void thinning()
    {
        QFETCH(int, zoom);
        QFETCH(double, offset);
        const QString result = js(QString(R"(
            (function() {
              var line = new TrackLine({}), kept = [];
              var add = function(from, to) {
                for (var i = from; i < to; ++i)
                  line.addPoint(i === 1000 ? %1 : 0, i * 1e-5);
              };
              add(0, 1300);
              line.update();
              add(1300, 2000);
              line.update();
              line._chunks.forEach(function(c) { kept = kept.concat(line.thinned(c, %2)); });
              return line._chunks.map(function(c) { return c.first + "-" + c.last; }) + " " +
                     line.getLatLngs().length + " " + (kept.indexOf(1000) >= 0) + " " +
                     (kept.length < 20);
            })())")
                                      .arg(offset)
                                      .arg(zoom));
        QFETCH(QString, kept);
        QCOMPARE(result, "0-512,512-1024,1024-1536,1536-1999 2000 " + kept);
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
        emit op->addMarker(qQNaN(), 121.2, "nowhere");
        QCOMPARE(each("markersArray", "o.kind + ' ' + o.text"),
                 QString("start 1. start #0,end 1. end #1,plain <b>not markup</b>"));

        // The marker under the mouse tells its text, and a click opens it as text.
        js("map.setView([25.1, 121.1], 9, { animate: false }); flushPendingWork()");
        QCOMPARE(js("markerLayer._drawn.length"), QString("3"));
        auto* view = widget->findChild<QWebView*>("webView");
        const QPoint tip(js("map.latLngToContainerPoint([25.2, 121.2]).x").toInt(),
                         js("map.latLngToContainerPoint([25.2, 121.2]).y").toInt());
        QTest::mouseMove(view, tip - QPoint(0, 20));
        QTRY_COMPARE(js("markerLayer._container.title"), QString("<b>not markup</b>"));
        QTest::mouseClick(view, Qt::LeftButton, {}, tip - QPoint(0, 20));
        QTRY_COMPARE(js("document.querySelector('.leaflet-popup .kv-info').textContent"),
                     QString("<b>not markup</b>"));
        QCOMPARE(js("document.querySelectorAll('.leaflet-popup b').length"), QString("0"));
        emit op->deleteMarked();
        emit op->showMarked();
        js("flushPendingWork()");
        QTRY_COMPARE(js("markersArray.length + markerLayer._drawn.length + "
                        "document.querySelectorAll('.leaflet-popup').length"),
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

    // The map fits the tracks after a load, and "Zoom to Tracks" fits the ticked ones, or the
    // listed one, or all. Tracks 0 and 1 lie 50 km apart, track 2 far away.
    void zoomToTracks_data()
    {
        QTest::addColumn<QString>("ticked");
        QTest::addColumn<int>("listed");
        QTest::addColumn<QString>("shown"); // which tracks are in view
        QTest::newRow("after the load") << "" << -2 << "111";
        QTest::newRow("ticked") << "01" << -1 << "110";
        QTest::newRow("one ticked, one listed") << "1" << 2 << "010";
        QTest::newRow("listed") << "" << 2 << "001";
        QTest::newRow("none") << "" << -1 << "111";
    }
    void zoomToTracks()
    {
        QFETCH(QString, ticked);
        QFETCH(int, listed);
        tracks.clear();
        for (const QPointF& start : {QPointF(25.0, 121.0), QPointF(25.0, 121.5), QPointF(48, 2)}) {
            Track t{0, 2, {}};
            for (int i = 0; i < 5; ++i)
                t.points << TestSupport::point(start.x() + i * 0.01, start.y() + i * 0.002);
            tracks << t;
        }
        js("map.setView([0, 0], 3, { animate: false })");
        widget->updateTrackList();
        if (listed != -2) {
            for (QChar k : ticked)
                trackItem(k.digitValue())->setCheckState(0, Qt::Checked);
            if (listed >= 0) {
                widget->findChild<QTreeWidget*>("treeWidget")->setCurrentItem(trackItem(listed));
                widget->showTrackPoints(-1.0f, -1);
            }
            widget->zoomToTracks();
        }
        QTEST(QString("%1%2%3").arg(inView(0)).arg(inView(1)).arg(inView(2)), "shown");
    }

    // Ticking the root shows every line with its start, end and ten marked points.
    void checkAllOfManyTracks()
    {
        tracks.clear();
        for (int k = 0; k < 1000; ++k) {
            Track t{0, 2, {}};
            for (int i = 0; i < 14; ++i)
                t.points << TestSupport::point(20 + k % 40 * 0.25 + i * 0.002, 100 + k / 40 * 0.25,
                                               0, 0, i > 1 && i < 12);
            tracks << t;
        }
        widget->updateTrackList();
        QTreeWidgetItem* root = trackItem(0)->parent();
        // Markers held, markers drawn (one per pixel of each kind), lines shown.
        auto pageState = [this] {
            const bool settled = QTest::qWaitFor([this] { return js("pendingWork()") == "false"; });
            return QString(settled ? "" : "busy ") +
                   js("markersArray.length + ' ' + markerLayer._drawn.length + ' ' +"
                      "polylinesArray.filter(function(l) { return l.shown; }).length");
        };
        root->setCheckState(0, Qt::Checked);
        QCOMPARE(each("markersArray.slice(0, 12)", "o.kind"),
                 "start,end" + QString(",plain").repeated(10));
        const QStringList all = pageState().split(' ');
        QCOMPARE(all.value(0) + " " + all.value(2), QString("12000 1000"));
        // Seen whole, markers of a kind on one pixel are drawn once; seen near, every one is.
        QVERIFY(all.value(1).toInt() >= 3000 && all.value(1).toInt() < 12000);
        js("map.setView([20.013, 100], 14, { animate: false })");
        QCOMPARE(pageState().section(' ', 1, 1), QString("12"));
        trackItem(7)->setCheckState(0, Qt::Unchecked);
        QCOMPARE(pageState().section(' ', 0, 0) + pageState().section(' ', 2), "11988999");
        root->setCheckState(0, Qt::Unchecked);
        QCOMPARE(pageState(), QString("0 0 0"));
    }

    // The listed track in speed colours, its plain line under them hidden, with a legend.
    void speedColours()
    {
        Track t{0, 2, {}};
        for (int i = 0; i <= 40; ++i)
            t.points << TestSupport::point(0, i * 0.001, 0, 0, 0, i < 20 ? 0 : 10000);
        tracks = {t};
        widget->updateTrackList();
        widget->findChild<QTreeWidget*>("treeWidget")->setCurrentItem(trackItem(0));
        widget->TreeWidgetItemDoubleClicked(trackItem(0), 0);
        widget->setSpeedColours(true);
        js("map.setView([0, 0.02], 14, { animate: false })");
        QCOMPARE(js("document.querySelector('.kv-legend').textContent"),
                 QString("Speed0.0 km/hr100.0 km/hr"));
        QCOMPARE(pixel("speedLayer", 0, 0.005) + " " + pixel("speedLayer", 0, 0.035),
                 QString("43,131,186,255 215,25,28,255"));
        QCOMPARE(pixel("lineLayer", 0, 0.005), QString("0,0,0,0"));
        widget->setSpeedColours(false);
        QCOMPARE(js("document.querySelectorAll('.kv-legend').length"), QString("0"));
        QCOMPARE(pixel("speedLayer", 0, 0.035), QString("0,0,0,0"));
        QCOMPARE(pixel("lineLayer", 0, 0.035).section(',', 3), QString("255"));
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
