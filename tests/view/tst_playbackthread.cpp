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

    void announcements_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("start");
        QTest::addColumn<QList<int>>("indices");
        QTest::newRow("all") << 4 << 0 << QList<int>{0, 1, 2, 3};
        QTest::newRow("from the middle") << 4 << 2 << QList<int>{2, 3};
        QTest::newRow("last") << 4 << 3 << QList<int>{3};
        QTest::newRow("beyond the end") << 4 << 4 << QList<int>();
        QTest::newRow("empty") << 0 << 0 << QList<int>();
    }
    void announcements()
    {
        QFETCH(int, count);
        QFETCH(int, start);
        QFETCH(QList<int>, indices);
        PlaybackThread::setTimeDivisor(50);
        PlaybackThread thread;
        thread.setPointCount(count);
        thread.setStartIndex(start);
        thread.setSpeed(0);
        // Everything the worker says, in the order it said it.
        QStringList events;
        connect(&thread, &PlaybackThread::currentPoint, this,
                [&](int i) { events << QString::number(i); });
        connect(&thread, &PlaybackThread::playEnd, this, [&] { events << "end"; });
        connect(&thread, &QThread::finished, this, [&] { events << "finished"; });
        thread.start();
        QTRY_VERIFY(events.contains("finished"));
        QStringList expected;
        for (int i : indices)
            expected << QString::number(i);
        expected << "end"
                 << "finished";
        QCOMPARE(events, expected);
        PlaybackThread::setTimeDivisor(1);
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
