#include "view/profilechart.h"

#include <QSignalSpy>
#include <QtTest>
#include <algorithm>

namespace
{

QVector<Vec3> points(const QVector<qint64>& times)
{
    QVector<Vec3> v;
    for (int i = 0; i < times.size(); ++i) {
        Vec3 p;
        p.time = times[i];
        p.speed = 100 * (i % 7);
        p.alt = 10.0 * (i % 5);
        v.append(p);
    }
    return v;
}

} // namespace

class TestProfileChart : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { qputenv("TZ", "UTC"); }
    void reduceKeepsExtremes_data();
    void reduceKeepsExtremes();
    void indexForTime_data();
    void indexForTime();
    void click();
};

void TestProfileChart::reduceKeepsExtremes_data()
{
    QTest::addColumn<QVector<QPointF>>("input");
    QTest::addColumn<int>("buckets");

    QVector<QPointF> spikes;
    for (int i = 0; i < 10000; ++i)
        spikes.append(QPointF(i, (i * 7919) % 101));
    spikes[4321].setY(1000.0);
    spikes[8765].setY(-1000.0);
    QTest::newRow("spikes") << spikes << 100;

    QVector<QPointF> uneven; // bursts of samples separated by gaps, as with pauses
    for (int i = 0; i < 3000; ++i)
        uneven.append(QPointF((i / 500) * 10000 + i % 500, std::sin(i * 0.1)));
    QTest::newRow("gaps") << uneven << 37;

    QVector<QPointF> small{{0, 1}, {1, 5}, {2, 3}};
    QTest::newRow("fewer points than columns") << small << 10;
}

void TestProfileChart::reduceKeepsExtremes()
{
    QFETCH(QVector<QPointF>, input);
    QFETCH(int, buckets);

    const double lo = input.first().x();
    const double hi = input.last().x();
    const QVector<QPointF> out = ProfileChart::reduce(input, lo, hi, buckets);
    QVERIFY(out.size() <= std::max(input.size(), 2 * buckets + 2));
    QCOMPARE(out.first(), input.first());
    QCOMPARE(out.last(), input.last());
    QVERIFY(std::is_sorted(out.cbegin(), out.cend(),
                           [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); }));

    auto bucket = [&](double x) {
        return std::min(buckets - 1, int((x - lo) / (hi - lo) * buckets));
    };
    QVector<double> inMin(buckets, 1e300), inMax(buckets, -1e300);
    QVector<double> outMin = inMin, outMax = inMax;
    for (const QPointF& p : input) {
        inMin[bucket(p.x())] = std::min(inMin[bucket(p.x())], p.y());
        inMax[bucket(p.x())] = std::max(inMax[bucket(p.x())], p.y());
    }
    for (const QPointF& p : out) {
        QVERIFY(input.contains(p));
        outMin[bucket(p.x())] = std::min(outMin[bucket(p.x())], p.y());
        outMax[bucket(p.x())] = std::max(outMax[bucket(p.x())], p.y());
    }
    QCOMPARE(outMin, inMin);
    QCOMPARE(outMax, inMax);
}

void TestProfileChart::indexForTime_data()
{
    QTest::addColumn<double>("time");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("unorderedIndex");

    // Points at 100, 110, 110, 130, 200, and the same times as 200, 110, 100, 130, 110.
    QTest::newRow("before the first") << 50.0 << 0 << 2;
    QTest::newRow("tie takes the earlier") << 105.0 << 0 << 1;
    QTest::newRow("just past the middle") << 105.5 << 1 << 1;
    QTest::newRow("equal times take the first") << 112.0 << 1 << 1;
    QTest::newRow("tie across equal times") << 120.0 << 1 << 1;
    QTest::newRow("nearer the later") << 121.0 << 3 << 3;
    QTest::newRow("after the last") << 999.0 << 4 << 0;
}

void TestProfileChart::indexForTime()
{
    QFETCH(double, time);
    QFETCH(int, index);
    QFETCH(int, unorderedIndex);

    ProfileChart chart;
    QCOMPARE(chart.indexForTime(time), -1);
    chart.setPoints(points({100, 110, 110, 130, 200}), 2, 0, 0, 0);
    QCOMPARE(chart.indexForTime(time), index);
    // Unordered times (a hand-edited archive) still find the nearest point.
    chart.setPoints(points({200, 110, 100, 130, 110}), 1, 0, 0, 0);
    QCOMPARE(chart.indexForTime(time), unorderedIndex);
}

void TestProfileChart::click()
{
    ProfileChart chart;
    chart.resize(800, 300);
    chart.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chart));

    QVector<qint64> times;
    for (int i = 0; i < 50; ++i)
        times.append(1700000000 + 60 * i);
    chart.setPoints(points(times), 2, 0, 0, 0);
    QCoreApplication::processEvents();
    QCOMPARE(chart.speedSeries().size(), 50);

    for (int i = 0; i < 50; ++i)
        QCOMPARE(chart.indexAtX(chart.xForIndex(i)), i);

    QSignalSpy clicked(&chart, &ProfileChart::pointClicked);
    QTest::mouseClick(chart.viewport(), Qt::LeftButton, {}, QPoint(chart.xForIndex(17) + 2, 150));
    QCOMPARE(clicked.size(), 1);
    QCOMPARE(clicked.first().first().toInt(), 17);
    QCOMPARE(chart.cursorIndex(), 17);

    // Left of the plot area (the speed axis labels) selects nothing.
    QTest::mouseClick(chart.viewport(), Qt::LeftButton, {}, QPoint(2, 150));
    QCOMPARE(clicked.size(), 1);

    chart.setCursorIndex(50);
    QCOMPARE(chart.cursorIndex(), -1);

    // A long track is thinned to the width of the plot area.
    QVector<qint64> many;
    for (int i = 0; i < 100000; ++i)
        many.append(1700000000 + i);
    chart.setPoints(points(many), 2, 1, 1, 1);
    QVERIFY(chart.speedSeries().size() <= 2 * 800 + 2);
    // One pixel now spans about 125 points.
    QVERIFY(qAbs(chart.indexAtX(chart.xForIndex(54321)) - 54321) <= 250);
}

QTEST_MAIN(TestProfileChart)
#include "tst_profilechart.moc"
