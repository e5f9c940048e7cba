#pragma once

#include "device/drivechangeevent.h"

#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

class DriveWatcher;
class QSocketNotifier;
class QTimer;

// The platform half of DriveWatcher: owns the notification source and turns its
// notices into the watcher's signals and posted DriveChangeEvents. One source file
// per platform implements start, stop and the volume enumeration.
class DriveWatcherPrivate : public QObject
{
    Q_OBJECT

public:
    explicit DriveWatcherPrivate(DriveWatcher* q);
    ~DriveWatcherPrivate() override;

    bool start();
    bool stop();
    // "add", "remove" or "change" (any case) raise the matching signal; anything else nothing.
    void dispatchChange(const QString& devicePath, const QString& action);
    // Raises the signal for every drive, then posts one event per receiver and drive.
    void reportChanges(const QStringList& drives, const QString& actionText,
                       DriveChangeEvent::Action action);

    // Root paths of the volumes mounted now, each ending in "/", sorted.
    static QStringList mountedVolumes();

    QList<QObject*> eventReceivers;
    DriveWatcher* q = nullptr;
    void* windowHandle = nullptr; // the hidden window of the Windows source

public slots:
    void parseDeviceInfo();

private:
#ifndef Q_OS_WIN
    int m_mountTableFd = -1;
    QSocketNotifier* m_notifier = nullptr;
    QTimer* m_pollTimer = nullptr;
    QSet<QString> m_volumes;
#endif
};
