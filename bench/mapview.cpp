// Track view figures at 500,000 points: the track list with every point sent to the map
// page, the point list, and the cost of showing one point or scrolling the list.
// Run offscreen, once with TZ unset and once with TZ=UTC.
#include "synthetictrack.h"
#include "formats/displaysettings.h"
#include "view/googlemappage.h"
#include "view/mapwidget.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>
#include "view/googlemappage.h"

#include <cstdio>

namespace
{

constexpr int PointCount = 500000;

class Settings : public DisplaySettings
{
public:
    int speedUnit() const override { return 0; }
    int heightUnit() const override { return 0; }
    int timeSwitch() const override { return 1; } // local time, the costly case
};

void wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

Track makeTrack()
{
    return syntheticTrack(PointCount, 1e-6, 0.0);
}

} // namespace

int main(int argc, char** argv)
{
    GoogleMapPage::prepareApplication();
    QApplication app(argc, argv);
    const QByteArray tz = qgetenv("TZ");
    std::printf("TZ %s, %d points\n", tz.isNull() ? "unset" : tz.constData(), PointCount);

    QVector<Track> tracks{makeTrack()};
    Settings settings;
    MapWidget widget(&tracks, &settings, nullptr);
    widget.resize(1280, 900);
    widget.show();
    GoogleMapPage* frame = widget.mapPage();
    for (int i = 0; i < 400 && !frame->evaluate("connected === true").toBool(); ++i)
        wait(25);
    if (!frame->evaluate("connected === true").toBool()) {
        std::printf("map page not loaded\n");
        return 1;
    }

    QElapsedTimer timer;
    timer.start();
    widget.updateTrackList();
    const qint64 listMs = timer.elapsed();
    const int pathLength =
        frame->evaluate("polylinesArray[0].getLatLngs().length").toInt();
    std::printf("updateTrackList (tree, markers, %d addLatLng into the page): %lld ms\n",
                pathLength, listMs);

    auto* tree = widget.findChild<QTreeWidget*>("treeWidget");
    tree->setCurrentItem(tree->topLevelItem(0)->child(0));
    timer.restart();
    tree->topLevelItem(0)->child(0)->setCheckState(0, Qt::Checked);
    frame->evaluate("typeof flushPendingWork === 'function' && flushPendingWork()");
    const qint64 showMs = timer.elapsed();
    std::printf("check the track (line of %d points and %d markers shown): %lld ms\n", pathLength,
                int(widget.trackMarkers().size()), showMs);

    auto* view = widget.findChild<QTreeView*>("treeWidget_2");
    for (int run = 0; run < 3; ++run) {
        timer.restart();
        widget.showTrackPoints(-1.0f, -1);
        const qint64 fillMs = timer.elapsed();
        view->viewport()->repaint();
        const qint64 paintMs = timer.elapsed();
        std::printf("showTrackPoints, %d rows: %lld ms listed, %lld ms with the first paint\n",
                    widget.listedPoints().size(), fillMs, paintMs);
    }
    timer.restart();
    widget.showTrackPoints(-1.0f, 0);
    std::printf("unit switch (relist with the stored rule): %lld ms\n", timer.elapsed());
    timer.restart();
    widget.showTrackPoints(10.0f, 2);
    std::printf("filter >= 10 km/h, %d rows kept: %lld ms\n", widget.listedPoints().size(),
                timer.elapsed());
    widget.showTrackPoints(-1.0f, -1);

    QRandomGenerator random(7);
    constexpr int Calls = 200;
    auto showPoints = [&](const char* what, auto nextIndex) {
        qint64 worst = 0;
        QElapsedTimer all;
        all.start();
        for (int i = 0; i < Calls; ++i) {
            QElapsedTimer one;
            one.start();
            widget.showPointAndSelectInfo(nextIndex(i));
            view->viewport()->repaint();
            worst = qMax(worst, one.nsecsElapsed());
        }
        std::printf("showPointAndSelectInfo, %s, with repaint: %.2f ms average, %.2f ms worst\n",
                    what, double(all.nsecsElapsed()) / Calls / 1e6, worst / 1e6);
    };
    const int base = PointCount / 3;
    showPoints("line shown, consecutive rows (playback)", [&](int i) { return base + i; });
    showPoints("line shown, random rows", [&](int) { return random.bounded(PointCount); });
    tree->topLevelItem(0)->child(0)->setCheckState(0, Qt::Unchecked);
    showPoints("line hidden, random rows", [&](int) { return random.bounded(PointCount); });

    QScrollBar* bar = view->verticalScrollBar();
    qint64 worst = 0;
    timer.restart();
    for (int i = 0; i < Calls; ++i) {
        QElapsedTimer one;
        one.start();
        bar->setValue(random.bounded(bar->maximum() + 1));
        view->viewport()->repaint();
        worst = qMax(worst, one.nsecsElapsed());
    }
    std::printf("scroll to random positions, with repaint: %.2f ms average, %.2f ms worst\n",
                double(timer.nsecsElapsed()) / Calls / 1e6, worst / 1e6);
    return 0;
}
