#pragma once

#include <QObject>
#include <QString>

// The map page's only way in: the page connects each signal to its function of the
// same name, and every change to the map is an emission of one of them.
class GoogleMapOperator : public QObject
{
    Q_OBJECT
    // Tile address template and its attribution for the page; empty: the page's default.
    Q_PROPERTY(QString tileUrl READ tileUrl CONSTANT)
    Q_PROPERTY(QString tileAttribution READ tileAttribution CONSTANT)
    // The page's one line when map tiles cannot be loaded, in the user's language.
    Q_PROPERTY(QString tileErrorText READ tileErrorText CONSTANT)
    // Put before every tile address by the page: the web engine fetches tiles through a
    // scheme of the tool's own, which serves them from the tile cache; empty otherwise.
    Q_PROPERTY(QString tilePrefix READ tilePrefix CONSTANT)

public:
    explicit GoogleMapOperator(QObject* parent = nullptr);

    QString tileUrl() const { return m_tileUrl; }
    QString tileAttribution() const { return m_tileAttribution; }
    QString tileErrorText() const;
    void setTiles(const QString& url, const QString& attribution);
    QString tilePrefix() const { return m_tilePrefix; }
    void setTilePrefix(const QString& prefix) { m_tilePrefix = prefix; }

signals:
    void addPolyline();
    void addLatLng(double lat, double lng, int n);
    void setCenter(double lat, double lng);
    void showPolyline(int n);
    void clearPolyline(int n);
    void deletePolylines();
    void addStartPoint(double lat, double lng, QString text);
    void addEndPoint(double lat, double lng, QString text);
    void addMarker(double lat, double lng, QString text);
    void deleteMarked();
    void showMarked();
    void viewPoint(double lat, double lng, QString text);
    void deleteAllObject();
    // Beyond the original thirteen: the map around a box of positions (at most at zoom 16),
    // and one line coloured by speed (levels as SpeedScale gives them) with its legend.
    void fitBounds(double south, double west, double north, double east);
    void showSpeedColours(int n, QString levels, QString title, QString slowText, QString fastText);
    void clearSpeedColours();

    // Geotagged photos, a layer of their own: photo n with its title and a thumbnail as a
    // data: URL (may be empty); cleared all at once; centred with its popup open.
    void addPhoto(int n, double lat, double lng, QString text, QString thumbnail);
    void clearPhotos();
    void showPhoto(int n);

private:
    QString m_tileUrl;
    QString m_tileAttribution;
    QString m_tilePrefix;
};
