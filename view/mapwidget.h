#pragma once

#include "formats/displaysettings.h"
#include "view/track.h"

#include <QList>
#include <QVector>
#include <QWidget>

// The central view: track tree, map and point list.
class MapWidget : public QWidget
{
    Q_OBJECT

public:
    MapWidget(const QVector<Track>* tracks, const DisplaySettings* settings, QWidget* parent);
    ~MapWidget() override;

    void updateTrackList();
    void showTrackPoints(float speed, int rule);
    void play();
    void pause();
    void resetPlayback();
    // Stops playback and puts the position back to the first point.
    void stopPlayback();
    QList<int> checkedTracks() const;

public slots:
    void setSpeed(int speed);

signals:
    // A playback worker has finished (ran out or was stopped).
    void playbackFinished();

private:
    const QVector<Track>* m_tracks;
    const DisplaySettings* m_settings;
};
