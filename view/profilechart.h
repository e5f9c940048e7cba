#pragma once

#include "formats/displaysettings.h"
#include "view/vec3.h"

#include <QPointF>
#include <QVector>
#include <QtCharts/QChartView>

class QGraphicsLineItem;
namespace QtCharts
{
class QCategoryAxis;
class QLineSeries;
class QValueAxis;
} // namespace QtCharts

// Speed (left axis) and altitude (right axis) of the listed points against time.
// The series are thinned to at most two points per pixel column, keeping each
// column's extremes; clicks map back to the nearest listed point by time.
class ProfileChart : public QtCharts::QChartView
{
    Q_OBJECT

public:
    explicit ProfileChart(QWidget* parent = nullptr);
    ~ProfileChart() override;

    // What of the points is drawn besides the time axis.
    enum Series { TimeOnly = 0, Speed = 1, Altitude = 2, SpeedAndAltitude = Speed | Altitude };
    // The series a track has: speed and altitude in fmt 2, and speed alone in a track
    // read from another program's file that has no altitudes.
    static int seriesOf(int fmt, bool speedsWithoutAltitude);

    // Shows these points (the point list's rows) in the given units and time zone.
    void setPoints(const QVector<Vec3>& points, int series, int speedUnit, int heightUnit,
                   int timeSwitch);
    void setPoints(const QVector<Vec3>& points, int series, const DisplaySettings& settings);
    void clear();
    // Names the speed line as worked out from positions and times rather than recorded.
    void setSpeedDerived(bool derived);

    int pointCount() const { return m_times.size(); }
    int cursorIndex() const { return m_cursorIndex; }
    // Nearest point by time (the earlier one on a tie); -1 when nothing is shown.
    int indexForTime(double seconds) const;
    // Point under a viewport x position; -1 outside the plot area or when nothing is shown.
    int indexAtX(int x) const;
    // Viewport x of a point; -1 for an index that is not shown.
    int xForIndex(int index) const;
    // The drawn (thinned) series, for inspection.
    QVector<QPointF> speedSeries() const;
    QVector<QPointF> altitudeSeries() const;

    // Keeps, per bucket of equal width over [xMin, xMax], the lowest and highest
    // point in their original order, plus the first and last point.
    static QVector<QPointF> reduce(const QVector<QPointF>& points, double xMin, double xMax,
                                   int buckets);

public slots:
    // Moves the vertical cursor line to a point; an index that is not shown hides it.
    void setCursorIndex(int index);

signals:
    void pointClicked(int index);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void plotAreaChanged();
    void rebuildSeries();
    void rebuildTimeAxis();
    void placeCursor();
    int plotColumns() const;
    int valueTicks() const;

    QtCharts::QLineSeries* m_speed = nullptr;
    QtCharts::QLineSeries* m_altitude = nullptr;
    QtCharts::QCategoryAxis* m_timeAxis = nullptr;
    QtCharts::QValueAxis* m_speedAxis = nullptr;
    QtCharts::QValueAxis* m_altitudeAxis = nullptr;
    int m_valueTicks = 5;
    QGraphicsLineItem* m_cursor = nullptr;

    QVector<double> m_times; // seconds since 1970 UTC
    QVector<QPointF> m_speedPoints;
    QVector<QPointF> m_altitudePoints;
    bool m_timesSorted = true;
    bool m_local = false;
    double m_minTime = 0.0;
    double m_maxTime = 0.0;
    int m_cursorIndex = -1;
    int m_builtColumns = -1;
};
