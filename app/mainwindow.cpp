#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "app/applog.h"
#include "app/downloadrun.h"
#include "app/geotagdialog.h"
#include "app/myfiledialog.h"
#include "device/devicekv310.h"
#include "device/devicesettingdialog.h"
#include "device/drivewatcher.h"
#include "formats/fileformatnmea.h"
#include "formats/gpsfilter.h"
#include "view/filterdialog.h"
#include "view/mapwidget.h"
#include "view/profilechart.h"
#include "view/units.h"

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
#include <QLibraryInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressDialog>
#include <QSettings>
#include <QSlider>
#include <QSplitter>
#include <QStatusBar>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QTranslator>
#include <QTreeWidget>
#include <QUrl>

#include <algorithm>
#include <cmath>

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

// Version of the layout of docks and tool bar kept under "windowState"; a stored layout of
// another version is ignored.
static const int windowStateVersion = 1;

// The figures of loaded, saved or downloaded tracks for the status bar.
static int pointCount(const QVector<Track>& tracks, const QList<int>& selection, bool markedOnly)
{
    int count = 0;
    for (int index : selection) {
        for (const Vec3& p : tracks.at(index).points)
            count += markedOnly ? int(p.marked != 0) : 1;
    }
    return count;
}

static QList<int> allTracks(const QVector<Track>& tracks)
{
    QList<int> all;
    for (int i = 0; i < tracks.size(); ++i)
        all.append(i);
    return all;
}

static int driveRow(const QComboBox* box, const QString& drive)
{
    return box->findText(drive, Qt::MatchExactly | Qt::MatchCaseSensitive);
}

static void showDeviceMessage(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                              const QString& text, const QString& informative = QString())
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.setInformativeText(informative);
    box.exec();
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

bool MainWindow::loadQtTranslator(QTranslator& qtTranslator, const QTranslator& translator)
{
    // Qt's texts follow the tool's own: where the tool stays English, so do its dialogs.
    const QString language = QFileInfo(translator.filePath()).completeBaseName();
    if (translator.isEmpty() || language.startsWith(QLatin1String("en")))
        return false;
    const QString dir = QLibraryInfo::location(QLibraryInfo::TranslationsPath);
    const bool ok =
        qtTranslator.load(QLocale(language), QStringLiteral("qtbase"), QStringLiteral("_"), dir);
    qCDebug(lcApp) << "Qt translation" << language << dir << ok;
    return ok;
}

QString MainWindow::titleText()
{
    // The model string, and the release of this tool beside it.
    return tr("KV-730 ") + versionText + QStringLiteral(" (") + QStringLiteral(KV730_VERSION) +
           QLatin1Char(')');
}

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent), ui(new Ui::MainWindow)
{
    initResources();
    ui->setupUi(this);

    m_mapWidget = new MapWidget(&m_tracks, this, this);

    m_progressDialog = new QProgressDialog(QString(), QString(), 0, 50, this);
    // Not modal: the window stays usable during a download, and its close box and Ctrl+Q
    // reach it (they ask before ending the download).
    m_progressDialog->setWindowModality(Qt::NonModal);
    m_progressDialog->setWindowTitle(tr("Download all track points"));
    // Cancelling once stops the timer that would otherwise show the dialog by itself.
    emit m_progressDialog->canceled();

    createActions();
    // Ctrl+Q works with the progress shown in front as well.
    m_progressDialog->addAction(m_exitAct);
    createDocks();
    createMenus();
    createToolBar();
    m_filterStatus = new QLabel(this);
    m_filterStatus->setObjectName(QStringLiteral("filterStatus"));
    m_filterStatus->hide();
    statusBar()->addPermanentWidget(m_filterStatus);
    connect(m_mapWidget, &MapWidget::pointsListed, this, &MainWindow::showFilterStatus);

    setCentralWidget(m_mapWidget);
    setWindowTitle(titleText());

    m_device = new DeviceKV310();

    registerFormats();

    qRegisterMetaType<QVector<TrackFileHeader>>("QVector<TrackFileHeader>");
    connect(m_device, &DeviceKV310::FireRecvTrackFileHeader, this,
            &MainWindow::OnRecvTrackFileHeader, Qt::QueuedConnection);
    connect(m_device, &DeviceKV310::FireRecvStatus, this, &MainWindow::OnRecvStatus,
            Qt::QueuedConnection);
    connect(m_device, &DeviceKV310::FireDeleteProgress, this, &MainWindow::showDeleteProgress,
            Qt::QueuedConnection);
    setAcceptDrops(true);

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

    // The watcher reports, once started, every drive that came or went since this scan.
    m_driveWatcher->setListedVolumes(scanMountedDrives());

    const qint8 limit = GpsFilter::readSettingFile(QStringLiteral("./Setting.ini"));
    qCDebug(lcApp) << "GPS_filter" << limit;
    FileFormatNMEA::readSettingFile(QStringLiteral("./Setting.ini"));
}

MainWindow::~MainWindow()
{
    if (m_mapWidget)
        m_mapWidget->pause();
    delete m_run;
    delete ui;
    // A read stuck on a dead drive must not hold the end of the program.
    DeviceKV310::release(m_device, 2000);
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
    m_addFilesAct = make("addFilesAct", tr("Add Files..."), QString());
    m_addFilesAct->setStatusTip(tr("Add the tracks of files to the tracks shown"));
    connect(m_addFilesAct, &QAction::triggered, this, &MainWindow::addFiles);
    m_saveAct = make("saveAct", tr("&Save"), QStringLiteral(":/images/save.png"));
    connect(m_saveAct, &QAction::triggered, this, &MainWindow::save);
    m_exitAct = make("exitAct", tr("E&xit"), QString());
    // Through the close event, which keeps the user's choices and ends every flow.
    connect(m_exitAct, &QAction::triggered, this, &QWidget::close);
    m_filterAct = make("filterAct", tr("Filter"), QStringLiteral(":/images/search.png"));
    connect(m_filterAct, &QAction::triggered, this, &MainWindow::filter);
    m_clearFilterAct = make("clearFilterAct", tr("Clear Filter"), QString());
    m_clearFilterAct->setEnabled(false);
    connect(m_clearFilterAct, &QAction::triggered, this, [this] {
        m_mapWidget->resetPlayback();
        m_mapWidget->showTrackPoints(-1.0f, FilterRule::None);
    });

    m_downloadAct = make("downloadAct", tr("Download all track points"),
                         QStringLiteral(":/images/download.png"));
    connect(m_downloadAct, &QAction::triggered, this, &MainWindow::DownloadDeviceTrackPoints);
    m_deleteAct =
        make("deleteAct", tr("Delete all track points"), QStringLiteral(":/images/clean.png"));
    connect(m_deleteAct, &QAction::triggered, this, &MainWindow::DeleteDeviceTrackPoints);
    m_deviceSettingAct =
        make("deviceSettingAct", tr("Device setting"), QStringLiteral(":/images/setting.png"));
    connect(m_deviceSettingAct, &QAction::triggered, this, &MainWindow::DeviceSetting);

    m_playAct = make("playAct", tr("play"), QStringLiteral(":/images/play.png"));
    connect(m_playAct, &QAction::triggered, this, &MainWindow::playOrPause);
    m_stopAct = make("stopAct", tr("stop"), QStringLiteral(":/images/stop.png"));
    m_stopAct->setEnabled(false);
    connect(m_stopAct, &QAction::triggered, this, &MainWindow::stop);
    m_rewindAct = make("rewindAct", tr("rewind"), QStringLiteral(":/images/rewind.png"));
    connect(m_rewindAct, &QAction::triggered, this, &MainWindow::rewind);

    m_zoomTracksAct =
        make("zoomTracksAct", tr("Zoom to Tracks"), QStringLiteral(":/images/zoomtracks.png"));
    connect(m_zoomTracksAct, &QAction::triggered, m_mapWidget, &MapWidget::zoomToTracks);
    m_speedColoursAct =
        make("speedColoursAct", tr("Speed Colours"), QStringLiteral(":/images/speedcolours.png"));
    m_speedColoursAct->setCheckable(true);
    connect(m_speedColoursAct, &QAction::toggled, m_mapWidget, &MapWidget::setSpeedColours);

    m_aboutAct = make("aboutAct", tr("&About"), QString());
    m_aboutAct->setStatusTip(tr("Show the application's About box"));
    connect(m_aboutAct, &QAction::triggered, this, &MainWindow::about);

    m_openAct->setShortcuts(QKeySequence::Open);
    m_saveAct->setShortcuts(QKeySequence::Save);
    // Some platforms (Windows) bind no key to Quit; Ctrl+Q is what users expect there too.
    const QList<QKeySequence> quit = QKeySequence::keyBindings(QKeySequence::Quit);
    m_exitAct->setShortcuts(quit.isEmpty() ? QList<QKeySequence>{QKeySequence(Qt::CTRL + Qt::Key_Q)}
                                           : quit);
    m_aboutAct->setShortcuts(QKeySequence::HelpContents);

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
    fileMenu->addAction(m_addFilesAct);
    fileMenu->addAction(m_saveAct);
    fileMenu->addAction(tr("Geotag Photos..."), this, &MainWindow::geotagPhotos)
        ->setObjectName(QStringLiteral("geotagAct"));
    fileMenu->addSeparator();
    fileMenu->addAction(m_exitAct);

    QMenu* deviceMenu = menuBar()->addMenu(tr("&Device"));
    deviceMenu->addAction(m_downloadAct);
    deviceMenu->addAction(m_deleteAct);
    deviceMenu->addAction(m_deviceSettingAct);

    QMenu* unitMenu = menuBar()->addMenu(tr("&Unit"));
    QMenu* speedMenu = unitMenu->addMenu(tr("&Speed"));
    speedMenu->addAction(m_kilometersAct);
    speedMenu->addAction(m_milesAct);
    QMenu* heightMenu = unitMenu->addMenu(tr("&Height"));
    heightMenu->addAction(m_meterAct);
    heightMenu->addAction(m_feetAct);

    QMenu* timeMenu = menuBar()->addMenu(tr("&Time"));
    timeMenu->addAction(m_localTimeAct);
    timeMenu->addAction(m_utcTimeAct);

    QMenu* viewMenu = menuBar()->addMenu(tr("&View"));
    viewMenu->addAction(m_statisticsDock->toggleViewAction());
    viewMenu->addAction(m_profileDock->toggleViewAction());
    viewMenu->addSeparator();
    viewMenu->addAction(m_filterAct);
    viewMenu->addAction(m_clearFilterAct);
    viewMenu->addSeparator();
    viewMenu->addAction(m_zoomTracksAct);
    viewMenu->addAction(m_speedColoursAct);

    QMenu* helpMenu = menuBar()->addMenu(tr("&Help"));
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
    // On a small screen the map keeps half the height: the panes around it may be small.
    for (QWidget* pane : std::initializer_list<QWidget*>{
             m_mapWidget->statisticsView(), m_mapWidget->profileChart(),
             m_mapWidget->findChild<QWidget*>(QStringLiteral("treeWidget_2"))}) {
        if (pane)
            pane->setMinimumHeight(40);
    }
    // Tabbed in one low strip, so that on a small screen they leave the height to the map.
    addDockWidget(Qt::BottomDockWidgetArea, m_statisticsDock);
    addDockWidget(Qt::BottomDockWidgetArea, m_profileDock);
    tabifyDockWidget(m_statisticsDock, m_profileDock);
    m_profileDock->raise();
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
    toolBar->addAction(m_zoomTracksAct);
    toolBar->addSeparator();
    toolBar->addAction(m_downloadAct);
    toolBar->addAction(m_deleteAct);
    toolBar->addAction(m_deviceSettingAct);
    toolBar->addSeparator();

    auto* deviceBox = new QWidget(this);
    auto* deviceLayout = new QHBoxLayout(deviceBox);
    deviceLayout->setContentsMargins(4, 0, 4, 0); // the tool bar keeps the speed slider at 800 px
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
    m_speedSlider->setToolTip(tr("Playback speed:\nleft: slow, one point every 0.75 s\n"
                                 "middle: normal, one point every 0.5 s\n"
                                 "right: fast, one point every 0.25 s"));
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
    QSplitter* trackSplitter = m_mapWidget->findChild<QSplitter*>(QStringLiteral("splitter"));
    QSplitter* mapSplitter = m_mapWidget->findChild<QSplitter*>(QStringLiteral("splitter_2"));
    const QByteArray state = settings.value(QStringLiteral("windowState")).toByteArray();
    if (restoreState(state, windowStateVersion)) {
        // The panes of the map widget as well: left to their defaults, they would take
        // their share back from the map at every start. Once more when the window has its
        // size: restored into a window not shown yet, the docks come back taller.
        const QByteArray tracks = settings.value(QStringLiteral("trackSplitter")).toByteArray();
        const QByteArray map = settings.value(QStringLiteral("mapSplitter")).toByteArray();
        m_restoreLayout = [this, state, tracks, map, trackSplitter, mapSplitter] {
            restoreState(state, windowStateVersion);
            if (trackSplitter)
                trackSplitter->restoreState(tracks);
            if (mapSplitter)
                mapSplitter->restoreState(map);
        };
        m_restoreLayout();
    } else {
        // The map takes most of the height, the point list and the docks a strip each.
        if (mapSplitter)
            mapSplitter->setSizes({5000, 1000});
        // Dock sizes take effect only once the window is laid out.
        QTimer::singleShot(0, this, [this] {
            const int strip = qBound(60, height() / 8, 200);
            resizeDocks({m_statisticsDock, m_profileDock}, {strip, strip}, Qt::Vertical);
        });
    }
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
    m_speedUnit = choice("speedUnit", Kmh, m_kilometersAct, m_milesAct);
    m_heightUnit = choice("heightUnit", Metres, m_meterAct, m_feetAct);
    m_timeSwitch = choice("timeSwitch", LocalTime, m_utcTimeAct, m_localTimeAct);
    m_speedColoursAct->setChecked(settings.value(QStringLiteral("speedColours")).toBool());
}

void MainWindow::writeSettings()
{
    QSettings settings(QStringLiteral("Veltrona"), QStringLiteral("KV-730"));
    settings.setValue(QStringLiteral("geometry"), saveGeometry());
    settings.setValue(QStringLiteral("directory"), m_lastDirectory);
    settings.setValue(QStringLiteral("speedUnit"), m_speedUnit);
    settings.setValue(QStringLiteral("heightUnit"), m_heightUnit);
    settings.setValue(QStringLiteral("timeSwitch"), m_timeSwitch);
    settings.setValue(QStringLiteral("windowState"), saveState(windowStateVersion));
    if (auto* split = m_mapWidget->findChild<QSplitter*>(QStringLiteral("splitter")))
        settings.setValue(QStringLiteral("trackSplitter"), split->saveState());
    if (auto* split = m_mapWidget->findChild<QSplitter*>(QStringLiteral("splitter_2")))
        settings.setValue(QStringLiteral("mapSplitter"), split->saveState());
    settings.setValue(QStringLiteral("speedColours"), m_speedColoursAct->isChecked());
}

bool MainWindow::mayCloseDuringDownload()
{
    if (!m_run || m_run->state() != DownloadRun::Reading)
        return true;
    QMessageBox box(QMessageBox::Question, tr("Exit"), tr("A download is going on."),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setInformativeText(tr("Stop the download and quit?"));
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_restoreLayout)
        QTimer::singleShot(0, this, [restore = std::move(m_restoreLayout)] { restore(); });
    m_restoreLayout = nullptr;
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!mayCloseDuringDownload()) {
        event->ignore();
        return;
    }
    writeSettings();
    // A running playback signals this window and the map; end it before they go.
    m_mapWidget->pause();
    if (m_run) {
        // Later: the run may be waiting in its selection dialog.
        m_run->cancel();
        m_run->disconnect(this);
        m_run->deleteLater();
        m_run = nullptr;
    }
    QMainWindow::closeEvent(event);
}

// The local files of a drag; empty when it carries anything else.
static QStringList droppedFiles(const QMimeData* data)
{
    QStringList files;
    for (const QUrl& url : data ? data->urls() : QList<QUrl>()) {
        if (!url.isLocalFile())
            return {};
        files << url.toLocalFile();
    }
    return files;
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (!droppedFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    const QStringList files = droppedFiles(event->mimeData());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    m_lastDirectory = QFileInfo(files.first()).absolutePath();
    // Ctrl held adds the files to the shown tracks, as "Add Files..." does.
    const bool add = event->keyboardModifiers() & Qt::ControlModifier;
    // Not inside the drop: the source of the drag waits for it to end, and the open may
    // ask the user something.
    QTimer::singleShot(0, this, [this, files, add] { openFiles(files, add); });
}

QStringList MainWindow::scanMountedDrives()
{
    const QStringList drives = DriveWatcher::mountedVolumes();
    for (const QString& drive : drives) {
        qCDebug(lcApp) << "Drive: " << drive;
        slotDeviceAdded(drive);
    }
    return drives;
}

void MainWindow::toggled()
{
    if (m_kilometersAct->isChecked())
        m_speedUnit = Kmh;
    else if (m_milesAct->isChecked())
        m_speedUnit = Mph;
    if (m_meterAct->isChecked())
        m_heightUnit = Metres;
    else if (m_feetAct->isChecked())
        m_heightUnit = Feet;
    if (m_utcTimeAct->isChecked())
        m_timeSwitch = Utc;
    else if (m_localTimeAct->isChecked())
        m_timeSwitch = LocalTime;
    m_mapWidget->refreshStatistics();
    m_mapWidget->showTrackPoints(-1.0f, FilterRule::Keep);
}

void MainWindow::about()
{
    QMessageBox::about(this, tr("About KV730 Tool"), titleText());
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
    dialog.setSpeedUnit(m_speedUnit);
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
    m_deviceComboBox->addItem(dev);
    enableDeviceCommands();
}

void MainWindow::slotDeviceRemoved(QString dev)
{
    qCDebug(lcApp) << "tid=" << QThread::currentThreadId() << "remove " << dev;
    const int index = driveRow(m_deviceComboBox, dev);
    if (index < 0)
        return;
    m_deviceComboBox->removeItem(index);
    if (m_run)
        m_run->driveRemoved(dev);
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

QString MainWindow::openFilter() const
{
    QStringList patterns, filters;
    for (const QString& extension : m_registry.readableExtensions()) {
        const QString pattern = QLatin1Char('*') + extension;
        patterns << pattern;
        filters << tr("%1 File (%2)").arg(extension.mid(1).toUpper(), pattern);
    }
    filters.prepend(tr("All track files (%1)").arg(patterns.join(QLatin1Char(' '))));
    return filters.join(QStringLiteral(";;"));
}

QStringList MainWindow::chooseFilesToOpen(const QString& title)
{
    m_mapWidget->pause();
    QFileDialog dialog(this, title);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setDirectory(m_lastDirectory);
    dialog.setNameFilter(openFilter());
    if (dialog.exec() != QDialog::Accepted)
        return {};
    m_lastDirectory = dialog.directory().absolutePath();
    return dialog.selectedFiles();
}

void MainWindow::open()
{
    const QStringList files = chooseFilesToOpen(tr("Open"));
    if (!files.isEmpty())
        openFiles(files);
}

void MainWindow::addFiles()
{
    const QStringList files = chooseFilesToOpen(tr("Add Files"));
    if (!files.isEmpty())
        openFiles(files, true);
}

bool MainWindow::openFile(const QString& fileName)
{
    return openFiles(QStringList(fileName));
}

bool MainWindow::openFiles(const QStringList& fileNames, bool add)
{
    m_mapWidget->pause();
    QVector<Track> loaded;
    int opened = 0;
    int failed = 0;
    // One line per file that failed or was damaged, for the one box at the end.
    QStringList problems;
    QStringList messages; // the full message of each, for a single one
    QStringList notices; // what was left out of the files, for the status bar
    for (const QString& fileName : fileNames) {
        QVector<Track> tracks;
        const QString shownName = QDir::toNativeSeparators(fileName);
        if (!m_registry.load(tracks, fileName)) {
            const QString reason = m_registry.errorString();
            qCWarning(lcApp) << "Load:" << fileName << "failed:" << reason;
            problems << tr("%1: %2").arg(shownName, reason);
            messages << tr("The file %1 could not be opened.\n%2").arg(shownName, reason);
            ++failed;
            continue;
        }
        qCDebug(lcApp) << "Load:" << fileName << tracks.size() << "tracks";
        if (!m_registry.noticeString().isEmpty())
            notices << m_registry.noticeString();
        if (!m_registry.warningString().isEmpty()) {
            // What could be read is shown, and the box says what was lost.
            problems << tr("%1 (damaged, opened in part): %2")
                            .arg(shownName, m_registry.warningString());
            messages << tr("The file %1 is damaged; what could be read was opened.\n%2")
                            .arg(shownName, m_registry.warningString());
        }
        loaded += tracks;
        ++opened;
    }
    if (opened > 0) {
        QList<int> keepTicked;
        QList<int> added;
        if (add) {
            keepTicked = m_mapWidget->checkedTracks();
            for (int k = 0; k < loaded.size(); ++k)
                added << m_tracks.size() + k;
            m_tracks += loaded;
        } else {
            m_tracks = loaded;
            added = allTracks(m_tracks);
        }
        m_mapWidget->updateTrackList();
        m_mapWidget->showLoadedTracks(added, keepTicked);
        const QString what = fileNames.size() == 1 ? QFileInfo(fileNames.first()).fileName()
                                                   : tr("%1 files").arg(opened);
        statusBar()->showMessage(
            (add ? tr("Added %1 (tracks: %2, points: %3).")
                 : tr("Opened %1 (tracks: %2, points: %3)."))
                .arg(what, QString::number(loaded.size()),
                     QString::number(pointCount(loaded, allTracks(loaded), false))) +
            (notices.isEmpty() ? QString() : QLatin1Char(' ') + notices.join(QLatin1Char(' '))));
    }
    reportOpenProblems(problems, messages, failed);
    return failed == 0;
}

void MainWindow::reportOpenProblems(const QStringList& problems, const QStringList& messages,
                                    int failed)
{
    if (problems.isEmpty())
        return;
    QMessageBox box(QMessageBox::Warning, tr("Open"), messages.first(), QMessageBox::Ok, this);
    if (problems.size() > 1) {
        // A long run of failures is one box, not one box for each.
        const int damaged = problems.size() - failed;
        box.setText(failed == 0 ? tr("%n file(s) are damaged; what could be read was opened.",
                                     nullptr, damaged)
                                : tr("%n file(s) could not be opened.", nullptr, failed));
        QStringList shown = problems.mid(0, MaxListedProblems);
        if (problems.size() > MaxListedProblems)
            shown << tr("... and %n more (see the details).", nullptr,
                        problems.size() - MaxListedProblems);
        if (failed > 0 && damaged > 0)
            shown.prepend(tr("%n file(s) were damaged and opened in part.", nullptr, damaged));
        box.setInformativeText(shown.join(QLatin1Char('\n')));
        box.setDetailedText(problems.join(QLatin1Char('\n')));
    }
    box.exec();
}

void MainWindow::save()
{
    const QList<int> selection = m_mapWidget->checkedTracks();
    // Every open and download leaves the tracks unticked: writing nothing over a chosen file
    // would be the usual outcome of a save.
    if (selection.isEmpty()) {
        QMessageBox::information(
            this, tr("Save"), tr("No track is ticked. Tick the tracks to save in the track list."));
        return;
    }
    MyFileDialog dialog(this);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    // The dialog asks before replacing a file, about the name that will be written.
    const QStringList writable = m_registry.writableExtensions();
    dialog.setFinalName([writable](const QString& typed, const QString& filter) {
        return saveFileName(typed, filter, writable);
    });
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(
        tr("TKX File (*.tkx);;GPX File (*.gpx);;KML File (*.kml);;CSV File (*.csv)"));
    dialog.setDirectory(m_lastDirectory);
    QString file;
    if (chooseFile(dialog, &file, &m_lastDirectory))
        saveFile(file, dialog.selectedNameFilter(), selection, dialog.markedOnly());
}

QString MainWindow::saveFileName(const QString& typedName, const QString& selectedFilter,
                                 const QStringList& writable)
{
    // A typed extension of a format written chooses that format, whatever the filter says.
    const QString base = QFileInfo(typedName).fileName();
    for (const QString& extension : writable) {
        if (base.endsWith(extension, Qt::CaseInsensitive) && base.size() > extension.size())
            return typedName;
    }
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
        return typedName + QLatin1String(entry.extension);
    }
    return typedName;
}

bool MainWindow::saveFile(QString fileName, const QString& selectedFilter, QList<int> selection,
                          bool markedOnly)
{
    fileName = saveFileName(fileName, selectedFilter, m_registry.writableExtensions());
    selection.erase(
        std::remove_if(selection.begin(), selection.end(),
                       [this](int index) { return index < 0 || index >= m_tracks.size(); }),
        selection.end());
    if (!m_registry.save(m_tracks, fileName, selection, markedOnly, Qt::CaseInsensitive)) {
        showFileFailure(this, "Save:", tr("Save"), tr("The file %1 could not be saved.\n%2"),
                        fileName, m_registry.errorString());
        return false;
    }
    qCDebug(lcApp) << "Save:" << fileName << selection.size() << "tracks";
    statusBar()->showMessage(
        tr("Saved %1 (tracks: %2, points: %3).")
            .arg(QFileInfo(fileName).fileName(), QString::number(selection.size()),
                 QString::number(pointCount(m_tracks, selection, markedOnly))));
    return true;
}

// ---- Device commands ----

void MainWindow::DownloadDeviceTrackPoints()
{
    const QString drive = m_deviceComboBox->currentText();
    if (m_run || m_deleting || drive.isEmpty())
        return;
    m_mapWidget->pause();
    m_deviceGroup->setEnabled(false);
    m_run = new DownloadRun(m_device, drive, m_progressDialog, this);
    connect(m_run, &DownloadRun::finished, this, &MainWindow::downloadFinished);
    m_run->start();
}

void MainWindow::downloadFinished()
{
    DownloadRun* run = m_run;
    if (!run || sender() != run)
        return;
    m_run = nullptr;
    run->deleteLater();
    enableDeviceCommands();
    if (!run->filesChosen())
        return;
    // What was read replaces what is shown; a run that read nothing leaves it.
    if (!run->tracks().isEmpty()) {
        m_tracks = run->tracks();
        m_mapWidget->updateTrackList();
        m_mapWidget->showLoadedTracks(allTracks(m_tracks));
        statusBar()->showMessage(
            tr("Downloaded %1 track files from %2 (points: %3).")
                .arg(QString::number(m_tracks.size()), QDir::toNativeSeparators(run->drive()),
                     QString::number(pointCount(m_tracks, allTracks(m_tracks), false))));
    }
    if (run->stoppedByUser()) {
        if (run->tracks().isEmpty())
            statusBar()->showMessage(tr("Download cancelled."));
        return;
    }
    if (!run->failure().isEmpty())
        showDeviceMessage(this, QMessageBox::Warning, tr("Download all track points"),
                          run->failedCommand() == CMD_READ_TIMEOUT ? tr("Read device data timeout.")
                                                                   : tr("Failed connect device."),
                          run->failure());
    else if (run->tracks().isEmpty())
        showDeviceMessage(this, QMessageBox::Information, tr("Download all track points"),
                          tr("The chosen track files hold no track points."));
}

void MainWindow::DeleteDeviceTrackPoints()
{
    const QString drive = m_deviceComboBox->currentText();
    if (m_run || m_deleting || drive.isEmpty())
        return;
    const QString backupFolder = DeviceKV310::newBackupFolder();
    QMessageBox box(QMessageBox::Warning, tr("Delete all track points"),
                    tr("Delete device all track points."), QMessageBox::Yes | QMessageBox::No);
    box.setInformativeText(
        tr("Do you want to delete all track points?") + QLatin1Char('\n') +
        tr("The track files are first copied to %1.").arg(QDir::toNativeSeparators(backupFolder)));
    box.setDefaultButton(QMessageBox::No);
    if (box.exec() != QMessageBox::Yes)
        return;
    // The logger may have gone while the question was open.
    if (driveRow(m_deviceComboBox, drive) < 0 || m_run || m_deleting)
        return;
    m_deleting = true;
    m_deviceGroup->setEnabled(false);
    m_progressDialog->setLabelText(tr("Deleting track files..."));
    m_progressDialog->setCancelButtonText(QString()); // a deletion half-way would help no one
    m_progressDialog->setRange(0, 0);
    m_progressDialog->show();
    m_device->deleteAllTrackFiles(drive, backupFolder);
}

void MainWindow::showDeleteProgress(int done, int total)
{
    if (!m_deleting || total <= 0)
        return;
    m_progressDialog->setRange(0, total);
    m_progressDialog->setValue(done);
}

void MainWindow::deleteFinished(int status)
{
    if (!m_deleting)
        return;
    m_deleting = false;
    m_progressDialog->reset();
    const QString backup = m_device->lastBackupFolder();
    const QString where =
        backup.isEmpty()
            ? QString()
            : tr("The track files were copied to %1.").arg(QDir::toNativeSeparators(backup));
    const int remaining = m_device->remainingTrackFiles();
    if (status == 1)
        showDeviceMessage(this, QMessageBox::Information, tr("Delete all track points"),
                          tr("Delete all track files ok."), where);
    else if (remaining < 0)
        showDeviceMessage(this, QMessageBox::Warning, tr("Delete all track points"),
                          tr("The track files could not be deleted: the logger does not respond."));
    else
        showDeviceMessage(this, QMessageBox::Warning, tr("Delete all track points"),
                          tr("%n track file(s) could not be deleted and remain on the device.",
                             nullptr, remaining),
                          where);
    enableDeviceCommands();
}

void MainWindow::DeviceSetting()
{
    const QString drive = m_deviceComboBox->currentText();
    if (m_run || m_deleting || drive.isEmpty())
        return;
    m_settingsDrive = drive;
    m_device->readConfiguration(drive);
}

void MainWindow::OnRecvTrackFileHeader(QVector<TrackFileHeader> trackFileHeaderList)
{
    if (m_run)
        m_run->filesListed(trackFileHeaderList);
}

void MainWindow::OnRecvStatus(int cmd, int status)
{
    switch (cmd) {
    case CMD_READ_TRACK_FILE:
    case CMD_CONNECT_RESULT:
    case CMD_READ_TIMEOUT:
        // The reads belong to the download run; without one such a report is stale.
        if (m_run)
            m_run->readReported(cmd, status);
        else if (cmd == CMD_CONNECT_RESULT && status == 1)
            enableDeviceCommands();
        break;
    case CMD_READ_CONFIG:
        showDeviceSettings();
        break;
    case CMD_WRITE_CONFIG:
        if (status == 1)
            showDeviceMessage(this, QMessageBox::Information, tr("Device setting"),
                              tr("Set device configuration ok."));
        else
            showDeviceMessage(this, QMessageBox::Warning, tr("Device setting"),
                              tr("Failed to set device configuration."));
        break;
    case CMD_DELETE_ALL:
        deleteFinished(status);
        break;
    default:
        break;
    }
}

void MainWindow::showDeviceSettings()
{
    DeviceConfig config = m_device->configuration;
    DeviceSettingDialog dialog(config);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The configuration belongs to the logger it was read from; never write it to another.
    if (driveRow(m_deviceComboBox, m_settingsDrive) < 0) {
        showDeviceMessage(this, QMessageBox::Warning, tr("Device setting"),
                          tr("Failed to set device configuration."));
        return;
    }
    m_device->writeConfiguration(dialog.config, m_settingsDrive);
}

void MainWindow::enableDeviceCommands()
{
    if (!m_run && !m_deleting && m_deviceComboBox->count() > 0)
        m_deviceGroup->setEnabled(true);
}

void MainWindow::showFilterStatus()
{
    static const char* const comparisons[] = {">", ">=", "=", "<", "<="};
    const int rule = m_mapWidget->filterRule();
    const int row = m_mapWidget->currentTrackRow();
    m_clearFilterAct->setEnabled(rule != FilterRule::None);
    if (rule < 1 || rule > 6 || row < 0 || row >= m_tracks.size()) {
        m_filterStatus->hide();
        return;
    }
    // The threshold in the unit the lists show, as it was typed.
    const double kmh = double(m_mapWidget->filterSpeed()) / 100.0;
    const double shown = m_speedUnit != 0 ? kmh / Units::KmPerMile : kmh;
    const QString what = rule == 6 ? tr("marked points")
                                   : tr("speed %1 %2 %3")
                                         .arg(QLatin1String(comparisons[rule - 1]),
                                              QString::number(std::round(shown * 1000.0) / 1000.0),
                                              Units::speedName(m_speedUnit));
    m_filterStatus->setText(tr("Filter: %1 (%2 of %3 points listed)")
                                .arg(what, QString::number(m_mapWidget->listedPoints().size()),
                                     QString::number(m_tracks.at(row).points.size())));
    m_filterStatus->show();
}
