#pragma once

#include "device/devicekv310.h"

#include <QObject>

// The worker's reports as the main window takes them: through a queued connection, in the
// test's own thread. A QSignalSpy on the worker itself would record a read's report on the
// worker thread while the test polls it (a data race in the test).
class QueuedStatus : public QObject
{
    Q_OBJECT

public:
    explicit QueuedStatus(DeviceKV310* device)
    {
        connect(device, &DeviceKV310::FireRecvStatus, this, &QueuedStatus::status,
                Qt::QueuedConnection);
    }

signals:
    void status(int cmd, int status);
};
