#include "view/playbackthread.h"

#include <QtTest>

class TestPlaybackThread : public QObject
{
    Q_OBJECT

private slots:
    // Points come in order; a speed change applies while playing; a stop ends without playEnd.
    void playChangeSpeedStop()
    {
        PlaybackThread::setTimeDivisor(50);
        PlaybackThread thread;
        thread.setSpeed(3); // out of range: the first step stays
        QCOMPARE(thread.interval(), 750 / 50);
        thread.setPointCount(1000);
        QList<int> shown;
        bool ended = false;
        connect(&thread, &PlaybackThread::currentPoint, this, [&](int i) { shown << i; });
        connect(&thread, &PlaybackThread::playEnd, this, [&] { ended = true; });
        thread.start();
        QTRY_VERIFY(shown.size() >= 2);
        thread.setSpeed(2);
        QCOMPARE(thread.interval(), 250 / 50);
        QTRY_VERIFY(shown.size() >= 4);
        thread.stop();
        QVERIFY(thread.isFinished());
        QCoreApplication::processEvents();
        QVERIFY(!ended);
        for (int i = 0; i < shown.size(); ++i)
            QCOMPARE(shown.at(i), i);

        // A stop in the middle of a pause of 750 ms ends it at once.
        PlaybackThread::setTimeDivisor(1);
        PlaybackThread slow;
        slow.setPointCount(3);
        slow.start();
        QTRY_VERIFY(slow.isRunning());
        QTest::qWait(50);
        QElapsedTimer clock;
        clock.start();
        slow.stop();
        QVERIFY2(clock.elapsed() < 200, qPrintable(QString::number(clock.elapsed())));

        // The end follows the last point at once, without a pause of 750 ms after it.
        PlaybackThread one;
        one.setPointCount(1);
        one.start();
        QVERIFY(one.wait(400));
    }
};

QTEST_GUILESS_MAIN(TestPlaybackThread)
#include "tst_playbackthread.moc"
