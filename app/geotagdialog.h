#pragma once

#include "photos/geotagmatcher.h"
#include "photos/photoinfo.h"
#include "photos/photowriter.h"
#include "view/track.h"

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QTimer>
#include <QVector>

class GoogleMapOperator;

namespace Ui
{
class GeotagDialog;
}

// Geotags photos from the ticked tracks: a table of the photos with their capture time,
// matched UTC time and position (or the reason there is none), updated at once as the
// camera zone, clock error and largest gap change; the matched photos on the map; and the
// writing itself on a worker thread.
class GeotagDialog : public QDialog
{
    Q_OBJECT

public:
    struct Photo {
        PhotoInfo info;
        GeotagMatch match;
        QString thumbnailUrl; // data: URL for the map's popup, made when first needed
    };

    // The dialog keeps its own copy of the tracks' points; map may be null.
    GeotagDialog(const QVector<Track>& tracks, const QList<int>& selection, GoogleMapOperator* map,
                 QWidget* parent = nullptr);
    ~GeotagDialog() override;

    // Photo files and folders (their photos); each photo once.
    void addPhotos(const QStringList& paths);
    const QVector<Photo>& photos() const { return m_photos; }
    GeotagMatcher::Settings settings() const;
    // Writes the matched photos on a worker thread behind a progress dialog, then reads them
    // again. One result per photo: those not matched or not readable are skipped or failed
    // with their reason without being touched.
    QVector<PhotoWriter::Result> writePhotos();

private slots:
    void on_addPhotosButton_clicked();
    void on_addFolderButton_clicked();
    void on_clearButton_clicked();
    void on_writeButton_clicked();
    void updateMatches();
    void updateMap();
    void showPhotoOnMap(int row);

private:
    void fillZones();
    void setRowTexts(int row);
    QString thumbnailUrl(Photo& photo) const;

    Ui::GeotagDialog* ui;
    GeotagMatcher m_matcher;
    int m_trackCount = 0;
    QVector<Photo> m_photos;
    QPointer<GoogleMapOperator> m_map;
    QTimer m_mapTimer; // the map follows the table once a burst of changes is over
    QString m_lastFolder;
};
