#include "maprecorder.h"
#include "testsupport.h"
#include "view/googlemappage.h"
#include "view/mapwidget.h"
#include "view/tilecache.h"

#include <QImage>
#include <QTreeWidget>
#include <QWebFrame>
#include <QtTest>

// The map page of a real map widget, driven through its bridge.
class TestMapPage : public QObject
{
    Q_OBJECT

private:
    QVariant js(const QString& script)
    {
        return widget->mapPage()->mainFrame()->evaluateJavaScript(script);
    }
    int count(const QString& selector)
    {
        return js("document.querySelectorAll('" + selector + "').length").toInt();
    }
    // Per line the number of its points, and how many of the lines or markers are on the map.
    QString lengths()
    {
        return js("polylinesArray.map(function(l) { return l.getLatLngs().length; }).join()")
            .toString();
    }
    int shown(const QString& array)
    {
        return js(array + ".filter(function(o) { return map.hasLayer(o); }).length").toInt();
    }
    QStringList colours()
    {
        return js("polylinesArray.map(function(l) { return l.options.color; }).join(' ')")
            .toString()
            .split(' ', Qt::SkipEmptyParts);
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
        // Tiles from a folder named by "MapTiles" in the working directory's Setting.ini.
        QImage tile(256, 256, QImage::Format_RGB32);
        tile.fill(Qt::darkGreen);
        QVERIFY(QDir(dir.path()).mkpath("4/8"));
        QVERIFY(tile.save(dir.filePath("4/8/5.png"))); // the first view, at zoom 4
        QVERIFY(TestSupport::writeFile(dir.filePath("Setting.ini"),
                                       "MapTiles=" + QUrl::fromLocalFile(dir.path()).toEncoded() +
                                           "/{z}/{x}/{y}.png\n"));
        const QString previous = QDir::currentPath();
        QDir::setCurrent(dir.path());
        widget = new MapWidget(&tracks, &settings, nullptr);
        QDir::setCurrent(previous);
        op = widget->mapOperator();
        widget->resize(900, 600);
        widget->show();
        QVERIFY(QTest::qWaitForWindowExposed(widget));
        QTRY_VERIFY(js("connected === true").toBool());
    }
    void cleanupTestCase() { delete widget; }

    void identityAndTileFolder()
    {
        QCOMPARE(js("navigator.userAgent").toString(), QString("KV-730/S-OPC-41-1807041"));
        QCOMPARE(widget->mapPage()->linkDelegationPolicy(), QWebPage::DelegateAllLinks);
        QVERIFY(qobject_cast<TileCache*>(widget->mapPage()->networkAccessManager()));
        const QString loaded =
            "[].filter.call(document.querySelectorAll('img.leaflet-tile-loaded'),"
            " function(i) { return i.naturalWidth == 256; })"
            ".map(function(i) { return i.src; }).join(' ')";
        QTRY_VERIFY2(js(loaded).toString().endsWith("/4/8/5.png"),
                     qPrintable(js(loaded).toString()));
    }

    // Seven styles in turn, on from the last track list; a new page starts again.
    void polylineColoursCycle()
    {
        const int before = js("nPolylines").toInt();
        for (int i = 0; i < 8; ++i)
            emit op->addPolyline();
        emit op->deleteAllObject();
        emit op->addPolyline();
        const QStringList all{"#ff0000", "#00ff00", "#0000ff", "#00ffff",
                              "#ffff00", "#a020f0", "#ffc0cb"};
        QCOMPARE(colours(), QStringList{all.at((before + 8) % 7)});
        QSignalSpy loaded(widget->mapPage(), &QWebPage::loadFinished);
        widget->mapPage()->mainFrame()->load(QUrl("qrc:/map.html"));
        QTRY_COMPARE(loaded.count(), 1);
        for (int i = 0; i < 8; ++i)
            emit op->addPolyline();
        QCOMPARE(colours(), all + QStringList{all.at(0)});
        QCOMPARE(shown("polylinesArray"), 0);
    }

    void polylinePath()
    {
        emit op->deleteAllObject();
        emit op->addPolyline();
        emit op->addPolyline();
        emit op->addLatLng(25.0, 121.0, 1);
        emit op->addLatLng(25.1, 121.1, 1);
        emit op->addLatLng(1.0, 2.0, 7); // no such line
        QCOMPARE(lengths(), QString("0,2"));
        emit op->showPolyline(1);
        emit op->addLatLng(25.2, 121.2, 1);
        // The shown line is redrawn once the batch of points is over.
        QTRY_COMPARE(js("polylinesArray[1]._rings[0].length").toInt(), 3);
        emit op->clearPolyline(1);
        QCOMPARE(shown("polylinesArray"), 0);
    }

    void markers()
    {
        emit op->deleteAllObject();
        emit op->addStartPoint(25.0, 121.0, "1. start #0");
        emit op->addEndPoint(25.1, 121.1, "1. end #1");
        emit op->addMarker(25.2, 121.2, "<b>not markup</b>");
        QCOMPARE(count(".leaflet-marker-icon"), 3);
        QVERIFY(js("markersArray[0].options.icon.options.className").toString().contains("start"));
        QVERIFY(js("markersArray[1].options.icon.options.className").toString().contains("end"));
        QVERIFY(js("markersArray[2].options.icon instanceof L.Icon.Default").toBool());
        QCOMPARE(js("markersArray[2].getPopup().getContent().textContent").toString(),
                 QString("<b>not markup</b>"));
        js("markersArray[1].fire('click')");
        QVERIFY(js("markersArray[1].isPopupOpen()").toBool());

        js("markersArray[0].remove()");
        emit op->showMarked();
        QCOMPARE(shown("markersArray"), 3);
        emit op->deleteMarked();
        emit op->showMarked();
        QCOMPARE(js("markersArray.length").toInt(), 0);
        QCOMPARE(count(".leaflet-marker-icon"), 0);
    }

    void viewedPointAndCentre()
    {
        js("map.setZoom(9, { animate: false })");
        emit op->setCenter(24.5, 120.5);
        QCOMPARE(js("map.getZoom() + ' ' + map.getCenter().lat").toString(), QString("16 24.5"));
        emit op->viewPoint(24.6, 120.6, "1. first");
        emit op->viewPoint(24.7, 120.7, "2. second");
        QCOMPARE(count(".kv-dot-view"), 1);
        QCOMPARE(js("markerPoint.options.title").toString(), QString("2. second"));
        QCOMPARE(js("map.getZoom() + ' ' + map.getCenter().lng").toString(), QString("16 120.7"));
        emit op->deleteAllObject();
        QCOMPARE(count(".kv-dot-view"), 0);
    }

    void widgetDrivesPage()
    {
        tracks.resize(2);
        for (int k = 0; k < 2; ++k) {
            tracks[k].fmt = 2;
            for (int i = 0; i < 3 + k; ++i)
                tracks[k].points << TestSupport::point(25.0 + i * 0.01, 121.0 + k, 0,
                                                       1500000000 + i);
        }
        widget->updateTrackList();
        QCOMPARE(lengths(), QString("3,4"));
        widget->findChild<QTreeWidget*>("treeWidget")
            ->topLevelItem(0)
            ->setCheckState(0, Qt::Checked);
        QCOMPARE(js("markersArray.length").toInt(), 4);
        QCOMPARE(shown("polylinesArray"), 2);
    }
};

QTEST_MAIN(TestMapPage)
#include "tst_mappage.moc"
