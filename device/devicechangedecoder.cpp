#include "device/devicechangedecoder.h"

namespace
{

const char procName[] = "drive_watcher_proc";

QString line(const QString& text)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(procName), text);
}

QString line(const char* text)
{
    return line(QString::fromLatin1(text));
}

// The DBT_DEVTYP_ name of a device type; nullptr for one the watcher does not know.
const char* deviceTypeName(quint32 type)
{
    switch (type) {
    case DeviceChangeDecoder::TypeOem:
        return "DBT_DEVTYP_OEM";
    case DeviceChangeDecoder::TypeVolume:
        return "DBT_DEVTYP_VOLUME";
    case DeviceChangeDecoder::TypePort:
        return "DBT_DEVTYP_PORT";
    case DeviceChangeDecoder::TypeDeviceInterface:
        return "DBT_DEVTYP_DEVICEINTERFACE";
    case DeviceChangeDecoder::TypeHandle:
        return "DBT_DEVTYP_HANDLE";
    default:
        return nullptr;
    }
}

// The header line has always called a handle notification unknown.
const char* headerTypeName(quint32 type)
{
    const char* name = type == DeviceChangeDecoder::TypeHandle ? nullptr : deviceTypeName(type);
    return name ? name : "Unknow device type";
}

// The line of an event that carries no drive; nullptr for the volume events and for
// codes the watcher does not know.
const char* eventWithoutDriveText(quint32 eventCode)
{
    switch (eventCode) {
    case DeviceChangeDecoder::DevNodesChanged:
        return "DBT_DEVNODES_CHANGED message received, no extended info.";
    case DeviceChangeDecoder::QueryChangeConfig:
        return "DBT_QUERYCHANGECONFIG message received, no extended info.";
    case DeviceChangeDecoder::ConfigChanged:
        return "DBT_CONFIGCHANGED message received, no extended info.";
    case DeviceChangeDecoder::ConfigChangeCanceled:
        return "DBT_CONFIGCHANGECANCELED message received, no extended info.";
    case DeviceChangeDecoder::DeviceTypeSpecific:
        return "DBT_DEVICETYPESPECIFIC message received, may contain an extended info.";
    case DeviceChangeDecoder::CustomEvent:
        return "DBT_CUSTOMEVENT message received, contains an extended info.";
    case DeviceChangeDecoder::UserDefined:
        return "WM_DEVICECHANGE user defined message received, can not handle.";
    default:
        return nullptr;
    }
}

} // namespace

QStringList DeviceChangeDecoder::drivesFromUnitMask(quint32 unitMask)
{
    QStringList drives;
    for (int bit = 0; bit < 26; ++bit) {
        if (unitMask & (1u << bit))
            drives << QString(QChar('A' + bit)) + QStringLiteral(":/");
    }
    return drives;
}

DeviceChangeDecoder::Result DeviceChangeDecoder::decode(const DeviceChangeMessage& message)
{
    Result result;
    result.debugLines << line(
        QStringLiteral("Device type address: %1")
            .arg(message.hasData ? QStringLiteral("(data)") : QStringLiteral("0")));
    if (message.hasData)
        result.debugLines << line(headerTypeName(message.deviceType));

    if (const char* text = eventWithoutDriveText(message.eventCode)) {
        result.debugLines << line(text);
        return result;
    }
    switch (message.eventCode) {
    case DeviceArrival:
    case DeviceQueryRemove:
    case DeviceQueryRemoveFailed:
    case DeviceRemovePending:
    case DeviceRemoveComplete:
        break;
    default:
        result.warning =
            line(QStringLiteral("WM_DEVICECHANGE message received, unhandled value %1.")
                     .arg(message.eventCode));
        return result;
    }

    // A volume event without its data block names no drive.
    if (!message.hasData)
        return result;
    if (message.deviceType != TypeVolume) {
        if (const char* name = deviceTypeName(message.deviceType))
            result.debugLines << line(name);
        return result;
    }

    const bool removed = message.eventCode == DeviceRemoveComplete;
    result.actionText = removed ? QStringLiteral("remove") : QStringLiteral("add");
    result.action = removed ? DriveChangeEvent::Remove : DriveChangeEvent::Add;
    result.drives = drivesFromUnitMask(message.unitMask);
    for (const QString& drive : qAsConst(result.drives)) {
        const QChar letter = drive.at(0);
        const QString what = (message.flags & FlagMedia) ? QStringLiteral("Media")
                             : (message.flags & FlagNet) ? QStringLiteral("Network share")
                                                         : QStringLiteral("Device");
        result.debugLines << line(
            QStringLiteral("Drive %1: %2 has been removed.").arg(QString(letter), what));
    }
    return result;
}
