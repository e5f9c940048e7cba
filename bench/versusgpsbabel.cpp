// kv730-convert against GPSBabel on the same points: the log converted to GPX by
// kv730-convert, the same points as NMEA converted to GPX by GPSBabel, run after run in turn,
// at several loads, with TZ unset and TZ=UTC. Each ratio is given as the range over the runs,
// in wall time and in CPU time (user + system of the child), so that a busy machine shows as
// a wider range rather than as one lucky figure.
//   build/bench/versusgpsbabel [RUNS [POINTS...]]     default 5 runs, 100000 and 500000 points

#include "childcpu.h"
#include "loggenerator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#ifdef Q_OS_UNIX
#include <cstdlib>
#endif

namespace
{

struct Cost {
    double wall = 0;
    double cpu = 0; // negative where the system does not tell
};

bool run(const QString& program, const QStringList& arguments, const QProcessEnvironment& env,
         Cost* cost)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const double cpuBefore = childCpu();
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    const bool ok = process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit &&
                    process.exitCode() == 0;
    cost->wall = timer.nsecsElapsed() / 1e9;
    cost->cpu = cpuBefore < 0 ? -1 : childCpu() - cpuBefore;
    return ok;
}

struct Range {
    double low = 1e300, high = 0;
    void add(double v)
    {
        low = std::min(low, v);
        high = std::max(high, v);
    }
};

double loadAverage()
{
    double load[1] = {-1};
#ifdef Q_OS_UNIX
    getloadavg(load, 1);
#endif
    return load[0];
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 5;
    QList<int> loads;
    for (int i = 2; i < argc; ++i)
        loads << QString::fromLocal8Bit(argv[i]).toInt();
    if (loads.isEmpty())
        loads = {100000, 500000};
    const QString convert = QStringLiteral(KV730_BINARY_DIR "/kv730-convert");
    const QString gpsbabel = QStandardPaths::findExecutable(QStringLiteral("gpsbabel"));
    if (gpsbabel.isEmpty()) {
        std::printf("GPSBabel not available\n");
        return 1;
    }
    QTemporaryDir dir;
    std::printf("%d runs each, kv730-convert log -> GPX against gpsbabel NMEA -> GPX\n", runs);
    for (int count : loads) {
        const QString log = dir.filePath(QStringLiteral("track.gpl"));
        const QString nmea = dir.filePath(QStringLiteral("track.nmea"));
        LogGenerator generator(1395878400);
        if (!generator.writeLog(log, count) || !generator.writeNmea(nmea, count)) {
            std::fprintf(stderr, "cannot write the input files\n");
            return 1;
        }
        for (const char* tz : {static_cast<const char*>(nullptr), "UTC"}) {
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            if (tz)
                env.insert(QStringLiteral("TZ"), QString::fromLatin1(tz));
            else
                env.remove(QStringLiteral("TZ"));
            Range ownWall, babelWall, wallRatio, cpuRatio, ownCpu, babelCpu, load;
            for (int r = 0; r < runs; ++r) {
                Cost own, babel;
                load.add(loadAverage());
                if (!run(convert, {log, "-o", dir.filePath(QStringLiteral("own.gpx"))}, env, &own) ||
                    !run(gpsbabel,
                         {"-i", "nmea", "-f", nmea, "-o", "gpx", "-F",
                          dir.filePath(QStringLiteral("babel.gpx"))},
                         env, &babel)) {
                    std::fprintf(stderr, "a conversion failed\n");
                    return 1;
                }
                ownWall.add(own.wall);
                babelWall.add(babel.wall);
                wallRatio.add(babel.wall / own.wall);
                if (own.cpu > 0 && babel.cpu >= 0) {
                    ownCpu.add(own.cpu);
                    babelCpu.add(babel.cpu);
                    cpuRatio.add(babel.cpu / own.cpu);
                }
            }
            std::printf("%7d points, TZ %-5s: kv730-convert %.2f-%.2f s (CPU %.2f-%.2f s), "
                        "gpsbabel %.2f-%.2f s (CPU %.2f-%.2f s); GPSBabel slower by %.1f-%.1fx "
                        "wall, %.1f-%.1fx CPU; load average %.1f-%.1f\n",
                        count, tz ? tz : "unset", ownWall.low, ownWall.high, ownCpu.low,
                        ownCpu.high, babelWall.low, babelWall.high, babelCpu.low, babelCpu.high,
                        wallRatio.low, wallRatio.high, cpuRatio.low, cpuRatio.high, load.low,
                        load.high);
            std::fflush(stdout);
        }
    }
    return 0;
}
