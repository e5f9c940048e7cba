// Track file benchmark: one generated 500,000-point log file converted with kv730-convert
// to GPX, TKX and CSV (local time), the TKX archive read back into memory, and GPSBabel
// converting the same points from NMEA to GPX for comparison; with TZ unset and TZ=UTC.
// Then, in process, 3,000,000 tracks of one point each saved as TKX and as GPX.

#include "formats/fileformatgpx.h"
#include "formats/fileformattkr.h"
#include "loggenerator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>

namespace
{

const int runs = 3;

// Best of `runs` wall-clock times in seconds; negative when the step failed.
double best(const std::function<bool()>& step)
{
    double result = 1e9;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        if (!step())
            return -1;
        result = std::min(result, timer.nsecsElapsed() / 1e9);
    }
    return result;
}

bool run(const QString& program, const QStringList& arguments, const QProcessEnvironment& env)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    return process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

void setZone(const char* tz)
{
    if (tz)
        qputenv("TZ", tz);
    else
        qunsetenv("TZ");
    tzset();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 500000;
    const QString convert = QStringLiteral(KV730_BINARY_DIR "/kv730-convert");
    const QString gpsbabel = QStandardPaths::findExecutable(QStringLiteral("gpsbabel"));

    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("track.gpl"));
    const QString nmea = dir.filePath(QStringLiteral("track.nmea"));
    // The same recording as the log reader benchmark.
    LogGenerator generator(1395878400);
    if (!generator.writeLog(log, count) || !generator.writeNmea(nmea, count)) {
        std::fprintf(stderr, "cannot write the input files\n");
        return 1;
    }
    std::printf("%d points, best of %d runs, seconds\n", count, runs);

    const QByteArray originalTz = qgetenv("TZ");
    const bool hadTz = qEnvironmentVariableIsSet("TZ");
    for (const char* tz : {static_cast<const char*>(nullptr), "UTC"}) {
        setZone(tz);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (!tz)
            env.remove(QStringLiteral("TZ"));

        const QString gpx = dir.filePath(QStringLiteral("out.gpx"));
        const QString tkx = dir.filePath(QStringLiteral("out.tkx"));
        const QString csv = dir.filePath(QStringLiteral("out.csv"));
        const double toGpx = best([&] { return run(convert, {log, "-o", gpx}, env); });
        const double toTkx = best([&] { return run(convert, {log, "-o", tkx}, env); });
        const double toCsv = best([&] {
            return run(convert, {log, "--time", "local", "-o", csv}, env);
        });
        int points = 0;
        const double readTkx = best([&] {
            QVector<Track> tracks;
            const bool ok = FileFormatTKR().load(tracks, tkx);
            points = tracks.isEmpty() ? 0 : tracks[0].points.size();
            return ok;
        });
        const double babel = gpsbabel.isEmpty() ? -1 : best([&] {
            return run(gpsbabel,
                       {"-i", "nmea", "-f", nmea, "-o", "gpx", "-F",
                        dir.filePath(QStringLiteral("babel.gpx"))},
                       env);
        });

        std::printf("\nTZ %s\n", tz ? tz : "unset");
        std::printf("  log -> GPX (kv730-convert)        %7.3f  (goal 1.0)\n", toGpx);
        std::printf("  log -> TKX (kv730-convert)        %7.3f  (goal 0.5)\n", toTkx);
        std::printf("  log -> CSV, local time            %7.3f  (goal 1.0)\n", toCsv);
        std::printf("  TKX -> memory (%d points)    %7.3f  (goal 0.2)\n", points, readTkx);
        if (babel < 0) {
            std::printf("  GPSBabel not available\n");
        } else {
            std::printf("  NMEA -> GPX (gpsbabel)            %7.3f\n", babel);
            std::printf("  GPSBabel / kv730-convert          %7.1fx (goal %s)\n", babel / toGpx,
                        tz ? ">= 3" : ">= 10");
        }
        std::fflush(stdout);
    }
    if (hadTz)
        qputenv("TZ", originalTz);
    else
        qunsetenv("TZ");

    // Many short tracks: the archive's index and blocks must not cost a write each.
    const int shortTracks = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 3000000;
    QVector<Track> tracks(shortTracks);
    QList<int> selection;
    selection.reserve(shortTracks);
    for (int i = 0; i < shortTracks; ++i) {
        Vec3 point;
        point.lat = 25.0 + i * 1e-6;
        point.lon = 121.5;
        point.alt = 12.5;
        point.time = 1395878400 + i;
        point.speed = 1234;
        tracks[i].startTime = point.time;
        tracks[i].fmt = 2;
        tracks[i].points.append(point);
        selection.append(i);
    }
    QString tkx = dir.filePath(QStringLiteral("short.tkx"));
    QString gpx = dir.filePath(QStringLiteral("short.gpx"));
    const double saveTkx =
        best([&] { return FileFormatTKR(0).save(tracks, tkx, selection, false); });
    const double saveGpx =
        best([&] { return FileFormatGPX().save(tracks, gpx, selection, false); });
    std::printf("\n%d tracks of one point, in process, TZ as given\n", shortTracks);
    std::printf("  tracks -> TKX                     %7.3f\n", saveTkx);
    std::printf("  tracks -> GPX                     %7.3f\n", saveGpx);
    return 0;
}
