#include "testsupport.h"
#include "view/trackstatistics.h"

#include <QtTest>
#include <cmath>

namespace
{

constexpr qint64 T0 = 1700000000; // 2023-11-14 22:13:20 UTC
constexpr double R = 6371008.8;

Vec3 pt(qint64 t, double lat, double alt = 0.0, qint32 speed = 0, qint32 marked = 0)
{
    return TestSupport::point(lat, 0.0, alt, t, marked, speed);
}

// 10 s at 40 km/h, a 60 s stop, 10 s creeping 1.1 m (0.4 km/h), 10 s at 40 km/h.
const QVector<Vec3> pauses{pt(T0, 0.0, 10.0, 0), pt(T0 + 10, 0.001, 15.0, 4000, 1),
                           pt(T0 + 70, 0.001, 12.0), pt(T0 + 80, 0.00101, 12.0, 10),
                           pt(T0 + 90, 0.00201, 20.0, 4100)};

// Distances are R times the angle along a meridian.
struct Case {
    QVector<double> figures;   // marked, duration, moving time, distance, maximum km/h (-1: none)
    QVector<double> altitudes; // min, max, ascent, descent; empty: none
    QVector<Vec3> points;
    int fmt = 2;
};

} // namespace

Q_DECLARE_METATYPE(Case)

class TestTrackStatistics : public QObject
{
    Q_OBJECT

private slots:
    void figures_data()
    {
        QTest::addColumn<Case>("c");
        QTest::newRow("pauses") << Case{{1, 90, 20, 223.502111, 41}, {10, 20, 13, 3}, pauses};
        QTest::newRow("no altitude") << Case{{1, 90, 20, 223.502111, -1}, {}, pauses, 1};
        QTest::newRow("single point")
            << Case{{1, 0, 0, 0, 2.5}, {123.5, 123.5, 0, 0}, {pt(T0, 35.0, 123.5, 250, 1)}};
        QTest::newRow("empty") << Case{{0, 0, 0, 0, -1}, {}, {}};
        // 1.01 km and 0.99 km in one hour: the 1 km/h threshold lies between them.
        const double km = 180.0 / M_PI / R * 1000;
        QTest::newRow("moving threshold")
            << Case{{0, 7200, 3600, 2000, 0},
                    {0, 0, 0, 0},
                    {pt(T0, 0), pt(T0 + 3600, 1.01 * km), pt(T0 + 7200, 2 * km)}};
        // Equal, backward and missing times add distance but no moving time; speed is unsigned.
        QTest::newRow("non-positive intervals") << Case{
            {0, 10, 0, 444.780321, 42949672.95},
            {0, 0, 0, 0},
            {pt(T0, 0), pt(T0, 0.001), pt(T0 - 5, 0.002), pt(0, 0.003), pt(T0 + 10, 0.004, 0, -1)}};
    }
    void figures()
    {
        QFETCH(Case, c);
        const TrackStatistics s = TrackStatistics::compute(Track{0, c.fmt, c.points});
        QCOMPARE(QVector<double>({double(s.markedCount), double(s.duration), double(s.movingTime)}),
                 c.figures.mid(0, 3));
        QVERIFY2(std::abs(s.distanceMeters - c.figures[3]) < 1e-6,
                 qPrintable(QString::number(s.distanceMeters, 'f', 9)));
        QCOMPARE(s.hasSpeed ? s.maxSpeedKmh : -1, c.figures[4]);
        QCOMPARE(s.hasMovingAverageSpeed(), c.figures[2] > 0);
        QCOMPARE(s.hasAltitude, !c.altitudes.isEmpty());
        if (s.hasAltitude)
            QCOMPARE(QVector<double>({s.minAltitude, s.maxAltitude, s.ascent, s.descent}),
                     c.altitudes);
    }

    // Without points, the converter's line and the tool tip leave the figures out.
    void emptyTexts()
    {
        const TrackStatistics s = TrackStatistics::compute(Track{});
        QCOMPARE(s.tsvLine(1), QString("1\t0\t0") + QString(12, '\t'));
        QCOMPARE(s.toolTip(0, 0, 0), QString("Points: 0\nMarked points: 0"));
    }
};

QTEST_GUILESS_MAIN(TestTrackStatistics)
#include "tst_trackstatistics.moc"
