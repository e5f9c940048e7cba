#include "formats/distanceinmeters.h"

#include <QtTest>

#include <limits>

class TestDistanceInMeters : public QObject
{
    Q_OBJECT

private slots:
    void distance_data();
    void distance();
};

void TestDistanceInMeters::distance_data()
{
    QTest::addColumn<qint32>("lonA");
    QTest::addColumn<qint32>("latA");
    QTest::addColumn<qint32>("lonB");
    QTest::addColumn<qint32>("latB");
    QTest::addColumn<double>("metres");

    QTest::newRow("same place") << 121305678 << 25021234 << 121305678 << 25021234 << 0.0;
    QTest::newRow("one minute north") << 0 << 25000000 << 0 << 25010000 << 1851.1476715088709;
    QTest::newRow("one minute east at 25 degrees")
        << 121000000 << 25000000 << 121010000 << 25000000 << 1677.709607070997;
    QTest::newRow("south west") << -121000000 << -25000000 << -121010000 << -25010000
                                << 2498.1379376007;
    QTest::newRow("half a degree of minutes east")
        << 121300000 << 25020000 << 121350000 << 25020000 << 8386.572670005407;
}

void TestDistanceInMeters::distance()
{
    QFETCH(qint32, lonA);
    QFETCH(qint32, latA);
    QFETCH(qint32, lonB);
    QFETCH(qint32, latB);
    QFETCH(double, metres);
    QCOMPARE(distanceInMeters(lonA, latA, lonB, latB), metres);
    QCOMPARE(distanceInMeters(lonB, latB, lonA, latA), metres);
}

QTEST_GUILESS_MAIN(TestDistanceInMeters)
#include "tst_distanceinmeters.moc"
