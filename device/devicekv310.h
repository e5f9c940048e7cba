#pragma once

#include "device/deviceconfig.h"
#include "device/trackfileheader.h"

#include <QElapsedTimer>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QThread>
#include <QVector>

#include <atomic>


// One accepted log line as the worker reads it.
struct DevicePoint {
    qint32 latitude = 0;  // scaled NMEA integer, negative south
    qint32 longitude = 0; // scaled NMEA integer, negative west
    qint32 timeOfDay = 0;
    qint32 date = 0;
    qint32 speed = 0;
    qint32 altitude = 0; // metres times 10000
    qint32 constantOne = 0;
    qint32 fmt = 0;
    bool marked = false;
};

struct DeviceTrackData {
    DevicePoint firstPoint;
    QVector<DevicePoint> followingPoints;
};

enum DeviceCommand {
    CMD_READ_TRACK_FILE = 181,
    CMD_READ_CONFIG = 183,
    CMD_WRITE_CONFIG = 184,
    CMD_DELETE_ALL = 186,
    CMD_CONNECT_RESULT = 254,
    CMD_READ_TIMEOUT = 255,
};

quint32 deviceTimeToSeconds(quint32 date, quint32 timeOfDay);

// The one object through which the tool talks to a logger drive.
class DeviceKV310 : public QThread
{
    Q_OBJECT

public:
    explicit DeviceKV310(QObject* parent = nullptr);
    ~DeviceKV310() override;

    void listTrackFiles(const QString& drivePath);
    void startTrackFileRead(quint16 fileIndex);
    DeviceTrackData trackFileData() const;
    void deleteAllTrackFiles(const QString& drivePath);
    void readConfiguration(const QString& drivePath);
    void writeConfiguration(const DeviceConfig& config, const QString& drivePath);

    DeviceConfig configuration;

signals:
    void FireRecvTrackFileHeader(QVector<TrackFileHeader> trackFileHeaderList);
    void FireRecvStatus(int cmd, int status);

protected:
    void run() override;

private:
    QList<QString> m_fileList;
    quint16 m_readIndex = 0;
    DevicePoint m_firstPoint;
    QVector<DevicePoint> m_followingPoints;
};
