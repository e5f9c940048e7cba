#include "view/mapwidget.h"

// Placeholder until the track view is built.
MapWidget::MapWidget(const QVector<Track>* tracks, const DisplaySettings* settings, QWidget* parent)
    : QWidget(parent), m_tracks(tracks), m_settings(settings)
{
}

MapWidget::~MapWidget() = default;

void MapWidget::updateTrackList() {}
void MapWidget::showTrackPoints(float, int) {}
void MapWidget::play() {}
void MapWidget::pause() {}
void MapWidget::resetPlayback() {}
void MapWidget::stopPlayback() {}
QList<int> MapWidget::checkedTracks() const
{
    return {};
}
void MapWidget::setSpeed(int) {}
