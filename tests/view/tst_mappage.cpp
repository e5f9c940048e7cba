#include "maprecorder.h"
#include "view/googlemapoperator.h"
#include "view/googlemappage.h"
#include "view/mapwidget.h"
#include "view/tilecache.h"

#include <QImage>
#include <QTreeWidget>
#include <QWebFrame>
#include <QWebView>
#include <QtTest>

// The map page in a real web view, driven through the bridge as the application drives it.
class TestMapPage : public QObject
{
    Q_OBJECT

private:
    QVariant js(const QString& script) { return page->mainFrame()->evaluateJavaScript(script); }
    QStringList colours()
    {
        return js("polylinesArray.map(function(l) { return l.options.color; }).join(' ')")
            .toString()
            .split(' ', Qt::SkipEmptyParts);
    }
    void loadPage()
    {
        QSignalSpy loaded(view, &QWebView::loadFinished);
        view->load(QUrl("qrc:/map.html"));
        QTRY_COMPARE(loaded.count(), 1);
        QVERIFY(js("connected === true").toBool());
    }

    GoogleMapOperator op;
    GoogleMapPage* page = nullptr;
    QWebView* view = nullptr;

private slots:
    void initTestCase()
    {
        Q_INIT_RESOURCE(map);
        QStandardPaths::setTestModeEnabled(true); // the page's tile cache
        // No tile server in tests: tiles come from an address that has none.
        op.setTiles("qrc:/no-tiles/{z}/{x}/{y}.png", "Test tiles");
        view = new QWebView;
        page = new GoogleMapPage(view);
        view->setPage(page);
        view->resize(640, 480);
        connect(page->mainFrame(), &QWebFrame::javaScriptWindowObjectCleared, this, [this] {
            page->mainFrame()->addToJavaScriptWindowObject("googleMapOperator", &op);
        });
        loadPage();
    }
    void cleanupTestCase() { delete view; }

    void identityAndTiles()
    {
        QCOMPARE(js("navigator.userAgent").toString(), QString("KV-730/S-OPC-41-1807041"));
        QCOMPARE(
            js("var u = ''; map.eachLayer(function(l) { if (l._url) u = l._url; }); u").toString(),
            QString("qrc:/no-tiles/{z}/{x}/{y}.png"));
        QCOMPARE(js("map.getZoom()").toInt(), 4);
        QCOMPARE(page->linkDelegationPolicy(), QWebPage::DelegateAllLinks);
    }

    void polylineColoursCycle()
    {
        emit op.deleteAllObject();
        const int before = js("nPolylines").toInt();
        for (int i = 0; i < 8; ++i)
            emit op.addPolyline();
        const QStringList all{"#ff0000", "#00ff00", "#0000ff", "#00ffff",
                              "#ffff00", "#a020f0", "#ffc0cb"};
        const QStringList got = colours();
        QCOMPARE(got.size(), 8);
        for (int i = 0; i < 8; ++i)
            QCOMPARE(got.at(i), all.at((before + i) % 7));
        QCOMPARE(
            js("polylinesArray.filter(function(l) { return map.hasLayer(l); }).length").toInt(), 0);

        // A new track list goes on with the next colour; a new page starts again.
        emit op.deleteAllObject();
        emit op.addPolyline();
        QCOMPARE(colours(), QStringList{all.at((before + 8) % 7)});
        loadPage();
        emit op.addPolyline();
        QCOMPARE(colours(), QStringList{"#ff0000"});
        QCOMPARE(js("polylinesArray[0].options.weight").toInt(), 6);
        QCOMPARE(js("polylinesArray[0].options.opacity").toDouble(), 1.0);
    }

    void polylinePath()
    {
        emit op.deleteAllObject();
        emit op.addPolyline();
        emit op.addPolyline();
        emit op.addLatLng(25.0, 121.0, 1);
        emit op.addLatLng(25.1, 121.1, 1);
        emit op.addLatLng(1.0, 2.0, 7); // no such line: ends that call only
        QCOMPARE(js("polylinesArray[1].getLatLngs().length").toInt(), 2);
        QCOMPARE(js("polylinesArray[0].getLatLngs().length").toInt(), 0);
        emit op.showPolyline(1);
        QVERIFY(js("map.hasLayer(polylinesArray[1])").toBool());
        emit op.addLatLng(25.2, 121.2, 1);
        // The shown line is redrawn once the batch of points is over.
        QCOMPARE(js("polylinesArray[1]._rings[0].length").toInt(), 2);
        QTRY_COMPARE(js("polylinesArray[1]._rings[0].length").toInt(), 3);
        emit op.clearPolyline(1);
        QVERIFY(!js("map.hasLayer(polylinesArray[1])").toBool());
        QCOMPARE(js("polylinesArray[1].getLatLngs().length").toInt(), 3);
        QCOMPARE(js("polylinesArray[1].getBounds().getNorth()").toDouble(), 25.2);
    }

    void markers()
    {
        emit op.deleteAllObject();
        emit op.addStartPoint(25.0, 121.0, "1. start #0");
        emit op.addEndPoint(25.1, 121.1, "1. end #1");
        emit op.addMarker(25.2, 121.2, "<b>not markup</b>");
        QCOMPARE(js("markersArray.length").toInt(), 3);
        QCOMPARE(js("document.querySelectorAll('.leaflet-marker-icon').length").toInt(), 3);
        QCOMPARE(js("markersArray[0].options.title").toString(), QString("1. start #0"));
        QVERIFY(js("markersArray[0].options.icon.options.className").toString().contains("start"));
        QVERIFY(js("markersArray[1].options.icon.options.className").toString().contains("end"));
        QVERIFY(js("markersArray[2].options.icon instanceof L.Icon.Default").toBool());
        QCOMPARE(js("markersArray[2].getPopup().getContent().textContent").toString(),
                 QString("<b>not markup</b>"));
        js("markersArray[1].fire('click')");
        QVERIFY(js("markersArray[1].isPopupOpen()").toBool());

        js("markersArray[0].remove()");
        emit op.showMarked();
        QCOMPARE(js("markersArray.filter(function(m) { return map.hasLayer(m); }).length").toInt(),
                 3);
        emit op.deleteMarked();
        QCOMPARE(js("markersArray.length").toInt(), 0);
        QCOMPARE(js("document.querySelectorAll('.leaflet-marker-icon').length").toInt(), 0);
        emit op.showMarked();
        QCOMPARE(js("document.querySelectorAll('.leaflet-marker-icon').length").toInt(), 0);
    }

    void viewedPointAndCentre()
    {
        emit op.deleteAllObject();
        emit op.setCenter(25.0, 121.0);
        js("map.setZoom(9, { animate: false })");
        emit op.setCenter(24.5, 120.5);
        QCOMPARE(js("map.getZoom()").toInt(), 16);
        QCOMPARE(js("map.getCenter().lat").toDouble(), 24.5);
        emit op.viewPoint(24.6, 120.6, "1. first");
        emit op.viewPoint(24.7, 120.7, "2. second");
        QCOMPARE(js("document.querySelectorAll('.kv-dot-view').length").toInt(), 1);
        QCOMPARE(js("markerPoint.options.title").toString(), QString("2. second"));
        QCOMPARE(js("map.getCenter().lng").toDouble(), 120.7);
        QCOMPARE(js("map.getZoom()").toInt(), 16);
        emit op.deleteAllObject();
        QCOMPARE(js("document.querySelectorAll('.kv-dot-view').length").toInt(), 0);
    }

    void widgetDrivesPage()
    {
        QVector<Track> tracks(2);
        for (int k = 0; k < 2; ++k) {
            tracks[k].fmt = 2;
            for (int i = 0; i < 3 + k; ++i) {
                Vec3 p;
                p.lat = 25.0 + i * 0.01;
                p.lon = 121.0 + k;
                p.time = 1500000000 + i;
                tracks[k].points << p;
            }
        }
        TestSettings settings;
        // Another tile server, from the Setting.ini of the working directory.
        QTemporaryDir dir;
        QFile ini(dir.filePath("Setting.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[General]\nMapTiles=file:///srv/tiles/{z}/{x}/{y}.png\n");
        ini.close();
        const QString previous = QDir::currentPath();
        QDir::setCurrent(dir.path());
        MapWidget widget(&tracks, &settings, nullptr);
        QDir::setCurrent(previous);
        QWebFrame* frame = widget.mapPage()->mainFrame();
        QTRY_VERIFY(frame->evaluateJavaScript("connected === true").toBool());
        QCOMPARE(frame
                     ->evaluateJavaScript("var u = ''; map.eachLayer(function(l) {"
                                          " if (l._url) u = l._url; }); u")
                     .toString(),
                 QString("file:///srv/tiles/{z}/{x}/{y}.png"));
        widget.updateTrackList();
        QVERIFY(qobject_cast<TileCache*>(widget.mapPage()->networkAccessManager()));
        QCOMPARE(frame->evaluateJavaScript("polylinesArray.length").toInt(), 2);
        QCOMPARE(frame->evaluateJavaScript("polylinesArray[1].getLatLngs().length").toInt(), 4);
        auto* tree = widget.findChild<QTreeWidget*>("treeWidget");
        tree->topLevelItem(0)->setCheckState(0, Qt::Checked);
        QCOMPARE(frame->evaluateJavaScript("markersArray.length").toInt(), 4);
        QCOMPARE(frame
                     ->evaluateJavaScript("polylinesArray.filter(function(l) {"
                                          " return map.hasLayer(l); }).length")
                     .toInt(),
                 2);
    }

    // "MapTiles" naming a folder: the resource page shows the tiles from the disk.
    void tileFolder_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("file"); // the tile at the page's first view, zoom 4
        QTest::newRow("xyz") << "{z}/{x}/{y}.png"
                             << "4/8/5.png";
        QTest::newRow("tms") << "tms/{z}/{x}/{-y}.png"
                             << "tms/4/8/10.png";
    }
    void tileFolder()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, file);
        QTemporaryDir dir;
        QImage tile(256, 256, QImage::Format_RGB32);
        tile.fill(Qt::darkGreen);
        QVERIFY(QDir(dir.path()).mkpath(QFileInfo(dir.filePath(file)).path()));
        QVERIFY(tile.save(dir.filePath(file)));
        QFile ini(dir.filePath("Setting.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("MapTiles=" + QUrl::fromLocalFile(dir.path()).toEncoded() + "/" +
                  pattern.toUtf8() + "\n");
        ini.close();
        QVector<Track> tracks;
        TestSettings settings;
        const QString previous = QDir::currentPath();
        QDir::setCurrent(dir.path());
        MapWidget widget(&tracks, &settings, nullptr);
        QDir::setCurrent(previous);
        widget.resize(900, 600);
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        QWebFrame* frame = widget.mapPage()->mainFrame();
        const QString loaded =
            "[].filter.call(document.querySelectorAll('img.leaflet-tile-loaded'),"
            " function(i) { return i.naturalWidth == 256; })"
            ".map(function(i) { return i.src; }).join(' ')";
        QTRY_VERIFY2(frame->evaluateJavaScript(loaded).toString().endsWith(file),
                     qPrintable(frame->evaluateJavaScript(loaded).toString()));
    }
};

QTEST_MAIN(TestMapPage)
#include "tst_mappage.moc"
