#include "view/mapcommandqueue.h"

#include "view/googlemapoperator.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTimer>

#include <cmath>
#include <limits>

MapCommandQueue::MapCommandQueue(GoogleMapOperator* bridge, QObject* parent) : QObject(parent)
{
    using Op = GoogleMapOperator;
    const auto n = [](double v) { return number(v); };
    const auto t = [](const QString& v) { return text(v); };
    connect(bridge, &Op::addPolyline, this, [this] { call("addPolyline"); });
    connect(bridge, &Op::addLatLng, this, &MapCommandQueue::addPoint);
    connect(bridge, &Op::setCenter, this,
            [=](double lat, double lng) { call("setCenter", n(lat) + ',' + n(lng)); });
    connect(bridge, &Op::showPolyline, this,
            [this](int i) { call("showPolyline", QString::number(i)); });
    connect(bridge, &Op::clearPolyline, this,
            [this](int i) { call("clearPolyline", QString::number(i)); });
    connect(bridge, &Op::deletePolylines, this, [this] { call("deletePolylines"); });
    connect(bridge, &Op::addStartPoint, this, [=](double lat, double lng, const QString& s) {
        call("addStartPoint", n(lat) + ',' + n(lng) + ',' + t(s));
    });
    connect(bridge, &Op::addEndPoint, this, [=](double lat, double lng, const QString& s) {
        call("addEndPoint", n(lat) + ',' + n(lng) + ',' + t(s));
    });
    connect(bridge, &Op::addMarker, this, [=](double lat, double lng, const QString& s) {
        call("addMarker", n(lat) + ',' + n(lng) + ',' + t(s));
    });
    connect(bridge, &Op::deleteMarked, this, [this] { call("deleteMarked"); });
    connect(bridge, &Op::showMarked, this, [this] { call("showMarked"); });
    connect(bridge, &Op::viewPoint, this, [=](double lat, double lng, const QString& s) {
        call("viewPoint", n(lat) + ',' + n(lng) + ',' + t(s));
    });
    connect(bridge, &Op::deleteAllObject, this, [this] { call("deleteAllObject"); });
    connect(bridge, &Op::fitBounds, this, [=](double s, double w, double no, double e) {
        call("fitBounds", n(s) + ',' + n(w) + ',' + n(no) + ',' + n(e));
    });
    connect(bridge, &Op::showSpeedColours, this,
            [=](int line, const QString& levels, const QString& title, const QString& slow,
                const QString& fast) {
                call("showSpeedColours", QString::number(line) + ',' + t(levels) + ',' +
                                             t(title) + ',' + t(slow) + ',' + t(fast));
            });
    connect(bridge, &Op::clearSpeedColours, this, [this] { call("clearSpeedColours"); });
    connect(bridge, &Op::addPhoto, this,
            [=](int i, double lat, double lng, const QString& s, const QString& thumbnail) {
                call("addPhoto", QString::number(i) + ',' + n(lat) + ',' + n(lng) + ',' + t(s) +
                                     ',' + t(thumbnail));
            });
    connect(bridge, &Op::clearPhotos, this, [this] { call("clearPhotos"); });
    connect(bridge, &Op::showPhoto, this, [this](int i) { call("showPhoto", QString::number(i)); });
}

void MapCommandQueue::setSink(Sink sink)
{
    m_sink = std::move(sink);
    if (!isEmpty())
        schedule();
}

QString MapCommandQueue::number(double value)
{
    // Script has no literal for these; the page leaves such positions out.
    if (!std::isfinite(value))
        return QStringLiteral("NaN");
    return QString::number(value, 'g', 17);
}

QString MapCommandQueue::text(const QString& value)
{
    // A JSON string is a script string literal; the brackets of the array go.
    const QByteArray json = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    // Line and paragraph separators end a string literal in older script engines.
    return QString::fromUtf8(json.mid(1, json.size() - 2))
        .replace(QChar(0x2028), QLatin1String("\\u2028"))
        .replace(QChar(0x2029), QLatin1String("\\u2029"));
}

void MapCommandQueue::call(const QString& function, const QString& arguments)
{
    endPoints();
    m_script += function;
    m_script += '(';
    m_script += arguments;
    m_script += QLatin1String(");\n");
    schedule();
}

void MapCommandQueue::addPoint(double lat, double lng, int line)
{
    if (line != m_pointLine)
        endPoints();
    m_pointLine = line;
    const qint32 pair[2] = {scaled(lat), scaled(lng)};
    m_points.append(reinterpret_cast<const char*>(pair), sizeof pair);
    if (m_points.size() >= BatchLimit / 2)
        endPoints();
    schedule();
}

qint32 MapCommandQueue::scaled(double degrees)
{
    const double value = std::round(degrees * PointScale);
    // Not finite, or beyond any coordinate: a position the page leaves out.
    if (!(std::abs(value) < double(std::numeric_limits<qint32>::max())))
        return NoPosition;
    return qint32(value);
}

void MapCommandQueue::endPoints()
{
    if (m_points.isEmpty())
        return;
    // The page reads the block as integers of its own byte order: it runs on this machine.
    m_script += QLatin1String("addLatLngs(") + QString::number(m_pointLine) + QLatin1String(",\"") +
                QLatin1String(m_points.toBase64()) + QLatin1String("\");\n");
    m_points.clear();
    m_pointLine = -1;
}

void MapCommandQueue::schedule()
{
    if (!m_sink)
        return;
    if (m_script.size() >= BatchLimit) {
        flush();
        return;
    }
    if (m_scheduled)
        return;
    m_scheduled = true;
    QTimer::singleShot(0, this, [this] {
        m_scheduled = false;
        flush();
    });
}

void MapCommandQueue::flush()
{
    if (!m_sink)
        return;
    endPoints();
    if (m_script.isEmpty())
        return;
    QString script;
    script.swap(m_script);
    m_sink(QLatin1String("kvRun(function () {\n") + script + QLatin1String("});"));
}
