#pragma once

#include "device/drivewatcher.h"

#include <QNetworkProxy>
#include <QSettings>
#include <QStandardPaths>

// Keeps a test that builds the view or the main window from depending on the machine.
namespace Isolation
{

// Remote requests go to a closed local port (loopback addresses never use the proxy).
inline void noNetwork()
{
    QNetworkProxy::setApplicationProxy(QNetworkProxy(QNetworkProxy::HttpProxy, "127.0.0.1", 1));
}

// A main window built after this sees only the drives in *drives, keeps its settings in
// settingsDir and its other files in Qt's test locations, and reaches no server.
inline void mainWindow(const QString& settingsDir, const QStringList* drives)
{
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir);
    DriveWatcher::setVolumeSource([drives] { return *drives; });
    noNetwork();
}

} // namespace Isolation
