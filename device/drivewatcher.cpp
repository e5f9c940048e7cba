#include "device/drivewatcher.h"

#include "device/drivewatcherprivate.h"

#include <QStringList>

DriveWatcher::DriveWatcher(QObject* parent) : QObject(parent), d(new DriveWatcherPrivate(this)) {}

DriveWatcher::~DriveWatcher()
{
    delete d;
}

bool DriveWatcher::start()
{
    if (d->start()) {
        m_running = true;
        return true;
    }
    d->stop();
    m_running = false;
    return false;
}

void DriveWatcher::appendEventReceiver(QObject* receiver)
{
    if (!receiver)
        return;
    d->eventReceivers.append(receiver);
    // Posting to a receiver that is gone would crash; the watcher outlives most of them.
    connect(receiver, &QObject::destroyed, d,
            [this, receiver] { d->eventReceivers.removeAll(receiver); });
}

void DriveWatcher::setListedVolumes(const QStringList& volumes)
{
    d->listedVolumes = volumes;
    d->hasListedVolumes = true;
}

QStringList DriveWatcher::mountedVolumes()
{
    return DriveWatcherPrivate::currentVolumes();
}

void DriveWatcher::setVolumeSource(const std::function<QStringList()>& source)
{
    DriveWatcherPrivate::volumeSource = source;
}

DriveWatcherPrivate* DriveWatcher::privateObject() const
{
    return d;
}
