#include "app/downloadrun.h"

#include "app/applog.h"
#include "device/devicekv310.h"
#include "device/devicepointconverter.h"
#include "device/trackfileheaderdialog.h"

#include <QDir>
#include <QFileInfo>
#include <QProgressDialog>
#include <QTimer>

DownloadRun::DownloadRun(DeviceKV310* device, const QString& drive, QProgressDialog* progress,
                         QWidget* window)
    : QObject(window), m_device(device), m_drive(drive), m_progress(progress), m_window(window)
{
    m_progressTimer = new QTimer(this);
    m_progressTimer->setInterval(100);
    connect(m_progressTimer, &QTimer::timeout, this, &DownloadRun::showProgress);
}

DownloadRun::~DownloadRun()
{
    if (m_state != Ended)
        cancel();
}

void DownloadRun::start()
{
    m_state = Listing;
    m_device->listTrackFiles(m_drive);
}

void DownloadRun::filesListed(const QVector<TrackFileHeader>& headers)
{
    if (m_state != Listing)
        return;
    m_state = Selecting;
    QVector<TrackFileHeader> list = headers;
    TrackFileHeaderDialog dialog(list, m_window);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    if (m_state != Selecting)
        return;
    if (accepted) {
        m_files = dialog.selectedFileIndexes();
        m_chosen = dialog.selectedTracks();
    }
    if (m_files.isEmpty()) {
        end();
        return;
    }
    m_state = Reading;
    m_done = 0;
    m_doneBytes = 0;
    m_totalBytes = 0;
    m_sizes.clear();
    for (int index : qAsConst(m_files)) {
        const qint64 size = qMax<qint64>(0, QFileInfo(m_device->fileList().value(index)).size());
        m_sizes << size;
        m_totalBytes += size;
    }
    if (m_progress) {
        m_progress->setCancelButtonText(tr("Cancel"));
        m_progress->setRange(0, ProgressSteps);
        connect(m_progress.data(), &QProgressDialog::canceled, this, &DownloadRun::stop,
                Qt::UniqueConnection);
    }
    readNext();
    if (m_progress && m_state == Reading) {
        showProgress();
        m_progress->show();
        m_progressTimer->start();
    }
}

void DownloadRun::showProgress()
{
    if (!m_progress || m_state != Reading)
        return;
    const int files = m_files.size();
    m_progress->setLabelText(
        tr("Downloading track file %1 of %2...").arg(qMin(m_done + 1, files)).arg(files));
    double part = files > 0 ? double(m_done) / files : 0.0;
    if (m_totalBytes > 0) {
        const qint64 current = qBound<qint64>(0, m_device->bytesRead(), m_sizes.value(m_done));
        part = double(m_doneBytes + current) / double(m_totalBytes);
    }
    // The maximum would close the dialog before the run has ended.
    m_progress->setValue(qMin(ProgressSteps - 1, int(part * ProgressSteps)));
}

void DownloadRun::stop()
{
    if (m_state != Reading)
        return;
    m_device->cancelRead();
    m_stopped = true;
    qCInfo(lcApp) << "download stopped after" << m_done << "of" << m_files.size() << "files";
    end();
}

void DownloadRun::readNext()
{
    m_device->startTrackFileRead(quint16(m_files.at(m_done)));
}

void DownloadRun::readReported(int cmd, int status)
{
    if (m_state != Reading)
        return;
    if (cmd != CMD_READ_TRACK_FILE || status != 1) {
        fail(cmd, m_device->readErrorString());
        return;
    }
    Track track = m_chosen.value(m_done);
    DevicePointConverter::fillTrack(track, m_device->trackFileData());
    // A file without points is no track; one without a dated line starts with its points.
    if (!track.points.isEmpty()) {
        if (track.startTime == 0)
            track.startTime = track.points.first().time;
        m_tracks.append(track);
    }
    m_doneBytes += m_sizes.value(m_done);
    ++m_done;
    if (m_done < m_files.size()) {
        readNext();
        showProgress();
    } else {
        end();
    }
}

void DownloadRun::driveRemoved(const QString& drive)
{
    if (m_state != Reading || drive != m_drive)
        return;
    m_device->cancelRead();
    fail(CMD_CONNECT_RESULT, tr("the logger was removed"));
}

void DownloadRun::fail(int cmd, const QString& reason)
{
    m_failedCommand = cmd;
    const QString file = m_device->fileList().value(m_files.value(m_done));
    qCWarning(lcApp) << "download of" << file << "failed:" << reason;
    m_failure = tr("The track file %1 could not be downloaded: %2.")
                    .arg(QDir::toNativeSeparators(file), reason);
    const int notRead = m_files.size() - m_done - 1;
    if (notRead > 0)
        m_failure += QLatin1Char('\n') +
                     tr("%n further track file(s) were not downloaded.", nullptr, notRead);
    end();
}

void DownloadRun::end()
{
    m_state = Ended;
    m_progressTimer->stop();
    if (m_progress)
        m_progress->reset();
    // From the event loop: the end may come from inside a notice of the drive watcher or a
    // step of the progress dialog, and the window answers it with a message box.
    QMetaObject::invokeMethod(this, &DownloadRun::finished, Qt::QueuedConnection);
}

void DownloadRun::cancel()
{
    const bool reading = m_state == Reading;
    m_state = Ended;
    m_progressTimer->stop();
    if (reading) {
        m_device->cancelRead();
        if (m_progress)
            m_progress->reset();
    }
}
