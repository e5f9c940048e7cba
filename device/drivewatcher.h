#pragma once

#include <QObject>
#include <QString>

class DriveWatcherPrivate;

// Reports volumes arriving and leaving by their root path (ending in "/").
class DriveWatcher : public QObject
{
    Q_OBJECT

public:
    explicit DriveWatcher(QObject* parent = nullptr);
    ~DriveWatcher() override;

    bool start();
    bool isRunning() const { return m_running; }
    void appendEventReceiver(QObject* receiver);
    // Root paths of the volumes mounted now, each ending in "/".
    static QStringList mountedVolumes();
    // The platform half, for feeding it notices in tests.
    DriveWatcherPrivate* privateObject() const;

signals:
    void deviceAdded(QString dev);
    void deviceChanged(QString dev);
    void deviceRemoved(QString dev);

private:
    bool m_running = false;
    DriveWatcherPrivate* d = nullptr;
};
