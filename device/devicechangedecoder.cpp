#include "device/devicechangedecoder.h"

namespace
{

const char procName[] = "drive_watcher_proc";

QString line(const char* text)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(procName), QLatin1String(text));
}

QString line(const QString& text)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(procName), text);
}

const char* headerTypeName(quint32 type)
{
    switch (type) {
    case DeviceChangeDecoder::TypeVolume:
        return "DBT_DEVTYP_VOLUME";
    case DeviceChangeDecoder::TypePort:
        return "DBT_DEVTYP_PORT";
    case DeviceChangeDecoder::TypeDeviceInterface:
        return "DBT_DEVTYP_DEVICEINTERFACE";
    case DeviceChangeDecoder::TypeOem:
        return "DBT_DEVTYP_OEM";
    default:
        return "Unknow device type";
    }
}

const char* otherVolumeTypeName(quint32 type)
{
    switch (type) {
    case DeviceChangeDecoder::TypePort:
        return "DBT_DEVTYP_PORT";
    case DeviceChangeDecoder::TypeDeviceInterface:
        return "DBT_DEVTYP_DEVICEINTERFACE";
    case DeviceChangeDecoder::TypeOem:
        return "DBT_DEVTYP_OEM";
    case DeviceChangeDecoder::TypeHandle:
        return "DBT_DEVTYP_HANDLE";
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

    switch (message.eventCode) {
    case DevNodesChanged:
        result.debugLines << line("DBT_DEVNODES_CHANGED message received, no extended info.");
        return result;
    case QueryChangeConfig:
        result.debugLines << line("DBT_QUERYCHANGECONFIG message received, no extended info.");
        return result;
    case ConfigChanged:
        result.debugLines << line("DBT_CONFIGCHANGED message received, no extended info.");
        return result;
    case ConfigChangeCanceled:
        result.debugLines << line("DBT_CONFIGCHANGECANCELED message received, no extended info.");
        return result;
    case DeviceTypeSpecific:
        result.debugLines << line(
            "DBT_DEVICETYPESPECIFIC message received, may contain an extended info.");
        return result;
    case CustomEvent:
        result.debugLines << line("DBT_CUSTOMEVENT message received, contains an extended info.");
        return result;
    case UserDefined:
        result.debugLines << line("WM_DEVICECHANGE user defined message received, can not handle.");
        return result;
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
        if (const char* name = otherVolumeTypeName(message.deviceType))
            result.debugLines << line(name);
        return result;
    }

    const bool removed = message.eventCode == DeviceRemoveComplete;
    result.actionText = removed ? QStringLiteral("remove") : QStringLiteral("add");
    result.action = removed ? DriveChangeEvent::Remove : DriveChangeEvent::Add;
    result.drives = drivesFromUnitMask(message.unitMask);
    for (const QString& drive : qAsConst(result.drives)) {
        const QChar letter = drive.at(0);
        if (message.flags & FlagMedia)
            result.debugLines << line(
                QStringLiteral("Drive %1: Media has been removed.").arg(letter));
        else if (message.flags & FlagNet)
            result.debugLines << line(
                QStringLiteral("Drive %1: Network share has been removed.").arg(letter));
        else
            result.debugLines << line(
                QStringLiteral("Drive %1: Device has been removed.").arg(letter));
    }
    return result;
}
