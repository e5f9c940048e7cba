#include "view/trackstatistics.h"
#include "view/units.h"

#include <QtTest>
#include <cmath>

namespace
{

constexpr qint64 T0 = 1700000000; // 2023-11-14 22:13:20 UTC
constexpr double R = 6371008.8;

// Metres along a meridian, where the great-circle distance is R times the angle.
double metres(double degrees)
{
    return R * degrees * M_PI / 180.0;
}

Vec3 point(qint64 t, double lat, double alt = 0.0, qint32 speed = 0, qint32 marked = 0)
{
    Vec3 p;
    p.time = t;
    p.lat = lat;
    p.lon = 0.0;
    p.alt = alt;
    p.speed = speed;
    p.marked = marked;
    return p;
}

// 10 s at 40 km/h, a 60 s stop, 10 s creeping 1.1 m (0.4 km/h), 10 s at 40 km/h.
Track pauseTrack(int fmt = 2)
{
    Track t;
    t.fmt = fmt;
    t.startTime = T0;
    t.points = {point(T0, 0.0, 10.0, 0), point(T0 + 10, 0.001, 15.0, 4000, 1),
                point(T0 + 70, 0.001, 12.0, 0), point(T0 + 80, 0.00101, 12.0, 10),
                point(T0 + 90, 0.00201, 20.0, 4100)};
    return t;
}

// A local wrapper, so the test does not depend on Track being a registered meta-type.
struct TrackCase {
    Track track;
};

} // namespace

Q_DECLARE_METATYPE(TrackCase)

class TestTrackStatistics : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { qputenv("TZ", "Asia/Tokyo"); }
    void figures_data();
    void figures();
    void texts_data();
    void texts();
    void tsv();
};

void TestTrackStatistics::figures_data()
{
    QTest::addColumn<TrackCase>("trackCase");
    QTest::addColumn<int>("marked");
    QTest::addColumn<qint64>("duration");
    QTest::addColumn<qint64>("moving");
    QTest::addColumn<double>("distance");
    QTest::addColumn<double>("maxKmh");             // -1: no speed figures
    QTest::addColumn<QVector<double>>("altitudes"); // min, max, ascent, descent; empty: none

    QTest::newRow("pauses") << TrackCase{pauseTrack()} << 1 << qint64(90) << qint64(20)
                            << metres(0.00201) << 41.0 << QVector<double>{10.0, 20.0, 13.0, 3.0};
    QTest::newRow("no altitude (fmt 1)")
        << TrackCase{pauseTrack(1)} << 1 << qint64(90) << qint64(20) << metres(0.00201) << -1.0
        << QVector<double>{};

    Track single;
    single.fmt = 2;
    single.points = {point(T0, 35.0, 123.5, 250, 1)};
    QTest::newRow("single point") << TrackCase{single} << 1 << qint64(0) << qint64(0) << 0.0 << 2.5
                                  << QVector<double>{123.5, 123.5, 0.0, 0.0};

    Track empty;
    empty.fmt = 2;
    QTest::newRow("empty") << TrackCase{empty} << 0 << qint64(0) << qint64(0) << 0.0 << -1.0
                           << QVector<double>{};

    // 1.01 km and 0.99 km in one hour: the 1 km/h threshold lies between them.
    Track threshold;
    threshold.fmt = 2;
    const double deg = 180.0 / M_PI / R;
    threshold.points = {point(T0, 0.0), point(T0 + 3600, 1010 * deg), point(T0 + 7200, 2000 * deg)};
    QTest::newRow("moving threshold") << TrackCase{threshold} << 0 << qint64(7200) << qint64(3600)
                                      << 2000.0 << 0.0 << QVector<double>{0.0, 0.0, 0.0, 0.0};

    Track longHop;
    longHop.fmt = 2;
    longHop.points = {point(T0, -5.0), point(T0 + 3600, 5.0)};
    QTest::newRow("long hop") << TrackCase{longHop} << 0 << qint64(3600) << qint64(3600)
                              << metres(10.0) << 0.0 << QVector<double>{0.0, 0.0, 0.0, 0.0};

    // Equal and backward times and a point without time add distance but no moving time.
    Track odd;
    odd.fmt = 2;
    odd.points = {point(T0, 0.0, 5.0), point(T0, 0.001, 5.0), point(T0 - 5, 0.002, 5.0),
                  point(0, 0.003, 5.0), point(T0 + 10, 0.004, 5.0, -1)};
    QTest::newRow("non-positive intervals")
        << TrackCase{odd} << 0 << qint64(10) << qint64(0) << metres(0.004) << 4294967295.0 / 100.0
        << QVector<double>{5.0, 5.0, 0.0, 0.0};
}

void TestTrackStatistics::figures()
{
    QFETCH(TrackCase, trackCase);
    const Track& track = trackCase.track;
    QFETCH(int, marked);
    QFETCH(qint64, duration);
    QFETCH(qint64, moving);
    QFETCH(double, distance);
    QFETCH(double, maxKmh);
    QFETCH(QVector<double>, altitudes);

    const TrackStatistics s = TrackStatistics::compute(track);
    QCOMPARE(s.pointCount, track.points.size());
    QCOMPARE(s.markedCount, marked);
    QCOMPARE(s.duration, duration);
    QCOMPARE(s.movingTime, moving);
    QVERIFY2(std::abs(s.distanceMeters - distance) < 1e-6,
             qPrintable(QString::number(s.distanceMeters, 'f', 9)));
    QCOMPARE(s.hasSpeed, maxKmh >= 0);
    if (maxKmh >= 0)
        QCOMPARE(s.maxSpeedKmh, maxKmh);
    QCOMPARE(s.hasAltitude, !altitudes.isEmpty());
    if (!altitudes.isEmpty()) {
        QCOMPARE(s.minAltitude, altitudes[0]);
        QCOMPARE(s.maxAltitude, altitudes[1]);
        QVERIFY(std::abs(s.ascent - altitudes[2]) < 1e-9);
        QVERIFY(std::abs(s.descent - altitudes[3]) < 1e-9);
    }
    if (duration > 0)
        QVERIFY(std::abs(s.averageSpeedKmh() - distance / duration * 3.6) < 1e-9);
    QCOMPARE(s.hasMovingAverageSpeed(), moving > 0);
}

void TestTrackStatistics::texts_data()
{
    QTest::addColumn<int>("speedUnit");
    QTest::addColumn<int>("heightUnit");
    QTest::addColumn<int>("timeSwitch");
    QTest::addColumn<QStringList>("values"); // Start, Distance, Moving average, Maximum, Ascent

    const double d = metres(0.00201);
    QTest::newRow("km/h, m, UTC") << 0 << 0 << 0
                                  << QStringList{"2023-11-14 - 22:13:20", "0.22 km",
                                                 QString::number(d / 20 * 3.6, 'f', 2) + " km/hr",
                                                 "41.00 km/hr", "13.00 m"};
    QTest::newRow("mi/h, feet, local")
        << 1 << 1 << 1
        << QStringList{"2023-11-15 - 07:13:20", QString::number(d / 1609.344, 'f', 2) + " mi",
                       QString::number(d / 20 * 3.6 / 1.609344, 'f', 2) + " mi/hr",
                       QString::number(Units::speedMph(4100), 'f', 2) + " mi/hr",
                       QString::number(Units::altitudeFeet(13.0), 'f', 2) + " feet"};
}

void TestTrackStatistics::texts()
{
    QFETCH(int, speedUnit);
    QFETCH(int, heightUnit);
    QFETCH(int, timeSwitch);
    QFETCH(QStringList, values);

    const TrackStatistics s = TrackStatistics::compute(pauseTrack());
    const auto rows = s.rows(speedUnit, heightUnit, timeSwitch);
    QCOMPARE(rows.size(), 14);
    QCOMPARE(rows[2].second, values[0]);
    QCOMPARE(rows[4].second, QStringLiteral("0:01:30"));
    QCOMPARE(rows[5].second, QStringLiteral("0:00:20"));
    QCOMPARE(rows[6].second, values[1]);
    QCOMPARE(rows[8].second, values[2]);
    QCOMPARE(rows[9].second, values[3]);
    QCOMPARE(rows[12].second, values[4]);

    const QStringList tip = s.toolTip(speedUnit, heightUnit, timeSwitch).split('\n');
    QCOMPARE(tip.size(), 14);
    QCOMPARE(tip[6], QStringLiteral("Distance: ") + values[1]);

    // A track without altitude leaves those lines out of the tool tip; an empty one
    // keeps only its counts.
    QCOMPARE(TrackStatistics::compute(pauseTrack(1))
                 .toolTip(speedUnit, heightUnit, timeSwitch)
                 .count('\n'),
             8);
    QCOMPARE(TrackStatistics::compute(Track{}).toolTip(speedUnit, heightUnit, timeSwitch),
             QStringLiteral("Points: 0\nMarked points: 0"));
}

void TestTrackStatistics::tsv()
{
    QCOMPARE(TrackStatistics::tsvHeader().count('\t'), 14);
    const double d = metres(0.00201);
    const QString expected = QStringList{"3",
                                         "5",
                                         "1",
                                         "2023-11-14T22:13:20Z",
                                         "2023-11-14T22:14:50Z",
                                         "90",
                                         "20",
                                         QString::number(d, 'f', 1),
                                         QString::number(d / 90 * 3.6, 'f', 2),
                                         QString::number(d / 20 * 3.6, 'f', 2),
                                         "41.00",
                                         "10.0",
                                         "20.0",
                                         "13.0",
                                         "3.0"}
                                 .join('\t');
    QCOMPARE(TrackStatistics::compute(pauseTrack()).tsvLine(3), expected);
    QCOMPARE(TrackStatistics::compute(Track{}).tsvLine(1),
             QStringLiteral("1\t0\t0\t\t\t\t\t\t\t\t\t\t\t\t"));
}

QTEST_GUILESS_MAIN(TestTrackStatistics)
#include "tst_trackstatistics.moc"
