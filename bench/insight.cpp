// Statistics and profile chart for one track of 500,000 points.
#include "view/profilechart.h"
#include "view/trackstatistics.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QTextStream>
#include <algorithm>
#include <cmath>

namespace
{

Track makeTrack(int n)
{
    Track t;
    t.fmt = 2;
    t.startTime = 1700000000;
    t.points.resize(n);
    double lat = 35.0, lon = 139.0, alt = 50.0;
    for (int i = 0; i < n; ++i) {
        Vec3& p = t.points[i];
        const bool stopped = (i / 600) % 5 == 4; // a pause every 50 minutes
        const double step = stopped ? 0.0 : 0.00005 * (1.0 + 0.5 * std::sin(i * 0.01));
        lat += step * std::cos(i * 0.0003);
        lon += step * std::sin(i * 0.0003);
        alt += std::sin(i * 0.05) * 0.8;
        p.lat = lat;
        p.lon = lon;
        p.alt = alt;
        p.time = t.startTime + i;
        p.speed = stopped ? 0 : qint32(step * 111000 * 3.6 * 100);
        p.marked = i % 1000 == 0;
    }
    return t;
}

template <typename F> double bestOf(int runs, F f)
{
    double best = 1e300;
    for (int r = 0; r < runs; ++r) {
        QElapsedTimer timer;
        timer.start();
        f();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTextStream out(stdout);
    const int n = 500000;
    const Track track = makeTrack(n);
    out << "TZ=" << (qEnvironmentVariableIsSet("TZ") ? qgetenv("TZ") : QByteArray("(unset)"))
        << ", " << n << " points\n";

    TrackStatistics s;
    const double statsMs = bestOf(10, [&]() { s = TrackStatistics::compute(track); });
    out << "statistics: " << statsMs << " ms (best of 10), distance " << s.distanceMeters / 1000
        << " km, moving " << s.movingTime << " s\n";
    QString text;
    const double textMs = bestOf(10, [&]() { text = s.toolTip(0, 0, 1) + s.tsvLine(1); });
    out << "tool tip + tsv line: " << textMs << " ms\n";

    ProfileChart chart;
    chart.resize(1200, 300);
    chart.show();
    QCoreApplication::processEvents();
    for (int timeSwitch : {0, 1}) {
        const double chartMs = bestOf(5, [&]() {
            chart.setPoints(track.points,
                            ProfileChart::seriesOf(track.fmt, track.speedsWithoutAltitude), 0, 0,
                            timeSwitch);
            const QPixmap p = chart.grab();
            Q_UNUSED(p)
        });
        out << "chart set + drawn (" << (timeSwitch ? "local" : "UTC") << "): " << chartMs
            << " ms (best of 5), " << chart.speedSeries().size() << " + "
            << chart.altitudeSeries().size() << " drawn points\n";
    }
    const double clickMs = bestOf(100, [&]() { chart.indexAtX(600); });
    out << "click to point: " << clickMs * 1000 << " us\n";
    return 0;
}
