#pragma once

#include "device/trackfileheader.h"
#include "formats/displaysettings.h"
#include "formats/fileformatregistry.h"
#include "view/track.h"

#include <QMainWindow>
#include <QSet>
#include <QVector>

#include <functional>

class QAction;
class QActionGroup;
class QCloseEvent;
class QComboBox;
class QDragEnterEvent;
class QDropEvent;
class QDockWidget;
class QLabel;
class QProgressDialog;
class QSlider;
class QTranslator;
class DeviceKV310;
class DownloadRun;
class DriveWatcher;
class MapWidget;

namespace Ui {
class MainWindow;
}

class MainWindow : public QMainWindow, public DisplaySettings
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // DisplaySettings
    int speedUnit() const override { return m_speedUnit; }
    int heightUnit() const override { return m_heightUnit; }
    int timeSwitch() const override { return m_timeSwitch; }

    QVector<Track>& tracks() { return m_tracks; }
    FileFormatRegistry& registry() { return m_registry; }
    MapWidget* mapWidget() const { return m_mapWidget; }
    QComboBox* deviceComboBox() const { return m_deviceComboBox; }
    QActionGroup* deviceGroup() const { return m_deviceGroup; }
    QString lastDirectory() const { return m_lastDirectory; }
    bool isPlaying() const { return m_playing; }
    bool isDownloadRunning() const { return m_run != nullptr; }
    const DownloadRun* downloadRun() const { return m_run; }
    DeviceKV310* device() const { return m_device; }
    DriveWatcher* driveWatcher() const { return m_driveWatcher; }
    QAction* action(const QString& objectName) const;

    // The open and save flows after their dialogs; a failure is shown in a warning box.
    // Opening replaces the collection only when the whole read succeeded.
    bool openFile(const QString& fileName);
    // Opens several files as one collection, in the given order; a file that cannot be read
    // is left out, and all failures are reported together at the end. The collection read
    // replaces the shown tracks, or with add is appended to them. False when any file failed.
    bool openFiles(const QStringList& fileNames, bool add = false);
    // Names the file as saveFileName() says, then writes.
    bool saveFile(QString fileName, const QString& selectedFilter, QList<int> selection,
                  bool markedOnly);
    // The typed name as it is when it ends with the extension of a format written (in any
    // case: that format is written), else with the extension of the save dialog's selected
    // filter appended.
    static QString saveFileName(const QString& typedName, const QString& selectedFilter,
                                const QStringList& writable = {".tkx", ".gpx", ".kml", ".csv"});
    // The open dialog's filters: every readable format together, then one by one.
    QString openFilter() const;

    // "KV-730 ", the model string and the tool's version: the window title and About.
    static QString titleText();
    static const QString versionText;
    // Loads :/translate/<localeName>.qm, or the en_US file when there is none.
    static bool loadTranslator(QTranslator& translator, const QString& localeName);
    // Loads Qt's own texts (file dialogs, standard buttons) in the language of the tool's
    // loaded translation; false when that is empty or Qt has no translation for it.
    static bool loadQtTranslator(QTranslator& qtTranslator, const QTranslator& translator);

private slots:
    void open();
    void addFiles();
    void save();
    void filter();
    void toggled();
    void about();
    void DownloadDeviceTrackPoints();
    void DeleteDeviceTrackPoints();
    void DeviceSetting();
    void playOrPause();
    void rewind();
    void stop();
    void OnRecvTrackFileHeader(QVector<TrackFileHeader> trackFileHeaderList);
    void OnRecvStatus(int cmd, int status);
    void your_slot_function();
    void geotagPhotos();

public slots:
    void slotDeviceAdded(QString dev);
    void slotDeviceRemoved(QString dev);
    void slotDeviceChanged(QString dev);
    void playThreadFinished();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // A file dropped anywhere on the window is opened as if chosen in the open dialog.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void registerFormats();
    void createActions();
    void createDocks();
    void createMenus();
    void createToolBar();
    void readSettings();
    void writeSettings();
    // Lists the loggers among the drives mounted now; returns every drive it saw.
    QStringList scanMountedDrives();
    void downloadFinished();
    void showDeleteProgress(int done, int total);
    void deleteFinished(int status);
    void showDeviceSettings();
    void enableDeviceCommands();
    void showFilterStatus();
    // The files chosen in the open dialog; empty when it was cancelled.
    QStringList chooseFilesToOpen(const QString& title);
    // Asks before a close ends a download; false when the user wants to stay.
    bool mayCloseDuringDownload();
    // One box for every file of an open that failed or was damaged.
    void reportOpenProblems(const QStringList& problems, const QStringList& messages, int failed);
    static const int MaxListedProblems = 10;

    Ui::MainWindow* ui = nullptr;
    MapWidget* m_mapWidget = nullptr;
    QProgressDialog* m_progressDialog = nullptr;

    QVector<Track> m_tracks;
    FileFormatRegistry m_registry;
    DownloadRun* m_run = nullptr; // the download going on, if any
    bool m_deleting = false;      // the worker is deleting the track files of a logger
    QString m_settingsDrive;      // the logger whose configuration was read last
    int m_speedUnit = Kmh;
    int m_heightUnit = Metres;
    int m_timeSwitch = LocalTime;
    bool m_playing = false;
    QString m_lastDirectory;
    DeviceKV310* m_device = nullptr;
    DriveWatcher* m_driveWatcher = nullptr;

    QAction* m_openAct = nullptr;
    QAction* m_addFilesAct = nullptr;
    QAction* m_saveAct = nullptr;
    QAction* m_exitAct = nullptr;
    QAction* m_filterAct = nullptr;
    QAction* m_clearFilterAct = nullptr;
    QAction* m_downloadAct = nullptr;
    QAction* m_deleteAct = nullptr;
    QAction* m_deviceSettingAct = nullptr;
    QAction* m_playAct = nullptr;
    QAction* m_stopAct = nullptr;
    QAction* m_rewindAct = nullptr;
    QAction* m_aboutAct = nullptr;
    QAction* m_kilometersAct = nullptr;
    QAction* m_milesAct = nullptr;
    QAction* m_feetAct = nullptr;
    QAction* m_meterAct = nullptr;
    QAction* m_utcTimeAct = nullptr;
    QAction* m_localTimeAct = nullptr;
    QAction* m_zoomTracksAct = nullptr;
    QAction* m_speedColoursAct = nullptr;
    QActionGroup* m_deviceGroup = nullptr;
    QActionGroup* m_speedGroup = nullptr;
    QActionGroup* m_heightGroup = nullptr;
    QActionGroup* m_timeGroup = nullptr;
    QActionGroup* m_playbackGroup = nullptr;
    QComboBox* m_deviceComboBox = nullptr;
    QDockWidget* m_statisticsDock = nullptr;
    QDockWidget* m_profileDock = nullptr;
    QSlider* m_speedSlider = nullptr;
    QLabel* m_filterStatus = nullptr;
    std::function<void()> m_restoreLayout; // the saved layout, once the window is shown
};
