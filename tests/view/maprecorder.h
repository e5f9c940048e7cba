#pragma once

#include "formats/displaysettings.h"
#include "view/googlemapoperator.h"

#include <QStringList>

// Records every emission of a map bridge, in order, as "name arguments".
class MapRecorder
{
public:
    explicit MapRecorder(GoogleMapOperator* op)
    {
        auto add = [this](const QString& entry) { calls << entry; };
        auto pos = [](double a, double b) { return QStringLiteral("%1 %2").arg(a).arg(b); };
        QObject::connect(op, &GoogleMapOperator::addPolyline, &context, [=] { add("addPolyline"); });
        QObject::connect(op, &GoogleMapOperator::addLatLng, &context, [=](double a, double b, int n) {
            add(QStringLiteral("addLatLng %1 %2").arg(pos(a, b)).arg(n));
        });
        QObject::connect(op, &GoogleMapOperator::setCenter,
                         &context, [=](double a, double b) { add("setCenter " + pos(a, b)); });
        QObject::connect(op, &GoogleMapOperator::showPolyline,
                         &context, [=](int n) { add(QStringLiteral("showPolyline %1").arg(n)); });
        QObject::connect(op, &GoogleMapOperator::clearPolyline,
                         &context, [=](int n) { add(QStringLiteral("clearPolyline %1").arg(n)); });
        QObject::connect(op, &GoogleMapOperator::deletePolylines, &context, [=] { add("deletePolylines"); });
        QObject::connect(op, &GoogleMapOperator::addStartPoint, &context, [=](double a, double b, QString t) {
            add("addStartPoint " + pos(a, b) + " " + t);
        });
        QObject::connect(op, &GoogleMapOperator::addEndPoint, &context, [=](double a, double b, QString t) {
            add("addEndPoint " + pos(a, b) + " " + t);
        });
        QObject::connect(op, &GoogleMapOperator::addMarker, &context, [=](double a, double b, QString t) {
            add("addMarker " + pos(a, b) + " " + t);
        });
        QObject::connect(op, &GoogleMapOperator::deleteMarked, &context, [=] { add("deleteMarked"); });
        QObject::connect(op, &GoogleMapOperator::showMarked, &context, [=] { add("showMarked"); });
        QObject::connect(op, &GoogleMapOperator::viewPoint, &context, [=](double a, double b, QString t) {
            add("viewPoint " + pos(a, b) + " " + t);
        });
        QObject::connect(op, &GoogleMapOperator::deleteAllObject, &context, [=] { add("deleteAllObject"); });
    }

    // The recorded calls whose name starts with one of the prefixes.
    QStringList only(const QStringList& prefixes) const
    {
        QStringList result;
        for (const QString& c : calls) {
            for (const QString& p : prefixes) {
                if (c.startsWith(p + ' ') || c == p) {
                    result << c;
                    break;
                }
            }
        }
        return result;
    }

    QStringList calls;

private:
    QObject context;
};

class TestSettings : public DisplaySettings
{
public:
    int speedUnit() const override { return speed; }
    int heightUnit() const override { return height; }
    int timeSwitch() const override { return time; }
    int speed = 0;
    int height = 0;
    int time = 0;
};
