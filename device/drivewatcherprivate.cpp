#include "device/drivewatcherprivate.h"

#include "device/devicelog.h"
#include "device/drivewatcher.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <algorithm>

// Shared by every platform source.

std::function<QStringList()> DriveWatcherPrivate::volumeSource;

QStringList DriveWatcherPrivate::currentVolumes()
{
    if (!volumeSource)
        return mountedVolumes();
    QStringList volumes = volumeSource();
    std::sort(volumes.begin(), volumes.end());
    volumes.erase(std::unique(volumes.begin(), volumes.end()), volumes.end());
    return volumes;
}

void DriveWatcherPrivate::reportSince(const QStringList& before, const QStringList& now)
{
    QStringList removed, added;
    for (const QString& volume : before) {
        if (!now.contains(volume) && !removed.contains(volume))
            removed << volume;
    }
    for (const QString& volume : now) {
        if (!before.contains(volume) && !added.contains(volume))
            added << volume;
    }
    if (!removed.isEmpty())
        reportChanges(removed, QStringLiteral("remove"), DriveChangeEvent::Remove);
    if (!added.isEmpty())
        reportChanges(added, QStringLiteral("add"), DriveChangeEvent::Add);
}

void DriveWatcherPrivate::dispatchChange(const QString& devicePath, const QString& action)
{
    const QString lower = action.toLower();
    const char* signal = nullptr;
    if (lower == QLatin1String("add"))
        signal = "deviceAdded";
    else if (lower == QLatin1String("remove"))
        signal = "deviceRemoved";
    else if (lower == QLatin1String("change"))
        signal = "deviceChanged";
    if (!signal)
        return;
    if (!QMetaObject::invokeMethod(q, signal, Qt::AutoConnection, Q_ARG(QString, devicePath)))
        qCWarning(lcDevice, "invoke %s failed", signal);
}

void DriveWatcherPrivate::reportChanges(const QStringList& drives, const QString& actionText,
                                        DriveChangeEvent::Action action)
{
    for (const QString& drive : drives)
        dispatchChange(drive, actionText);
    // A receiver added while the signals ran must not disturb this delivery.
    const QList<QObject*> receivers = eventReceivers;
    for (QObject* receiver : receivers) {
        for (const QString& drive : drives)
            QCoreApplication::postEvent(receiver, new DriveChangeEvent(action, drive),
                                        Qt::HighEventPriority);
    }
}
