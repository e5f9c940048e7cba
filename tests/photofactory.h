#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QStringList>

#include <exiv2/exiv2.hpp>

// Photos made for the tests: a small picture saved by Qt, its metadata set through Exiv2.
namespace PhotoFactory
{

inline QImage picture()
{
    QImage image(48, 32, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 5, y * 7, (x * y) % 256));
    return image;
}

inline QByteArray bytes(Exiv2::BasicIo& io)
{
    io.open();
    QByteArray data(reinterpret_cast<const char*>(io.mmap()), int(io.size()));
    io.munmap();
    io.close();
    return data;
}

// format "jpg" or "tif"; tags "key=value" for Exif, IPTC and XMP keys, or "XmpPacket=" with a
// whole packet. A JPEG gets a thumbnail.
inline QByteArray make(const char* format, const QStringList& tags)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    picture().save(&buffer, format);
    const QByteArray plain = buffer.data();
    auto image =
        Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte*>(plain.data()), plain.size());
    image->readMetadata();
    bool xmpTags = false;
    for (const QString& tag : tags) {
        const std::string key = tag.section('=', 0, 0).toStdString();
        const std::string value = tag.section('=', 1).toStdString();
        xmpTags = xmpTags || tag.startsWith("Xmp.");
        if (key == "XmpPacket") // as another program wrote it, not as Exiv2 would
            image->setXmpPacket(value);
        else if (tag.startsWith("Exif."))
            image->exifData()[key] = value;
        else if (tag.startsWith("Iptc."))
            image->iptcData()[key] = value;
        else
            image->xmpData()[key] = value;
    }
    if (QByteArray(format) == "jpg") {
        QBuffer thumb;
        thumb.open(QIODevice::WriteOnly);
        picture().scaled(16, 12).save(&thumb, "jpg");
        Exiv2::ExifThumb(image->exifData())
            .setJpegThumbnail(reinterpret_cast<const Exiv2::byte*>(thumb.data().constData()),
                              thumb.size());
    }
    image->writeXmpFromPacket(!xmpTags);
    image->writeMetadata();
    return bytes(image->io());
}

} // namespace PhotoFactory
