#include "device/devicekv310.h"

// Placeholder until the device worker is built.
quint32 deviceTimeToSeconds(quint32, quint32)
{
    return 0;
}

DeviceKV310::DeviceKV310(QObject* parent) : QThread(parent) {}
DeviceKV310::~DeviceKV310()
{
    wait();
}
void DeviceKV310::listTrackFiles(const QString&) {}
void DeviceKV310::startTrackFileRead(quint16) {}
DeviceTrackData DeviceKV310::trackFileData() const
{
    return {};
}
void DeviceKV310::deleteAllTrackFiles(const QString&) {}
void DeviceKV310::readConfiguration(const QString&) {}
void DeviceKV310::writeConfiguration(const DeviceConfig&, const QString&) {}
void DeviceKV310::run() {}
