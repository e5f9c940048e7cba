#include "isolation.h"
#include "testsupport.h"
#include "view/filterdialog.h"
#include "view/googlemapoperator.h"
#include "view/googlemappage.h"
#include "view/mapcommandqueue.h"
#include "view/mapview.h"
#include "view/mapwidget.h"
#include "view/playbackthread.h"
#include "view/profilechart.h"
#include "view/speedscale.h"
#include "view/tilecache.h"
#include "view/trackstatistics.h"

#include <QtNetwork>
#include <QtTest>
#include <QtWidgets>
#include <ctime>

// Before the widget is made: local time is Taipei's, the page's tile cache a test one, and
// its tiles come from a folder, never from a server.
static const bool environment = [] {
    qputenv("TZ", "Asia/Taipei");
    tzset();
    QStandardPaths::setTestModeEnabled(true);
    static QTemporaryDir tiles;
    TestSupport::writeFile(tiles.filePath("Setting.ini"),
                           "MapTiles=" + QUrl::fromLocalFile(tiles.path()).toEncoded() +
                               "/{z}/{x}/{y}.png\n");
    Isolation::noNetwork();
    return QDir::setCurrent(tiles.path());
}();

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

using namespace TestSupport;

// A tile server on a local port: gives `reply` to every request and records its User-Agent.
class TileServer : public QTcpServer
{
public:
    TileServer(int maxAge, const QByteArray& body)
    {
        const QByteArray reply =
            "HTTP/1.1 200 OK\r\nContent-Type: image/png\r\nCache-Control: max-age=" +
            QByteArray::number(maxAge) +
            "\r\nConnection: close\r\nContent-Length: " + QByteArray::number(body.size()) +
            "\r\n\r\n" + body;
        connect(this, &QTcpServer::newConnection, this, [this, reply] {
            QTcpSocket* s = nextPendingConnection();
            connect(s, &QTcpSocket::readyRead, s, [this, s, reply] {
                const QByteArray request = s->peek(4096);
                if (!request.contains("\r\n\r\n"))
                    return;
                const int at = request.indexOf("User-Agent: ");
                agents << request.mid(at + 12, request.indexOf('\r', at) - at - 12);
                s->write(reply);
                s->disconnectFromHost();
            });
            connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
        });
        listen(QHostAddress::LocalHost);
    }
    QString url(const QString& path) const
    {
        return QString("http://127.0.0.1:%1/").arg(serverPort()) + path;
    }
    QStringList agents; // one for each request
};

// Stands in for the system's browser: the addresses it was asked to open.
class BrowserStandIn : public QObject
{
    Q_OBJECT
public:
    QStringList opened;
public slots:
    void open(const QUrl& url) { opened << url.toString(); }
};

// Records every signal of a map bridge, in order, as "name arguments" (as QSignalSpy receives).
class MapRecorder : public QObject
{
public:
    explicit MapRecorder(QObject* op) : source(op->metaObject())
    {
        for (int i = source->methodOffset(); i < source->methodCount(); ++i)
            if (source->method(i).methodType() == QMetaMethod::Signal)
                QMetaObject::connect(op, i, this, QObject::staticMetaObject.methodCount() + i);
    }
    int qt_metacall(QMetaObject::Call call, int id, void** args) override
    {
        id = QObject::qt_metacall(call, id, args);
        if (id < 0 || call != QMetaObject::InvokeMetaMethod)
            return id;
        const QMetaMethod m = source->method(id);
        QStringList parts{QString::fromLatin1(m.name())};
        for (int k = 0; k < m.parameterCount(); ++k)
            parts << QVariant(m.parameterType(k), args[k + 1]).toString();
        calls << parts.join(' ');
        return -1;
    }

    QStringList calls;

private:
    const QMetaObject* source;
};

constexpr qint64 T0 = 1500000000; // 2017-07-14 02:40:00 UTC, 10:40:00 in Taipei
Q_DECLARE_METATYPE(Track)

class TestMapWidget : public QObject
{
    Q_OBJECT

public:
    TestMapWidget() : widget(&tracks, &settings, nullptr), recorder(widget.mapOperator()) {}

private:
    static Vec3 pt(double lat, qint64 t = T0, int marked = 0, int speed = 0)
    {
        return TestSupport::point(lat, 120.0, 10.0, t, marked, speed);
    }
    // n points at latitude i, 10 s and 5 km/h apart.
    static Track line(int n)
    {
        return makeTrack(T0, n, [](int i) { return pt(i, T0 + 10 * i, 0, 500 * i); });
    }
    QTreeWidget* tree() { return widget.findChild<QTreeWidget*>("treeWidget"); }
    QTreeView* list() { return widget.findChild<QTreeView*>("treeWidget_2"); }
    QTreeWidgetItem* trackItem(int k) { return tree()->topLevelItem(0)->child(k); }
    // Loads the tracks and lists one of them as a double-click on it does.
    void load(const QVector<Track>& newTracks, int listed = -1)
    {
        widget.stopPlayback();
        tracks = newTracks;
        widget.updateTrackList();
        if (listed >= 0) {
            tree()->setCurrentItem(trackItem(listed));
            widget.TreeWidgetItemDoubleClicked(trackItem(listed), 0);
        }
        recorder.calls.clear();
    }
    QString js(const QString& script) { return widget.mapPage()->evaluate(script).toString(); }
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
        for (const Vec3& p : tracks.at(track).points)
            s = qMin(s, p.lat), w = qMin(w, p.lon), n = qMax(n, p.lat), e = qMax(e, p.lon);
        return js(QString::asprintf("map.getBounds().contains([[%f, %f], [%f, %f]])", s, w, n,
                                    e)) == "true";
    }
    QString listedLatitudes() const
    {
        QStringList result;
        for (const Vec3& p : widget.listedPoints())
            result << QString::number(p.lat);
        return result.join(',');
    }

    QVector<Track> tracks;
    TestSettings settings;
    MapWidget widget;
    MapRecorder recorder;
    GoogleMapOperator* const op = widget.mapOperator();

private slots:
    // The map page shows the widget's tracks; its first view at zoom 4 has one tile in the
    // tile folder.
    void initTestCase()
    {
        PlaybackThread::setTimeScale(1.0 / 25);
        QImage tile(256, 256, QImage::Format_RGB32);
        tile.fill(Qt::darkGreen);
        QVERIFY(QDir().mkpath("4/8") && tile.save("4/8/5.png"));
        widget.show();
        QTRY_COMPARE(js("connected"), QString("true"));
    }

    void cleanup() { settings = TestSettings(); }

    void identityAndTileFolder()
    {
        QCOMPARE(js("navigator.userAgent"), QString("KV-730/S-OPC-41-1807041"));
        // The folder the README names: <cache folder>/<program file>/tiles.
        QVERIFY(TileCache::defaultDirectory().endsWith("/tst_mapwidget/tiles"));
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
        widget.mapPage()->triggerAction(GoogleMapPage::Reload);
        widget.mapPage()->load(GoogleMapPage::pageUrl());
        js("location.href = 'https://example.org/'");
        js("location.reload()");
        QTest::qWait(200);
        QCOMPARE(js("location.href + ' ' + polylinesArray.length"), QString("qrc:/map.html 1"));
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

    // A line is drawn from its points thinned to what differs by a pixel at the zoom level.
    void thinning_data() { addTable("map/thinning.txt", {"zoom", "offset", "kept"}); }
    void thinning()
    {
        QFETCH(QString, zoom);
        QFETCH(QString, offset);
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
        QWidget* view = widget.findChild<MapView*>("webView")->inputWidget();
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
        QWidget* view = widget.findChild<MapView*>("webView")->inputWidget();
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
    // listed one, or all.
    void zoomToTracks_data() { addTable("map/zoom.txt", {"ticked", "listed", "shown"}); }
    void zoomToTracks()
    {
        QFETCH(QString, ticked);
        QFETCH(QString, listed);
        const int k = listed.toInt();
        tracks.clear();
        for (const QPointF& at : {QPointF(25.0, 121.0), QPointF(25.0, 121.5), QPointF(48, 2)})
            tracks << makeTrack(
                0, 5, [at](int i) { return point(at.x() + i * 0.01, at.y() + i * 0.002); });
        js("map.setView([0, 0], 3, { animate: false })");
        widget.updateTrackList();
        if (k != -2) {
            for (QChar k : ticked)
                trackItem(k.digitValue())->setCheckState(0, Qt::Checked);
            if (k >= 0) {
                tree()->setCurrentItem(trackItem(k));
                widget.showTrackPoints(-1.0f, -1);
            }
            widget.zoomToTracks();
        }
        QTEST(QString("%1%2%3").arg(inView(0)).arg(inView(1)).arg(inView(2)), "shown");
    }

    // Ticking the root shows every line with its start, end and ten marked points.
    void checkAllOfManyTracks()
    {
        tracks.clear();
        for (int k = 0; k < 1000; ++k)
            tracks << makeTrack(0, 14, [k](int i) {
                return point(20 + k % 40 * 0.25 + i * 0.002, 100 + k / 40 * 0.25, 0, 0,
                             i > 1 && i < 12);
            });
        widget.updateTrackList();
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
    void speedColoursDrawn()
    {
        load({makeTrack(0, 41,
                        [](int i) { return point(0, i * 0.001, 0, 0, 0, i < 20 ? 0 : 10000); })},
             0);
        widget.setSpeedColours(true);
        js("map.setView([0, 0.02], 14, { animate: false })");
        QCOMPARE(js("document.querySelector('.kv-legend').textContent"),
                 QString("Speed0.0 km/hr100.0 km/hr"));
        QCOMPARE(pixel("speedLayer", 0, 0.005) + " " + pixel("speedLayer", 0, 0.035),
                 QString("43,131,186,255 215,25,28,255"));
        QCOMPARE(pixel("lineLayer", 0, 0.005), QString("0,0,0,0"));
        widget.setSpeedColours(false);
        QCOMPARE(js("document.querySelectorAll('.kv-legend').length"), QString("0"));
        QCOMPARE(pixel("speedLayer", 0, 0.035), QString("0,0,0,0"));
        QCOMPARE(pixel("lineLayer", 0, 0.035).section(',', 3), QString("255"));
    }

    void tileCacheSurvivesRestart()
    {
        // A tile server whose answers live a minute: stretched to the minimum freshness.
        TileServer server(60, "tile");
        QVERIFY(server.isListening());
        const QUrl url(server.url("5/16/10.png")), other(server.url("5/16/11.png"));
        QTemporaryDir dir;
        {
            TileCache first(nullptr, dir.path());
            QCOMPARE(fetch(first, url), QString("tile"));
            QVERIFY(first.diskCache()->metaData(url).expirationDate() >
                    QDateTime::currentDateTimeUtc().addDays(6));
        }
        TileCache second(nullptr, dir.path());
        QCOMPARE(fetch(second, url), QString("cached tile"));
        QCOMPARE(server.agents.size(), 1);
        server.close();
        QCOMPARE(fetch(second, url), QString("cached tile"));

        // A stale tile goes to the server; when that fails, the cache answers offline.
        QNetworkCacheMetaData meta = second.diskCache()->metaData(url);
        meta.setExpirationDate(QDateTime::currentDateTimeUtc().addDays(-30));
        second.diskCache()->updateMetaData(meta);
        QCOMPARE(fetch(second, url), QString::number(QNetworkReply::ConnectionRefusedError));
        QVERIFY(second.isOffline());
        QCOMPARE(fetch(second, url), QString("cached tile"));
        QVERIFY(!fetch(second, other).contains("tile")); // never shown
    }

    // A line shown while the map stays still is drawn at once, in the view's own pixels: the
    // first drawing after its points arrived once missed it until the map moved.
    void lineDrawnWithoutMoving_data() { addRows("how", {"tick", "double-click"}); }
    void lineDrawnWithoutMoving()
    {
        const bool doubleClick = field("how") == "double-click";
        load({makeTrack(0, 200, [](int i) { return point(35 + i * 0.0005, 139 + i * 0.0007); })});
        auto* view = widget.findChild<MapView*>("webView");
        // Pixels of the line's colour.
        const QRgb colour = QColor(js("polylinesArray[0].options.color")).rgb();
        auto red = [view, colour] {
            const QImage image = view->grab().toImage();
            int n = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    n += image.pixel(x, y) == colour;
            return n;
        };
        QTest::qWait(200);
        QCOMPARE(red(), 0);
        if (doubleClick)
            widget.TreeWidgetItemDoubleClicked(trackItem(0), 0);
        else
            trackItem(0)->setCheckState(0, Qt::Checked);
        QTRY_VERIFY(red() > 500);
    }

    // The bridge's emissions reach the page in order, a turn of the event loop at a time, with
    // a line's consecutive points in one block and texts as literals (never as script).
    void commandBatches_data()
    {
        QTest::addColumn<QString>("emissions");
        QTest::addColumn<QString>("script");
        QTest::newRow("points grouped by line, order kept")
            << "line;point 1 2 0;point 3.5 -4 0;show 0;point 5 6 0;point 7 8 1"
            << "addPolyline();addLatLngs(0,[10000000,20000000,35000000,-40000000]);showPolyline(0);"
               "addLatLngs(0,[50000000,60000000]);addLatLngs(1,[70000000,80000000]);";
        QTest::newRow("positions that cannot be drawn")
            << "point nan 2 0;point 1 inf 0;point 300 1 0;marker nan 2"
            << "addLatLngs(0,[-2147483648,20000000,10000000,-2147483648,-2147483648,10000000]);"
               "addMarker(NaN,2,\"x\");";
        QTest::newRow("texts") << "text a\"b\\n</script>\u2028')+alert(1)//"
                               << "addMarker(1,2,\"a\\\"b\\n</script>\\u2028')+alert(1)//\");";
    }
    void commandBatches()
    {
        QFETCH(QString, emissions);
        GoogleMapOperator bridge;
        MapCommandQueue queue(&bridge, nullptr);
        QStringList batches;
        for (const QString& e : emissions.split(';')) {
            const QStringList f = e.split(' ');
            if (f[0] == "line")
                emit bridge.addPolyline();
            else if (f[0] == "show")
                emit bridge.showPolyline(f[1].toInt());
            else if (f[0] == "point")
                emit bridge.addLatLng(f[1].toDouble(), f[2].toDouble(), f[3].toInt());
            else if (f[0] == "marker")
                emit bridge.addMarker(f[1].toDouble(), f[2].toDouble(), "x");
            else
                emit bridge.addMarker(1, 2, e.mid(5).replace("\\n", "\n"));
        }
        // Nothing goes before the page is there; then all of it in one batch.
        QTest::qWait(10);
        queue.setSink([&batches](const QString& script) { batches << script; });
        QTRY_COMPARE(batches.size(), 1);
        QString script = batches[0];
        QVERIFY(script.startsWith("kvRun(function () {\n") && script.endsWith("});"));
        script = script.mid(20, script.size() - 23).remove('\n');
        // Point blocks shown as their integers.
        const QRegularExpression block("addLatLngs\\((\\d+),\"([A-Za-z0-9+/=]*)\"\\)");
        for (auto m = block.match(script); m.hasMatch(); m = block.match(script)) {
            const QByteArray raw = QByteArray::fromBase64(m.captured(2).toLatin1());
            QStringList values;
            for (int i = 0; i + 4 <= raw.size(); i += 4)
                values << QString::number(qFromLittleEndian<qint32>(raw.constData() + i));
            script.replace(m.capturedStart(), m.capturedLength(),
                           QString("addLatLngs(%1,[%2])").arg(m.captured(1), values.join(',')));
        }
        QTEST(script, "script");
    }

    // The page's tiles are asked for with the tool's own name and go through the tile cache.
    void tilesAsTheTool()
    {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        QImage(256, 256, QImage::Format_RGB32).save(&buffer, "PNG");
        TileServer server(600, png);
        QVERIFY(server.isListening());
        const QString tile = op->tilePrefix() + server.url("9/1/%1.png");
        const QString show = "(function(){ var i = new Image(); i.id = 'probe%1'; i.src = '%2';"
                             "document.body.appendChild(i); })()";
        const QString width = "document.getElementById('probe%1').naturalWidth";
        js(show.arg(1).arg(tile.arg(QDateTime::currentMSecsSinceEpoch())));
        QTRY_COMPARE(js(width.arg(1)), QString("256"));
        QCOMPARE(server.agents, QStringList{GoogleMapPage::userAgent()});
        QDirIterator cached(TileCache::defaultDirectory(), QDir::Files,
                            QDirIterator::Subdirectories);
        QVERIFY2(cached.hasNext(), "the tile is not in the tile cache");
    }

    // A link in the page (the map's attribution) opens in the system's browser, web addresses
    // only, and the map stays.
    void linksOpenOutside()
    {
        BrowserStandIn browser;
        for (const char* scheme : {"http", "https", "file", "qrc"})
            QDesktopServices::setUrlHandler(scheme, &browser, "open");
        for (const char* url : {"https://example.org/copyright", "http://example.org/",
                                "file:///etc/passwd", "qrc:/map.html"})
            js(QString("(function(){ var a = document.createElement('a'); a.href = '%1';"
                       "document.body.appendChild(a); a.click(); })()")
                   .arg(url));
        QTRY_COMPARE(browser.opened.size(), 2);
        QTest::qWait(200);
        QCOMPARE(browser.opened,
                 QStringList({"https://example.org/copyright", "http://example.org/"}));
        for (const char* scheme : {"http", "https", "file", "qrc"})
            QDesktopServices::unsetUrlHandler(scheme);
        QCOMPARE(js("location.href + ' ' + connected"), QString("qrc:/map.html true"));
    }

    // Also in the point rows below.
    void formatCoordinate()
    {
        QCOMPARE(MapWidget::formatCoordinate(-0.5, 1, 1) + MapWidget::formatCoordinate(10, 3, 1) +
                     MapWidget::formatCoordinate(10, 1, 2) +
                     MapWidget::formatCoordinate(24.999999999, 1, 1),
                 QString("0\u00b030'0.0000\" S24\u00b059'60.0000\" N"));
    }

    void markerOrder_data() { addTable("map/markers.txt", {"marks", "markers"}); }
    void markerOrder()
    {
        QFETCH(QString, marks);
        QFETCH(QString, markers);
        load({line(1),
              makeTrack(T0, marks.size(), [&](int i) { return pt(i, T0 + i, marks[i] == '1'); })});
        trackItem(1)->setCheckState(0, Qt::Checked);
        QStringList expected{"deleteMarked", "clearPolyline 0", "showPolyline 1"};
        const QStringList kinds{"addStartPoint", "addEndPoint", "addMarker"};
        for (int j = 0; j < markers.size(); ++j)
            expected << QString("%1 %2 120 2. 2017-07-14 - 02:40:0%2 #%3")
                            .arg(kinds.at(qMin(j, 2)), markers.mid(j, 1))
                            .arg(j);
        // One pass, though the root changes its state as well.
        QCOMPARE(recorder.calls, expected << "showMarked");
    }

    void checkPropagation()
    {
        load({line(1), line(1), line(1)});
        QTreeWidgetItem* root = tree()->topLevelItem(0);
        root->setCheckState(0, Qt::Checked);
        trackItem(1)->setCheckState(0, Qt::Unchecked);
        QCOMPARE(root->checkState(0), Qt::PartiallyChecked);
        trackItem(1)->setCheckState(0, Qt::Checked);
        QCOMPARE(root->checkState(0), Qt::Checked);
        recorder.calls.clear();
        root->setCheckState(0, Qt::Unchecked);
        // One pass over the tracks, in the state the tree ends in.
        QCOMPARE(
            recorder.calls.join(','),
            QString("deleteMarked,clearPolyline 0,clearPolyline 1,clearPolyline 2,showMarked"));
    }

    // The listed track in speed colours, for every track listed while the choice holds.
    void speedColours()
    {
        Track imported = line(3); // read from a file without speeds or altitudes
        imported.fmt = 1, imported.derivedSpeed = imported.speedsWithoutAltitude = true;
        load({line(3), {T0, 1, {pt(1), pt(2)}}, imported}); // 0, 5 and 10 km/h; no speeds
        widget.setSpeedColours(true);                       // nothing listed yet
        auto list = [this](int k) {
            recorder.calls.clear();
            tree()->setCurrentItem(trackItem(k));
            widget.TreeWidgetItemDoubleClicked(trackItem(k), 0);
            return recorder.calls.filter("SpeedColours").join('|');
        };
        QCOMPARE(list(0), QString("showSpeedColours 0 0Po Speed 0.0 km/hr 10.0 km/hr"));
        recorder.calls.clear();
        settings.speed = 1;
        widget.showTrackPoints(-1.0f, 0); // as the unit switch does: the legend follows
        widget.showTrackPoints(-1.0f, 0); // nothing new to send
        QCOMPARE(recorder.calls.filter("SpeedColours"),
                 QStringList("showSpeedColours 0 0Po Speed 0.0 mi/hr 6.2 mi/hr"));
        QCOMPARE(list(1), QString("clearSpeedColours"));
        // Derived speeds are named so, on the map and in the profile, which has no altitude.
        QCOMPARE(list(2), QString("showSpeedColours 2 0Po Speed (derived) 0.0 mi/hr 6.2 mi/hr"));
        QCOMPARE(widget.profileChart()->speedSeries().size(), 3);
        QCOMPARE(widget.profileChart()->altitudeSeries().size(), 0);
        QVERIFY(list(0).startsWith("showSpeedColours 0"));
        load(tracks); // the page drops the colours with the old lines
        QVERIFY(list(0).startsWith("showSpeedColours 0"));
        recorder.calls.clear();
        widget.setSpeedColours(false);
        QCOMPARE(recorder.calls, QStringList("clearSpeedColours"));
        QCOMPARE(list(1) + list(0), QString());
    }

    void speedScale_data()
    {
        addTable("map/scales.txt", {"speeds", "scale"});
        // Of 100 points and more, the fastest hundredth is left out of the scale.
        QTest::newRow("wild reading") << "0 1000" + QString(" 500").repeated(97) + " 99999"
                                      << "0 1000 0o" + QString("P").repeated(97) + "o";
    }
    void speedScale()
    {
        QFETCH(QString, speeds);
        QVector<Vec3> points;
        for (const QString& s : speeds.split(' '))
            points << pt(s == "nan" ? qQNaN() : 0.0, T0, 0, s.toInt());
        const SpeedScale scale = SpeedScale::compute(points);
        QTEST(QString("%1 %2 %3").arg(scale.slowest).arg(scale.fastest).arg(scale.levels).trimmed(),
              "scale");
    }

    void pointRows_data() { addTable("map/units.txt", {"units", "row"}); }
    void pointRows()
    {
        QFETCH(QString, units);
        QFETCH(QString, row);
        const Vec3 p = TestSupport::point(25.0417, -121.5654, 100.5, T0, 1, 1234);
        load({{T0, 2, {pt(1), p}}, {T0, 1, {pt(2)}}}, 0);
        settings = TestSettings(units[0] == '1', units[2] == '1', units[4] == '1');
        widget.refreshStatistics(); // as the main window's unit and time switches do
        widget.showTrackPoints(-1.0f, 0);
        auto cells = [this](int row, QList<int> columns) {
            QStringList got;
            for (int c : columns)
                got << list()->model()->index(row, c).data().toString();
            return got.join('|');
        };
        QCOMPARE(cells(1, {0, 1, 2, 3, 4, 5, 6}),
                 "2*|2017-07-14|" + row.section("; ", 0, 0) +
                     QString("|25\u00b02'30.1200\" N|121\u00b033'55.4400\" W|") +
                     row.section("; ", 1).replace("; ", "|"));
        QCOMPARE(trackItem(0)->text(0), // the first point's time, as its rows show it
                 "1. 2017-07-14 - " + QString(units[4] == '1' ? "10:40:00" : "02:40:00"));
        load(tracks, 1); // no altitude and speed
        QCOMPARE(cells(0, {0, 5, 6}), QString("1||"));
    }

    void filterRules_data() { addTable("map/filters.txt", {"typed", "radio", "kept"}); }

    void filterRules()
    {
        QFETCH(QString, typed);
        QFETCH(QString, radio);
        QFETCH(QString, kept);
        FilterDialog dialog; // typed at once into the entry
        QVERIFY(qobject_cast<QLineEdit*>(dialog.focusWidget()));
        QTest::keyClicks(dialog.focusWidget(), typed);
        dialog.findChild<QRadioButton*>(radio)->click();
        dialog.show();
        QTest::keyClick(&dialog, Qt::Key_Return);
        QCOMPARE(dialog.isVisible(), kept == "-");
        if (kept == "-")
            return;
        QVERIFY(dialog.isFilterValid());
        const float value = dialog.filterValue();
        const int rule = dialog.filterRuleCode();
        const QList<int> speeds{0, 999, 1000, 1001, 1234};
        load({makeTrack(T0, 5, [&](int i) { return pt(i, T0, i == 1 || i == 4, speeds[i]); })});
        widget.showTrackPoints(value, rule); // no current track: nothing is stored
        QCOMPARE(widget.filterRule(), -1);
        load(tracks, 0);
        widget.showTrackPoints(value, rule);
        QCOMPARE(listedLatitudes(), kept);
        QCOMPARE(list()->model()->rowCount(), widget.listedPoints().size());
        QCOMPARE(recorder.calls.filter("setCenter").size(), kept.isEmpty() ? 0 : 1);
        // The filter outlives a unit switch but not a new listing of the track.
        widget.showTrackPoints(-1.0f, 0);
        QCOMPARE(listedLatitudes(), kept);
        load(tracks, 0);
        QCOMPARE(listedLatitudes(), QString("0,1,2,3,4"));
    }

    void playback()
    {
        load({line(4)});
        QSignalSpy shown(&widget, &MapWidget::pointShown);
        QSignalSpy finished(&widget, &MapWidget::playbackFinished);
        widget.play(); // nothing listed
        QTRY_COMPARE(finished.count(), 1);
        load(tracks, 0);
        widget.play();
        QTRY_COMPARE(finished.count(), 2);
        widget.showPointAndSelectInfo(3);
        widget.play(); // from the last point: shown once, then the end
        QTRY_COMPARE(finished.count(), 3);
        QCOMPARE(shown.mid(0), QList<QVariantList>({{0}, {1}, {2}, {3}, {3}, {3}}));
        QCOMPARE(widget.playPosition(), 0);

        load({line(100)}, 0);
        shown.clear();
        widget.play();
        QTRY_VERIFY(shown.count() >= 2);
        widget.pause();
        QTRY_COMPARE(finished.count(), 4);
        const int last = shown.last().at(0).toInt();
        shown.clear();
        widget.play();
        QTRY_VERIFY(shown.count() >= 2);
        QCOMPARE(shown.mid(0, 2), QList<QVariantList>({{last}, {last + 1}}));

        // The finished() of a worker replaced by a new play must not reset the play button.
        shown.clear();
        widget.play();
        QTRY_VERIFY(shown.count() >= 1);
        QCOMPARE(finished.count(), 4);

        // Announcements the stopped worker had queued must not move the position.
        shown.clear();
        widget.resetPlayback();
        QTRY_COMPARE(finished.count(), 5); // queued after every announcement of the worker
        QCOMPARE(widget.playPosition(), 0);
        QCOMPARE(shown.mid(0), QList<QVariantList>({{0}}));
    }

    // Indices outside the list are ignored: a unit switch during playback may list fewer
    // points than the worker counts on.
    void indexBeyondRebuiltList()
    {
        load({line(40), line(1)}, 0);
        QSignalSpy finished(&widget, &MapWidget::playbackFinished);
        widget.play();
        QTRY_VERIFY(widget.playPosition() >= 1);
        tree()->setCurrentItem(trackItem(1));
        widget.showTrackPoints(-1.0f, 0);
        QTRY_VERIFY_WITH_TIMEOUT(finished.count() == 1, 10000);
        QCOMPARE(widget.listedPoints().size(), 1);
        recorder.calls.clear();
        widget.showPointAndSelectInfo(1);
        widget.showPointAndSelectInfo(-1);
        QVERIFY(recorder.calls.isEmpty());
    }

    // A click on the profile selects the point as a double-click on its row does; tool tips
    // follow the units and are no check box change.
    void profileClickAndStatistics()
    {
        load({line(5)}, 0);
        settings.speed = 1;
        widget.refreshStatistics(); // as the main window's unit switch does
        QVERIFY(trackItem(0)->toolTip(0).contains("Maximum speed: 12.43 mi/hr"));
        QVERIFY(recorder.calls.isEmpty());
        widget.showTrackPoints(10.0f, 2); // the points of 1000 and more
        widget.play();
        recorder.calls.clear();
        emit widget.profileChart()->pointClicked(1);
        QVERIFY(!widget.isPlaying());
        QCOMPARE(recorder.calls.filter("viewPoint"),
                 QStringList{"viewPoint 3 120 4. 2017-07-14 - 02:40:30"}); // its record number
        QCOMPARE(list()->selectionModel()->selectedRows().value(0).row(), 1);
        QCOMPARE(widget.profileChart()->cursorIndex(), 1);
    }

    // The nearest point by time (the earlier on a tie, also among unordered times) and by x.
    void chartPointMapping()
    {
        ProfileChart chart;
        auto nearest = [&chart](std::initializer_list<qint64> times) {
            QVector<Vec3> points;
            for (qint64 t : times)
                points << pt(0, t);
            chart.setPoints(points, ProfileChart::SpeedAndAltitude, 0, 0, 0);
            QString s;
            for (double t : {50.0, 105.0, 105.5, 112.0, 121.0, 999.0})
                s += QString::number(chart.indexForTime(t));
            return s;
        };
        QCOMPARE(nearest({100, 110, 110, 130, 200}), QString("001134"));
        QCOMPARE(nearest({200, 110, 100, 130, 110}), QString("211130"));
        chart.resize(800, 300);
        chart.show();
        QVERIFY(QTest::qWaitForWindowExposed(&chart));
        chart.setPoints(line(50).points, ProfileChart::SpeedAndAltitude, 0, 0, 0);
        QCoreApplication::processEvents();
        QSignalSpy clicked(&chart, &ProfileChart::pointClicked);
        QTest::mouseClick(chart.viewport(), Qt::LeftButton, {},
                          QPoint(chart.xForIndex(17) + 2, 150));
        QTest::mouseClick(chart.viewport(), Qt::LeftButton, {}, QPoint(2, 150)); // axis labels
        QCOMPARE(clicked, QList<QVariantList>{{17}});
        QCOMPARE(chart.cursorIndex(), 17);
        chart.setCursorIndex(50);
        QCOMPARE(chart.cursorIndex(), -1);
        // Thinned to three columns: the lowest and highest of each, in order, and the first
        // and last point once.
        QVector<QPointF> values;
        for (int y : {5, 1, 9, 3, 4, 2, 8, 0, 7, 6, 5, 3})
            values << QPointF(values.size(), y);
        QStringList xs;
        for (const QPointF& p : ProfileChart::reduce(values, 0, 11, 3))
            xs << QString::number(p.x());
        QCOMPARE(xs.join(' '), QString("0 1 2 6 7 8 11"));
    }

    void statistics_data()
    {
        QTest::addColumn<Track>("track");
        QTest::addColumn<QString>("figures");
        const double km = 180.0 / M_PI / 6371008.8 * 1000; // degrees along a meridian
        for (const QStringList& row : table("map/statistics.txt")) {
            Track t{0, row[1].toInt(), {}};
            const QStringList points = row[2].split(' ', Qt::SkipEmptyParts);
            const bool heights = points.value(0) == "heights";
            for (const QString& p : points.mid(heights)) {
                const QStringList f =
                    heights ? QStringList{QString::number(t.points.size()), "0", p} : p.split('/');
                const double lat =
                    f[1].endsWith("km") ? f[1].chopped(2).toDouble() * km : f[1].toDouble();
                t.points << point(lat, 0, f.value(2).toDouble(), T0 + f[0].toLongLong(),
                                  f.value(4).toInt(), f.value(3).toInt());
            }
            QTest::newRow(qPrintable(row[0])) << t << row.mid(3).join(" | ");
        }
    }
    void statistics()
    {
        QFETCH(Track, track);
        const TrackStatistics s = TrackStatistics::compute(track);
        QString got = QString::asprintf("%d %lld %lld %.6f ", s.markedCount, s.duration,
                                        s.movingTime, s.distanceMeters);
        got += s.hasSpeed ? QString::asprintf("%.2f | ", s.maxSpeedKmh) : "- | ";
        got += s.hasAltitude ? QString::asprintf("%g %g %g %g", s.minAltitude, s.maxAltitude,
                                                 s.ascent, s.descent)
                             : "-";
        got += " | " + s.rows(1, 1, 0).value(7).second + " " + s.rows(1, 1, 0).value(8).second;
        QTEST(got, "figures");
        if (track.points.isEmpty()) // no figures that have no meaning
            QCOMPARE(s.toolTip(0, 0, 0), QString("Points: 0\nMarked points: 0"));
    }
};

#include "maptestmain.h"
KV730_MAP_TEST_MAIN(TestMapWidget)
#include "tst_mapwidget.moc"
