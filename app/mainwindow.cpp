#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "app/applog.h"
#include "app/geotagdialog.h"
#include "app/myfiledialog.h"
#include "device/devicekv310.h"
#include "device/devicepointconverter.h"
#include "device/devicesettingdialog.h"
#include "device/trackfileheaderdialog.h"
#include "device/drivewatcher.h"
#include "formats/gpsfilter.h"
#include "view/filterdialog.h"
#include "view/mapwidget.h"
#include "view/profilechart.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressDialog>
#include <QSettings>
#include <QSlider>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QTranslator>
#include <QTreeWidget>

#include <algorithm>

static void initResources()
{
    Q_INIT_RESOURCE(images);
    Q_INIT_RESOURCE(translations);
}

// Logs and shows why a file could not be read or written; message takes the file name
// and the reason.
static void showFileFailure(QWidget* parent, const char* logTag, const QString& title,
                            const QString& message, const QString& fileName, const QString& reason)
{
    qCWarning(lcApp) << logTag << fileName << "failed:" << reason;
    QMessageBox::warning(parent, title, message.arg(QDir::toNativeSeparators(fileName), reason));
}

// Runs a file dialog; false when no file was chosen, else the file and its folder.
static bool chooseFile(QFileDialog& dialog, QString* file, QString* lastDirectory)
{
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty())
        return false;
    *lastDirectory = dialog.directory().absolutePath();
    *file = files.first();
    return true;
}

static int driveRow(const QComboBox* box, const QString& drive)
{
    return box->findText(drive, Qt::MatchExactly | Qt::MatchCaseSensitive);
}

const QString MainWindow::versionText = QStringLiteral("S-OPC-41-1807041");

bool MainWindow::loadTranslator(QTranslator& translator, const QString& localeName)
{
    initResources();
    qCDebug(lcApp) << "locale" << localeName;
    const QString path = QStringLiteral(":/translate/") + localeName + QStringLiteral(".qm");
    qCDebug(lcApp) << "translation" << path;
    if (QFile::exists(path)) {
        qCDebug(lcApp) << "Load QM:" << path;
        return translator.load(path);
    }
    qCDebug(lcApp) << "Load en_US.qm";
    return translator.load(QStringLiteral(":/translate/en_US.qm"));
}

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent), ui(new Ui::MainWindow)
{
    initResources();
    ui->setupUi(this);

    m_mapWidget = new MapWidget(&m_tracks, this, this);

    m_progressDialog = new QProgressDialog(QString(), QString(), 0, 50, this);
    m_progressDialog->setWindowModality(Qt::WindowModal);
    // Cancelling once stops the timer that would otherwise show the dialog by itself.
    emit m_progressDialog->canceled();

    createActions();
    createDocks();
    createMenus();
    createToolBar();

    setCentralWidget(m_mapWidget);
    setWindowTitle(tr("KV-730 ") + versionText);

    m_device = new DeviceKV310();

    registerFormats();

    qRegisterMetaType<QVector<TrackFileHeader>>("QVector<TrackFileHeader>");
    connect(m_device, &DeviceKV310::FireRecvTrackFileHeader, this,
            &MainWindow::OnRecvTrackFileHeader, Qt::QueuedConnection);
    connect(m_device, &DeviceKV310::FireRecvStatus, this, &MainWindow::OnRecvStatus,
            Qt::QueuedConnection);

    m_playing = false;
    // The map widget relays the end of each playback run (ran out or paused) from its queued
    // handler of the thread's finished(), dropping those of superseded runs; a second queued hop
    // here could land after a new play press and reset the button of the new run.
    connect(m_mapWidget, &MapWidget::playbackFinished, this, &MainWindow::playThreadFinished);
    readSettings();

    m_driveWatcher = new DriveWatcher();
    m_driveWatcher->appendEventReceiver(this);
    connect(m_driveWatcher, &DriveWatcher::deviceAdded, this, &MainWindow::slotDeviceAdded,
            Qt::DirectConnection);
    connect(m_driveWatcher, &DriveWatcher::deviceChanged, this, &MainWindow::slotDeviceChanged,
            Qt::DirectConnection);
    connect(m_driveWatcher, &DriveWatcher::deviceRemoved, this, &MainWindow::slotDeviceRemoved,
            Qt::DirectConnection);
    QTimer::singleShot(1000, this, &MainWindow::your_slot_function);

    scanMountedDrives();

    const qint8 limit = GpsFilter::readSettingFile(QStringLiteral("./Setting.ini"));
    qCDebug(lcApp) << "GPS_filter" << limit;
}

MainWindow::~MainWindow()
{
    if (m_mapWidget)
        m_mapWidget->pause();
    delete ui;
    delete m_device;
    // The watcher has no parent; it goes with the window it reports to (the process ends
    // with the window, and a window made and closed again must not leave one behind).
    delete m_driveWatcher;
}

void MainWindow::registerFormats()
{
    m_registry.addStandardFormats(this);
}

QAction* MainWindow::action(const QString& objectName) const
{
    return findChild<QAction*>(objectName);
}

void MainWindow::createActions()
{
    auto make = [this](const char* name, const QString& text, const QString& icon) {
        auto* act = icon.isEmpty() ? new QAction(text, this) : new QAction(QIcon(icon), text, this);
        act->setObjectName(QLatin1String(name));
        return act;
    };

    m_openAct = make("openAct", tr("&Open"), QStringLiteral(":/images/open.png"));
    connect(m_openAct, &QAction::triggered, this, &MainWindow::open);
    m_saveAct = make("saveAct", tr("&Save"), QStringLiteral(":/images/save.png"));
    connect(m_saveAct, &QAction::triggered, this, &MainWindow::save);
    m_exitAct = make("exitAct", tr("E&xit"), QString());
    connect(m_exitAct, &QAction::triggered, qApp, &QCoreApplication::quit);
    m_filterAct = make("filterAct", tr("Filter"), QStringLiteral(":/images/search.png"));
    connect(m_filterAct, &QAction::triggered, this, &MainWindow::filter);

    m_downloadAct = make("downloadAct", tr("Download all track points"),
                         QStringLiteral(":/images/download.png"));
    connect(m_downloadAct, &QAction::triggered, this, &MainWindow::DownloadDeviceTrackPoints);
    m_deleteAct = make("deleteAct", tr("Delete all track points"),
                       QStringLiteral(":/images/clean.png"));
    connect(m_deleteAct, &QAction::triggered, this, &MainWindow::DeleteDeviceTrackPoints);
    m_deviceSettingAct = make("deviceSettingAct", tr("Device setting"),
                              QStringLiteral(":/images/setting.png"));
    connect(m_deviceSettingAct, &QAction::triggered, this, &MainWindow::DeviceSetting);

    m_playAct = make("playAct", tr("play"), QStringLiteral(":/images/play.png"));
    connect(m_playAct, &QAction::triggered, this, &MainWindow::playOrPause);
    m_stopAct = make("stopAct", tr("stop"), QStringLiteral(":/images/stop.png"));
    m_stopAct->setEnabled(false);
    connect(m_stopAct, &QAction::triggered, this, &MainWindow::stop);
    m_rewindAct = make("rewindAct", tr("rewind"), QStringLiteral(":/images/rewind.png"));
    connect(m_rewindAct, &QAction::triggered, this, &MainWindow::rewind);

    m_aboutAct = make("aboutAct", tr("&About"), QString());
    m_aboutAct->setStatusTip(tr("Show the application's About box"));
    connect(m_aboutAct, &QAction::triggered, this, &MainWindow::about);

    auto checkable = [&](const char* name, const QString& text, bool checked) {
        QAction* act = make(name, text, QString());
        act->setCheckable(true);
        act->setChecked(checked);
        connect(act, &QAction::toggled, this, &MainWindow::toggled);
        return act;
    };
    m_kilometersAct = checkable("kilometersAct", tr("Kilometers"), true);
    m_milesAct = checkable("milesAct", tr("Miles"), false);
    m_feetAct = checkable("feetAct", tr("Feet"), false);
    m_meterAct = checkable("meterAct", tr("Meter"), true);
    m_utcTimeAct = checkable("utcTimeAct", tr("UTC time"), false);
    m_localTimeAct = checkable("localTimeAct", tr("Local time"), true);

    auto group = [this](std::initializer_list<QAction*> actions) {
        auto* g = new QActionGroup(this);
        for (QAction* act : actions)
            g->addAction(act);
        return g;
    };
    m_deviceGroup = group({m_downloadAct, m_deleteAct, m_deviceSettingAct});
    m_deviceGroup->setEnabled(false);
    m_speedGroup = group({m_kilometersAct, m_milesAct});
    m_heightGroup = group({m_feetAct, m_meterAct});
    m_timeGroup = group({m_localTimeAct, m_utcTimeAct});
    m_playbackGroup = group({m_playAct, m_stopAct, m_rewindAct});
}

void MainWindow::createMenus()
{
    QMenu* fileMenu = menuBar()->addMenu(tr("&File"));
    fileMenu->addAction(m_openAct);
    fileMenu->addAction(m_saveAct);
    fileMenu->addAction(tr("Geotag Photos..."), this, &MainWindow::geotagPhotos)
        ->setObjectName(QStringLiteral("geotagAct"));
    fileMenu->addSeparator();
    fileMenu->addAction(m_exitAct);

    QMenu* deviceMenu = menuBar()->addMenu(tr("Device"));
    deviceMenu->addAction(m_downloadAct);
    deviceMenu->addAction(m_deleteAct);
    deviceMenu->addAction(m_deviceSettingAct);

    QMenu* unitMenu = menuBar()->addMenu(tr("Unit"));
    QMenu* speedMenu = unitMenu->addMenu(tr("Speed"));
    speedMenu->addAction(m_kilometersAct);
    speedMenu->addAction(m_milesAct);
    QMenu* heightMenu = unitMenu->addMenu(tr("Height"));
    heightMenu->addAction(m_meterAct);
    heightMenu->addAction(m_feetAct);

    QMenu* timeMenu = menuBar()->addMenu(tr("Time"));
    timeMenu->addAction(m_localTimeAct);
    timeMenu->addAction(m_utcTimeAct);

    QMenu* viewMenu = menuBar()->addMenu(tr("View"));
    viewMenu->addAction(m_statisticsDock->toggleViewAction());
    viewMenu->addAction(m_profileDock->toggleViewAction());

    QMenu* helpMenu = menuBar()->addMenu(tr("Help"));
    helpMenu->addAction(m_aboutAct);
}

void MainWindow::createDocks()
{
    auto dock = [this](const char* name, const QString& title, QWidget* content) {
        auto* d = new QDockWidget(title, this);
        d->setObjectName(QLatin1String(name));
        d->setWidget(content);
        content->show();
        d->toggleViewAction()->setObjectName(QLatin1String(name) + QStringLiteral("Act"));
        return d;
    };
    m_statisticsDock = dock("statisticsDock", tr("Statistics"), m_mapWidget->statisticsView());
    m_profileDock = dock("profileDock", tr("Profile"), m_mapWidget->profileChart());
    addDockWidget(Qt::BottomDockWidgetArea, m_statisticsDock);
    splitDockWidget(m_statisticsDock, m_profileDock, Qt::Horizontal);
    // Dock sizes take effect only once the window is laid out: the chart gets the width.
    QTimer::singleShot(0, this, [this] {
        resizeDocks({m_statisticsDock, m_profileDock}, {400, width() - 400}, Qt::Horizontal);
        resizeDocks({m_profileDock}, {230}, Qt::Vertical);
    });
}

void MainWindow::createToolBar()
{
    QToolBar* toolBar = addToolBar(tr("File"));
    toolBar->setObjectName(QStringLiteral("fileToolBar"));
    toolBar->setFloatable(false);
    toolBar->setMovable(false);
    toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolBar->addAction(m_openAct);
    toolBar->addAction(m_saveAct);
    toolBar->addSeparator();
    toolBar->addAction(m_filterAct);
    toolBar->addSeparator();
    toolBar->addAction(m_downloadAct);
    toolBar->addAction(m_deleteAct);
    toolBar->addAction(m_deviceSettingAct);
    toolBar->addSeparator();

    auto* deviceBox = new QWidget(this);
    auto* deviceLayout = new QHBoxLayout(deviceBox);
    deviceLayout->addWidget(new QLabel(tr("Device :"), deviceBox));
    m_deviceComboBox = new QComboBox(deviceBox);
    m_deviceComboBox->setObjectName(QStringLiteral("deviceComboBox"));
    m_deviceComboBox->setFixedWidth(180);
    deviceLayout->addWidget(m_deviceComboBox);
    toolBar->addWidget(deviceBox);
    toolBar->addSeparator();

    toolBar->addAction(m_rewindAct);
    toolBar->addAction(m_playAct);
    toolBar->addAction(m_stopAct);
    toolBar->addWidget(new QLabel(tr("Speed:"), toolBar));
    m_speedSlider = new QSlider(Qt::Horizontal, toolBar);
    m_speedSlider->setObjectName(QStringLiteral("speedSlider"));
    m_speedSlider->setRange(0, 2);
    m_speedSlider->setTickInterval(1);
    m_speedSlider->setTickPosition(QSlider::TicksBelow);
    m_speedSlider->setFixedWidth(100);
    m_speedSlider->setValue(0);
    toolBar->addWidget(m_speedSlider);
    connect(m_speedSlider, &QSlider::valueChanged, m_mapWidget, &MapWidget::setSpeed);
}

void MainWindow::readSettings()
{
    QSettings settings(QStringLiteral("Veltrona"), QStringLiteral("KV-730"));
    if (settings.contains(QStringLiteral("geometry")))
        restoreGeometry(settings.value(QStringLiteral("geometry")).toByteArray());
    else
        setWindowState(windowState() | Qt::WindowMaximized);
    m_lastDirectory = settings.value(QStringLiteral("directory"), QDir::homePath()).toString();

    // A damaged settings file may hold any number: each choice becomes the one its menu
    // shows, so that every view agrees on it. Anything but the default is the other choice.
    auto choice = [&settings](const char* key, int defaultValue, QAction* zeroAct,
                              QAction* oneAct) {
        const int value = settings.value(QLatin1String(key), defaultValue).toInt() == defaultValue
                              ? defaultValue
                              : 1 - defaultValue;
        (value == 0 ? zeroAct : oneAct)->setChecked(true);
        return value;
    };
    m_speedUnit = choice("speedUnit", 0, m_kilometersAct, m_milesAct);
    m_heightUnit = choice("heightUnit", 0, m_meterAct, m_feetAct);
    m_timeSwitch = choice("timeSwitch", 1, m_utcTimeAct, m_localTimeAct);
}

void MainWindow::writeSettings()
{
    QSettings settings(QStringLiteral("Veltrona"), QStringLiteral("KV-730"));
    settings.setValue(QStringLiteral("geometry"), saveGeometry());
    settings.setValue(QStringLiteral("directory"), m_lastDirectory);
    settings.setValue(QStringLiteral("speedUnit"), m_speedUnit);
    settings.setValue(QStringLiteral("heightUnit"), m_heightUnit);
    settings.setValue(QStringLiteral("timeSwitch"), m_timeSwitch);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    writeSettings();
    // A running playback signals this window and the map; end it before they go.
    m_mapWidget->pause();
    QMainWindow::closeEvent(event);
}

void MainWindow::scanMountedDrives()
{
    QStringList drives;
    const QFileInfoList roots = QDir::drives();
    for (const QFileInfo& info : roots)
        drives << info.absolutePath();
    for (const QString& volume : DriveWatcher::mountedVolumes()) {
        if (!drives.contains(volume))
            drives << volume;
    }
    for (const QString& drive : qAsConst(drives)) {
        qCDebug(lcApp) << "Drive: " << drive;
        slotDeviceAdded(drive);
    }
}

void MainWindow::toggled()
{
    if (m_kilometersAct->isChecked())
        m_speedUnit = 0;
    else if (m_milesAct->isChecked())
        m_speedUnit = 1;
    if (m_meterAct->isChecked())
        m_heightUnit = 0;
    else if (m_feetAct->isChecked())
        m_heightUnit = 1;
    if (m_utcTimeAct->isChecked())
        m_timeSwitch = 0;
    else if (m_localTimeAct->isChecked())
        m_timeSwitch = 1;
    m_mapWidget->refreshStatistics();
    m_mapWidget->showTrackPoints(-1.0f, 0);
}

void MainWindow::about()
{
    QMessageBox::about(this, tr("About KV730 Tool"), tr("KV-730 ") + versionText);
}

void MainWindow::playOrPause()
{
    if (!m_playing) {
        m_playing = true;
        m_playAct->setIcon(QIcon(QStringLiteral(":/images/pause.png")));
        m_playAct->setToolTip(tr("pause"));
        m_stopAct->setEnabled(true);
        m_mapWidget->play();
    } else {
        playThreadFinished();
        m_mapWidget->pause();
    }
}

void MainWindow::playThreadFinished()
{
    m_playing = false;
    m_playAct->setIcon(QIcon(QStringLiteral(":/images/play.png")));
    m_playAct->setToolTip(tr("play"));
    m_stopAct->setEnabled(false);
}

void MainWindow::stop()
{
    m_mapWidget->stopPlayback();
}

void MainWindow::rewind()
{
    m_mapWidget->resetPlayback();
}

void MainWindow::filter()
{
    FilterDialog dialog;
    if (dialog.exec() != QDialog::Accepted || !dialog.isFilterValid())
        return;
    m_mapWidget->resetPlayback();
    m_mapWidget->showTrackPoints(dialog.filterValue(), dialog.filterRuleCode());
}

void MainWindow::your_slot_function()
{
    if (!m_driveWatcher->start()) {
        QMessageBox::warning(nullptr, tr("WARNGING"), tr("Failed to start"), QMessageBox::Ok);
    }
}

void MainWindow::slotDeviceAdded(QString dev)
{
    qCDebug(lcApp) << "tid=" << QThread::currentThreadId() << "add " << dev;
    if (driveRow(m_deviceComboBox, dev) >= 0)
        return;
    const QFileInfo ini(dev + QStringLiteral("kv730.ini"));
    qCDebug(lcApp) << ini.filePath() << "exists" << ini.exists() << "size" << ini.size();
    if (!ini.exists())
        return;
    if (!m_downloadRunning)
        m_deviceGroup->setEnabled(true);
    m_deviceComboBox->addItem(dev);
}

void MainWindow::slotDeviceRemoved(QString dev)
{
    qCDebug(lcApp) << "tid=" << QThread::currentThreadId() << "remove " << dev;
    const int index = driveRow(m_deviceComboBox, dev);
    if (index < 0)
        return;
    m_deviceComboBox->removeItem(index);
    if (m_downloadRunning && dev == m_downloadDrive) {
        // The logger was pulled out mid-download: keep what was read and say so once the
        // watcher's notice has been handled.
        finishDownloadRun();
        QMetaObject::invokeMethod(this, "OnRecvStatus", Qt::QueuedConnection,
                                  Q_ARG(int, CMD_CONNECT_RESULT), Q_ARG(int, 0));
    }
    if (m_deviceComboBox->count() == 0)
        m_deviceGroup->setEnabled(false);
}

void MainWindow::slotDeviceChanged(QString dev)
{
    Q_UNUSED(dev);
}

// The dialog stays open beside the window, so that the map can be used with it.
void MainWindow::geotagPhotos()
{
    if (auto* open = findChild<GeotagDialog*>()) {
        open->raise();
        open->activateWindow();
        return;
    }
    auto* dialog =
        new GeotagDialog(m_tracks, m_mapWidget->checkedTracks(), m_mapWidget->mapOperator(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

// ---- Opening and saving ----

void MainWindow::open()
{
    m_mapWidget->pause();
    QFileDialog dialog(this);
    dialog.setDirectory(m_lastDirectory);
    dialog.setNameFilter(tr("TKX File (*.tkx);;GPL File (*.gpl)"));
    QString file;
    if (chooseFile(dialog, &file, &m_lastDirectory))
        openFile(file);
}

bool MainWindow::openFile(const QString& fileName)
{
    m_mapWidget->pause();
    QVector<Track> loaded;
    if (!m_registry.load(loaded, fileName)) {
        showFileFailure(this, "Load:", tr("Open"), tr("The file %1 could not be opened.\n%2"),
                        fileName, m_registry.errorString());
        return false;
    }
    qCDebug(lcApp) << "Load:" << fileName << loaded.size() << "tracks";
    m_tracks = loaded;
    m_mapWidget->updateTrackList();
    return true;
}

void MainWindow::save()
{
    const QList<int> selection = m_mapWidget->checkedTracks();
    MyFileDialog dialog(this);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(
        tr("TKX File (*.tkx);;GPX File (*.gpx);;KML File (*.kml);;CSV File (*.csv)"));
    dialog.setDirectory(m_lastDirectory);
    QString file;
    if (chooseFile(dialog, &file, &m_lastDirectory))
        saveFile(file, dialog.selectedNameFilter(), selection, dialog.markedOnly());
}

QString MainWindow::saveFileName(const QString& typedName, const QString& selectedFilter)
{
    static const struct {
        const char* filter;
        const char* extension;
    } extensions[] = {
        {QT_TR_NOOP("TKX File (*.tkx)"), ".tkx"},
        {QT_TR_NOOP("GPX File (*.gpx)"), ".gpx"},
        {QT_TR_NOOP("KML File (*.kml)"), ".kml"},
        {QT_TR_NOOP("CSV File (*.csv)"), ".csv"},
    };
    for (const auto& entry : extensions) {
        // The dialog shows the filters translated; either form names the same extension.
        if (selectedFilter != QLatin1String(entry.filter) && selectedFilter != tr(entry.filter))
            continue;
        const QString extension = QLatin1String(entry.extension);
        return typedName.endsWith(extension, Qt::CaseSensitive) ? typedName
                                                                : typedName + extension;
    }
    return typedName;
}

bool MainWindow::saveFile(QString fileName, const QString& selectedFilter, QList<int> selection,
                          bool markedOnly)
{
    fileName = saveFileName(fileName, selectedFilter);
    selection.erase(std::remove_if(selection.begin(), selection.end(),
                                   [this](int index) {
                                       return index < 0 || index >= m_tracks.size();
                                   }),
                    selection.end());
    if (!m_registry.save(m_tracks, fileName, selection, markedOnly)) {
        showFileFailure(this, "Save:", tr("Save"), tr("The file %1 could not be saved.\n%2"),
                        fileName, m_registry.errorString());
        return false;
    }
    qCDebug(lcApp) << "Save:" << fileName << selection.size() << "tracks";
    return true;
}

// ---- Device commands ----

void MainWindow::DownloadDeviceTrackPoints()
{
    const QString drive = m_deviceComboBox->currentText();
    if (m_downloadRunning || drive.isEmpty())
        return;
    m_mapWidget->pause();
    m_downloadDrive = drive;
    m_device->listTrackFiles(drive);
}

void MainWindow::DeleteDeviceTrackPoints()
{
    const QString drive = m_deviceComboBox->currentText();
    if (m_downloadRunning || drive.isEmpty())
        return;
    const QString backupFolder = DeviceKV310::newBackupFolder();
    QMessageBox box;
    box.setText(tr("Delete device all track points."));
    box.setInformativeText(tr("Do you want to delete all track points?") + QLatin1Char('\n')
                           + tr("The track files are first copied to %1.")
                                 .arg(QDir::toNativeSeparators(backupFolder)));
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    if (box.exec() != QMessageBox::Yes)
        return;
    // The logger may have gone while the question was open.
    if (driveRow(m_deviceComboBox, drive) < 0)
        return;
    m_device->deleteAllTrackFiles(drive, backupFolder);
}

void MainWindow::DeviceSetting()
{
    const QString drive = m_deviceComboBox->currentText();
    if (m_downloadRunning || drive.isEmpty())
        return;
    m_settingsDrive = drive;
    m_device->readConfiguration(drive);
}

void MainWindow::OnRecvTrackFileHeader(QVector<TrackFileHeader> trackFileHeaderList)
{
    if (m_downloadRunning)
        return;
    TrackFileHeaderDialog dialog(trackFileHeaderList, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // Nothing ticked: keep what is loaded, so the lists and the collection stay in step.
    if (dialog.selectedFileIndexes().isEmpty())
        return;
    m_downloadQueue = dialog.selectedFileIndexes();
    m_tracks = dialog.selectedTracks();
    m_downloadCounter = 0;
    m_currentTrackIndex = -1;
    m_downloadRunning = true;
    m_deviceGroup->setEnabled(false);
    // The old tracks are gone from the collection; the lists must not offer them.
    m_mapWidget->updateTrackList();

    m_progressDialog->setLabelText(tr("Downloading track files..."));
    m_progressDialog->setRange(0, m_downloadQueue.size());
    m_device->startTrackFileRead(quint16(m_downloadQueue.first()));
    m_progressDialog->setValue(0);
    m_progressDialog->exec();
}

static void showDeviceMessage(QWidget* parent, QMessageBox::Icon icon, const QString& text)
{
    QMessageBox box(icon, QString(), text, QMessageBox::Ok, parent);
    box.exec();
}

void MainWindow::OnRecvStatus(int cmd, int status)
{
    switch (cmd) {
    case CMD_READ_TRACK_FILE:
        downloadStep();
        break;
    case CMD_READ_CONFIG:
        showDeviceSettings();
        break;
    case CMD_WRITE_CONFIG:
        if (status == 1)
            showDeviceMessage(this, QMessageBox::Information, tr("Set device configuration ok."));
        else
            showDeviceMessage(this, QMessageBox::Warning,
                              tr("Failed to set device configuration."));
        break;
    case CMD_DELETE_ALL:
        if (status == 1)
            showDeviceMessage(this, QMessageBox::Information, tr("Delete all track files ok."));
        else
            showDeviceMessage(this, QMessageBox::Warning,
                              tr("%n track file(s) could not be deleted and remain on the device.",
                                 nullptr, m_device->remainingTrackFiles()));
        enableDeviceCommands();
        break;
    case CMD_CONNECT_RESULT:
        if (status == 0) {
            if (m_downloadRunning)
                finishDownloadRun();
            showDeviceMessage(this, QMessageBox::Warning, tr("Failed connect device."));
        } else if (status == 1) {
            enableDeviceCommands();
        }
        break;
    case CMD_READ_TIMEOUT:
        if (m_downloadRunning)
            finishDownloadRun();
        showDeviceMessage(this, QMessageBox::Warning, tr("Read device data timeout."));
        break;
    default:
        break;
    }
}

void MainWindow::downloadStep()
{
    // A report of a run that has already ended (drive removed) is stale.
    if (!m_downloadRunning)
        return;
    const DeviceTrackData data = m_device->trackFileData();
    ++m_currentTrackIndex;
    if (m_currentTrackIndex >= 0 && m_currentTrackIndex < m_tracks.size())
        DevicePointConverter::fillTrack(m_tracks[m_currentTrackIndex], data);
    ++m_downloadCounter;
    // At the maximum the dialog resets and hides itself, which ends its modal loop.
    m_progressDialog->setValue(m_downloadCounter);
    if (!m_downloadRunning)
        return;
    if (m_downloadCounter < m_downloadQueue.size())
        m_device->startTrackFileRead(quint16(m_downloadQueue.at(m_downloadCounter)));
    else
        finishDownloadRun();
}

void MainWindow::showDeviceSettings()
{
    DeviceConfig config = m_device->configuration;
    DeviceSettingDialog dialog(config);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The configuration belongs to the logger it was read from; never write it to another.
    if (driveRow(m_deviceComboBox, m_settingsDrive) < 0) {
        showDeviceMessage(this, QMessageBox::Warning, tr("Failed to set device configuration."));
        return;
    }
    m_device->writeConfiguration(dialog.config, m_settingsDrive);
}

void MainWindow::enableDeviceCommands()
{
    if (!m_downloadRunning && m_deviceComboBox->count() > 0)
        m_deviceGroup->setEnabled(true);
}

void MainWindow::finishDownloadRun()
{
    m_downloadRunning = false;
    m_device->cancelRead();
    m_progressDialog->reset();
    m_mapWidget->updateTrackList();
    enableDeviceCommands();
}
