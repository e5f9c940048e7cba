#include "isolation.h"
#include "maprecorder.h"
#include "testsupport.h"
#include "view/filterdialog.h"
#include "view/mapwidget.h"
#include "view/playbackthread.h"
#include "view/profilechart.h"
#include "view/speedscale.h"
#include "view/trackstatistics.h"

#include <QtTest>
#include <QtWidgets>
#include <ctime>

// Before the widget is made: local time is Taipei's, the page's tile cache a test one, and
// its tiles (none) come from a folder, never from a server.
static const bool environment = [] {
    qputenv("TZ", "Asia/Taipei");
    tzset();
    QStandardPaths::setTestModeEnabled(true);
    static QTemporaryDir tiles;
    TestSupport::writeFile(tiles.filePath("Setting.ini"),
                           "MapTiles=" + QUrl::fromLocalFile(tiles.path()).toEncoded() +
                               "/{z}/{x}/{y}.png\n");
    Isolation::noNetwork();
    return QDir::setCurrent(tiles.path());
}();

constexpr qint64 T0 = 1500000000; // 2017-07-14 02:40:00 UTC, 10:40:00 in Taipei
Q_DECLARE_METATYPE(Track)

class TestMapWidget : public QObject
{
    Q_OBJECT

public:
    TestMapWidget() : widget(&tracks, &settings, nullptr), recorder(widget.mapOperator()) {}

private:
    static Vec3 pt(double lat, qint64 t = T0, int marked = 0, int speed = 0)
    {
        return TestSupport::point(lat, 120.0, 10.0, t, marked, speed);
    }
    // n points at latitude i, 10 s and 5 km/h apart.
    static Track line(int n)
    {
        Track t{T0, 2, {}};
        for (int i = 0; i < n; ++i)
            t.points << pt(i, T0 + 10 * i, 0, 500 * i);
        return t;
    }
    QTreeWidget* tree() { return widget.findChild<QTreeWidget*>("treeWidget"); }
    QTreeView* list() { return widget.findChild<QTreeView*>("treeWidget_2"); }
    QTreeWidgetItem* trackItem(int k) { return tree()->topLevelItem(0)->child(k); }
    // Loads the tracks and lists one of them as a double-click on it does.
    void load(const QVector<Track>& newTracks, int listed = -1)
    {
        widget.stopPlayback();
        tracks = newTracks;
        widget.updateTrackList();
        if (listed >= 0) {
            tree()->setCurrentItem(trackItem(listed));
            widget.TreeWidgetItemDoubleClicked(trackItem(listed), 0);
        }
        recorder.calls.clear();
    }
    QString listedLatitudes() const
    {
        QStringList result;
        for (const Vec3& p : widget.listedPoints())
            result << QString::number(p.lat);
        return result.join(',');
    }

    QVector<Track> tracks;
    TestSettings settings;
    MapWidget widget;
    MapRecorder recorder;

private slots:
    void initTestCase() { PlaybackThread::setTimeDivisor(25); }

    void cleanup() { settings = TestSettings(); }

    // Also in the point rows below.
    void formatCoordinate()
    {
        QCOMPARE(MapWidget::formatCoordinate(-0.5, 1, 1) + MapWidget::formatCoordinate(10, 3, 1) +
                     MapWidget::formatCoordinate(10, 1, 2) +
                     MapWidget::formatCoordinate(24.999999999, 1, 1),
                 QString("0\u00b030'0.0000\" S24\u00b059'60.0000\" N"));
    }

    void markerOrder_data()
    {
        // The marks of the points, and the points that get the start, end and plain markers.
        QTest::addColumn<QString>("marks");
        QTest::newRow("1") << "0";
        QTest::newRow("1 marked") << "1 0";
        QTest::newRow("2") << "00";
        QTest::newRow("2 marked") << "11 10";
        QTest::newRow("3") << "000 02";
        QTest::newRow("3, middle marked") << "010 021";
        QTest::newRow("3 marked") << "111 02210";
    }
    void markerOrder()
    {
        QFETCH(QString, marks);
        Track t{T0, 2, {}};
        for (int i = 0; i < marks.section(' ', 0, 0).size(); ++i)
            t.points << pt(i, T0 + i, marks.at(i) == '1');
        load({line(1), t});
        trackItem(1)->setCheckState(0, Qt::Checked);
        QStringList expected{"deleteMarked", "clearPolyline 0", "showPolyline 1"};
        const QString order = marks.section(' ', 1);
        const QStringList kinds{"addStartPoint", "addEndPoint", "addMarker"};
        for (int j = 0; j < order.size(); ++j)
            expected << QString("%1 %2 120 2. 2017-07-14 - 02:40:0%2 #%3")
                            .arg(kinds.at(qMin(j, 2)), order.mid(j, 1))
                            .arg(j);
        // One pass, though the root changes its state as well.
        QCOMPARE(recorder.calls, expected << "showMarked");
    }

    void checkPropagation()
    {
        load({line(1), line(1), line(1)});
        QTreeWidgetItem* root = tree()->topLevelItem(0);
        root->setCheckState(0, Qt::Checked);
        trackItem(1)->setCheckState(0, Qt::Unchecked);
        QCOMPARE(root->checkState(0), Qt::PartiallyChecked);
        trackItem(1)->setCheckState(0, Qt::Checked);
        QCOMPARE(root->checkState(0), Qt::Checked);
        recorder.calls.clear();
        root->setCheckState(0, Qt::Unchecked);
        // One pass over the tracks, in the state the tree ends in.
        QCOMPARE(
            recorder.calls.join(','),
            QString("deleteMarked,clearPolyline 0,clearPolyline 1,clearPolyline 2,showMarked"));
    }

    // The listed track in speed colours, for every track listed while the choice holds.
    void speedColours()
    {
        load({line(3), {T0, 1, {pt(1), pt(2)}}}); // 0, 5 and 10 km/h; no speeds
        widget.setSpeedColours(true);             // nothing listed yet
        auto list = [this](int k) {
            recorder.calls.clear();
            tree()->setCurrentItem(trackItem(k));
            widget.TreeWidgetItemDoubleClicked(trackItem(k), 0);
            return recorder.calls.filter("SpeedColours").join('|');
        };
        QCOMPARE(list(0), QString("showSpeedColours 0 0Po Speed 0.0 km/hr 10.0 km/hr"));
        recorder.calls.clear();
        settings.speed = 1;
        widget.showTrackPoints(-1.0f, 0); // as the unit switch does: the legend follows
        widget.showTrackPoints(-1.0f, 0); // nothing new to send
        QCOMPARE(recorder.calls.filter("SpeedColours"),
                 QStringList("showSpeedColours 0 0Po Speed 0.0 mi/hr 6.2 mi/hr"));
        QCOMPARE(list(1), QString("clearSpeedColours"));
        QVERIFY(list(0).startsWith("showSpeedColours 0"));
        load(tracks); // the page drops the colours with the old lines
        QVERIFY(list(0).startsWith("showSpeedColours 0"));
        recorder.calls.clear();
        widget.setSpeedColours(false);
        QCOMPARE(recorder.calls, QStringList("clearSpeedColours"));
        QCOMPARE(list(1) + list(0), QString());
    }

    void speedScale_data()
    {
        QTest::addColumn<QString>("speeds"); // a point's speed, or "nan" for one without a position
        QTest::addColumn<QString>("scale");  // slowest fastest levels
        // clang-format off
        QTest::newRow("rising") << "0 500 1000" << "0 1000 0Po";
        QTest::newRow("all alike") << "700 700" << "700 700 00";
        QTest::newRow("unsigned") << "-1 0" << "0 4294967295 o0";
        QTest::newRow("no position") << "100 nan 300" << "100 300 0o";
        QTest::newRow("none") << "nan" << "0 0 ";
        // Of 100 points and more, the fastest hundredth is left out of the scale.
        QTest::newRow("wild reading") << "0 1000" + QString(" 500").repeated(97) + " 99999"
                                      << "0 1000 0o" + QString("P").repeated(97) + "o";
        // clang-format on
    }
    void speedScale()
    {
        QFETCH(QString, speeds);
        QVector<Vec3> points;
        for (const QString& s : speeds.split(' '))
            points << pt(s == "nan" ? qQNaN() : 0.0, T0, 0, s.toInt());
        const SpeedScale scale = SpeedScale::compute(points);
        QTEST(QString("%1 %2 %3").arg(scale.slowest).arg(scale.fastest).arg(scale.levels), "scale");
    }

    void pointRows_data()
    {
        QTest::addColumn<int>("units"); // speed, height and time switch as three bits
        QTest::addColumn<QString>("row");
        QTest::newRow("km/h m utc") << 0 << "02:40:00|100.50 m|12.34 km/hr";
        QTest::newRow("mi/h m local") << 5 << "10:40:00|100.50 m|7.67 mi/hr";
        QTest::newRow("km/h feet local") << 6 << "10:40:00|329.72 feet|12.34 km/hr";
        QTest::newRow("mi/h feet utc") << 3 << "02:40:00|329.72 feet|7.67 mi/hr";
    }
    void pointRows()
    {
        QFETCH(int, units);
        QFETCH(QString, row);
        const Vec3 p = TestSupport::point(25.0417, -121.5654, 100.5, T0, 1, 1234);
        load({{T0, 2, {pt(1), p}}, {T0, 1, {pt(2)}}}, 0);
        settings = TestSettings(units & 1, (units >> 1) & 1, units >> 2);
        widget.showTrackPoints(-1.0f, 0); // as the main window's unit and time switches do
        auto cells = [this](int row, QList<int> columns) {
            QStringList got;
            for (int c : columns)
                got << list()->model()->index(row, c).data().toString();
            return got.join('|');
        };
        QCOMPARE(cells(1, {0, 1, 2, 3, 4, 5, 6}),
                 "2*|2017-07-14|" + row.section('|', 0, 0) +
                     QString("|25\u00b02'30.1200\" N|121\u00b033'55.4400\" W|") +
                     row.section('|', 1));
        QCOMPARE(trackItem(0)->text(0), QString("1. 2017-07-14 - 10:40:00")); // always local
        load(tracks, 1); // no altitude and speed
        QCOMPARE(cells(0, {0, 5, 6}), QString("1||"));
    }

    void filterRules_data()
    {
        // Typed into the filter dialog, the rule chosen there, and the points listed after
        // Enter ("-": the dialog stays open).
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("radio");
        QTest::addColumn<QString>("kept"); // of the points at 0, 9.99, 10, 10.01 and 12.34 km/h
        // clang-format off
        QTest::newRow(">") << "10" << "radioGreater" << "3,4";
        QTest::newRow(">=") << "10" << "radioGreaterEqual" << "2,3,4";
        QTest::newRow("=") << "10" << "radioEqual" << "2";
        QTest::newRow("<") << "10" << "radioLess" << "0,1";
        QTest::newRow("<=") << "10" << "radioLessEqual" << "0,1,2";
        QTest::newRow("= keeps nothing") << "12.345" << "radioEqual" << "";
        QTest::newRow("= in single precision") << "12.34" << "radioEqual" << "4";
        QTest::newRow("marked, entry ignored") << "abc" << "radioMarkPoint" << "1,4";
        QTest::newRow("empty") << "" << "radioGreater" << "-";
        QTest::newRow("negative") << "-1" << "radioLess" << "-";
        QTest::newRow("not a number") << "abc" << "radioGreaterEqual" << "-";
        // clang-format on
    }

    void filterRules()
    {
        QFETCH(QString, typed);
        QFETCH(QString, radio);
        QFETCH(QString, kept);
        FilterDialog dialog; // typed at once into the entry
        QVERIFY(qobject_cast<QLineEdit*>(dialog.focusWidget()));
        QTest::keyClicks(dialog.focusWidget(), typed);
        dialog.findChild<QRadioButton*>(radio)->click();
        dialog.show();
        QTest::keyClick(&dialog, Qt::Key_Return);
        QCOMPARE(dialog.isVisible(), kept == "-");
        if (kept == "-")
            return;
        QVERIFY(dialog.isFilterValid());
        const float value = dialog.filterValue();
        const int rule = dialog.filterRuleCode();
        Track t{T0, 2, {}};
        for (int i = 0; i < 5; ++i)
            t.points << pt(i, T0, i == 1 || i == 4, QList<int>{0, 999, 1000, 1001, 1234}[i]);
        load({t});
        widget.showTrackPoints(value, rule); // no current track: nothing is stored
        QCOMPARE(widget.filterRule(), -1);
        load(tracks, 0);
        widget.showTrackPoints(value, rule);
        QCOMPARE(listedLatitudes(), kept);
        QCOMPARE(list()->model()->rowCount(), widget.listedPoints().size());
        QCOMPARE(recorder.calls.filter("setCenter").size(), kept.isEmpty() ? 0 : 1);
        // The filter outlives a unit switch but not a new listing of the track.
        widget.showTrackPoints(-1.0f, 0);
        QCOMPARE(listedLatitudes(), kept);
        load(tracks, 0);
        QCOMPARE(listedLatitudes(), QString("0,1,2,3,4"));
    }

    void playback()
    {
        load({line(4)});
        QSignalSpy shown(&widget, &MapWidget::pointShown);
        QSignalSpy finished(&widget, &MapWidget::playbackFinished);
        widget.play(); // nothing listed
        QTRY_COMPARE(finished.count(), 1);
        load(tracks, 0);
        widget.play();
        QTRY_COMPARE(finished.count(), 2);
        widget.showPointAndSelectInfo(3);
        widget.play(); // from the last point: shown once, then the end
        QTRY_COMPARE(finished.count(), 3);
        QCOMPARE(shown.mid(0), QList<QVariantList>({{0}, {1}, {2}, {3}, {3}, {3}}));
        QCOMPARE(widget.playPosition(), 0);

        load({line(100)}, 0);
        shown.clear();
        widget.play();
        QTRY_VERIFY(shown.count() >= 2);
        widget.pause();
        QTRY_COMPARE(finished.count(), 4);
        const int last = shown.last().at(0).toInt();
        shown.clear();
        widget.play();
        QTRY_VERIFY(shown.count() >= 2);
        QCOMPARE(shown.mid(0, 2), QList<QVariantList>({{last}, {last + 1}}));

        // The finished() of a worker replaced by a new play must not reset the play button.
        shown.clear();
        widget.play();
        QTRY_VERIFY(shown.count() >= 1);
        QCOMPARE(finished.count(), 4);

        // Announcements the stopped worker had queued must not move the position.
        shown.clear();
        widget.resetPlayback();
        QTRY_COMPARE(finished.count(), 5); // queued after every announcement of the worker
        QCOMPARE(widget.playPosition(), 0);
        QCOMPARE(shown.mid(0), QList<QVariantList>({{0}}));
    }

    // Indices outside the list are ignored: a unit switch during playback may list fewer
    // points than the worker counts on.
    void indexBeyondRebuiltList()
    {
        load({line(40), line(1)}, 0);
        QSignalSpy finished(&widget, &MapWidget::playbackFinished);
        widget.play();
        QTRY_VERIFY(widget.playPosition() >= 1);
        tree()->setCurrentItem(trackItem(1));
        widget.showTrackPoints(-1.0f, 0);
        QTRY_VERIFY_WITH_TIMEOUT(finished.count() == 1, 10000);
        QCOMPARE(widget.listedPoints().size(), 1);
        recorder.calls.clear();
        widget.showPointAndSelectInfo(1);
        widget.showPointAndSelectInfo(-1);
        QVERIFY(recorder.calls.isEmpty());
    }

    // A click on the profile selects the point as a double-click on its row does; tool tips
    // follow the units and are no check box change.
    void profileClickAndStatistics()
    {
        load({line(5)}, 0);
        settings.speed = 1;
        widget.refreshStatistics(); // as the main window's unit switch does
        QVERIFY(trackItem(0)->toolTip(0).contains("Maximum speed: 12.43 mi/hr"));
        QVERIFY(recorder.calls.isEmpty());
        widget.showTrackPoints(10.0f, 2); // the points of 1000 and more
        widget.play();
        recorder.calls.clear();
        emit widget.profileChart()->pointClicked(1);
        QVERIFY(!widget.isPlaying());
        QCOMPARE(recorder.calls.filter("viewPoint"),
                 QStringList{"viewPoint 3 120 2. 2017-07-14 - 02:40:30"});
        QCOMPARE(list()->selectionModel()->selectedRows().value(0).row(), 1);
        QCOMPARE(widget.profileChart()->cursorIndex(), 1);
    }

    // The nearest point by time (the earlier on a tie, also among unordered times) and by x.
    void chartPointMapping()
    {
        ProfileChart chart;
        auto nearest = [&chart](std::initializer_list<qint64> times) {
            QVector<Vec3> points;
            for (qint64 t : times)
                points << pt(0, t);
            chart.setPoints(points, 2, 0, 0, 0);
            QString s;
            for (double t : {50.0, 105.0, 105.5, 112.0, 121.0, 999.0})
                s += QString::number(chart.indexForTime(t));
            return s;
        };
        QCOMPARE(nearest({100, 110, 110, 130, 200}), QString("001134"));
        QCOMPARE(nearest({200, 110, 100, 130, 110}), QString("211130"));
        chart.resize(800, 300);
        chart.show();
        QVERIFY(QTest::qWaitForWindowExposed(&chart));
        chart.setPoints(line(50).points, 2, 0, 0, 0);
        QCoreApplication::processEvents();
        QSignalSpy clicked(&chart, &ProfileChart::pointClicked);
        QTest::mouseClick(chart.viewport(), Qt::LeftButton, {},
                          QPoint(chart.xForIndex(17) + 2, 150));
        QTest::mouseClick(chart.viewport(), Qt::LeftButton, {}, QPoint(2, 150)); // axis labels
        QCOMPARE(clicked, QList<QVariantList>{{17}});
        QCOMPARE(chart.cursorIndex(), 17);
        chart.setCursorIndex(50);
        QCOMPARE(chart.cursorIndex(), -1);
        // Thinned to three columns: the lowest and highest of each, in order, and the first
        // and last point once.
        QVector<QPointF> values;
        for (int y : {5, 1, 9, 3, 4, 2, 8, 0, 7, 6, 5, 3})
            values << QPointF(values.size(), y);
        QStringList xs;
        for (const QPointF& p : ProfileChart::reduce(values, 0, 11, 3))
            xs << QString::number(p.x());
        QCOMPARE(xs.join(' '), QString("0 1 2 6 7 8 11"));
    }

    // Figures against hand-computed values; distances are R times the angle along a meridian.
    void statistics_data()
    {
        QTest::addColumn<Track>("track");
        // marked duration moving metres max-km/h | altitudes | averages in mi/h
        QTest::addColumn<QString>("figures");
        const auto p = [](qint64 t, double lat, double alt = 0, int speed = 0, int marked = 0) {
            return TestSupport::point(lat, 0, alt, T0 + t, marked, speed);
        };
        // 10 s at 40 km/h, a 60 s stop, 10 s creeping 1.1 m (0.4 km/h), 10 s at 40 km/h.
        const QVector<Vec3> pauses{p(0, 0.0, 10.0), p(10, 0.001, 15.0, 4000, 1), p(70, 0.001, 12.0),
                                   p(80, 0.00101, 12.0, 10), p(90, 0.00201, 20.0, 4100)};
        const double km = 180.0 / M_PI / 6371008.8 * 1000;
        QTest::newRow("pauses") << Track{0, 2, pauses}
                                << "1 90 20 223.502111 41.00 | 10 20 13 3 | 5.56 mi/hr 25.00 mi/hr";
        QTest::newRow("no altitude")
            << Track{0, 1, pauses} << "1 90 20 223.502111 - | - | 5.56 mi/hr 25.00 mi/hr";
        QTest::newRow("single point") << Track{0, 2, {p(0, 35, 123.5, 250, 1)}}
                                      << "1 0 0 0.000000 2.50 | 123.5 123.5 0 0 | — —";
        QTest::newRow("empty") << Track{} << "0 0 0 0.000000 - | - | — —";
        // 1.01 km and 0.99 km in one hour: the 1 km/h threshold lies between them.
        QTest::newRow("moving threshold")
            << Track{0, 2, {p(0, 0), p(3600, 1.01 * km), p(7200, 2 * km)}}
            << "0 7200 3600 2000.000000 0.00 | 0 0 0 0 | 0.62 mi/hr 1.24 mi/hr";
        // Equal, backward and missing times add distance but no moving time; speed is unsigned.
        QTest::newRow("non-positive intervals")
            << Track{0,
                     2,
                     {p(0, 0), p(0, 0.001), p(-5, 0.002), p(-T0, 0.003), p(5 - T0, 0.004),
                      p(10, 0.005, 0, -1)}}
            << "0 10 0 555.975401 42949672.95 | 0 0 0 0 | 124.37 mi/hr —";
    }
    void statistics()
    {
        QFETCH(Track, track);
        const TrackStatistics s = TrackStatistics::compute(track);
        QString got = QString::asprintf("%d %lld %lld %.6f ", s.markedCount, s.duration,
                                        s.movingTime, s.distanceMeters);
        got += s.hasSpeed ? QString::asprintf("%.2f | ", s.maxSpeedKmh) : "- | ";
        got += s.hasAltitude ? QString::asprintf("%g %g %g %g", s.minAltitude, s.maxAltitude,
                                                 s.ascent, s.descent)
                             : "-";
        got += " | " + s.rows(1, 1, 0).value(7).second + " " + s.rows(1, 1, 0).value(8).second;
        QTEST(got, "figures");
        if (track.points.isEmpty()) // no figures that have no meaning
            QCOMPARE(s.toolTip(0, 0, 0), QString("Points: 0\nMarked points: 0"));
    }
};

QTEST_MAIN(TestMapWidget)
#include "tst_mapwidget.moc"
