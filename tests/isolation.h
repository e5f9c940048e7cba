#pragma once

#include "device/drivewatcher.h"

#include <QNetworkProxy>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

// Keeps a test that builds the view or the main window from depending on the machine.
namespace Isolation
{

// No request leaves the machine: remote addresses go through a proxy on a closed local
// port (loopback addresses never use the application proxy, so local test servers work).
inline void noNetwork()
{
    QNetworkProxy::setApplicationProxy(
        QNetworkProxy(QNetworkProxy::HttpProxy, QStringLiteral("127.0.0.1"), 1));
}

// A main window built after this sees only the drives listed in *drives, keeps its
// per-user settings in settingsDir, its other files in Qt's test locations, and reaches
// no server.
inline void mainWindow(const QString& settingsDir, const QStringList* drives)
{
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir);
    DriveWatcher::setVolumeSource([drives] { return *drives; });
    noNetwork();
}

} // namespace Isolation
