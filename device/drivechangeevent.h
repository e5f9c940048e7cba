#pragma once

#include <QEvent>
#include <QString>

// Posted to the watcher's registered receivers for every drive that arrives or leaves.
class DriveChangeEvent : public QEvent
{
public:
    enum Action { Add = 0, Remove = 1, Change = 2 };

    DriveChangeEvent(Action action, const QString& devicePath);

    Action action() const { return m_action; }
    QString devicePath() const { return m_devicePath; }

    // One number for every DriveChangeEvent, registered on first use.
    static QEvent::Type eventType();

private:
    Action m_action;
    QString m_devicePath;
};
