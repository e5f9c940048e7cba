#include "view/playbackthread.h"

#include <QtTest>

class TestPlaybackThread : public QObject
{
    Q_OBJECT

private slots:
    void speedSteps_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("interval");
        QTest::newRow("0") << 0 << 750;
        QTest::newRow("1") << 1 << 500;
        QTest::newRow("2") << 2 << 250;
        QTest::newRow("3 keeps the last") << 3 << 500;
        QTest::newRow("-1 keeps the last") << -1 << 500;
    }
    void speedSteps()
    {
        QFETCH(int, step);
        QFETCH(int, interval);
        PlaybackThread thread;
        QCOMPARE(thread.interval(), 750);
        thread.setSpeed(1);
        thread.setSpeed(step);
        QCOMPARE(thread.interval(), interval);
    }

    void stopEndsWithoutPlayEnd()
    {
        PlaybackThread::setTimeDivisor(50);
        PlaybackThread thread;
        thread.setPointCount(1000);
        QList<int> shown;
        bool ended = false;
        connect(&thread, &PlaybackThread::currentPoint, this, [&](int i) { shown << i; });
        connect(&thread, &PlaybackThread::playEnd, this, [&] { ended = true; });
        thread.start();
        QTRY_VERIFY(shown.size() >= 2);
        thread.setSpeed(2);
        QCOMPARE(thread.interval(), 5);
        thread.stop();
        QVERIFY(thread.isFinished());
        QCoreApplication::processEvents();
        QVERIFY(!ended);
        QVERIFY(shown.size() < 1000);
        for (int i = 0; i < shown.size(); ++i)
            QCOMPARE(shown.at(i), i);
        thread.stop(); // a second stop returns at once
        PlaybackThread::setTimeDivisor(1);
    }
};

QTEST_GUILESS_MAIN(TestPlaybackThread)
#include "tst_playbackthread.moc"
