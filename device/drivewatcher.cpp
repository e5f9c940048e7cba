#include "device/drivewatcher.h"

#include <QStringList>

// Placeholder until the drive watcher is built.
DriveWatcher::DriveWatcher(QObject* parent) : QObject(parent) {}
DriveWatcher::~DriveWatcher() = default;
bool DriveWatcher::start()
{
    m_running = true;
    return true;
}
void DriveWatcher::appendEventReceiver(QObject*) {}
QStringList DriveWatcher::mountedVolumes()
{
    return {};
}
