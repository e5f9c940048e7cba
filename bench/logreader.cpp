// Log reader benchmark: a generated 500,000-line log file (1 Hz, moving, every 50th point
// marked, crossing the spring DST change of central Europe) read by FileFormatGPL, against
// a plain line count of the same file, and the same lines with dates the reader refuses.
// Run it with TZ unset and with TZ=UTC.

#include "formats/fileformatgpl.h"
#include "loggenerator.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace
{

constexpr int DefaultLines = 500000;
constexpr int Runs = 5;

// Peak resident set in KiB (VmHWM); resetPeak() starts a new peak from the current size.
long peakKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

long currentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

// What reading the file line by line costs at least: the same 1024-byte line reads.
int countLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    char buffer[1024];
    int lines = 0;
    while (file.readLine(buffer, sizeof buffer) > 0)
        ++lines;
    return lines;
}

// The same lines dated 30 February, in 2040 or with a one-digit month, in turn: a damaged
// stretch of a log, none of whose lines gives a point.
bool writeRefused(const QString& from, const QString& to)
{
    QFile in(from);
    QFile out(to);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        return false;
    QList<QByteArray> lines = in.readAll().split('\n');
    static const char* const dates[] = {"2014:02:30", "2040:03:27", "2014:3:27"};
    int n = 0;
    for (QByteArray& line : lines) {
        const int comma = line.indexOf(',');
        if (comma >= 0 && line.size() > comma + 20)
            line.replace(comma + 1, 10, dates[n++ % 3]);
    }
    const QByteArray data = lines.join('\n');
    return out.write(data) == data.size();
}

double median(QVector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.at(v.size() / 2);
}

} // namespace

int main(int argc, char* argv[])
{
    // An optional line count, for profiling runs.
    const int Lines = argc > 1 ? QByteArray(argv[1]).toInt() : DefaultLines;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.gpl"));
    // 2014-03-27 00:00:00 UTC: the file spans the night of 29 to 30 March.
    if (!LogGenerator(1395878400).writeLog(path, Lines)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    const QByteArray tz = qgetenv("TZ");
    std::printf("TZ %s, %d lines, %.1f MB\n",
                qEnvironmentVariableIsSet("TZ") ? tz.constData() : "unset", Lines,
                QFileInfo(path).size() / 1e6);

    // The first load alone measures the peak memory, before any other track exists.
    FileFormatGPL format;
    const long baseKiB = currentKiB();
    resetPeak();
    QVector<double> loadMs;
    int points = 0;
    long peakDeltaKiB = 0;
    for (int run = 0; run < Runs; ++run) {
        QVector<Track> tracks;
        QElapsedTimer timer;
        timer.start();
        format.load(tracks, path);
        loadMs << timer.nsecsElapsed() / 1e6;
        points = tracks.value(0).points.size();
        if (run == 0)
            peakDeltaKiB = peakKiB() - baseKiB;
    }
    QVector<double> countMs;
    int lines = 0;
    for (int run = 0; run < Runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        lines = countLines(path);
        countMs << timer.nsecsElapsed() / 1e6;
    }
    const QString refusedPath = dir.filePath(QStringLiteral("refused.gpl"));
    QVector<double> refusedMs;
    int refusedPoints = -1;
    for (int run = 0; run < Runs && writeRefused(path, refusedPath); ++run) {
        QVector<Track> tracks;
        QElapsedTimer timer;
        timer.start();
        format.load(tracks, refusedPath);
        refusedMs << timer.nsecsElapsed() / 1e6;
        refusedPoints = tracks.value(0).points.size();
    }
    if (refusedMs.isEmpty()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(refusedPath));
        return 1;
    }
    const double vectorMB = points * double(sizeof(Vec3)) / 1e6;
    std::printf("FileFormatGPL::load   median %7.1f ms  best %7.1f ms  (%d points)\n",
                median(loadMs), *std::min_element(loadMs.begin(), loadMs.end()), points);
    std::printf("line count (floor)    median %7.1f ms  best %7.1f ms  (%d lines)\n",
                median(countMs), *std::min_element(countMs.begin(), countMs.end()), lines);
    std::printf("refused dates         median %7.1f ms  best %7.1f ms  (%d points), %.2f x a "
                "good file\n",
                median(refusedMs), *std::min_element(refusedMs.begin(), refusedMs.end()),
                refusedPoints, median(refusedMs) / median(loadMs));
    std::printf("peak memory while loading: +%.1f MB over %.1f MB base; point vector %.1f MB "
                "(%zu bytes a point), ratio %.2f\n",
                peakDeltaKiB / 1024.0 * 1.048576, baseKiB / 1024.0 * 1.048576, vectorMB,
                sizeof(Vec3), peakDeltaKiB * 1024.0 / 1e6 / vectorMB);
    return 0;
}
