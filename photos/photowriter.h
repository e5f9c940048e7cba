#pragma once

#include "photos/geotagmatch.h"
#include <QCoreApplication>

#include <QString>

// Writes a found position into a photo: the GPS tags of Exif 2.3 into a JPEG or TIFF file,
// an XMP sidecar (name.xmp) beside a raw file, which itself is never changed. Nothing else
// in the file changes, its modification time is kept, and it is replaced only once the new
// content is complete.
class PhotoWriter
{
    Q_DECLARE_TR_FUNCTIONS(PhotoWriter)

public:
    struct Options {
        bool replace = false;      // also photos that already record a position
        bool keepOriginal = false; // keep each changed file as name_original first
    };
    struct Result {
        enum Status { Tagged, Skipped, Failed };
        Status status = Failed;
        QString reason;  // Skipped, Failed; Tagged: what was left out (an altitude), if anything
        QString written; // Tagged: the file written (the photo or its sidecar)
    };

    static Result write(const QString& photoPath, const GeotagMatch& position,
                        const Options& options);
    // The most metadata read for one photo: a JPEG's segments before its image data, a TIFF's
    // or a sidecar's XMP packet.
    static const int MetadataLimit = 16 << 20;

    // Whether the position's altitude is one Exif can hold (metres, to the millimetre, below
    // 4,294,967.295); it is left out otherwise.
    static bool altitudeFits(const GeotagMatch& position);
    // The name under which keepOriginal keeps a file.
    static QString originalCopyPath(const QString& path);
};
