#pragma once

#include "device/drivechangeevent.h"

#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

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

    // Reports the volumes of now that are not in before as added, and the reverse as removed.
    void reportSince(const QStringList& before, const QStringList& now);

    // Root paths of the volumes mounted now, each ending in "/", sorted: the system's.
    static QStringList mountedVolumes();
    // The same from the volume source when one is set.
    static QStringList currentVolumes();
    static std::function<QStringList()> volumeSource;

    QList<QObject*> eventReceivers;
    DriveWatcher* q = nullptr;
    void* windowHandle = nullptr; // the hidden window of the Windows source
    QStringList listedVolumes;    // what the owner had seen before start()
    bool hasListedVolumes = false;

public slots:
    void parseDeviceInfo();

private:
#ifndef Q_OS_WIN
    // The mounted volumes, from the volume source or else the mount table.
    QStringList snapshot() const;
    int m_mountTableFd = -1;
    QSocketNotifier* m_notifier = nullptr;
    QTimer* m_pollTimer = nullptr;
    QSet<QString> m_volumes;
#endif
};
