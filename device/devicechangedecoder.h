#pragma once

#include "device/drivechangeevent.h"

#include <QString>
#include <QStringList>

// The parts of a WM_DEVICECHANGE message the watcher looks at, copied out of the
// DEV_BROADCAST_HDR / DEV_BROADCAST_VOLUME structures.
struct DeviceChangeMessage {
    quint32 eventCode = 0;
    bool hasData = false;   // lParam was not null
    quint32 deviceType = 0; // dbch_devicetype
    quint32 unitMask = 0;   // dbcv_unitmask, volumes only
    quint16 flags = 0;      // dbcv_flags, volumes only
};

// Turns a device-change message into drive paths and an action. Kept free of any
// Windows header so that it is built and tested on every platform.
class DeviceChangeDecoder
{
public:
    enum EventCode : quint32 {
        DevNodesChanged = 0x0007,
        QueryChangeConfig = 0x0017,
        ConfigChanged = 0x0018,
        ConfigChangeCanceled = 0x0019,
        DeviceArrival = 0x8000,
        DeviceQueryRemove = 0x8001,
        DeviceQueryRemoveFailed = 0x8002,
        DeviceRemovePending = 0x8003,
        DeviceRemoveComplete = 0x8004,
        DeviceTypeSpecific = 0x8005,
        CustomEvent = 0x8006,
        UserDefined = 0xFFFF,
    };
    enum DeviceType : quint32 {
        TypeOem = 0,
        TypeVolume = 2,
        TypePort = 3,
        TypeDeviceInterface = 5,
        TypeHandle = 6,
    };
    enum VolumeFlag : quint16 { FlagMedia = 1, FlagNet = 2 };

    struct Result {
        QStringList drives; // empty unless a volume arrived or left
        QString actionText; // "add" or "remove" when drives is not empty
        DriveChangeEvent::Action action = DriveChangeEvent::Add;
        QStringList debugLines;
        QString warning;
    };

    // Bits 0 to 25 of the unit mask as "A:/" to "Z:/", in ascending order.
    static QStringList drivesFromUnitMask(quint32 unitMask);
    static Result decode(const DeviceChangeMessage& message);
};
