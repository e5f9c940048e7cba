#pragma once

#include "device/trackfileheader.h"
#include "view/track.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVector>

class DeviceKV310;
class QProgressDialog;
class QTimer;
class QWidget;

// One download from a logger, from the listing of its track files to the last read: the
// user ticks the files, the worker reads them one after another, and each file read to its
// end adds a track to the run's own collection. The collection the window shows is never
// touched: the window takes the run's tracks when it has ended.
class DownloadRun : public QObject
{
    Q_OBJECT

public:
    enum State { Listing, Selecting, Reading, Ended };
    // Range of the progress bar.
    static constexpr int ProgressSteps = 10000;

    // The window passes the worker's reports on (filesListed, readReported); the progress
    // dialog is the window's and is shown while the files are read.
    DownloadRun(DeviceKV310* device, const QString& drive, QProgressDialog* progress,
                QWidget* window);
    ~DownloadRun() override;

    void start();
    void filesListed(const QVector<TrackFileHeader>& headers);
    // (181, 1) for a file read to its end; (254, 0) or (255, 0) for a read that failed.
    void readReported(int cmd, int status);
    // The logger has gone: the run ends with the files read so far.
    void driveRemoved(const QString& drive);
    // Ends the run without a word (the window closes); finished() is not emitted.
    void cancel();
    // The user stopped the run: the file being read is dropped, those read to their end are
    // kept, and the run ends as after its last file.
    void stop();
    bool stoppedByUser() const { return m_stopped; }

    State state() const { return m_state; }
    QString drive() const { return m_drive; }
    // False when the user closed the selection or ticked nothing.
    bool filesChosen() const { return !m_files.isEmpty(); }
    // One track per file read to its end that holds points, in the order of the selection.
    const QVector<Track>& tracks() const { return m_tracks; }
    // Why the run ended before its last file; empty when every file was read.
    QString failure() const { return m_failure; }
    // The report of the failed read: 254 (no connection, unreadable file) or 255 (time-out).
    int failedCommand() const { return m_failedCommand; }

signals:
    // The run has ended (queued: it reaches the window from the event loop).
    void finished();

private:
    void readNext();
    // The bar follows the bytes read, so that one large file moves it too.
    void showProgress();
    void fail(int cmd, const QString& reason);
    void end();

    DeviceKV310* m_device;
    QString m_drive;
    QPointer<QProgressDialog> m_progress;
    QWidget* m_window;
    State m_state = Listing;
    QVector<int> m_files;    // file indexes of the chosen files
    QVector<Track> m_chosen; // a start time per chosen file
    int m_done = 0;          // files read so far
    QVector<Track> m_tracks;
    QString m_failure;
    int m_failedCommand = 0;
    bool m_stopped = false;
    QVector<qint64> m_sizes; // of the chosen files, as listed
    qint64 m_totalBytes = 0;
    qint64 m_doneBytes = 0; // of the files read so far
    QTimer* m_progressTimer = nullptr;
};
