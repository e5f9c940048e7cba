#include "device/devicekv310.h"

#include "device/devicelog.h"
#include "formats/gpsfilter.h"
#include "formats/logdatetime.h"
#include "formats/loglinefilter.h"
#include "formats/loglinereader.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTime>
#include <QTimer>

#include <algorithm>
#include <limits>
#include <memory>

namespace
{

const int waitForStuckReadMs = 2000;

// A pipe put in the place of a track file would block the open, and the read, for good.
bool isPlainFile(const QString& path)
{
    return QFileInfo(path).isFile();
}

} // namespace

quint32 deviceTimeToSeconds(quint32 date, quint32 timeOfDay)
{
    const int year = 2000 + int(date % 100);
    const int month = int((date / 100) % 100);
    const qint64 day = date / 10000;
    const qint64 hour = timeOfDay / 10000;
    const int minute = int((timeOfDay / 100) % 100);
    const int second = int(timeOfDay % 100);
    if (day > 31 || !QDate::isValid(year, month, int(day)))
        return std::numeric_limits<quint32>::max();
    const qint64 days =
        QDate(year, month, int(day)).toJulianDay() - QDate(1970, 1, 1).toJulianDay();
    // QDateTime puts a valid date with an invalid time at midnight.
    if (hour > 23 || !QTime::isValid(int(hour), minute, second))
        return quint32(days * 86400);
    return quint32(days * 86400 + hour * 3600 + minute * 60 + second);
}

DeviceKV310::DeviceKV310(QObject* parent) : QThread(parent), m_watchdog(new QTimer(this))
{
    m_watchdog->setSingleShot(true);
    m_watchdog->setTimerType(Qt::CoarseTimer);
    connect(m_watchdog, &QTimer::timeout, this, &DeviceKV310::readTimedOut);
}

DeviceKV310::~DeviceKV310()
{
    cancelRead();
    m_stopDeleting = true;
    wait();
}

bool DeviceKV310::release(DeviceKV310* device, int waitMs)
{
    if (!device)
        return true;
    device->cancelRead();
    device->m_stopDeleting = true;
    device->disconnect();
    if (device->wait(QDeadlineTimer(waitMs))) {
        delete device;
        return true;
    }
    qCWarning(lcDevice) << "worker thread still blocked, not waited for";
    connect(device, &QThread::finished, device, &QObject::deleteLater);
    // It may have returned just before the connection was made.
    if (device->wait(QDeadlineTimer(0))) {
        delete device;
        return true;
    }
    return false;
}

void DeviceKV310::setReadTimeLimit(int milliseconds)
{
    m_readTimeLimitMs.store(qMax(1, milliseconds));
}

bool DeviceKV310::readTrackFileHeader(const QString& path, quint32* timeOfDay, quint32* date,
                                      qint64* duration)
{
    QFile file(path);
    if (!isPlainFile(path) || !file.open(QIODevice::ReadOnly))
        return false;
    return readTrackFileHeader(file, timeOfDay, date, duration);
}

bool DeviceKV310::readTrackFileHeader(QIODevice& file, quint32* timeOfDay, quint32* date,
                                      qint64* duration)
{
    // The lines the download keeps, so that the list gives a file the start its track gets.
    const auto firstKept = [](QIODevice& device, bool toEnd, LogDateTime* first,
                              LogDateTime* last) {
        LogLineFilter filter(LogLinePolicy::worker, GpsFilter::limit());
        LogLineReader reader(device);
        bool found = false;
        while (reader.nextLine()) {
            if (!reader.split() || filter.take(reader) != LogLineFilter::Kept)
                continue;
            *last = filter.fix().time;
            if (!found)
                *first = *last;
            found = true;
            if (!toEnd)
                break;
        }
        return found;
    };
    LogDateTime t;
    LogDateTime last;
    if (!firstKept(file, false, &t, &last)) {
        if (duration)
            *duration = -1;
        return false;
    }
    *date = quint32(t.day * 10000 + t.month * 100 + t.year - 2000);
    *timeOfDay = quint32(t.hour * 10000 + t.minute * 100 + t.second);
    if (duration) {
        // The end from the file's last 64 KiB only (a small file is read again whole): a
        // listing must not read whole files. Unknown (-1) when they hold no point.
        const qint64 from = std::max<qint64>(0, file.size() - 64 * 1024);
        LogDateTime end = last;
        bool found = false;
        if (!file.isSequential() && file.seek(from)) {
            char c = 0;
            while (from > 0 && c != '\n' && file.getChar(&c)) {
            } // the rest of a line cut by the seek
            LogDateTime unused;
            found = firstKept(file, true, &unused, &end);
        }
        *duration = found ? std::max<qint64>(0, end.secs - t.secs) : -1;
    }
    return true;
}

void DeviceKV310::listTrackFiles(const QString& drivePath)
{
    m_headerList.clear();
    m_fileList.clear();
    QStringList names;
    if (!drivePath.isEmpty()) {
        names = QDir(drivePath).entryList({QStringLiteral("*.gpl")}, QDir::Files,
                                          QDir::Name | QDir::IgnoreCase);
    }
    int counter = 0;
    for (const QString& name : qAsConst(names)) {
        const QString path = drivePath + name;
        qCDebug(lcDevice) << "Load:" << path;
        quint32 timeOfDay = 0;
        quint32 date = 0;
        qint64 duration = -1;
        readTrackFileHeader(path, &timeOfDay, &date, &duration);
        m_fileList.append(path);
        m_headerList.append({timeOfDay, date, counter, name, QFileInfo(path).size(), duration});
        ++counter;
    }
    QVector<TrackFileHeader> headers;
    headers.reserve(m_headerList.size());
    for (const HeaderEntry& entry : qAsConst(m_headerList)) {
        TrackFileHeader header;
        header.timeOfDay = entry.timeOfDay;
        header.date = entry.date;
        header.fileIndexes = {entry.index};
        header.fileName = entry.fileName;
        header.fileSize = entry.fileSize;
        header.duration = entry.duration;
        headers.append(header);
    }
    emit FireRecvTrackFileHeader(headers);
}

void DeviceKV310::startTrackFileRead(quint16 fileIndex)
{
    // The previous run has normally emitted its report as its last action; one that was
    // cancelled while blocked on a dead drive must not freeze the caller.
    if (isRunning() && !wait(waitForStuckReadMs)) {
        qCWarning(lcDevice) << "previous read still blocked";
        m_readError = tr("the logger does not respond");
        emit FireRecvStatus(CMD_CONNECT_RESULT, 0);
        return;
    }
    m_followingPoints.clear();
    m_firstPoint = DevicePoint();
    m_readIndex = fileIndex;
    m_readError.clear();
    m_job = ReadJob;
    if (fileIndex >= m_fileList.size()) {
        m_readState.store(Idle);
        m_readError = tr("the file is not on the logger's list");
        emit FireRecvStatus(CMD_CONNECT_RESULT, 0);
        return;
    }
    m_bytesRead.store(0);
    m_readState.store(Reading);
    m_readClock.start();
    m_watchdog->start(m_readTimeLimitMs.load());
    start(QThread::InheritPriority);
}

DeviceTrackData DeviceKV310::trackFileData() const
{
    DeviceTrackData data;
    if (m_readState.load() != Finished)
        return data;
    data.firstPoint = m_firstPoint;
    data.followingPoints = m_followingPoints;
    return data;
}

bool DeviceKV310::finishRead(ReadState state)
{
    int expected = Reading;
    return m_readState.compare_exchange_strong(expected, int(state));
}

void DeviceKV310::cancelRead()
{
    m_watchdog->stop();
    finishRead(Cancelled);
}

static QString timeoutText(int limitMs)
{
    const int seconds = qMax(1, (limitMs + 999) / 1000);
    return DeviceKV310::tr("the logger did not answer within %n second(s)", nullptr, seconds);
}

void DeviceKV310::readTimedOut()
{
    if (finishRead(Cancelled)) {
        qCWarning(lcDevice) << "read timed out:" << m_fileList.value(m_readIndex);
        m_readError = timeoutText(m_readTimeLimitMs.load());
        emit FireRecvStatus(CMD_READ_TIMEOUT, 0);
    }
}

void DeviceKV310::readFailed(const QString& path, const QString& detail)
{
    qCWarning(lcDevice) << "cannot read" << path << detail;
    // A logger that was pulled out takes its kv730.ini along.
    const bool gone = !QFileInfo::exists(QFileInfo(path).absolutePath() + "/kv730.ini");
    const QString reason = gone ? tr("the logger is no longer connected")
                                : tr("the file could not be read (%1)").arg(detail);
    if (finishRead(Finished)) {
        m_readError = reason;
        emit FireRecvStatus(CMD_CONNECT_RESULT, 0);
    }
}

QIODevice* DeviceKV310::openTrackFile(const QString& path, QString* error)
{
    if (!isPlainFile(path)) {
        *error = QFileInfo::exists(path) ? tr("not a regular file") : tr("no such file");
        return nullptr;
    }
    auto* file = new QFile(path);
    if (!file->open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        *error = file->errorString();
        delete file;
        return nullptr;
    }
    return file;
}

void DeviceKV310::run()
{
    if (m_job == DeleteJob)
        deleteFiles();
    else
        readFile();
}

void DeviceKV310::readFile()
{
    const QString path = m_fileList.value(m_readIndex);
    QString error;
    const std::unique_ptr<QIODevice> file(openTrackFile(path, &error));
    if (!file) {
        readFailed(path, error);
        return;
    }

    m_followingPoints.reserve(int(qMin<qint64>(file->size() / 64, 1 << 22)));
    const qint64 timeLimit = m_readTimeLimitMs.load();
    bool timedOut = false;
    const ReadResult result =
        readTrackData(*file, GpsFilter::limit(), &m_firstPoint, &m_followingPoints, [&]() {
            m_bytesRead.store(file->pos(), std::memory_order_relaxed);
            if (m_readState.load(std::memory_order_relaxed) != Reading)
                return false;
            timedOut = m_readClock.hasExpired(timeLimit);
            return !timedOut;
        });
    if (result == ReadStopped) {
        if (timedOut && finishRead(Cancelled)) {
            m_readError = timeoutText(int(timeLimit));
            emit FireRecvStatus(CMD_READ_TIMEOUT, 0);
        }
        return;
    }
    if (result == ReadFailed) {
        readFailed(path, file->errorString());
        return;
    }
    file->close();
    if (finishRead(Finished))
        emit FireRecvStatus(CMD_READ_TRACK_FILE, 1);
}

DeviceKV310::ReadResult DeviceKV310::readTrackData(QIODevice& file, qint8 limit,
                                                   DevicePoint* firstPoint,
                                                   QVector<DevicePoint>* followingPoints,
                                                   const std::function<bool()>& proceed)
{
    *firstPoint = DevicePoint();
    LogLineFilter filter(LogLinePolicy::worker, limit);
    LogLineReader reader(file);
    quint32 lineCount = 0;
    while (reader.nextLine()) {
        if ((++lineCount & 63) == 0 && !proceed())
            return ReadStopped;
        if (!reader.split() || filter.take(reader) != LogLineFilter::Kept)
            continue;
        const LogFix& fix = filter.fix();
        DevicePoint point;
        point.latitude = fix.south ? -fix.latitude : fix.latitude;
        point.longitude = fix.west ? -fix.longitude : fix.longitude;
        point.altitude = LogLineFilter::truncate(fix.altitude * 10000.0);
        point.speed = fix.speed;
        point.timeOfDay = fix.time.hour * 10000 + fix.time.minute * 100 + fix.time.second;
        point.date = fix.time.day * 10000 + fix.time.month * 100 + fix.time.year - 2000;
        point.constantOne = 1;
        point.fmt = 2;
        point.marked = fix.marked;
        if (firstPoint->date == 0)
            *firstPoint = point;
        else
            followingPoints->append(point);
    }
    return reader.failed() ? ReadFailed : ReadComplete;
}

void DeviceKV310::deleteAllTrackFiles(const QString& drivePath)
{
    deleteAllTrackFiles(drivePath, newBackupFolder());
}

void DeviceKV310::deleteAllTrackFiles(const QString& drivePath, const QString& backupFolder)
{
    if (isRunning() && !wait(waitForStuckReadMs)) {
        qCWarning(lcDevice) << "worker still blocked, nothing deleted";
        m_remainingTrackFiles = -1;
        m_lastBackupFolder.clear();
        emit FireRecvStatus(CMD_DELETE_ALL, 0);
        return;
    }
    m_job = DeleteJob;
    m_deleteDrive = drivePath;
    m_backupFolder = backupFolder;
    m_stopDeleting = false;
    start(QThread::InheritPriority);
}

void DeviceKV310::deleteFiles()
{
    const QString drivePath = m_deleteDrive;
    const QString backupFolder = m_backupFolder;
    QStringList names;
    QDir drive(drivePath);
    if (!drivePath.isEmpty()) {
        names =
            drive.entryList({QStringLiteral("*.gpl")}, QDir::Files, QDir::Name | QDir::IgnoreCase) +
            drive.entryList({QStringLiteral("*.gel")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    }
    const QDir backup(backupFolder);
    const bool backupReady = !names.isEmpty() && QDir().mkpath(backupFolder);
    if (!names.isEmpty() && !backupReady)
        qCWarning(lcDevice) << "cannot create backup folder" << backupFolder;

    // A copy and a removal per file; a window that closes stops the pass between files.
    const int steps = 2 * names.size();
    int done = 0;
    emit FireDeleteProgress(done, steps);
    QStringList saved;
    for (const QString& name : qAsConst(names)) {
        if (m_stopDeleting)
            break;
        const QString source = drive.filePath(name);
        const QString target = backup.filePath(name);
        if (backupReady && QFile::copy(source, target) &&
            QFileInfo(target).size() == QFileInfo(source).size())
            saved << name;
        else
            qCWarning(lcDevice) << "cannot back up" << source << "- it stays on the device";
        emit FireDeleteProgress(++done, steps);
    }
    int remaining = names.size() - saved.size();
    for (const QString& name : qAsConst(saved)) {
        if (m_stopDeleting || !drive.remove(name)) {
            qCWarning(lcDevice) << "cannot remove" << drive.filePath(name);
            ++remaining;
        }
        emit FireDeleteProgress(++done, steps);
    }
    m_remainingTrackFiles = remaining;
    m_lastBackupFolder = saved.isEmpty() ? QString() : backupFolder;
    emit FireRecvStatus(CMD_DELETE_ALL, remaining == 0 ? 1 : 0);
}

QString DeviceKV310::backupRoot()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/backups");
}

QString DeviceKV310::newBackupFolder()
{
    const QString base = backupRoot() + QLatin1Char('/') +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    QString folder = base;
    for (int n = 2; QFileInfo::exists(folder); ++n)
        folder = base + QLatin1Char('-') + QString::number(n);
    return folder;
}

void DeviceKV310::readConfiguration(const QString& drivePath)
{
    configuration = DeviceConfig::readFile(drivePath + QStringLiteral("kv730.ini"));
    emit FireRecvStatus(CMD_READ_CONFIG, 1);
}

void DeviceKV310::writeConfiguration(const DeviceConfig& config, const QString& drivePath)
{
    const bool ok = config.writeFile(drivePath + QStringLiteral("kv730.ini"));
    emit FireRecvStatus(CMD_WRITE_CONFIG, ok ? 1 : 0);
}
