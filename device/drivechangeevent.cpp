#include "device/drivechangeevent.h"

DriveChangeEvent::DriveChangeEvent(Action action, const QString& devicePath)
    : QEvent(eventType()), m_action(action), m_devicePath(devicePath)
{
}

QEvent::Type DriveChangeEvent::eventType()
{
    static const QEvent::Type type = QEvent::Type(QEvent::registerEventType());
    return type;
}
