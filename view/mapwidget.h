#pragma once

#include "formats/displaysettings.h"
#include "view/filterrule.h"
#include "view/track.h"
#include "view/trackstatistics.h"

#include <QList>
#include <QMultiMap>
#include <QPointer>
#include <QVector>
#include <QWidget>

class GoogleMapOperator;
class GoogleMapPage;
class PlaybackThread;
class PointListModel;
class ProfileChart;
class QModelIndex;
class QTreeWidget;
class QTreeWidgetItem;

namespace Ui
{
class MapWidget;
}

// The central view: track tree, map and point list.
class MapWidget : public QWidget
{
    Q_OBJECT

public:
    MapWidget(const QVector<Track>* tracks, const DisplaySettings* settings, QWidget* parent);
    ~MapWidget() override;

    void updateTrackList();
    // Ticks the tracks loaded (and those of keepTicked), lists the first loaded one and fits
    // the map to the loaded ones: what was just read is what the user wants to see.
    void showLoadedTracks(const QList<int>& loaded, const QList<int>& keepTicked = {});
    void showTrackPoints(float speed, int rule);
    void play();
    void pause();
    void resetPlayback();
    // Stops playback and puts the position back to the first point.
    void stopPlayback();
    QList<int> checkedTracks() const;
    // Rewrites the track tool tips and the statistics pane in the current units and time zone.
    void refreshStatistics();
    // Whether the listed track's line is coloured by its speeds; kept across listings.
    void setSpeedColours(bool on);
    bool speedColours() const { return m_speedColours; }

    // Degrees, minutes and seconds with the hemisphere letter (axis 1 latitude, 2 longitude;
    // format 1, the only one); an empty text for anything else.
    static QString formatCoordinate(double value, int axis, int format);

    const QVector<Vec3>& listedPoints() const { return m_listedPoints; }
    // The record number in its track of listed point `row` (1 for the track's first point).
    int recordNumber(int row) const
    {
        return row < m_listedNumbers.size() ? m_listedNumbers.at(row) : row + 1;
    }
    // Row of the track whose points are listed, as the track tree's current row; -1 if none.
    int currentTrackRow() const;
    int playPosition() const { return m_playPosition; }
    int filterRule() const { return m_filterRule; }
    float filterSpeed() const { return m_filterSpeed; }
    bool isPlaying() const;
    GoogleMapOperator* mapOperator() const { return m_mapOperator; }
    GoogleMapPage* mapPage() const { return m_mapPage; }
    const QMultiMap<unsigned, Vec3>& trackMarkers() const { return m_trackMarkers; }
    const QVector<TrackStatistics>& statistics() const { return m_statistics; }
    // Figures of the listed track; the main window may move it into a pane of its own.
    QTreeWidget* statisticsView() const;
    // Speed and altitude of the listed points; the main window may move it into a dock.
    ProfileChart* profileChart() const;

public slots:
    void setSpeed(int speed);
    void TreeWidgetItemChanged(QTreeWidgetItem* item, int column);
    void TreeWidgetItemDoubleClicked(QTreeWidgetItem* item, int column);
    void TreeWidget2ItemDoubleClicked(const QModelIndex& index);
    void showPointAndSelectInfo(int index);
    void playEnd();
    // A click on the profile: the nearest listed point, as a double-click on its row.
    void profilePointClicked(int index);
    // Fits the map to the checked tracks, or to the listed one when none is checked, or else
    // to every track.
    void zoomToTracks();

signals:
    // A playback worker has finished (ran out or was stopped).
    void playbackFinished();
    // A listed point was shown on the map (by playback, a row double-click or a reset).
    void pointShown(int index);
    // The point list was refilled or emptied (a track listed, a filter applied or cleared).
    void pointsListed();

protected:
    // Enter on a track lists it, as a double-click does.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createTrackRoot();
    QString trackTitle(int track) const;
    QString pointTitle(int number, const Vec3& point) const;
    bool localTime() const;
    // After a stop that sets the position itself, announcements still queued from the
    // stopped worker would move it again.
    void discardAnnouncements();
    void showStatistics();
    void setTrackToolTip(QTreeWidgetItem* item, int track);
    // Shows every track of parent's children as its check box says, with its markers.
    void syncMapWithTree(QTreeWidgetItem* parent);
    void fitTracks(const QList<int>& indices);
    void updateSpeedColours();

    Ui::MapWidget* ui;
    const QVector<Track>* m_tracks;
    const DisplaySettings* m_settings;
    QTreeWidgetItem* m_trackRoot = nullptr;
    GoogleMapOperator* m_mapOperator = nullptr;
    GoogleMapPage* m_mapPage = nullptr;
    PointListModel* m_pointModel = nullptr;
    QMultiMap<unsigned, Vec3> m_trackMarkers;
    QVector<Vec3> m_listedPoints;
    QVector<int> m_listedNumbers;          // record numbers of a filtered list; empty: row + 1
    QVector<TrackStatistics> m_statistics; // one per track, from the last updateTrackList
    int m_listedTrack = -1;                // track of m_listedPoints, -1 for none
    QPointer<QTreeWidget> m_statisticsView;
    QPointer<ProfileChart> m_profileChart;
    float m_filterSpeed = -1.0f;
    int m_filterRule = FilterRule::None;
    PlaybackThread* m_playbackThread = nullptr;
    int m_playPosition = 0;
    int m_playbackSpeed = 0;
    // Counts playbacks, so that a worker replaced before its end is not reported as finished.
    int m_playbackGeneration = 0;
    int m_announcementGeneration = 0;
    int m_itemChangeDepth = 0; // nesting of TreeWidgetItemChanged
    bool m_speedColours = false;
    int m_colouredTrack = -1; // track whose speed colours the page shows, -1 for none
    int m_colouredUnit = -1;  // speed unit of their legend
};
