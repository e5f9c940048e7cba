// The map at scale, offscreen with the real page: ticking and unticking every track of a large
// archive, and redrawing a track of 500,000 points after a pan or a zoom (timed inside the page
// with performance.now()). Run with TZ unset and with TZ=UTC.
#include "formats/displaysettings.h"
#include "view/googlemappage.h"
#include "view/mapwidget.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QtMath>
#include <QTreeWidget>
#include "view/googlemappage.h"

#include <cmath>
#include <cstdio>
#include <memory>

namespace
{

class Settings : public DisplaySettings
{
public:
    int speedUnit() const override { return 0; }
    int heightUnit() const override { return 0; }
    int timeSwitch() const override { return 1; }
};

void wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

QVariant js(MapWidget& widget, const QString& script)
{
    return widget.mapPage()->evaluate(script);
}

// Timing helpers put into the page: the pending canvas redraw is run at once, so that a figure
// covers the whole redraw.
const char* const PageHelpers = R"(
function benchBusy() {
  if (typeof pendingWork === "function")
    return pendingWork();
  return redrawPending || !!(map._renderer && map._renderer._redrawRequest);
}
function benchFlush() {
  if (typeof flushPendingWork === "function")
    flushPendingWork();
  var r = map._renderer;
  if (r && r._redrawRequest) {
    L.Util.cancelAnimFrame(r._redrawRequest);
    r._redraw();
  }
}
function benchPan(dx) {
  var t = performance.now();
  map.panBy([dx, 0], { animate: false });
  benchFlush();
  return performance.now() - t;
}
function benchZoom(z) {
  var t = performance.now();
  map.setZoom(z, { animate: false });
  benchFlush();
  return performance.now() - t;
}
function benchShownLines() {
  return polylinesArray.filter(function(l) {
    return l.shown !== undefined ? l.shown : map.hasLayer(l);
  }).length;
}
)";

bool loadPage(MapWidget& widget)
{
    for (int i = 0; i < 400 && !js(widget, "connected === true").toBool(); ++i)
        wait(25);
    if (!js(widget, "connected === true").toBool())
        return false;
    js(widget, PageHelpers);
    return true;
}

// Runs `action` from the event loop and waits until the page has nothing left to do. Returns
// the time until then and the longest time between two turns of the event loop.
std::pair<qint64, qint64> timed(MapWidget& widget, const std::function<void()>& action)
{
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 worst = 0;
    QTimer probe;
    probe.setInterval(0);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        worst = qMax(worst, now - last);
        last = now;
    });
    bool done = false;
    qint64 total = 0;
    QTimer::singleShot(20, [&] {
        clock.start();
        last = 0;
        action();
    });
    probe.start();
    clock.start();
    QTimer poll;
    poll.setInterval(2);
    QEventLoop loop;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!clock.isValid() || clock.elapsed() < 1 || done)
            return;
        if (!js(widget, "benchBusy()").toBool()) {
            total = clock.elapsed();
            done = true;
            loop.quit();
        }
    });
    QTimer::singleShot(40, &poll, [&poll] { poll.start(); });
    loop.exec();
    probe.stop();
    const qint64 now = clock.elapsed();
    worst = qMax(worst, now - last);
    return {total, worst};
}

QString redraws(MapWidget& widget, double lat, double lon, int zoom);

Track smallTrack(int k)
{
    Track track;
    track.fmt = 2;
    track.startTime = 1500000000 + qint64(k) * 86400;
    for (int i = 0; i < 20; ++i) {
        Vec3 p;
        p.lat = 20.0 + (k % 40) * 0.25 + i * 0.002;
        p.lon = 100.0 + (k / 40) * 0.25 + std::sin(i * 0.7) * 0.004;
        p.time = track.startTime + i * 5;
        p.marked = i >= 4 && i < 14; // ten marked points besides the start and the end
        p.speed = 1000 + i * 150;
        track.points << p;
    }
    return track;
}

// The widget shown at 1280 x 900 with its page loaded and the tracks listed.
bool showTracks(MapWidget& widget)
{
    widget.resize(1280, 900);
    widget.show();
    if (!loadPage(widget)) {
        std::printf("map page not loaded\n");
        return false;
    }
    widget.updateTrackList();
    wait(200);
    return true;
}

void checkAll(int count)
{
    QVector<Track> tracks;
    for (int k = 0; k < count; ++k)
        tracks << smallTrack(k);
    Settings settings;
    MapWidget widget(&tracks, &settings, nullptr);
    if (!showTracks(widget))
        return;
    QTreeWidgetItem* root = widget.findChild<QTreeWidget*>("treeWidget")->topLevelItem(0);
    const auto on = timed(widget, [root] { root->setCheckState(0, Qt::Checked); });
    const int markers = js(widget, "markersArray.length").toInt();
    const int lines = js(widget, "benchShownLines()").toInt();
    std::printf("%d tracks x 10 marked points, check all: %lld ms, longest stall %lld ms "
                "(%d lines, %d markers on the page)\n",
                count, on.first, on.second, lines, markers);
    const QString view = js(widget, "map.getZoom()").toString();
    std::printf("%d tracks shown, zoom %s: %s ms\n", count, qPrintable(view),
                qPrintable(redraws(widget, js(widget, "map.getCenter().lat").toDouble(),
                                   js(widget, "map.getCenter().lng").toDouble(),
                                   js(widget, "map.getZoom()").toInt())));
    const auto off = timed(widget, [root] { root->setCheckState(0, Qt::Unchecked); });
    std::printf("%d tracks x 10 marked points, uncheck all: %lld ms, longest stall %lld ms "
                "(%d lines, %d markers on the page)\n",
                count, off.first, off.second, js(widget, "benchShownLines()").toInt(),
                js(widget, "markersArray.length").toInt());
}

// A drive of 500,000 points at 1 s on winding roads: the speed follows a target that changes
// every few minutes (at most 2 km/h faster or slower a second, with a little noise of the
// receiver), and each half hour ends in a stop.
Track longTrack()
{
    constexpr int Count = 500000;
    Track track;
    track.fmt = 2;
    track.startTime = 1500000000;
    track.points.resize(Count);
    double lat = 46.0;
    double lon = 7.0;
    double heading = 0.3;
    double kmh = 0.0;
    double target = 50.0;
    quint32 seed = 12345;
    auto random = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) / double(1 << 24);
    };
    for (int i = 0; i < Count; ++i) {
        if (i % 1800 > 1700)
            target = 0.0;
        else if (i % 180 == 0)
            target = 20.0 + 100.0 * random();
        kmh += qBound(-2.0, target - kmh, 2.0);
        heading += (random() - 0.5) * 0.12 + 0.002 * std::sin(i / 5000.0);
        const double metres = kmh / 3.6;
        lat += metres * std::cos(heading) / 111320.0;
        lon += metres * std::sin(heading) / (111320.0 * std::cos(qDegreesToRadians(lat)));
        Vec3& p = track.points[i];
        p.lat = lat;
        p.lon = lon;
        p.alt = 500.0;
        p.time = track.startTime + i;
        p.marked = i % 10000 == 5000;
        p.speed = qint32(qMax(0.0, kmh + (random() - 0.5) * 3.0) * 100.0);
    }
    return track;
}

// Pans back and forth and zooms out and in around one view; figures in ms, average / worst.
QString redraws(MapWidget& widget, double lat, double lon, int zoom)
{
    js(widget, QString("map.setView([%1, %2], %3, { animate: false }); benchFlush();")
                   .arg(lat, 0, 'f', 6)
                   .arg(lon, 0, 'f', 6)
                   .arg(zoom));
    double panSum = 0, panWorst = 0, zoomSum = 0, zoomWorst = 0;
    constexpr int Runs = 6;
    for (int i = 0; i < Runs; ++i) {
        const double pan = js(widget, QString("benchPan(%1)").arg(i % 2 ? -300 : 300)).toDouble();
        panSum += pan;
        panWorst = qMax(panWorst, pan);
        const double z =
            js(widget, QString("benchZoom(%1)").arg(i % 2 ? zoom : zoom - 1)).toDouble();
        zoomSum += z;
        zoomWorst = qMax(zoomWorst, z);
    }
    return QString::asprintf("pan %.1f / %.1f, zoom %.1f / %.1f", panSum / Runs, panWorst,
                             zoomSum / Runs, zoomWorst);
}

void longLine()
{
    QVector<Track> tracks{longTrack()};
    Settings settings;
    MapWidget widget(&tracks, &settings, nullptr);
    if (!showTracks(widget))
        return;
    auto* tree = widget.findChild<QTreeWidget*>("treeWidget");
    QTreeWidgetItem* item = tree->topLevelItem(0)->child(0);
    tree->setCurrentItem(item);
    const auto shown = timed(widget, [&] { widget.TreeWidgetItemDoubleClicked(item, 0); });
    std::printf("500,000 points, double-click the track (listed and shown): %lld ms\n",
                shown.first);

    const Vec3 middle = tracks[0].points.at(250000);
    js(widget, "map.fitBounds(polylinesArray[0].getBounds(), { animate: false }); benchFlush()");
    const int whole = js(widget, "map.getZoom()").toInt();
    for (int zoom : {16, 12, whole})
        std::printf("plain, zoom %d: %s ms\n", zoom,
                    qPrintable(redraws(widget, middle.lat, middle.lon, zoom)));

    if (!js(widget, "typeof showSpeedColours === 'function'").toBool())
        return;
    js(widget, "map.fitBounds(polylinesArray[0].getBounds(), { animate: false }); benchFlush()");
    const auto on = timed(widget, [&] { widget.setSpeedColours(true); });
    std::printf("speed colours on (whole track in view): %lld ms, longest stall %lld ms\n",
                on.first, on.second);
    for (int zoom : {16, 12, whole})
        std::printf("speed colours, zoom %d: %s ms\n", zoom,
                    qPrintable(redraws(widget, middle.lat, middle.lon, zoom)));
}

} // namespace

int main(int argc, char** argv)
{
    GoogleMapPage::prepareApplication();
    QApplication app(argc, argv);
    // Tiles from a folder that does not exist: the figures never depend on a network.
    QTemporaryDir dir;
    QFile ini(dir.filePath("Setting.ini"));
    if (!ini.open(QIODevice::WriteOnly) ||
        ini.write("MapTiles=file:///nonexistent-kv730-tiles/{z}/{x}/{y}.png\n") < 0)
        return 1;
    ini.close();
    QDir::setCurrent(dir.path());

    const QByteArray tz = qgetenv("TZ");
    std::printf("TZ %s\n", tz.isNull() ? "unset" : tz.constData());
    const QStringList args = app.arguments().mid(1);
    // Arguments: track counts and "line"; none runs everything.
    QList<int> counts;
    for (const QString& a : args) {
        if (a.toInt() > 0)
            counts << a.toInt();
    }
    if (args.isEmpty())
        counts = {100, 1000};
    for (int count : counts)
        checkAll(count);
    if (args.isEmpty() || args.contains("line"))
        longLine();
    return 0;
}
