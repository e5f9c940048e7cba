#include "testsupport.h"
#include "view/profilechart.h"

#include <QSignalSpy>
#include <QtTest>
#include <algorithm>

namespace
{

QVector<Vec3> points(const QVector<qint64>& times)
{
    QVector<Vec3> v;
    for (int i = 0; i < times.size(); ++i)
        v << TestSupport::point(0, 0, 10.0 * (i % 5), times[i], 0, 100 * (i % 7));
    return v;
}

} // namespace

class TestProfileChart : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { qputenv("TZ", "UTC"); }

    void reduceKeepsExtremes()
    {
        QVector<QPointF> in;
        for (int i = 0; i < 10000; ++i)
            in << QPointF(i, (i * 7919) % 101);
        in[4321].setY(1000.0);
        in[8765].setY(-1000.0);
        const QVector<QPointF> out = ProfileChart::reduce(in, 0, 9999, 100);
        QVERIFY(out.size() <= 2 * 100 + 2);
        QCOMPARE(out.first(), in.first());
        QCOMPARE(out.last(), in.last());
        QVERIFY(out.contains(in[4321]) && out.contains(in[8765]));
        QVERIFY(std::is_sorted(out.cbegin(), out.cend(),
                               [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); }));
        const QVector<QPointF> few{{0, 1}, {1, 5}, {2, 3}};
        QCOMPARE(ProfileChart::reduce(few, 0, 2, 10), few);
    }

    // The nearest point by time, the earlier one on a tie, also for unordered times.
    void indexForTime()
    {
        ProfileChart chart;
        QCOMPARE(chart.indexForTime(100), -1);
        chart.setPoints(points({100, 110, 110, 130, 200}), 2, 0, 0, 0);
        const QVector<double> times{50, 105, 105.5, 112, 120, 121, 999};
        QVector<int> got;
        for (double t : times)
            got << chart.indexForTime(t);
        QCOMPARE(got, QVector<int>({0, 0, 1, 1, 1, 3, 4}));
        chart.setPoints(points({200, 110, 100, 130, 110}), 1, 0, 0, 0);
        got.clear();
        for (double t : times)
            got << chart.indexForTime(t);
        QCOMPARE(got, QVector<int>({2, 1, 1, 1, 1, 3, 0}));
    }

    void click()
    {
        ProfileChart chart;
        chart.resize(800, 300);
        chart.show();
        QVERIFY(QTest::qWaitForWindowExposed(&chart));
        QVector<qint64> times;
        for (int i = 0; i < 50; ++i)
            times << 1700000000 + 60 * i;
        chart.setPoints(points(times), 2, 0, 0, 0);
        QCoreApplication::processEvents();
        for (int i = 0; i < 50; ++i)
            QCOMPARE(chart.indexAtX(chart.xForIndex(i)), i);
        QSignalSpy clicked(&chart, &ProfileChart::pointClicked);
        QTest::mouseClick(chart.viewport(), Qt::LeftButton, {},
                          QPoint(chart.xForIndex(17) + 2, 150));
        QCOMPARE(clicked.size(), 1);
        QCOMPARE(clicked.first().first().toInt(), 17);
        QCOMPARE(chart.cursorIndex(), 17);
        // Left of the plot area (the speed axis labels) selects nothing.
        QTest::mouseClick(chart.viewport(), Qt::LeftButton, {}, QPoint(2, 150));
        QCOMPARE(clicked.size(), 1);
        chart.setCursorIndex(50);
        QCOMPARE(chart.cursorIndex(), -1);

        // A long track is thinned to the width of the plot area.
        times.clear();
        for (int i = 0; i < 100000; ++i)
            times << 1700000000 + i;
        chart.setPoints(points(times), 2, 1, 1, 1);
        QVERIFY(chart.speedSeries().size() <= 2 * 800 + 2);
        QVERIFY(qAbs(chart.indexAtX(chart.xForIndex(54321)) - 54321) <= 250); // ~125 points a pixel
    }
};

QTEST_MAIN(TestProfileChart)
#include "tst_profilechart.moc"
