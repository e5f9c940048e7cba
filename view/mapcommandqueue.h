#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>
#include <limits>

class GoogleMapOperator;

// Turns the bridge's emissions into script for the map page and hands it over in batches:
// one batch per turn of the event loop, however many emissions it saw. A web engine that
// sends each call to the page as a message of its own would otherwise spend longer on the
// messages than the page on the work. Consecutive points of one line travel as one block of
// integers in units of PointScale (a centimetre, finer than any logger's position), half the
// size of doubles. The order of the calls is kept; nothing is handed over before a sink is set.
class MapCommandQueue : public QObject
{
    Q_OBJECT

public:
    using Sink = std::function<void(const QString& script)>;

    // A batch larger than this is handed over at once, before the turn ends.
    static constexpr int BatchLimit = 16 * 1024 * 1024;
    // Points travel in 1e-7 degrees; NoPosition stands for one that cannot be drawn.
    static constexpr double PointScale = 1e7;
    static constexpr qint32 NoPosition = std::numeric_limits<qint32>::min();
    static qint32 scaled(double degrees);

    MapCommandQueue(GoogleMapOperator* bridge, QObject* parent);

    void setSink(Sink sink);
    // Hands what is pending to the sink now.
    void flush();
    bool isEmpty() const { return m_script.isEmpty() && m_points.isEmpty(); }

    // A number or a text as a script literal.
    static QString number(double value);
    static QString text(const QString& value);

private:
    void call(const QString& function, const QString& arguments = QString());
    void addPoint(double lat, double lng, int line);
    void endPoints();
    void schedule();

    Sink m_sink;
    QString m_script;
    QByteArray m_points; // latitude and longitude pairs of m_pointLine, scaled
    int m_pointLine = -1;
    bool m_scheduled = false;
};
