#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// What a photo's metadata says about when and where it was taken, as read by PhotoReader.
struct PhotoInfo {
    enum Kind {
        Unreadable, // error says why
        InPlace,    // JPEG or TIFF: the position goes into the photo itself
        Sidecar,    // raw: the position goes into an XMP file beside it
    };

    QString path;
    Kind kind = Unreadable;
    QString error;
    // Unreadable because the library cannot read this kind of photo (a raw format it does not
    // know): to be skipped, not a failure.
    bool unsupported = false;

    // Capture time on the camera's clock: milliseconds since 1970 as if that clock were UTC.
    bool hasTime = false;
    qint64 wallMs = 0;
    // The photo's own offset from UTC, where it records one.
    bool hasOffset = false;
    int offsetSeconds = 0;

    // A position already in the photo (or, for a raw file, in its sidecar).
    bool hasPosition = false;
    double latitude = 0.0;
    double longitude = 0.0;

    // A small JPEG (the Exif thumbnail or the smallest embedded preview); may be empty.
    QByteArray thumbnail;
};
