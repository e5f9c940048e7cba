#include "view/mapwidget.h"
#include "ui_mapwidget.h"

#include "formats/settingfile.h"
#include "formats/timetext.h"
#include "view/googlemapoperator.h"
#include "view/googlemappage.h"
#include "view/playbackthread.h"
#include "view/pointlistmodel.h"
#include "view/profilechart.h"
#include "view/speedscale.h"
#include "view/treecheckstate.h"
#include "view/units.h"
#include "view/viewlog.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QSettings>
#include <QTreeWidget>

#include <cmath>
#include <limits>

static void initMapResources()
{
    Q_INIT_RESOURCE(map);
}

MapWidget::MapWidget(const QVector<Track>* tracks, const DisplaySettings* settings, QWidget* parent)
    : QWidget(parent), ui(new Ui::MapWidget), m_tracks(tracks), m_settings(settings)
{
    initMapResources();
    ui->setupUi(this);

    m_pointModel = new PointListModel(&m_listedPoints, &m_listedNumbers, this);
    ui->treeWidget_2->setModel(m_pointModel);

    // Created after the form, so that the web view and its page go before the bridge.
    m_mapOperator = new GoogleMapOperator(this);
    const SettingFile ini;
    const QString tiles = ini.value(QStringLiteral("MapTiles")).toString().trimmed();
    if (!tiles.isEmpty())
        m_mapOperator->setTiles(tiles, ini.value(QStringLiteral("MapTilesAttribution")).toString());
    m_mapPage = new GoogleMapPage(ui->webView);
    m_mapPage->setBridge(m_mapOperator);
    ui->webView->setPage(m_mapPage);
    m_mapPage->load(GoogleMapPage::pageUrl());

    ui->treeWidget->setColumnCount(1);
    ui->treeWidget->setHeaderLabels(QStringList(QString()));
    createTrackRoot();

    connect(ui->treeWidget, &QTreeWidget::itemChanged, this, &MapWidget::TreeWidgetItemChanged);
    connect(ui->treeWidget, &QTreeWidget::itemDoubleClicked, this,
            &MapWidget::TreeWidgetItemDoubleClicked);
    connect(ui->treeWidget_2, &QTreeView::doubleClicked, this,
            &MapWidget::TreeWidget2ItemDoubleClicked);
    ui->treeWidget->installEventFilter(this);

    m_playbackThread = new PlaybackThread(this);

    // Not part of the form: they stay hidden until the main window places them.
    m_statisticsView = new QTreeWidget(this);
    m_statisticsView->setObjectName(QStringLiteral("statisticsView"));
    m_statisticsView->setColumnCount(2);
    m_statisticsView->setHeaderHidden(true);
    m_statisticsView->setRootIsDecorated(false);
    m_statisticsView->setSelectionMode(QAbstractItemView::NoSelection);
    m_statisticsView->setFocusPolicy(Qt::NoFocus);
    m_statisticsView->hide();
    m_profileChart = new ProfileChart(this);
    m_profileChart->setObjectName(QStringLiteral("profileChart"));
    m_profileChart->setAcceptDrops(false); // files dropped on it go to the window as well
    m_profileChart->viewport()->setAcceptDrops(false);
    m_profileChart->hide();
    connect(m_profileChart, &ProfileChart::pointClicked, this, &MapWidget::profilePointClicked);
}

MapWidget::~MapWidget()
{
    // The worker signals this widget: it must end before the widget goes.
    m_playbackThread->stop();
    ui->treeWidget->removeEventFilter(this);
    delete ui;
}

void MapWidget::createTrackRoot()
{
    m_trackRoot = new QTreeWidgetItem(ui->treeWidget, QStringList(tr("KV-730 Data Logger")));
    m_trackRoot->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
    m_trackRoot->setCheckState(0, Qt::Unchecked);
}

bool MapWidget::localTime() const
{
    return m_settings->timeSwitch() != DisplaySettings::Utc;
}

QString MapWidget::pointTitle(int number, const Vec3& point) const
{
    return QStringLiteral("%1. ").arg(number) +
           TimeText::dateTime(TimeText::split(point.time, localTime()), QStringLiteral(" - "));
}

void MapWidget::updateTrackList()
{
    ui->treeWidget->clear();
    m_pointModel->beginListing();
    m_listedPoints.clear();
    m_listedNumbers.clear();
    m_pointModel->endListing(m_pointModel->format(), QStringList());

    emit m_mapOperator->deleteAllObject();
    m_colouredTrack = -1;
    m_trackMarkers.clear();
    if (m_profileChart)
        m_profileChart->clear();
    m_listedTrack = -1;
    m_statistics = TrackStatistics::computeAll(*m_tracks);
    showStatistics();

    createTrackRoot();
    m_trackRoot->setExpanded(true);

    for (int k = 0; k < m_tracks->size(); ++k) {
        const Track& track = m_tracks->at(k);
        emit m_mapOperator->addPolyline();

        auto* item = new QTreeWidgetItem(m_trackRoot, QStringList(trackTitle(k)));
        item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
        item->setCheckState(0, Qt::Unchecked);
        setTrackToolTip(item, k);

        const unsigned key = unsigned(k);
        for (const Vec3& p : track.points) {
            if (p.marked != 0)
                m_trackMarkers.insert(key, p);
            emit m_mapOperator->addLatLng(p.lat, p.lon, k);
        }
        if (track.points.size() > 2) {
            m_trackMarkers.insert(key, track.points.last());
            m_trackMarkers.insert(key, track.points.first());
        }
    }
    // A new set of tracks is seen whole, wherever the map was before.
    QList<int> all;
    for (int k = 0; k < m_tracks->size(); ++k)
        all << k;
    fitTracks(all);
    emit pointsListed();
}

void MapWidget::showLoadedTracks(const QList<int>& loaded, const QList<int>& keepTicked)
{
    QList<int> shown;
    for (int k : loaded) {
        if (k >= 0 && k < m_trackRoot->childCount())
            shown << k;
    }
    if (shown.isEmpty())
        return;
    // Ticked as one change: the map is brought in step once, not once per track.
    ++m_itemChangeDepth;
    for (const QList<int>& ticks : {keepTicked, shown}) {
        for (int k : ticks) {
            if (k >= 0 && k < m_trackRoot->childCount())
                m_trackRoot->child(k)->setCheckState(0, Qt::Checked);
        }
    }
    TreeCheckState::updateParent(m_trackRoot->child(0));
    --m_itemChangeDepth;
    syncMapWithTree(m_trackRoot);

    QTreeWidgetItem* first = m_trackRoot->child(shown.first());
    ui->treeWidget->setCurrentItem(first);
    TreeWidgetItemDoubleClicked(first, 0);
    // After the listing, which centres the map on its first point.
    fitTracks(shown);
}

bool MapWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && watched == ui->treeWidget) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        QTreeWidgetItem* item = ui->treeWidget->currentItem();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && item) {
            TreeWidgetItemDoubleClicked(item, 0);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MapWidget::fitTracks(const QList<int>& indices)
{
    constexpr double Huge = std::numeric_limits<double>::infinity();
    double south = Huge, west = Huge, north = -Huge, east = -Huge;
    for (int k : indices) {
        if (k < 0 || k >= m_tracks->size())
            continue;
        for (const Vec3& p : m_tracks->at(k).points) {
            if (!std::isfinite(p.lat) || !std::isfinite(p.lon))
                continue;
            south = std::min(south, p.lat);
            north = std::max(north, p.lat);
            west = std::min(west, p.lon);
            east = std::max(east, p.lon);
        }
    }
    if (south <= north)
        emit m_mapOperator->fitBounds(south, west, north, east);
}

void MapWidget::zoomToTracks()
{
    QList<int> chosen = checkedTracks();
    if (chosen.isEmpty() && m_listedTrack >= 0)
        chosen << m_listedTrack;
    if (chosen.isEmpty()) {
        for (int k = 0; k < m_tracks->size(); ++k)
            chosen << k;
    }
    fitTracks(chosen);
}

void MapWidget::setSpeedColours(bool on)
{
    m_speedColours = on;
    updateSpeedColours();
}

void MapWidget::updateSpeedColours()
{
    const int unit = m_settings->speedUnit();
    int track = -1;
    // Tracks without speeds keep their plain line.
    if (m_speedColours && m_listedTrack >= 0 && m_listedTrack < m_tracks->size() &&
        m_tracks->at(m_listedTrack).hasSpeeds())
        track = m_listedTrack;
    if (track == m_colouredTrack && (track < 0 || unit == m_colouredUnit))
        return;
    m_colouredTrack = track;
    m_colouredUnit = unit;
    if (track < 0) {
        emit m_mapOperator->clearSpeedColours();
        return;
    }
    const SpeedScale scale = SpeedScale::compute(m_tracks->at(track).points);
    const auto text = [unit](quint32 speed) {
        const double value =
            unit == 1 ? Units::speedMph(qint32(speed)) : Units::speedKmh(qint32(speed));
        return QStringLiteral("%1 %2").arg(value, 0, 'f', 1).arg(Units::speedName(unit));
    };
    emit m_mapOperator->showSpeedColours(
        track, scale.levels, m_tracks->at(track).derivedSpeed ? tr("Speed (derived)") : tr("Speed"),
        text(scale.slowest), text(scale.fastest));
}

int MapWidget::currentTrackRow() const
{
    return ui->treeWidget->currentIndex().row();
}

QTreeWidget* MapWidget::statisticsView() const
{
    return m_statisticsView;
}

ProfileChart* MapWidget::profileChart() const
{
    return m_profileChart;
}

QString MapWidget::trackTitle(int track) const
{
    // The track starts with its first point, as its figures say, in the chosen time; the
    // first dated line of a log may be one that gave no point.
    // A track read from a file that names it goes by its name.
    const Track& t = m_tracks->at(track);
    if (!t.name.isEmpty())
        return QStringLiteral("%1. ").arg(track + 1) + t.name;
    const bool timed = track < m_statistics.size() && m_statistics.at(track).hasTime;
    const qint64 start = timed ? m_statistics.at(track).startTime : t.startTime;
    return QStringLiteral("%1. ").arg(track + 1) +
           TimeText::dateTime(TimeText::split(start, localTime()), QStringLiteral(" - "));
}

void MapWidget::refreshStatistics()
{
    if (m_trackRoot) {
        for (int k = 0; k < m_trackRoot->childCount() && k < m_tracks->size(); ++k) {
            {
                const QSignalBlocker blocker(ui->treeWidget); // no change of the map
                m_trackRoot->child(k)->setText(0, trackTitle(k));
            }
            setTrackToolTip(m_trackRoot->child(k), k);
        }
    }
    showStatistics();
}

void MapWidget::setTrackToolTip(QTreeWidgetItem* item, int track)
{
    if (track >= m_statistics.size())
        return;
    // A tool tip is no change of the track's state: the map must not be resynchronised.
    const QSignalBlocker blocker(ui->treeWidget);
    item->setToolTip(0, m_statistics.at(track).toolTip(*m_settings));
}

void MapWidget::showStatistics()
{
    if (!m_statisticsView)
        return;
    m_statisticsView->clear();
    if (m_listedTrack < 0 || m_listedTrack >= m_statistics.size())
        return;
    const auto rows = m_statistics.at(m_listedTrack).rows(*m_settings);
    QList<QTreeWidgetItem*> items;
    items.reserve(rows.size());
    for (const auto& row : rows)
        items.append(new QTreeWidgetItem(QStringList{row.first, row.second}));
    m_statisticsView->addTopLevelItems(items);
    m_statisticsView->resizeColumnToContents(0);
}

void MapWidget::showTrackPoints(float speed, int rule)
{
    m_pointModel->beginListing();
    m_listedPoints.clear();
    m_listedNumbers.clear();

    const int row = currentTrackRow();
    if (row < 0 || m_tracks->isEmpty() || row >= m_tracks->size()) {
        m_pointModel->endListing(m_pointModel->format(), QStringList());
        if (m_profileChart)
            m_profileChart->clear();
        m_listedTrack = -1;
        showStatistics();
        emit pointsListed();
        updateSpeedColours();
        return;
    }
    const Track track = m_tracks->at(row);

    QStringList headers;
    if (track.fmt == 2) {
        headers << tr("Record Number") << tr("Date") << tr("Time") << tr("Latitude")
                << tr("Longitude") << tr("Altitude") << tr("Speed");
    }
    if (rule != FilterRule::Keep) {
        m_filterRule = rule;
        m_filterSpeed = float(double(speed) * 100.0);
    }

    const double t = m_filterSpeed;
    const auto keep = [this, t](const Vec3& p) {
        const double s = quint32(p.speed);
        switch (m_filterRule) {
        case FilterRule::Greater:
            return s > t;
        case FilterRule::GreaterEqual:
            return s >= t;
        case FilterRule::Equal:
            return s == t;
        case FilterRule::Less:
            return s < t;
        case FilterRule::LessEqual:
            return s <= t;
        case FilterRule::Marked:
            return p.marked != 0;
        default:
            return true;
        }
    };
    if (m_filterRule == FilterRule::None) {
        m_listedPoints = track.points;
    } else {
        m_listedPoints.reserve(track.points.size());
        for (int i = 0; i < track.points.size(); ++i) {
            if (keep(track.points.at(i))) {
                m_listedPoints.append(track.points.at(i));
                m_listedNumbers.append(i + 1);
            }
        }
        m_listedPoints.squeeze();
        m_listedNumbers.squeeze();
    }

    if (!m_listedPoints.isEmpty())
        emit m_mapOperator->setCenter(m_listedPoints.first().lat, m_listedPoints.first().lon);

    PointListModel::Format format;
    format.fmt = track.fmt;
    format.derivedSpeed = track.derivedSpeed;
    format.speedsWithoutAltitude = track.speedsWithoutAltitude;
    format.speedUnit = m_settings->speedUnit();
    format.heightUnit = m_settings->heightUnit();
    format.local = localTime();
    m_pointModel->endListing(format, headers);
    if (!headers.isEmpty()) {
        for (int c = 0; c < headers.size(); ++c)
            ui->treeWidget_2->resizeColumnToContents(c);
    }
    if (m_profileChart) {
        m_profileChart->setSpeedDerived(track.derivedSpeed);
        m_profileChart->setPoints(
            m_listedPoints, ProfileChart::seriesOf(track.fmt, track.speedsWithoutAltitude),
            *m_settings);
    }
    m_listedTrack = row;
    showStatistics();
    emit pointsListed();
    updateSpeedColours();
}

QString MapWidget::formatCoordinate(double value, int axis, int format)
{
    if (format != 1 || (axis != 1 && axis != 2))
        return QString();
    const double d = std::trunc(value);
    const double f = (value - d) * 60.0;
    const double m = std::trunc(f);
    const double s = (f - m) * 60.0;
    QString pattern;
    if (axis == 1)
        pattern = value >= 0 ? QStringLiteral("%1%2%3'%4\" N") : QStringLiteral("%1%2%3'%4\" S");
    else
        pattern = value >= 0 ? QStringLiteral("%1%2%3'%4\" E") : QStringLiteral("%1%2%3'%4\" W");
    return pattern.arg(QString::number(std::fabs(d), 'f', 0), QString(QChar(0x00B0)),
                       QString::number(std::fabs(m), 'f', 0),
                       QString::number(std::fabs(s), 'f', 4));
}

void MapWidget::TreeWidgetItemChanged(QTreeWidgetItem* item, int column)
{
    Q_UNUSED(column);
    QTreeWidgetItem* parent = item->parent() ? item->parent() : item;

    // A change spreads through the tree (from a parent to every child, from each child back
    // to the parent), and each step runs this slot again. Resynchronising the map at every
    // step costs the square of the track count in map calls, every pass wiping out the one
    // before; the outermost change alone sends the state the tree ends in. A child set by its
    // parent's change has nothing to pass on: the parent holds the state all children get.
    if (m_itemChangeDepth > 0 && item->parent())
        return;
    ++m_itemChangeDepth;
    TreeCheckState::propagate(item);
    --m_itemChangeDepth;
    if (m_itemChangeDepth == 0)
        syncMapWithTree(parent);
}

void MapWidget::syncMapWithTree(QTreeWidgetItem* parent)
{
    emit m_mapOperator->deleteMarked();
    for (int i = 0; i < parent->childCount(); ++i) {
        const Qt::CheckState state = parent->child(i)->checkState(0);
        if (state == Qt::Checked) {
            emit m_mapOperator->showPolyline(i);
            const QList<Vec3> entries = m_trackMarkers.values(unsigned(i));
            for (int j = 0; j < entries.size(); ++j) {
                const Vec3& e = entries.at(j);
                const QString text = pointTitle(i + 1, e) + QStringLiteral(" #%1").arg(j);
                if (j == 0)
                    emit m_mapOperator->addStartPoint(e.lat, e.lon, text);
                else if (j == 1)
                    emit m_mapOperator->addEndPoint(e.lat, e.lon, text);
                else
                    emit m_mapOperator->addMarker(e.lat, e.lon, text);
            }
        } else if (state == Qt::Unchecked) {
            emit m_mapOperator->clearPolyline(i);
        }
    }
    emit m_mapOperator->showMarked();
}

void MapWidget::TreeWidgetItemDoubleClicked(QTreeWidgetItem* item, int column)
{
    Q_UNUSED(column);
    pause();
    discardAnnouncements();
    m_playPosition = 0;
    showTrackPoints(-1.0f, FilterRule::None);
    item->setCheckState(0, Qt::Checked);
}

void MapWidget::showPointAndSelectInfo(int index)
{
    if (index < 0 || index >= m_listedPoints.size())
        return;
    const Vec3& p = m_listedPoints.at(index);
    emit m_mapOperator->viewPoint(p.lat, p.lon, pointTitle(recordNumber(index), p));

    const QModelIndex row = m_pointModel->index(index, 0);
    ui->treeWidget_2->selectionModel()->select(row, QItemSelectionModel::ClearAndSelect |
                                                        QItemSelectionModel::Rows);
    ui->treeWidget_2->scrollTo(row, QAbstractItemView::EnsureVisible);
    m_playPosition = index;
    if (m_profileChart)
        m_profileChart->setCursorIndex(index);
    emit pointShown(index);
}

void MapWidget::TreeWidget2ItemDoubleClicked(const QModelIndex& index)
{
    Q_UNUSED(index);
    pause();
    discardAnnouncements();
    const int row = ui->treeWidget_2->currentIndex().row();
    if (row < 0 || row >= m_listedPoints.size())
        return;
    m_playPosition = row;
    const Vec3& p = m_listedPoints.at(row);
    emit m_mapOperator->viewPoint(p.lat, p.lon, pointTitle(recordNumber(row), p));
    if (m_profileChart)
        m_profileChart->setCursorIndex(row);
    emit pointShown(row);
}

void MapWidget::profilePointClicked(int index)
{
    if (index < 0 || index >= m_listedPoints.size())
        return;
    const QModelIndex row = m_pointModel->index(index, 0);
    ui->treeWidget_2->selectionModel()->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect |
                                                                 QItemSelectionModel::Rows);
    ui->treeWidget_2->scrollTo(row, QAbstractItemView::EnsureVisible);
    TreeWidget2ItemDoubleClicked(row);
}

QList<int> MapWidget::checkedTracks() const
{
    QList<int> result;
    QTreeWidgetItem* root = ui->treeWidget->topLevelItem(0);
    if (!root)
        return result;
    for (int i = 0; i < root->childCount(); ++i) {
        if (root->child(i)->checkState(0) == Qt::Checked)
            result << i;
    }
    return result;
}

// ---- Playback ----

void MapWidget::play()
{
    m_playbackThread->stop();
    delete m_playbackThread;
    m_playbackThread = new PlaybackThread(this);
    const int generation = ++m_playbackGeneration;

    const int announcements = ++m_announcementGeneration;

    connect(
        m_playbackThread, &PlaybackThread::currentPoint, this,
        [this, announcements](int index) {
            if (announcements == m_announcementGeneration)
                showPointAndSelectInfo(index);
        },
        Qt::QueuedConnection);
    connect(
        m_playbackThread, &QThread::finished, this,
        [this, generation] {
            if (generation == m_playbackGeneration)
                emit playbackFinished();
        },
        Qt::QueuedConnection);
    connect(
        m_playbackThread, &PlaybackThread::playEnd, this,
        [this, announcements] {
            if (announcements == m_announcementGeneration)
                playEnd();
        },
        Qt::QueuedConnection);

    m_playbackThread->setPointCount(m_listedPoints.size());
    m_playbackThread->setStartIndex(m_playPosition);
    m_playbackThread->setSpeed(m_playbackSpeed);
    m_playbackThread->start(QThread::InheritPriority);
}

void MapWidget::pause()
{
    m_playbackThread->stop();
}

void MapWidget::discardAnnouncements()
{
    ++m_announcementGeneration;
}

void MapWidget::resetPlayback()
{
    pause();
    discardAnnouncements();
    m_playPosition = 0;
    showPointAndSelectInfo(0);
}

void MapWidget::stopPlayback()
{
    pause();
    discardAnnouncements();
    m_playPosition = 0;
}

bool MapWidget::isPlaying() const
{
    return m_playbackThread->isRunning();
}

void MapWidget::playEnd()
{
    m_playPosition = 0;
}

void MapWidget::setSpeed(int speed)
{
    m_playbackSpeed = speed;
    m_playbackThread->setSpeed(speed);
}
