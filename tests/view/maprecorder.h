#pragma once

#include "formats/displaysettings.h"
#include "view/googlemapoperator.h"

#include <QStringList>
#include <QVariant>

// Records every emission of a map bridge, in order, as "name arguments".
class MapRecorder
{
public:
    explicit MapRecorder(GoogleMapOperator* op)
    {
        using O = GoogleMapOperator;
        record(op, &O::addPolyline, "addPolyline");
        record(op, &O::addLatLng, "addLatLng");
        record(op, &O::setCenter, "setCenter");
        record(op, &O::showPolyline, "showPolyline");
        record(op, &O::clearPolyline, "clearPolyline");
        record(op, &O::deletePolylines, "deletePolylines");
        record(op, &O::addStartPoint, "addStartPoint");
        record(op, &O::addEndPoint, "addEndPoint");
        record(op, &O::addMarker, "addMarker");
        record(op, &O::deleteMarked, "deleteMarked");
        record(op, &O::showMarked, "showMarked");
        record(op, &O::viewPoint, "viewPoint");
        record(op, &O::deleteAllObject, "deleteAllObject");
    }

    // The recorded calls of the named signals.
    QStringList only(const QStringList& names) const
    {
        QStringList result;
        for (const QString& c : calls)
            if (names.contains(c.section(' ', 0, 0)))
                result << c;
        return result;
    }

    QStringList calls;

private:
    template <typename... Args>
    void record(GoogleMapOperator* op, void (GoogleMapOperator::*signal)(Args...), const char* name)
    {
        QObject::connect(op, signal, &context, [this, name](Args... args) {
            QStringList parts{QString::fromLatin1(name)};
            static_cast<void>((parts << ... << QVariant(args).toString()));
            calls << parts.join(' ');
        });
    }

    QObject context;
};

struct TestSettings : DisplaySettings {
    TestSettings(int s = 0, int h = 0, int t = 0) : speed(s), height(h), time(t) {}
    int speedUnit() const override { return speed; }
    int heightUnit() const override { return height; }
    int timeSwitch() const override { return time; }
    int speed, height, time;
};
