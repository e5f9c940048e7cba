#include "view/profilechart.h"

#include "formats/civildate.h"
#include "formats/timetext.h"
#include "view/units.h"

#include <QGraphicsLineItem>
#include <QMouseEvent>
#include <QSet>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QChart>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>
#include <algorithm>
#include <cmath>

using namespace QtCharts;

namespace
{

const QColor SpeedColour(0x1f, 0x77, 0xb4);
const QColor AltitudeColour(0x2c, 0xa0, 0x2c);
constexpr int PixelsPerTimeLabel = 90;

// Seconds the displayed clock is ahead of UTC at a given instant.
qint64 displayOffset(qint64 time, bool local)
{
    if (!local)
        return 0;
    const CalendarTime c = TimeText::split(time, true);
    const qint64 shown = CivilDate::daysFrom(c.year, c.month, c.day) * 86400 + c.hour * 3600 +
                         c.minute * 60 + c.second;
    return shown - quint32(time);
}

QString two(int v)
{
    return QString::number(v).rightJustified(2, QLatin1Char('0'));
}

void setRangeWithMargin(QValueAxis* axis, double lo, double hi, bool fromZero)
{
    if (fromZero)
        lo = std::min(lo, 0.0);
    if (!(hi > lo)) {
        lo -= 1.0;
        hi += 1.0;
    }
    const double pad = (hi - lo) * 0.05;
    axis->setRange(fromZero && lo >= 0.0 ? lo : lo - pad, hi + pad);
    axis->applyNiceNumbers();
}

} // namespace

ProfileChart::ProfileChart(QWidget* parent) : QChartView(parent)
{
    auto* c = new QChart;
    c->legend()->hide();
    c->setMargins(QMargins(2, 2, 2, 2));
    c->setBackgroundRoundness(0);

    m_speed = new QLineSeries(c);
    m_speed->setName(tr("Speed"));
    m_speed->setPen(QPen(SpeedColour, 1));
    m_altitude = new QLineSeries(c);
    m_altitude->setName(tr("Altitude"));
    m_altitude->setPen(QPen(AltitudeColour, 1));
    c->addSeries(m_altitude);
    c->addSeries(m_speed);

    m_timeAxis = new QCategoryAxis(c);
    m_timeAxis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    m_speedAxis = new QValueAxis(c);
    m_speedAxis->setLinePenColor(SpeedColour);
    m_speedAxis->setLabelsColor(SpeedColour);
    m_altitudeAxis = new QValueAxis(c);
    m_altitudeAxis->setLinePenColor(AltitudeColour);
    m_altitudeAxis->setLabelsColor(AltitudeColour);
    m_altitudeAxis->setGridLineVisible(false);
    // A dock of a fifth of a small window leaves the plot some 70 px: normal-sized texts
    // would be elided to "...".
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    for (QAbstractAxis* axis : {static_cast<QAbstractAxis*>(m_timeAxis),
                                static_cast<QAbstractAxis*>(m_speedAxis),
                                static_cast<QAbstractAxis*>(m_altitudeAxis)}) {
        axis->setLabelsFont(small);
        axis->setTitleFont(small);
    }
    c->addAxis(m_timeAxis, Qt::AlignBottom);
    c->addAxis(m_speedAxis, Qt::AlignLeft);
    c->addAxis(m_altitudeAxis, Qt::AlignRight);
    for (QLineSeries* s : {m_speed, m_altitude})
        s->attachAxis(m_timeAxis);
    m_speed->attachAxis(m_speedAxis);
    m_altitude->attachAxis(m_altitudeAxis);

    m_cursor = new QGraphicsLineItem(c);
    m_cursor->setPen(QPen(Qt::red, 1));
    m_cursor->setZValue(100);
    m_cursor->hide();

    // QChartView made a chart of its own and only lets go of it on setChart().
    QChart* const initial = chart();
    setChart(c);
    delete initial;
    setRenderHint(QPainter::Antialiasing, false);
    setMinimumHeight(120);
    connect(c, &QChart::plotAreaChanged, this, &ProfileChart::plotAreaChanged);
    clear();
}

ProfileChart::~ProfileChart() = default;

void ProfileChart::setSpeedDerived(bool derived)
{
    m_speed->setName(derived ? tr("Speed (derived)") : tr("Speed"));
}

int ProfileChart::seriesOf(int fmt, bool speedsWithoutAltitude)
{
    if (fmt == 2)
        return SpeedAndAltitude;
    return speedsWithoutAltitude ? Speed : TimeOnly;
}

void ProfileChart::setPoints(const QVector<Vec3>& points, int series,
                             const DisplaySettings& settings)
{
    setPoints(points, series, settings.speedUnit(), settings.heightUnit(), settings.timeSwitch());
}

void ProfileChart::setPoints(const QVector<Vec3>& points, int series, int speedUnit,
                             int heightUnit, int timeSwitch)
{
    const int n = points.size();
    const bool speeds = series & Speed;
    const bool altitudes = series & Altitude;
    m_local = timeSwitch == DisplaySettings::LocalTime;
    // Axis changes below re-place the cursor: it must not point past the new, shorter list.
    m_cursorIndex = -1;
    m_times.resize(n);
    m_speedPoints.clear();
    m_altitudePoints.clear();
    if (speeds)
        m_speedPoints.resize(n);
    if (altitudes)
        m_altitudePoints.resize(n);
    m_timesSorted = true;
    double minSpeed = 0.0, maxSpeed = 0.0, minAlt = 0.0, maxAlt = 0.0;
    for (int i = 0; i < n; ++i) {
        const Vec3& p = points[i];
        const double t = double(quint32(p.time));
        m_times[i] = t;
        if (i > 0 && t < m_times[i - 1])
            m_timesSorted = false;
        if (speeds) {
            const double v = speedUnit == DisplaySettings::Mph ? Units::speedMph(p.speed)
                                                               : Units::speedKmh(p.speed);
            m_speedPoints[i] = QPointF(t, v);
            minSpeed = i == 0 ? v : std::min(minSpeed, v);
            maxSpeed = i == 0 ? v : std::max(maxSpeed, v);
        }
        if (altitudes) {
            const double a =
                heightUnit == DisplaySettings::Feet ? Units::altitudeFeet(p.alt) : p.alt;
            m_altitudePoints[i] = QPointF(t, a);
            minAlt = i == 0 ? a : std::min(minAlt, a);
            maxAlt = i == 0 ? a : std::max(maxAlt, a);
        }
    }
    if (n > 0) {
        const auto range = std::minmax_element(m_times.cbegin(), m_times.cend());
        m_minTime = *range.first;
        m_maxTime = *range.second;
    } else {
        m_minTime = m_maxTime = 0.0;
    }

    const QString speedUnitText = Units::speedName(speedUnit);
    const QString heightUnitText = Units::heightName(heightUnit);
    m_speedAxis->setTitleText(tr("Speed (%1)").arg(speedUnitText));
    m_altitudeAxis->setTitleText(tr("Altitude (%1)").arg(heightUnitText));
    m_speedAxis->setVisible(speeds && n > 0);
    m_altitudeAxis->setVisible(altitudes && n > 0);
    m_valueTicks = valueTicks();
    for (QValueAxis* axis : {m_speedAxis, m_altitudeAxis})
        axis->setTickCount(m_valueTicks);
    setRangeWithMargin(m_speedAxis, minSpeed, maxSpeed, true);
    setRangeWithMargin(m_altitudeAxis, minAlt, maxAlt, false);
    m_cursorIndex = -1;
    m_builtColumns = -1;
    rebuildTimeAxis();
    rebuildSeries();
    placeCursor();
}

void ProfileChart::clear()
{
    setPoints(QVector<Vec3>(), SpeedAndAltitude, 0, 0, m_local ? 1 : 0);
}

int ProfileChart::plotColumns() const
{
    const int w = int(chart()->plotArea().width());
    return w > 0 ? w : std::max(viewport()->width(), 100);
}

int ProfileChart::valueTicks() const
{
    // Three labels where five would overlap.
    return chart()->plotArea().height() < 100 ? 3 : 5;
}

void ProfileChart::plotAreaChanged()
{
    if (valueTicks() != m_valueTicks) {
        m_valueTicks = valueTicks();
        for (QValueAxis* axis : {m_speedAxis, m_altitudeAxis}) {
            axis->setTickCount(m_valueTicks);
            axis->applyNiceNumbers();
        }
    }
    if (plotColumns() != m_builtColumns) {
        rebuildTimeAxis();
        rebuildSeries();
    }
    placeCursor();
}

void ProfileChart::rebuildSeries()
{
    m_builtColumns = plotColumns();
    m_speed->replace(reduce(m_speedPoints, m_minTime, m_maxTime, m_builtColumns));
    m_altitude->replace(reduce(m_altitudePoints, m_minTime, m_maxTime, m_builtColumns));
}

void ProfileChart::rebuildTimeAxis()
{
    const QStringList old = m_timeAxis->categoriesLabels();
    for (const QString& label : old)
        m_timeAxis->remove(label);

    double lo = m_minTime;
    double hi = m_maxTime;
    if (!(hi > lo)) {
        lo -= 30.0;
        hi += 30.0;
    }
    m_timeAxis->setStartValue(lo);
    m_timeAxis->setRange(lo, hi);
    if (m_times.isEmpty())
        return;

    static const qint64 steps[] = {1,     2,     5,     10,    15,     30,     60,
                                   120,   300,   600,   900,   1800,   3600,   7200,
                                   10800, 21600, 43200, 86400, 172800, 604800, 2592000};
    const double span = hi - lo;
    const int wanted = std::max(2, plotColumns() / PixelsPerTimeLabel);
    qint64 step = steps[sizeof(steps) / sizeof(steps[0]) - 1];
    for (qint64 s : steps) {
        if (span / double(s) <= wanted) {
            step = s;
            break;
        }
    }
    // Ticks fall on round clock times of the zone shown.
    const qint64 offset = displayOffset(qint64(lo), m_local);
    const qint64 first = qint64(std::ceil((lo + double(offset)) / double(step)));
    const qint64 last = qint64(std::floor((hi + double(offset)) / double(step)));
    const bool withDate = span >= 86400.0;
    QSet<QString> used;
    for (qint64 k = first; k <= last; ++k) {
        const qint64 t = k * step - offset;
        const CalendarTime c = TimeText::split(t, m_local);
        QString label = two(c.hour) + QLatin1Char(':') + two(c.minute);
        if (step < 60)
            label += QLatin1Char(':') + two(c.second);
        if (step >= 86400)
            label = TimeText::date(c);
        else if (withDate)
            label = two(c.month) + QLatin1Char('-') + two(c.day) + QLatin1Char(' ') + label;
        if (used.contains(label))
            continue;
        used.insert(label);
        m_timeAxis->append(label, double(t));
    }
}

QVector<QPointF> ProfileChart::reduce(const QVector<QPointF>& points, double xMin, double xMax,
                                      int buckets)
{
    const int n = points.size();
    if (buckets < 1 || n <= 2 * buckets + 2)
        return points;
    QVector<QPointF> out;
    out.reserve(2 * buckets + 4);
    const QPointF* p = points.constData();
    const double scale = xMax > xMin ? buckets / (xMax - xMin) : 0.0;
    auto bucketOf = [&](double x) {
        const double b = (x - xMin) * scale;
        return b <= 0.0 ? 0 : b >= buckets ? buckets - 1 : int(b);
    };

    out.append(p[0]);
    int current = bucketOf(p[0].x());
    int lo = 0;
    int hi = 0;
    auto flush = [&]() {
        const int a = std::min(lo, hi);
        const int b = std::max(lo, hi);
        if (a != 0)
            out.append(p[a]);
        if (b != a && b != n - 1)
            out.append(p[b]);
    };
    for (int i = 1; i < n; ++i) {
        const int b = bucketOf(p[i].x());
        if (b != current) {
            flush();
            current = b;
            lo = hi = i;
            continue;
        }
        if (p[i].y() < p[lo].y())
            lo = i;
        else if (p[i].y() > p[hi].y())
            hi = i;
    }
    flush();
    out.append(p[n - 1]);
    return out;
}

QVector<QPointF> ProfileChart::speedSeries() const
{
    return m_speed->pointsVector();
}

QVector<QPointF> ProfileChart::altitudeSeries() const
{
    return m_altitude->pointsVector();
}

int ProfileChart::indexForTime(double seconds) const
{
    const int n = m_times.size();
    if (n == 0)
        return -1;
    if (!m_timesSorted) {
        int best = 0;
        for (int i = 1; i < n; ++i) {
            if (std::abs(m_times[i] - seconds) < std::abs(m_times[best] - seconds))
                best = i;
        }
        return best;
    }
    const int after =
        int(std::lower_bound(m_times.cbegin(), m_times.cend(), seconds) - m_times.cbegin());
    if (after == 0)
        return 0;
    if (after == n)
        return n - 1;
    // Of equal times the first one is taken, as the list shows them in that order.
    const int before = int(std::lower_bound(m_times.cbegin(), m_times.cend(), m_times[after - 1]) -
                           m_times.cbegin());
    return seconds - m_times[after - 1] <= m_times[after] - seconds ? before : after;
}

int ProfileChart::indexAtX(int x) const
{
    if (m_times.isEmpty())
        return -1;
    const QRectF area = chart()->plotArea();
    const QPointF inChart = chart()->mapFromScene(mapToScene(QPoint(x, 0)));
    if (inChart.x() < area.left() - 0.5 || inChart.x() > area.right() + 0.5)
        return -1;
    return indexForTime(chart()->mapToValue(inChart, m_speed).x());
}

int ProfileChart::xForIndex(int index) const
{
    if (index < 0 || index >= m_times.size())
        return -1;
    const QPointF inChart = chart()->mapToPosition(QPointF(m_times[index], 0.0), m_speed);
    return mapFromScene(chart()->mapToScene(inChart)).x();
}

void ProfileChart::setCursorIndex(int index)
{
    m_cursorIndex = index >= 0 && index < m_times.size() ? index : -1;
    placeCursor();
}

void ProfileChart::placeCursor()
{
    if (m_cursorIndex < 0 || m_cursorIndex >= m_times.size()) {
        m_cursor->hide();
        return;
    }
    const QRectF area = chart()->plotArea();
    const double x = chart()->mapToPosition(QPointF(m_times[m_cursorIndex], 0.0), m_speed).x();
    m_cursor->setLine(x, area.top(), x, area.bottom());
    m_cursor->show();
}

void ProfileChart::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        const int index = indexAtX(event->pos().x());
        if (index >= 0) {
            setCursorIndex(index);
            emit pointClicked(index);
            event->accept();
            return;
        }
    }
    QChartView::mousePressEvent(event);
}
