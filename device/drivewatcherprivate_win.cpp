#include "device/drivewatcherprivate.h"

#include "device/devicechangedecoder.h"
#include "device/devicelog.h"
#include "device/drivewatcher.h"

#include <QDir>
#include <QFileInfo>

// dbt.h uses the Windows types without including their header.
#include <qt_windows.h>

#include <dbt.h>

// Device-change source: a hidden top-level window receives the WM_DEVICECHANGE
// broadcasts of the system on the main thread's message loop.

Q_CORE_EXPORT HINSTANCE qWinAppInst();

namespace
{

LRESULT CALLBACK drive_watcher_proc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp);

QString className()
{
    return QStringLiteral("DriveWatcherPrivateWin32_Internal_Widget") +
           QString::number(quintptr(&drive_watcher_proc));
}

LRESULT CALLBACK drive_watcher_proc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp)
{
    if (message == WM_DEVICECHANGE) {
        const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(lp);
        DeviceChangeMessage change;
        change.eventCode = quint32(wp);
        change.hasData = header != nullptr;
        if (header) {
            change.deviceType = quint32(header->dbch_devicetype);
            if (header->dbch_devicetype == DBT_DEVTYP_VOLUME) {
                const auto* volume = reinterpret_cast<const DEV_BROADCAST_VOLUME*>(header);
                change.unitMask = quint32(volume->dbcv_unitmask);
                change.flags = quint16(volume->dbcv_flags);
            }
        }
        qCDebug(lcDevice, "drive_watcher_proc: Device type address: %#llx",
                static_cast<unsigned long long>(quintptr(lp)));
        const DeviceChangeDecoder::Result result = DeviceChangeDecoder::decode(change);
        // The first line is the address, written above with its real value.
        for (int i = 1; i < result.debugLines.size(); ++i)
            qCDebug(lcDevice).noquote() << result.debugLines.at(i);
        if (!result.warning.isEmpty())
            qCWarning(lcDevice).noquote() << result.warning;
        if (!result.drives.isEmpty()) {
            auto* d =
                reinterpret_cast<DriveWatcherPrivate*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
            if (d)
                d->reportChanges(result.drives, result.actionText, result.action);
        }
    }
    return DefWindowProcW(hwnd, message, wp, lp);
}

} // namespace

DriveWatcherPrivate::DriveWatcherPrivate(DriveWatcher* q) : QObject(nullptr), q(q) {}

DriveWatcherPrivate::~DriveWatcherPrivate()
{
    stop();
    UnregisterClassW(reinterpret_cast<const wchar_t*>(className().utf16()), qWinAppInst());
    eventReceivers.clear();
}

bool DriveWatcherPrivate::start()
{
    if (windowHandle)
        return true;
    const QString name = className();
    const auto* wname = reinterpret_cast<const wchar_t*>(name.utf16());
    HINSTANCE instance = qWinAppInst();

    WNDCLASSW wc;
    wc.style = 0;
    wc.lpfnWndProc = drive_watcher_proc;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = instance;
    wc.hIcon = nullptr;
    wc.hCursor = nullptr;
    wc.hbrBackground = nullptr;
    wc.lpszMenuName = nullptr;
    wc.lpszClassName = wname;
    RegisterClassW(&wc);

    HWND hwnd =
        CreateWindowExW(0, wname, wname, 0, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
    if (!hwnd) {
        qCWarning(lcDevice, "DriveWatcherPrivate: Failed to create internal window: %d",
                  int(GetLastError()));
        UnregisterClassW(wname, instance);
        return false;
    }
    // A pointer does not fit the 32-bit GWL_USERDATA slot on 64-bit Windows.
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    windowHandle = hwnd;
    if (hasListedVolumes)
        reportSince(listedVolumes, currentVolumes());
    return true;
}

bool DriveWatcherPrivate::stop()
{
    if (windowHandle)
        DestroyWindow(static_cast<HWND>(windowHandle));
    windowHandle = nullptr;
    return true;
}

void DriveWatcherPrivate::parseDeviceInfo() {}

QStringList DriveWatcherPrivate::mountedVolumes()
{
    QStringList volumes;
    const QFileInfoList drives = QDir::drives();
    for (const QFileInfo& drive : drives)
        volumes << drive.absolutePath();
    return volumes;
}
