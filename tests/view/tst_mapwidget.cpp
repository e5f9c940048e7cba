#include "maprecorder.h"
#include "testsupport.h"
#include "view/mapwidget.h"
#include "view/playbackthread.h"
#include "view/profilechart.h"

#include <QItemSelectionModel>
#include <QTreeView>
#include <QTreeWidget>
#include <QtTest>

#include <ctime>

namespace
{

constexpr qint64 T0 = 1500000000; // 2017-07-14 02:40:00 UTC, 10:40:00 in Taipei

Vec3 pt(double lat, qint64 time = T0, int marked = 0, int speed = 0)
{
    return TestSupport::point(lat, 120.0, 10.0, time, marked, speed);
}

Track track(const QVector<Vec3>& points, int fmt = 2)
{
    Track t;
    t.startTime = points.isEmpty() ? 0 : points.first().time;
    t.fmt = fmt;
    t.points = points;
    return t;
}

QVector<Vec3> line(int n)
{
    QVector<Vec3> points;
    for (int i = 0; i < n; ++i)
        points << pt(i, T0 + 10 * i, 0, 500 * i);
    return points;
}

} // namespace

class TestMapWidget : public QObject
{
    Q_OBJECT

public:
    TestMapWidget() : widget(&tracks, &settings, nullptr), recorder(widget.mapOperator()) {}

private:
    QTreeWidget* tree() { return widget.findChild<QTreeWidget*>("treeWidget"); }
    QTreeView* list() { return widget.findChild<QTreeView*>("treeWidget_2"); }
    QTreeWidgetItem* trackItem(int k) { return tree()->topLevelItem(0)->child(k); }
    QString cell(int row, int column)
    {
        return list()->model()->index(row, column).data().toString();
    }
    void load(const QVector<Track>& newTracks, int listed = -1)
    {
        widget.stopPlayback();
        tracks = newTracks;
        widget.updateTrackList();
        if (listed >= 0) { // as a double-click on the track does
            tree()->setCurrentItem(trackItem(listed));
            widget.TreeWidgetItemDoubleClicked(trackItem(listed), 0);
        }
        recorder.calls.clear();
    }
    QVector<int> speeds() const
    {
        QVector<int> result;
        for (const Vec3& p : widget.listedPoints())
            result << p.speed;
        return result;
    }

    QVector<Track> tracks;
    TestSettings settings;
    MapWidget widget;
    MapRecorder recorder;

private slots:
    void initTestCase() { PlaybackThread::setTimeDivisor(25); }
    void cleanup() { settings = TestSettings(); }

    void formatCoordinate()
    {
        const QString d(QChar(0x00B0));
        QCOMPARE(MapWidget::formatCoordinate(25.0417, 1, 1), "25" + d + "2'30.1200\" N");
        QCOMPARE(MapWidget::formatCoordinate(-121.5654, 2, 1), "121" + d + "33'55.4400\" W");
        QCOMPARE(MapWidget::formatCoordinate(-0.5, 1, 1), "0" + d + "30'0.0000\" S");
        QCOMPARE(MapWidget::formatCoordinate(24.999999999, 1, 1), "24" + d + "59'60.0000\" N");
        QCOMPARE(MapWidget::formatCoordinate(10.0, 3, 1), QString());
        QCOMPARE(MapWidget::formatCoordinate(10.0, 1, 2), QString());
    }

    void updateTrackListOrder()
    {
        tracks = {track({pt(1), pt(2)}), track({pt(3)})};
        recorder.calls.clear();
        widget.updateTrackList();
        QCOMPARE(recorder.only({"deleteAllObject", "addPolyline", "addLatLng", "showPolyline"}),
                 QStringList({"deleteAllObject", "addPolyline", "addLatLng 1 120 0",
                              "addLatLng 2 120 0", "addPolyline", "addLatLng 3 120 1"}));
        QCOMPARE(tree()->topLevelItem(0)->childCount(), 2);
        QCOMPARE(trackItem(0)->text(0), QString("1. 2017-07-14 - 10:40:00")); // always local
    }

    void markerOrder_data()
    {
        QTest::addColumn<QString>("marks");
        QTest::addColumn<QString>("markers"); // Start, End or Marker, and the point's index
        QTest::newRow("1") << "0"
                           << "";
        QTest::newRow("1 marked") << "1"
                                  << "S0";
        QTest::newRow("2") << "00"
                           << "";
        QTest::newRow("2 marked") << "11"
                                  << "S1 E0";
        QTest::newRow("3") << "000"
                           << "S0 E2";
        QTest::newRow("3, middle marked") << "010"
                                          << "S0 E2 M1";
        QTest::newRow("3 marked") << "111"
                                  << "S0 E2 M2 M1 M0";
    }
    void markerOrder()
    {
        QFETCH(QString, marks);
        QFETCH(QString, markers);
        QVector<Vec3> points;
        for (int i = 0; i < marks.size(); ++i)
            points << pt(i, T0 + i, marks.at(i) == '1');
        load({track({pt(50)}), track(points)});
        trackItem(1)->setCheckState(0, Qt::Checked);
        QStringList expected{"deleteMarked", "clearPolyline 0", "showPolyline 1"};
        const QStringList names{"addStartPoint", "addEndPoint", "addMarker"};
        int j = 0;
        for (const QString& m : markers.split(' ', Qt::SkipEmptyParts))
            expected << QString("%1 %2 120 2. 2017-07-14 - 02:40:0%2 #%3")
                            .arg(names.at(QString("SEM").indexOf(m.at(0))), m.mid(1))
                            .arg(j++);
        // The slot runs again for the root's new state; the first run is the one of the track.
        QCOMPARE(recorder.calls.mid(0, recorder.calls.indexOf("showMarked")), expected);
    }

    void checkPropagation()
    {
        load({track({pt(1)}), track({pt(2)}), track({pt(3)})});
        QTreeWidgetItem* root = tree()->topLevelItem(0);
        root->setCheckState(0, Qt::Checked);
        QCOMPARE(widget.checkedTracks(), QList<int>({0, 1, 2}));
        trackItem(1)->setCheckState(0, Qt::Unchecked);
        QCOMPARE(root->checkState(0), Qt::PartiallyChecked);
        trackItem(0)->setCheckState(0, Qt::Unchecked);
        trackItem(2)->setCheckState(0, Qt::Unchecked);
        QCOMPARE(root->checkState(0), Qt::Unchecked);
        for (int k = 0; k < 3; ++k)
            trackItem(k)->setCheckState(0, Qt::Checked);
        QCOMPARE(root->checkState(0), Qt::Checked);
        recorder.calls.clear();
        root->setCheckState(0, Qt::Unchecked);
        QCOMPARE(widget.checkedTracks(), QList<int>());
        QCOMPARE(recorder.calls.mid(recorder.calls.lastIndexOf("deleteMarked")),
                 QStringList({"deleteMarked", "clearPolyline 0", "clearPolyline 1",
                              "clearPolyline 2", "showMarked"}));
    }

    void pointRows_data()
    {
        QTest::addColumn<int>("speedUnit");
        QTest::addColumn<int>("heightUnit");
        QTest::addColumn<int>("timeSwitch");
        QTest::addColumn<QString>("row"); // time, altitude, speed
        QTest::newRow("km/h m utc") << 0 << 0 << 0 << "02:40:00 100.50 m 12.34 km/hr";
        QTest::newRow("mi/h m local") << 1 << 0 << 1 << "10:40:00 100.50 m 7.67 mi/hr";
        QTest::newRow("km/h feet local") << 0 << 1 << 1 << "10:40:00 329.72 feet 12.34 km/hr";
        QTest::newRow("mi/h feet utc") << 1 << 1 << 0 << "02:40:00 329.72 feet 7.67 mi/hr";
    }
    void pointRows()
    {
        QFETCH(int, speedUnit);
        QFETCH(int, heightUnit);
        QFETCH(int, timeSwitch);
        QFETCH(QString, row);
        const Vec3 p = TestSupport::point(25.0417, -121.5654, 100.5, T0, 1, 1234);
        load({track({pt(1, 1), pt(2, 0), p}), track({pt(2, T0, 0, 500)}, 1)}, 0);
        settings = TestSettings(speedUnit, heightUnit, timeSwitch);
        widget.showTrackPoints(-1.0f, 0); // as the main window's unit and time switches do
        QCOMPARE(list()->model()->rowCount(), 3);
        QStringList got;
        for (int c = 0; c < 7; ++c)
            got << cell(2, c);
        const QString d(QChar(0x00B0));
        QCOMPARE(got.join(' '), "3* 2017-07-14 " + row.section(' ', 0, 0) + " 25" + d +
                                    "2'30.1200\" N 121" + d + "33'55.4400\" W " +
                                    row.section(' ', 1));
        QCOMPARE(cell(1, 0), QString("2"));
        QCOMPARE(cell(0, 1) + ' ' + cell(0, 2),
                 QString(timeSwitch ? "1970-01-01 08:00:01" : "1970-01-01 00:00:01"));

        // A track without altitude and speed leaves those cells empty.
        load(tracks, 1);
        QCOMPARE(QStringList({cell(0, 0), cell(0, 5), cell(0, 6)}), QStringList({"1", "", ""}));
    }

    void filterRules_data()
    {
        QTest::addColumn<int>("rule");
        QTest::addColumn<float>("value");
        QTest::addColumn<QVector<int>>("kept");
        QTest::newRow(">") << 1 << 10.0f << QVector<int>{1001, 1234};
        QTest::newRow(">=") << 2 << 10.0f << QVector<int>{1000, 1001, 1234};
        QTest::newRow("=") << 3 << 10.0f << QVector<int>{1000};
        QTest::newRow("<") << 4 << 10.0f << QVector<int>{0, 999};
        QTest::newRow("<=") << 5 << 10.0f << QVector<int>{0, 999, 1000};
        QTest::newRow("= keeps nothing") << 3 << 12.345f << QVector<int>();
        QTest::newRow("= in single precision") << 3 << 12.34f << QVector<int>{1234};
        QTest::newRow("marked") << 6 << -1.0f << QVector<int>{999, 1234};
        QTest::newRow("none") << -1 << -1.0f << QVector<int>{0, 999, 1000, 1001, 1234};
    }
    void filterRules()
    {
        QFETCH(int, rule);
        QFETCH(float, value);
        QFETCH(QVector<int>, kept);
        load({track({pt(1, T0, 0, 0), pt(2, T0, 1, 999), pt(3, T0, 0, 1000), pt(4, T0, 0, 1001),
                     pt(5, T0, 1, 1234)})},
             0);
        widget.showTrackPoints(value, rule);
        QCOMPARE(speeds(), kept);
        QCOMPARE(list()->model()->rowCount(), kept.size());
        QCOMPARE(recorder.only({"setCenter"}).size(), kept.isEmpty() ? 0 : 1);
    }

    // The filter outlives a unit switch but not a new listing of the track.
    void storedFilter()
    {
        load({track({pt(1, T0, 0, 500), pt(2, T0, 0, 1500)})});
        widget.showTrackPoints(10.0f, 1); // no current track: nothing is stored
        QCOMPARE(widget.filterRule(), -1);
        load(tracks, 0);
        widget.showTrackPoints(10.0f, 1);
        widget.showTrackPoints(-1.0f, 0);
        QCOMPARE(speeds(), QVector<int>{1500});
        load(tracks, 0);
        QCOMPARE(speeds(), QVector<int>({500, 1500}));
    }

    void outOfRangeIndexIgnored()
    {
        load({track({pt(1), pt(2, T0 + 1), pt(3)})}, 0);
        QSignalSpy shown(&widget, &MapWidget::pointShown);
        widget.showPointAndSelectInfo(3);
        widget.showPointAndSelectInfo(-1);
        QCOMPARE(shown.count(), 0);
        QVERIFY(recorder.calls.isEmpty());
        widget.showPointAndSelectInfo(1);
        QCOMPARE(recorder.calls, QStringList{"viewPoint 2 120 2. 2017-07-14 - 02:40:01"});
        QCOMPARE(widget.playPosition(), 1);
        QCOMPARE(list()->selectionModel()->selectedRows().value(0).row(), 1);
    }

    void playbackRunsOut()
    {
        load({track(line(4))});
        QSignalSpy shown(&widget, &MapWidget::pointShown);
        QSignalSpy finished(&widget, &MapWidget::playbackFinished);
        widget.play(); // nothing listed
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(shown.count(), 0);

        load(tracks, 0);
        widget.play();
        QTRY_COMPARE(finished.count(), 2);
        QCOMPARE(shown.count(), 4);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(shown.at(i).at(0).toInt(), i);
        QCOMPARE(widget.playPosition(), 0);

        widget.showPointAndSelectInfo(3);
        shown.clear();
        widget.play(); // from the last point: shown once, then the end
        QTRY_COMPARE(finished.count(), 3);
        QCOMPARE(shown.count(), 1);
        QCOMPARE(shown.at(0).at(0).toInt(), 3);
        QCOMPARE(widget.playPosition(), 0);
    }

    void pauseResumeStop()
    {
        load({track(line(100))}, 0);
        QSignalSpy shown(&widget, &MapWidget::pointShown);
        QSignalSpy finished(&widget, &MapWidget::playbackFinished);
        widget.play();
        QTRY_VERIFY(shown.count() >= 2);
        widget.pause();
        QTRY_COMPARE(finished.count(), 1);
        const int last = widget.playPosition();
        QCOMPARE(shown.last().at(0).toInt(), last);
        shown.clear();
        widget.play();
        QTRY_VERIFY(shown.count() >= 2);
        QCOMPARE(shown.at(0).at(0).toInt(), last);
        QCOMPARE(shown.at(1).at(0).toInt(), last + 1);

        // The finished() of a worker replaced by a new play must not reset the play button.
        shown.clear();
        widget.play();
        QTRY_VERIFY(shown.count() >= 1);
        QVERIFY(widget.isPlaying());
        QCOMPARE(finished.count(), 1);

        // Announcements the stopped worker had queued must not move the position.
        widget.stopPlayback();
        QTRY_COMPARE(finished.count(), 2); // queued after every announcement of the worker
        QCOMPARE(widget.playPosition(), 0);
        widget.play();
        QTRY_VERIFY(widget.playPosition() >= 2);
        shown.clear();
        widget.resetPlayback();
        QTRY_COMPARE(finished.count(), 3);
        QCOMPARE(widget.playPosition(), 0);
        QCOMPARE(shown.count(), 1);
    }

    // A unit switch during playback may list fewer points than the worker counts on.
    void indexBeyondRebuiltList()
    {
        load({track(line(40)), track({pt(100)})}, 0);
        QSignalSpy finished(&widget, &MapWidget::playbackFinished);
        widget.play();
        QTRY_VERIFY(widget.playPosition() >= 1);
        tree()->setCurrentItem(trackItem(1));
        widget.showTrackPoints(-1.0f, 0);
        QTRY_VERIFY_WITH_TIMEOUT(finished.count() == 1, 10000);
        QCOMPARE(widget.listedPoints().size(), 1);
    }

    void statisticsFollowUnits()
    {
        load({track({pt(1, T0, 0, 1000), pt(1.001, T0 + 60, 0, 2000)})}, 0);
        QVERIFY(trackItem(0)->toolTip(0).contains("Maximum speed: 20.00 km/hr"));
        settings.speed = 1;
        widget.refreshStatistics(); // as the main window's unit switch does
        QVERIFY(trackItem(0)->toolTip(0).contains("Maximum speed: 12.43 mi/hr"));
        QCOMPARE(widget.statisticsView()->topLevelItem(9)->text(1), QString("12.43 mi/hr"));
        QVERIFY(recorder.calls.isEmpty()); // a tool tip is no check box change
        load({});
        QCOMPARE(widget.statisticsView()->topLevelItemCount(), 0);
    }

    // A click on the profile selects the point as a double-click on its row does.
    void profileClickSelectsPoint()
    {
        load({track(line(5))}, 0);
        ProfileChart* chart = widget.profileChart();
        chart->setParent(nullptr); // shown on its own, as in the main window's dock
        chart->resize(500, 250);
        chart->show();
        QVERIFY(QTest::qWaitForWindowExposed(chart));
        widget.showTrackPoints(10.0f, 2); // the points of 1000 and more
        QCOMPARE(chart->pointCount(), 3);
        QTRY_VERIFY(chart->xForIndex(2) > chart->xForIndex(1));

        widget.play();
        recorder.calls.clear();
        QTest::mouseClick(chart->viewport(), Qt::LeftButton, {},
                          QPoint(chart->xForIndex(1) + 1, chart->viewport()->height() / 2));
        QVERIFY(!widget.isPlaying());
        QCOMPARE(widget.playPosition(), 1);
        QCOMPARE(recorder.only({"viewPoint"}),
                 QStringList{"viewPoint 3 120 2. 2017-07-14 - 02:40:30"});
        QCOMPARE(list()->selectionModel()->selectedRows().value(0).row(), 1);
        widget.showPointAndSelectInfo(2);
        QCOMPARE(chart->cursorIndex(), 2);
        chart->hide();
        chart->setParent(&widget);
    }
};

int main(int argc, char** argv)
{
    qputenv("TZ", "Asia/Taipei");
    tzset();
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true); // the map page's tile cache
    TestMapWidget test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mapwidget.moc"
