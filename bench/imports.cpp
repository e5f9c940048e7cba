// Reader benchmark: the log reader benchmark's 500,000-point recording saved by the tool as
// TKX, GPX, KML and CSV, each read back into memory (best of 3, wall clock and processor
// time), with the peak memory each read adds (Linux: /proc/self/status); and GPSBabel reading
// the same GPX file for comparison, and the GPX file read by the full XML reader alone.
//   imports [points]

#include "formats/fileformatgpl.h"
#include "formats/fileformatgpx.h"
#include "formats/fileformatregistry.h"
#include "loggenerator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace
{

const int runs = 3;

struct UtcSettings : DisplaySettings {
    int speedUnit() const override { return Kmh; }
    int heightUnit() const override { return Metres; }
    int timeSwitch() const override { return Utc; }
};

// The process's resident set in kB: now, or its peak since resetPeak().
qint64 memoryKb(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

// Processor seconds (user and system) of this process and of its finished children.
double cpuSeconds()
{
    double total = 0;
#ifdef Q_OS_UNIX
    for (int who : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
        rusage usage{};
        getrusage(who, &usage);
        total += usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
                 (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    }
#endif
    return total;
}

// Best of `runs` wall-clock times in seconds, negative when the step failed; the best
// processor time goes to *cpu (on a loaded machine the wall clock says more about the
// others), the peak memory the step added, in MB, to *peakMb.
double best(const std::function<bool()>& step, double* cpu, double* peakMb)
{
    double result = 1e9;
    *cpu = 1e9;
    *peakMb = 0;
    for (int i = 0; i < runs; ++i) {
#ifdef __GLIBC__
        // Memory freed by the step before stays resident and would hide this one's peak.
        malloc_trim(0);
#endif
        const qint64 before = memoryKb("VmRSS:");
        resetPeak();
        const double cpuBefore = cpuSeconds();
        QElapsedTimer timer;
        timer.start();
        if (!step())
            return -1;
        result = std::min(result, timer.nsecsElapsed() / 1e9);
        *cpu = std::min(*cpu, cpuSeconds() - cpuBefore);
        *peakMb = std::max(*peakMb, (memoryKb("VmHWM:") - before) / 1024.0);
    }
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 500000;
    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("track.gpl"));
    if (!LogGenerator(1395878400).writeLog(log, count)) {
        std::fprintf(stderr, "cannot write the log\n");
        return 1;
    }
    UtcSettings settings;
    FileFormatRegistry registry;
    registry.addStandardFormats(&settings);
    QVector<Track> tracks;
    if (!registry.load(tracks, log) || tracks.isEmpty()) {
        std::fprintf(stderr, "cannot read the log\n");
        return 1;
    }
    const int points = tracks.first().points.size();
    const double trackMb = points * double(sizeof(Vec3)) / (1024.0 * 1024.0);
    std::printf("TZ %s; %d points, %.1f MB in memory (%d bytes a point); best of %d runs\n",
                qEnvironmentVariableIsSet("TZ") ? qgetenv("TZ").constData() : "unset", points,
                trackMb, int(sizeof(Vec3)), runs);

    double tkxTime = 0;
    double tkxCpu = 0;
    for (const char* extension : {"tkx", "gpx", "kml", "csv"}) {
        QString file = dir.filePath(QStringLiteral("track.") + extension);
        if (!registry.save(tracks, file, {0}, false)) {
            std::fprintf(stderr, "cannot write %s\n", extension);
            return 1;
        }
        double peak = 0;
        double cpu = 0;
        int read = 0;
        const double seconds = best(
            [&] {
                QVector<Track> loaded;
                const bool ok = registry.load(loaded, file);
                read = loaded.isEmpty() ? 0 : loaded.first().points.size();
                return ok;
            },
            &cpu, &peak);
        if (qstrcmp(extension, "tkx") == 0) {
            tkxTime = seconds;
            tkxCpu = cpu;
        }
        std::printf("  %s -> memory  %6.3f s (cpu %6.3f s)  %5.1fx TKX (cpu %5.1fx)  peak +%6.1f MB "
                    "= %4.2fx the track  (%d points, file %.1f MB)\n",
                    extension, seconds, cpu, seconds / tkxTime, cpu / tkxCpu, peak,
                    peak / trackMb, read, QFileInfo(file).size() / (1024.0 * 1024.0));
        if (qstrcmp(extension, "gpx") == 0) {
            // The same file through the full XML reader alone, for comparison.
            FileFormatGPX full;
            full.setParser(FileFormatGPX::Parser::FullXml);
            double fullCpu = 0;
            double fullPeak = 0;
            const double fullTime = best(
                [&] {
                    QVector<Track> loaded;
                    return full.load(loaded, file) &&
                           full.lastParser() == FileFormatGPX::Parser::FullXml;
                },
                &fullCpu, &fullPeak);
            std::printf("  gpx, full XML reader alone  %6.3f s (cpu %6.3f s)  %5.1fx TKX (cpu "
                        "%5.1fx)  peak +%6.1f MB = %4.2fx the track\n",
                        fullTime, fullCpu, fullTime / tkxTime, fullCpu / tkxCpu, fullPeak,
                        fullPeak / trackMb);
            const QString gpsbabel = QStandardPaths::findExecutable(QStringLiteral("gpsbabel"));
            if (gpsbabel.isEmpty()) {
                std::printf("  GPSBabel not available\n");
                continue;
            }
            double unused = 0;
            double babelCpu = 0;
            const double babel = best(
                [&] {
                    QProcess process;
                    process.start(gpsbabel, {"-t", "-i", "gpx", "-f", file, "-o", "unicsv",
                                             "-F", "/dev/null"});
                    return process.waitForFinished(-1) && process.exitCode() == 0;
                },
                &babelCpu, &unused);
            std::printf("  gpx by GPSBabel (-t -i gpx -o unicsv -F /dev/null)  %6.3f s (cpu "
                        "%6.3f s) = %.1fx the tool (cpu %.1fx)\n",
                        babel, babelCpu, babel / seconds, babelCpu / cpu);
        }
        std::fflush(stdout);
    }
    return 0;
}
