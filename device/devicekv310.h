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
#include <functional>

class QIODevice;
class QTimer;

// One accepted log line as the worker reads it.
struct DevicePoint {
    qint32 latitude = 0;  // scaled NMEA integer, negative south
    qint32 longitude = 0; // scaled NMEA integer, negative west
    qint32 timeOfDay = 0; // hhmmss, UTC
    qint32 date = 0;      // ddmmyy, UTC; 0: no point
    qint32 speed = 0;     // hundredths of km/h
    qint32 altitude = 0;  // metres times 10000
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

// ddmmyy and hhmmss taken as UTC, in seconds since 1970 as QDateTime::toTime_t gives
// them (0xFFFFFFFF for a combination that is no valid date-time).
quint32 deviceTimeToSeconds(quint32 date, quint32 timeOfDay);

// The one object through which the tool talks to a logger drive. Only the reading of
// a track file runs on its thread; everything else runs on the caller's.
class DeviceKV310 : public QThread
{
    Q_OBJECT

public:
    explicit DeviceKV310(QObject* parent = nullptr);
    ~DeviceKV310() override;

    void listTrackFiles(const QString& drivePath);
    // Reports (181, 1) when done, (254, 0) when the file cannot be opened or read and
    // (255, 0) when the read has not finished within the time limit.
    void startTrackFileRead(quint16 fileIndex);
    DeviceTrackData trackFileData() const;
    // Copies every track file into a new folder under backupRoot() first; a file
    // whose copy failed stays. Runs on the worker thread, announcing its steps with
    // FireDeleteProgress, and reports (186, 1), or (186, 0) when any file remains
    // (remainingTrackFiles() is -1 when a blocked read kept the worker from starting).
    void deleteAllTrackFiles(const QString& drivePath);
    void deleteAllTrackFiles(const QString& drivePath, const QString& backupFolder);
    void readConfiguration(const QString& drivePath);
    // Reports (184, 1), or (184, 0) when the file could not be replaced.
    void writeConfiguration(const DeviceConfig& config, const QString& drivePath);

    // Ends the current read without any report (the drive has gone).
    void cancelRead();
    void setReadTimeLimit(int milliseconds);
    // Bytes of the file being read that the worker has gone through, for a progress bar.
    qint64 bytesRead() const { return m_bytesRead.load(std::memory_order_relaxed); }
    QList<QString> fileList() const { return m_fileList; }
    // Track files left on the drive by the last deleteAllTrackFiles.
    int remainingTrackFiles() const { return m_remainingTrackFiles; }
    QString lastBackupFolder() const { return m_lastBackupFolder; }

    // Why the last read was reported as failed ((254, 0) or (255, 0)): the logger gone,
    // the file unreadable and why, or no answer in time. Empty after a complete read.
    QString readErrorString() const { return m_readError; }

    // Stops the device's work and deletes it. A thread still blocked after waitMs (a read
    // stuck on a dead drive) is not waited for: the device is then left to delete itself
    // when the thread returns, or to the end of the process. False in that case.
    static bool release(DeviceKV310* device, int waitMs);

    // <AppDataLocation>/backups
    static QString backupRoot();
    // A folder under backupRoot() named after the current time that does not exist yet.
    static QString newBackupFolder();

    // The header of one track file: the time of the first point a download of it gives,
    // and with `duration` the seconds from there to its last point (the whole file is read;
    // -1 without points). False when the file gives no point.
    static bool readTrackFileHeader(const QString& path, quint32* timeOfDay, quint32* date,
                                    qint64* duration = nullptr);
    static bool readTrackFileHeader(QIODevice& file, quint32* timeOfDay, quint32* date,
                                    qint64* duration = nullptr);

    enum ReadResult { ReadComplete, ReadFailed, ReadStopped };
    // The points of one open track file with the given jump-filter limit, as run() reads
    // them. proceed() is asked every 64 lines; when it says no, the read stops there.
    static ReadResult readTrackData(QIODevice& file, qint8 limit, DevicePoint* firstPoint,
                                    QVector<DevicePoint>* followingPoints,
                                    const std::function<bool()>& proceed);

    DeviceConfig configuration;

signals:
    void FireRecvTrackFileHeader(QVector<TrackFileHeader> trackFileHeaderList);
    void FireRecvStatus(int cmd, int status);
    // Steps of a deletion done so far: each file's copy and each file's removal.
    void FireDeleteProgress(int done, int total);

protected:
    void run() override;
    // The track file for a read on the worker thread; null, with the reason, when it
    // cannot be opened.
    virtual QIODevice* openTrackFile(const QString& path, QString* error);

private:
    enum ReadState { Idle, Reading, Finished, Cancelled };
    struct HeaderEntry {
        quint32 timeOfDay;
        quint32 date;
        int index;
        QString fileName;
        qint64 fileSize;
        qint64 duration;
    };

    enum Job { ReadJob, DeleteJob };

    // Moves the read from Reading to the given state; false when it had already left it.
    bool finishRead(ReadState state);
    void readTimedOut();
    // Reports (254, 0) for a read that could not be done, unless it was ended already.
    void readFailed(const QString& path, const QString& detail);
    void readFile();
    void deleteFiles();

    QList<QString> m_fileList;
    QVector<HeaderEntry> m_headerList;
    quint16 m_readIndex = 0;
    DevicePoint m_firstPoint;
    QVector<DevicePoint> m_followingPoints;

    std::atomic<int> m_readState{Idle};
    std::atomic<qint64> m_bytesRead{0};
    std::atomic<int> m_readTimeLimitMs{60000};
    QElapsedTimer m_readClock;
    QTimer* m_watchdog = nullptr;
    int m_remainingTrackFiles = 0;
    QString m_lastBackupFolder;
    QString m_readError;
    Job m_job = ReadJob;
    QString m_deleteDrive;
    QString m_backupFolder;
    std::atomic<bool> m_stopDeleting{false};
};
