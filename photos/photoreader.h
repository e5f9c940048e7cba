#pragma once

#include "photos/photoinfo.h"

#include <QStringList>

// Reads what geotagging needs from photos (JPEG, TIFF and the raw formats the Exiv2 library
// knows): the capture time (DateTimeOriginal, else DateTime, with their sub-seconds and
// offset), any position already recorded, and optionally a thumbnail.
class PhotoReader
{
public:
    static PhotoInfo read(const QString& path, bool withThumbnail = false);

    // The photo files among paths, each once: files as given, folders by the photos directly
    // in them (by extension, in name order). Paths that do not exist are kept, so that they
    // are reported.
    static QStringList collect(const QStringList& paths);
    static bool hasPhotoExtension(const QString& fileName);
    // "*.jpg *.JPG ..." for file dialogs.
    static QString nameFilter();
    // Raw files are never changed; their position goes into a sidecar.
    static bool hasRawExtension(const QString& fileName);
    // How a file of the Exiv2 image type imageType at path takes a position.
    static PhotoInfo::Kind kindFor(int imageType, const QString& path);
    // name.ext -> name.xmp in the same folder.
    static QString sidecarPath(const QString& photoPath);

    // "YYYY:MM:DD HH:MM:SS" to seconds since 1970 read as if UTC; false when empty or invalid.
    static bool parseDateTime(const QByteArray& text, qint64* seconds);
    // Sub-second digits ("5" is 500 ms) to milliseconds; 0 when absent or invalid.
    static int parseSubSeconds(const QByteArray& text);
    // "+HH:MM" / "-HH:MM" to seconds; false when absent or invalid.
    static bool parseOffset(const QByteArray& text, int* seconds);
};
