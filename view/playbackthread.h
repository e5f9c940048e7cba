#pragma once

#include <QThread>

#include <atomic>
#include <condition_variable>
#include <mutex>

// Keeps the pace of a playback: announces the indices of the listed points one after
// another and leaves all display work to the GUI thread. Used once: each playback
// starts a new worker.
class PlaybackThread : public QThread
{
    Q_OBJECT

public:
    explicit PlaybackThread(QObject* parent = nullptr);
    ~PlaybackThread() override;

    void setPointCount(int count) { pointCount = count; }
    void setStartIndex(int index) { startIndex = index; }
    // Speed step 0, 1 or 2 of the main window's slider; may change while running.
    void setSpeed(int step);
    // Ends run() at once, also in the middle of a pause, and waits until it has returned.
    void stop();

    int interval() const { return intervalMs.load(); }
    // Multiplies every pause by factor, so that tests can play at a faster pace (below 1) or
    // make a pause last for hours (above 1).
    static void setTimeScale(double factor);

signals:
    void currentPoint(int index);
    void playEnd();

protected:
    void run() override;

private:
    int pointCount = 0;
    int startIndex = 0;
    std::atomic<int> intervalMs;
    std::atomic<bool> stopRequested{false};
    // The pauses wait on this, so that stop() cuts them short.
    std::mutex pauseMutex;
    std::condition_variable pauseEnded;
};
