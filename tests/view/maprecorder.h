#pragma once

#include "testsupport.h"
#include "view/googlemapoperator.h"

#include <QMetaMethod>
#include <QStringList>
#include <QVariant>

// Records every signal of a map bridge, in order, as "name arguments" (as QSignalSpy receives).
class MapRecorder : public QObject
{
public:
    explicit MapRecorder(QObject* op) : source(op->metaObject())
    {
        for (int i = source->methodOffset(); i < source->methodCount(); ++i)
            if (source->method(i).methodType() == QMetaMethod::Signal)
                QMetaObject::connect(op, i, this, QObject::staticMetaObject.methodCount() + i);
    }
    int qt_metacall(QMetaObject::Call call, int id, void** args) override
    {
        id = QObject::qt_metacall(call, id, args);
        if (id < 0 || call != QMetaObject::InvokeMetaMethod)
            return id;
        const QMetaMethod m = source->method(id);
        QStringList parts{QString::fromLatin1(m.name())};
        for (int k = 0; k < m.parameterCount(); ++k)
            parts << QVariant(m.parameterType(k), args[k + 1]).toString();
        calls << parts.join(' ');
        return -1;
    }

    QStringList calls;

private:
    const QMetaObject* source;
};

using TestSupport::TestSettings;
