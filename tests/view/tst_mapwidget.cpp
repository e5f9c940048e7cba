#include "maprecorder.h"
#include "view/mapwidget.h"
#include "view/playbackthread.h"
#include "view/profilechart.h"

#include <QAbstractItemModel>
#include <QItemSelectionModel>
#include <QTreeView>
#include <QTreeWidget>
#include <QtTest>

#include <ctime>

namespace
{

constexpr qint64 T0 = 1500000000; // 2017-07-14 02:40:00 UTC, 10:40:00 in Taipei

Vec3 point(double lat, qint64 time = T0, int marked = 0, int speed = 0)
{
    Vec3 p;
    p.lat = lat;
    p.lon = 120.0;
    p.alt = 10.0;
    p.time = time;
    p.marked = marked;
    p.speed = speed;
    return p;
}

Track track(const QVector<Vec3>& points, int fmt = 2)
{
    Track t;
    t.startTime = points.isEmpty() ? 0 : points.first().time;
    t.fmt = fmt;
    t.points = points;
    return t;
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
    void load(const QVector<Track>& newTracks)
    {
        widget.stopPlayback();
        tracks = newTracks;
        widget.updateTrackList();
        recorder.calls.clear();
    }
    // Lists track k as a double-click on it would.
    void listTrack(int k)
    {
        tree()->setCurrentItem(trackItem(k));
        widget.TreeWidgetItemDoubleClicked(trackItem(k), 0);
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

    void formatCoordinate_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("axis");
        QTest::addColumn<QString>("text");
        const QString deg(QChar(0x00B0));
        QTest::newRow("north") << 25.0417 << 1 << "25" + deg + "2'30.1200\" N";
        QTest::newRow("west") << -121.5654 << 2 << "121" + deg + "33'55.4400\" W";
        QTest::newRow("south below one degree") << -0.5 << 1 << "0" + deg + "30'0.0000\" S";
        QTest::newRow("zero east") << 0.0 << 2 << "0" + deg + "0'0.0000\" E";
        QTest::newRow("seconds round up to 60")
            << 24.999999999 << 1 << "24" + deg + "59'60.0000\" N";
        QTest::newRow("no such axis") << 10.0 << 3 << QString();
    }
    void formatCoordinate()
    {
        QFETCH(double, value);
        QFETCH(int, axis);
        QFETCH(QString, text);
        QCOMPARE(MapWidget::formatCoordinate(value, axis, 1), text);
        QCOMPARE(MapWidget::formatCoordinate(value, axis, 2), QString());
    }

    void updateTrackListOrder()
    {
        load({});
        recorder.calls.clear();
        tracks = {track({point(1), point(2)}), track({point(3)})};
        widget.updateTrackList();
        const QStringList calls =
            recorder.only({"deleteAllObject", "addPolyline", "addLatLng", "setCenter"});
        QCOMPARE(calls, QStringList({"deleteAllObject", "addPolyline", "addLatLng 1 120 0",
                                     "addLatLng 2 120 0", "addPolyline", "addLatLng 3 120 1"}));
        QCOMPARE(tree()->topLevelItemCount(), 1);
        QCOMPARE(tree()->topLevelItem(0)->childCount(), 2);
        QVERIFY(tree()->topLevelItem(0)->isExpanded());
        QCOMPARE(trackItem(0)->text(0), QString("1. 2017-07-14 - 10:40:00")); // always local
        QVERIFY(recorder.only({"showPolyline", "addStartPoint"}).isEmpty());
    }

    void markerOrder_data()
    {
        QTest::addColumn<QVector<int>>("marks");
        QTest::addColumn<QStringList>("markers");
        QTest::newRow("one point") << QVector<int>{0} << QStringList();
        QTest::newRow("one marked point") << QVector<int>{1} << QStringList{"addStartPoint 0 #0"};
        QTest::newRow("two points") << QVector<int>{0, 0} << QStringList();
        QTest::newRow("two marked points")
            << QVector<int>{1, 1} << QStringList{"addStartPoint 1 #0", "addEndPoint 0 #1"};
        QTest::newRow("three points")
            << QVector<int>{0, 0, 0} << QStringList{"addStartPoint 0 #0", "addEndPoint 2 #1"};
        QTest::newRow("three points, middle marked")
            << QVector<int>{0, 1, 0}
            << QStringList{"addStartPoint 0 #0", "addEndPoint 2 #1", "addMarker 1 #2"};
        QTest::newRow("three marked points")
            << QVector<int>{1, 1, 1}
            << QStringList{"addStartPoint 0 #0", "addEndPoint 2 #1", "addMarker 2 #2",
                           "addMarker 1 #3", "addMarker 0 #4"};
    }
    void markerOrder()
    {
        QFETCH(QVector<int>, marks);
        QFETCH(QStringList, markers);
        QVector<Vec3> points;
        for (int i = 0; i < marks.size(); ++i)
            points << point(i, T0 + i, marks.at(i));
        load({track({point(50)}), track(points)});
        trackItem(1)->setCheckState(0, Qt::Checked);

        // The slot runs again for the root's new state; the first run is the one of the track.
        const QStringList calls = recorder.calls.mid(0, recorder.calls.indexOf("showMarked") + 1);
        QStringList got;
        for (const QString& call : calls) {
            if (!call.startsWith("add"))
                continue;
            const QStringList parts = call.split(' ');
            QCOMPARE(parts.at(2), QString("120"));
            QVERIFY2(call.contains(" 2. 2017-07-14 - 02:40:0"), qPrintable(call));
            got << parts.at(0) + ' ' + parts.at(1) + ' ' + parts.last();
        }
        QCOMPARE(got, markers);
        QCOMPARE(calls.first(), QString("deleteMarked"));
        QCOMPARE(calls.at(1), QString("clearPolyline 0"));
        QCOMPARE(calls.at(2), QString("showPolyline 1"));
        QCOMPARE(calls.at(3 + markers.size()), QString("showMarked"));
    }

    void checkPropagation()
    {
        load({track({point(1)}), track({point(2)}), track({point(3)})});
        QTreeWidgetItem* root = tree()->topLevelItem(0);
        root->setCheckState(0, Qt::Checked);
        QCOMPARE(widget.checkedTracks(), QList<int>({0, 1, 2}));
        trackItem(1)->setCheckState(0, Qt::Unchecked);
        QCOMPARE(root->checkState(0), Qt::PartiallyChecked);
        QCOMPARE(widget.checkedTracks(), QList<int>({0, 2}));
        trackItem(0)->setCheckState(0, Qt::Unchecked);
        trackItem(2)->setCheckState(0, Qt::Unchecked);
        QCOMPARE(root->checkState(0), Qt::Unchecked);
        trackItem(0)->setCheckState(0, Qt::Checked);
        trackItem(1)->setCheckState(0, Qt::Checked);
        trackItem(2)->setCheckState(0, Qt::Checked);
        QCOMPARE(root->checkState(0), Qt::Checked);
        recorder.calls.clear();
        root->setCheckState(0, Qt::Unchecked);
        QCOMPARE(widget.checkedTracks(), QList<int>());
        const QStringList last = recorder.calls.mid(recorder.calls.lastIndexOf("deleteMarked"));
        QCOMPARE(last, QStringList({"deleteMarked", "clearPolyline 0", "clearPolyline 1",
                                    "clearPolyline 2", "showMarked"}));
    }

    void pointRows_data()
    {
        QTest::addColumn<int>("speedUnit");
        QTest::addColumn<int>("heightUnit");
        QTest::addColumn<int>("timeSwitch");
        QTest::addColumn<QStringList>("row");
        const QString lat = QString("25") + QChar(0x00B0) + "2'30.1200\" N";
        const QString lon = QString("121") + QChar(0x00B0) + "33'55.4400\" W";
        QTest::newRow("km/h m utc")
            << 0 << 0 << 0
            << QStringList{"3*", "2017-07-14", "02:40:00", lat, lon, "100.50 m", "12.34 km/hr"};
        QTest::newRow("mi/h m local")
            << 1 << 0 << 1
            << QStringList{"3*", "2017-07-14", "10:40:00", lat, lon, "100.50 m", "7.67 mi/hr"};
        QTest::newRow("km/h feet local")
            << 0 << 1 << 1
            << QStringList{"3*", "2017-07-14", "10:40:00", lat, lon, "329.72 feet", "12.34 km/hr"};
        QTest::newRow("mi/h feet utc")
            << 1 << 1 << 0
            << QStringList{"3*", "2017-07-14", "02:40:00", lat, lon, "329.72 feet", "7.67 mi/hr"};
    }
    void pointRows()
    {
        QFETCH(int, speedUnit);
        QFETCH(int, heightUnit);
        QFETCH(int, timeSwitch);
        QFETCH(QStringList, row);
        Vec3 p = point(25.0417, T0, 1, 1234);
        p.lon = -121.5654;
        p.alt = 100.5;
        load({track({point(1, 1), point(2, 0), p})});
        listTrack(0);
        settings.speed = speedUnit;
        settings.height = heightUnit;
        settings.time = timeSwitch;
        widget.showTrackPoints(-1.0f, 0); // as the main window's unit and time switches do
        QCOMPARE(list()->model()->rowCount(), 3);
        QCOMPARE(list()->model()->columnCount(), 7);
        QCOMPARE(list()->model()->headerData(6, Qt::Horizontal).toString(), QString("Speed"));
        QStringList got;
        for (int c = 0; c < 7; ++c)
            got << cell(2, c);
        QCOMPARE(got, row);
        QCOMPARE(cell(1, 0), QString("2"));
        QCOMPARE(cell(0, 1), QString("1970-01-01"));
        QCOMPARE(cell(0, 2), QString(timeSwitch ? "08:00:01" : "00:00:01"));
        settings = TestSettings();
    }

    void trackWithoutAltitude()
    {
        load({track({point(1, T0, 0, 500)}, 2), track({point(2, T0, 0, 500)}, 1)});
        listTrack(1);
        QCOMPARE(list()->model()->columnCount(), 7); // kept from the last listing
        QCOMPARE(cell(0, 0), QString("1"));
        QCOMPARE(cell(0, 5), QString());
        QCOMPARE(cell(0, 6), QString());
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
        QTest::newRow("= 0") << 3 << 0.0f << QVector<int>{0};
        QTest::newRow("= 12.345 keeps nothing") << 3 << 12.345f << QVector<int>();
        QTest::newRow("= 12.34 in single precision") << 3 << 12.34f << QVector<int>{1234};
        QTest::newRow("marked") << 6 << -1.0f << QVector<int>{999, 1234};
        QTest::newRow("none") << -1 << -1.0f << QVector<int>{0, 999, 1000, 1001, 1234};
    }
    void filterRules()
    {
        QFETCH(int, rule);
        QFETCH(float, value);
        QFETCH(QVector<int>, kept);
        load({track({point(1, T0, 0, 0), point(2, T0, 1, 999), point(3, T0, 0, 1000),
                     point(4, T0, 0, 1001), point(5, T0, 1, 1234)})});
        listTrack(0);
        recorder.calls.clear();
        widget.showTrackPoints(value, rule);
        QCOMPARE(speeds(), kept);
        QCOMPARE(list()->model()->rowCount(), kept.size());
        QCOMPARE(recorder.only({"setCenter"}).size(), kept.isEmpty() ? 0 : 1);
    }

    void storedFilter()
    {
        load({track({point(1, T0, 0, 500), point(2, T0, 0, 1500)})});
        widget.showTrackPoints(10.0f, 1); // no current track: nothing is stored
        QCOMPARE(widget.filterRule(), -1);
        QVERIFY(widget.listedPoints().isEmpty());
        listTrack(0);
        widget.showTrackPoints(10.0f, 1);
        settings.height = 1;
        widget.showTrackPoints(-1.0f, 0);
        settings.height = 0;
        QCOMPARE(speeds(), QVector<int>{1500});
        QCOMPARE(cell(0, 0), QString("1"));
        listTrack(0);
        QCOMPARE(widget.filterRule(), -1);
        QCOMPARE(speeds(), QVector<int>({500, 1500}));
        QCOMPARE(trackItem(0)->checkState(0), Qt::Checked);
    }

    void showPoint()
    {
        load({track({point(1), point(2, T0 + 1), point(3)})});
        listTrack(0);
        QSignalSpy shown(&widget, &MapWidget::pointShown);
        recorder.calls.clear();
        widget.showPointAndSelectInfo(3);
        widget.showPointAndSelectInfo(-1);
        QCOMPARE(shown.count(), 0);
        QVERIFY(recorder.calls.isEmpty());
        widget.showPointAndSelectInfo(1);
        QCOMPARE(recorder.calls, QStringList{"viewPoint 2 120 2. 2017-07-14 - 02:40:01"});
        QCOMPARE(widget.playPosition(), 1);
        const QModelIndexList rows = list()->selectionModel()->selectedRows();
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows.first().row(), 1);
    }

    void playbackRunsOut()
    {
        load({track({point(0), point(1), point(2), point(3)})});
        listTrack(0);
        QSignalSpy shown(&widget, &MapWidget::pointShown);
        QSignalSpy finished(&widget, &MapWidget::playbackFinished);
        widget.play();
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(shown.count(), 4);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(shown.at(i).at(0).toInt(), i);
        QCOMPARE(widget.playPosition(), 0);

        // From the last point: shown once, then the end.
        shown.clear();
        widget.showPointAndSelectInfo(3);
        shown.clear();
        widget.play();
        QTRY_COMPARE(finished.count(), 2);
        QCOMPARE(shown.count(), 1);
        QCOMPARE(shown.at(0).at(0).toInt(), 3);
        QCOMPARE(widget.playPosition(), 0);
    }

    void pauseAndResume()
    {
        QVector<Vec3> points;
        for (int i = 0; i < 40; ++i)
            points << point(i);
        load({track(points)});
        listTrack(0);
        QSignalSpy shown(&widget, &MapWidget::pointShown);
        widget.play();
        QTRY_VERIFY(shown.count() >= 2);
        widget.pause();
        QVERIFY(!widget.isPlaying());
        QCoreApplication::processEvents();
        const int last = widget.playPosition();
        QCOMPARE(shown.last().at(0).toInt(), last);
        QVERIFY(last > 0 && last < 39);
        shown.clear();
        widget.play();
        QTRY_VERIFY(shown.count() >= 2);
        widget.pause();
        QCOMPARE(shown.at(0).at(0).toInt(), last);
        QCOMPARE(shown.at(1).at(0).toInt(), last + 1);
    }

    void stopReturnsToStart()
    {
        QVector<Vec3> points;
        for (int i = 0; i < 40; ++i)
            points << point(i);
        load({track(points)});
        listTrack(0);
        QSignalSpy shown(&widget, &MapWidget::pointShown);
        QSignalSpy finished(&widget, &MapWidget::playbackFinished);
        widget.play();
        QTRY_VERIFY(shown.count() >= 2);
        widget.stopPlayback();
        QTRY_COMPARE(finished.count(), 1);
        QTest::qWait(50); // announcements queued by the stopped worker must not move it
        QCOMPARE(widget.playPosition(), 0);

        widget.play();
        QTRY_VERIFY(shown.count() >= 4);
        shown.clear();
        widget.resetPlayback();
        QTest::qWait(50);
        QCOMPARE(widget.playPosition(), 0);
        QCOMPARE(shown.count(), 1);
        QCOMPARE(shown.at(0).at(0).toInt(), 0);
    }

    void emptyListPlaysNothing()
    {
        load({track({point(1)})});
        QSignalSpy shown(&widget, &MapWidget::pointShown);
        QSignalSpy finished(&widget, &MapWidget::playbackFinished);
        widget.play();
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(shown.count(), 0);
        QCOMPARE(widget.playPosition(), 0);
    }

    void statisticsFollowUnits()
    {
        load({track({point(1, T0, 0, 1000), point(1.001, T0 + 60, 0, 2000)}), track({point(2)})});
        const QString kmh = trackItem(0)->toolTip(0);
        QVERIFY2(kmh.contains("Maximum speed: 20.00 km/hr"), qPrintable(kmh));
        QVERIFY(trackItem(1)->toolTip(0).contains("Points: 1"));
        settings.speed = 1;
        widget.refreshStatistics(); // as the main window's unit switch does
        QVERIFY(trackItem(0)->toolTip(0).contains("Maximum speed: 12.43 mi/hr"));
        QVERIFY(recorder.calls.isEmpty()); // a tool tip is no check box change

        QTreeWidget* pane = widget.statisticsView();
        QCOMPARE(pane->topLevelItemCount(), 0);
        listTrack(0);
        QCOMPARE(pane->topLevelItem(9)->text(1), QString("12.43 mi/hr"));
        settings.speed = 0;
        widget.refreshStatistics();
        QCOMPARE(pane->topLevelItem(9)->text(1), QString("20.00 km/hr"));
        load({});
        QCOMPARE(pane->topLevelItemCount(), 0);
        settings = TestSettings();
    }

    void profileClickSelectsPoint()
    {
        QVector<Vec3> points;
        for (int i = 0; i < 5; ++i)
            points << point(i, T0 + 10 * i, 0, 500 * i);
        load({track(points)});
        listTrack(0);
        // Shown on its own, as the main window's dock shows it.
        ProfileChart* chart = widget.profileChart();
        chart->setParent(nullptr);
        chart->resize(500, 250);
        chart->show();
        QVERIFY(QTest::qWaitForWindowExposed(chart));
        QCOMPARE(chart->pointCount(), 5);
        widget.showTrackPoints(10.0f, 2); // >= 10 km/h: the points of 1000 and more
        QCOMPARE(chart->pointCount(), 3);
        QTRY_VERIFY(chart->xForIndex(2) > chart->xForIndex(1));

        widget.play();
        QSignalSpy shown(&widget, &MapWidget::pointShown);
        recorder.calls.clear();
        QTest::mouseClick(chart->viewport(), Qt::LeftButton, {},
                          QPoint(chart->xForIndex(1) + 1, chart->viewport()->height() / 2));
        QVERIFY(!widget.isPlaying());
        QCOMPARE(widget.playPosition(), 1);
        QCOMPARE(recorder.only({"viewPoint"}),
                 QStringList{"viewPoint 3 120 2. 2017-07-14 - 02:40:30"});
        QCOMPARE(shown.last().at(0).toInt(), 1);
        QCOMPARE(list()->currentIndex().row(), 1);
        QCOMPARE(list()->selectionModel()->selectedRows().value(0).row(), 1);

        widget.showPointAndSelectInfo(2);
        QCOMPARE(chart->cursorIndex(), 2);
        load({});
        QCOMPARE(chart->pointCount(), 0);
        chart->hide();
        chart->setParent(&widget);
    }

    void indexBeyondRebuiltList()
    {
        QVector<Vec3> points;
        for (int i = 0; i < 40; ++i)
            points << point(i);
        load({track(points), track({point(100)})});
        listTrack(0);
        widget.play();
        QTRY_VERIFY(widget.playPosition() >= 1);
        tree()->setCurrentItem(trackItem(1));
        widget.showTrackPoints(-1.0f, 0); // a unit switch during playback lists one point
        QSignalSpy finished(&widget, &MapWidget::playbackFinished);
        QTRY_VERIFY_WITH_TIMEOUT(finished.count() == 1, 10000);
        QCOMPARE(widget.listedPoints().size(), 1);
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
