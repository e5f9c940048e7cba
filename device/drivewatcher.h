#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

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
    // The volumes the owner has already looked at. start() then reports every volume that
    // came or went since, so that a drive mounted before the start is not missed.
    void setListedVolumes(const QStringList& volumes);
    void appendEventReceiver(QObject* receiver);
    // Root paths of the volumes mounted now, each ending in "/".
    static QStringList mountedVolumes();
    // Where mountedVolumes() and every watcher look for the mounted volumes instead of the
    // system (an empty function: the system again). Tests give their own drives this way.
    static void setVolumeSource(const std::function<QStringList()>& source);
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
