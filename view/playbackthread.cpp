#include "view/playbackthread.h"

#include <cmath>

namespace
{
std::atomic<double> timeScale{1.0};

int stepInterval(int step)
{
    static const int intervals[] = {750, 500, 250};
    return int(std::lround(intervals[step] * timeScale.load()));
}
} // namespace

PlaybackThread::PlaybackThread(QObject* parent) : QThread(parent), intervalMs(stepInterval(0)) {}

PlaybackThread::~PlaybackThread()
{
    stop();
}

void PlaybackThread::setTimeScale(double factor)
{
    timeScale = qBound(0.0, factor, 100000.0);
}

void PlaybackThread::setSpeed(int step)
{
    if (step >= 0 && step <= 2)
        intervalMs = stepInterval(step);
}

void PlaybackThread::stop()
{
    {
        const std::lock_guard<std::mutex> lock(pauseMutex);
        stopRequested = true;
    }
    pauseEnded.notify_all();
    wait();
}

void PlaybackThread::run()
{
    for (int i = startIndex; i < pointCount; ++i) {
        if (stopRequested)
            return;
        emit currentPoint(i);
        if (i != pointCount - 1) {
            std::unique_lock<std::mutex> lock(pauseMutex);
            pauseEnded.wait_for(lock, std::chrono::milliseconds(qMax(0, intervalMs.load())),
                                [this] { return stopRequested.load(); });
        }
    }
    emit playEnd();
}
