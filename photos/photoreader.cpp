#include "photos/photoreader.h"
#include "formats/civildate.h"
#include "formats/formatslog.h"
#include "photos/exivsupport.h"
#include "photos/photowriter.h"
#include "photos/tiffappender.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace
{

const char* const photoExtensions[] = {"jpg", "jpeg", "jpe", "tif", "tiff"};
const char* const rawExtensions[] = {"3fr", "arw", "cap", "cr2", "cr3", "crw", "dcr", "dng",
                                     "eip", "erf", "fff", "gpr", "iiq", "kdc", "mef", "mos",
                                     "mrw", "nef", "nrw", "orf", "pef", "raf", "raw", "rw2",
                                     "rwl", "sr2", "srf", "srw", "x3f"};

bool hasExtension(const QString& fileName, const char* const* first, const char* const* last)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    return std::any_of(first, last, [&](const char* e) { return suffix == QLatin1String(e); });
}

QByteArray exifText(const Exiv2::ExifData& exif, const char* key)
{
    const auto it = exif.findKey(Exiv2::ExifKey(key));
    if (it == exif.end())
        return QByteArray();
    return QByteArray::fromStdString(it->toString()).trimmed();
}

// Degrees from three rationals and a reference letter; false when incomplete.
bool exifCoordinate(const Exiv2::ExifData& exif, const char* key, const char* refKey, double* value)
{
    const auto it = exif.findKey(Exiv2::ExifKey(key));
    const QByteArray ref = exifText(exif, refKey).toUpper();
    if (it == exif.end() || it->count() < 3 || ref.isEmpty())
        return false;
    double parts[3];
    for (long i = 0; i < 3; ++i) {
        const Exiv2::Rational r = it->toRational(i);
        if (r.second == 0)
            return false;
        parts[i] = double(r.first) / r.second;
    }
    const double degrees = parts[0] + parts[1] / 60.0 + parts[2] / 3600.0;
    *value = (ref == "S" || ref == "W") ? -degrees : degrees;
    return std::isfinite(*value);
}

// An XMP GPS coordinate, "DDD,MM,SSk" or "DDD,MM.mmk".
bool xmpCoordinate(const Exiv2::XmpData& xmp, const char* key, double* value)
{
    const auto it = xmp.findKey(Exiv2::XmpKey(key));
    if (it == xmp.end())
        return false;
    QByteArray text = QByteArray::fromStdString(it->toString()).trimmed().toUpper();
    if (text.isEmpty())
        return false;
    const char hemisphere = text.at(text.size() - 1);
    if (!std::strchr("NSEW", hemisphere))
        return false;
    text.chop(1);
    const QList<QByteArray> parts = text.split(',');
    if (parts.size() < 2 || parts.size() > 3)
        return false;
    double degrees = 0.0;
    double scale = 1.0;
    for (const QByteArray& part : parts) {
        bool ok = false;
        degrees += part.toDouble(&ok) / scale;
        if (!ok)
            return false;
        scale *= 60.0;
    }
    *value = (hemisphere == 'S' || hemisphere == 'W') ? -degrees : degrees;
    return std::isfinite(*value);
}

// A drone's own position (DJI: drone-dji:GpsLatitude, GpsLongitude or GpsLongtitude), in
// signed decimal degrees.
bool makerPosition(const Exiv2::XmpData& xmp, double* lat, double* lon)
{
    bool haveLat = false;
    bool haveLon = false;
    for (const Exiv2::Xmpdatum& d : xmp) {
        if (d.groupName() != "drone-dji")
            continue;
        const QString name = QString::fromStdString(d.tagName()).toLower();
        bool ok = false;
        const double value = QString::fromStdString(d.toString()).trimmed().toDouble(&ok);
        if (ok && std::isfinite(value) && name.startsWith(QLatin1String("gpslat")))
            haveLat = true, *lat = value;
        else if (ok && std::isfinite(value) && name.startsWith(QLatin1String("gpslon")))
            haveLon = true, *lon = value;
    }
    return haveLat && haveLon;
}

void readPosition(const Exiv2::ExifData& exif, const Exiv2::XmpData& xmp, PhotoInfo& info)
{
    double lat = 0.0;
    double lon = 0.0;
    if ((exifCoordinate(exif, "Exif.GPSInfo.GPSLatitude", "Exif.GPSInfo.GPSLatitudeRef", &lat) &&
         exifCoordinate(exif, "Exif.GPSInfo.GPSLongitude", "Exif.GPSInfo.GPSLongitudeRef", &lon)) ||
        (xmpCoordinate(xmp, "Xmp.exif.GPSLatitude", &lat) &&
         xmpCoordinate(xmp, "Xmp.exif.GPSLongitude", &lon)) ||
        makerPosition(xmp, &lat, &lon)) {
        info.hasPosition = true;
        info.latitude = lat;
        info.longitude = lon;
    }
}

void readTime(const Exiv2::ExifData& exif, PhotoInfo& info)
{
    // Each time tag has its own sub-second and offset tags.
    static const char* const keys[][3] = {
        {"Exif.Photo.DateTimeOriginal", "Exif.Photo.SubSecTimeOriginal",
         "Exif.Photo.OffsetTimeOriginal"},
        {"Exif.Image.DateTime", "Exif.Photo.SubSecTime", "Exif.Photo.OffsetTime"},
    };
    for (const auto& key : keys) {
        qint64 seconds = 0;
        if (!PhotoReader::parseDateTime(exifText(exif, key[0]), &seconds))
            continue;
        info.hasTime = true;
        info.wallMs = seconds * 1000 + PhotoReader::parseSubSeconds(exifText(exif, key[1]));
        info.hasOffset = PhotoReader::parseOffset(exifText(exif, key[2]), &info.offsetSeconds);
        return;
    }
}

QByteArray smallestJpegPreview(Exiv2::Image& image)
{
    Exiv2::PreviewManager previews(image);
    const Exiv2::PreviewPropertiesList list = previews.getPreviewProperties();
    for (const Exiv2::PreviewProperties& p : list) {
        if (p.mimeType_ != "image/jpeg")
            continue;
        const Exiv2::PreviewImage preview = previews.getPreviewImage(p);
        return QByteArray(reinterpret_cast<const char*>(preview.pData()), int(preview.size()));
    }
    return QByteArray();
}

// Whether a photo holds more metadata than one photo may bring into memory (the library's XMP
// parser takes many times a packet's size): a JPEG's segments before its image data, or a
// TIFF's XMP packet, beyond PhotoWriter::MetadataLimit.
bool metadataTooLarge(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray start = file.read(4);
    if (start.startsWith("\xff\xd8")) {
        qint64 total = 0;
        for (qint64 at = 2; file.seek(at);) {
            const QByteArray marker = file.read(4);
            if (marker.size() < 4 || quint8(marker[0]) != 0xff || quint8(marker[1]) == 0xda)
                return false;
            const quint8 type = quint8(marker[1]);
            const qint64 length = type == 0xff ? -1
                                  : (type >= 0xd0 && type <= 0xd7) || type == 0x01
                                      ? 0
                                      : (quint8(marker[2]) << 8 | quint8(marker[3]));
            at += 2 + length;
            total += length;
            if (total > PhotoWriter::MetadataLimit)
                return true;
        }
        return false;
    }
    if (start != QByteArray("II*\0", 4) && start != QByteArray("MM\0*", 4))
        return false;
    const qint64 size = file.size();
    const uchar* data = size <= qint64(0xffffffffLL) ? file.map(0, size) : nullptr;
    TiffAppender tiff;
    QString error;
    return data && tiff.parse(reinterpret_cast<const char*>(data), size, &error) &&
           tiff.xmpSize() > PhotoWriter::MetadataLimit;
}

} // namespace

bool PhotoReader::hasPhotoExtension(const QString& fileName)
{
    return hasExtension(fileName, std::begin(photoExtensions), std::end(photoExtensions)) ||
           hasRawExtension(fileName);
}

QString PhotoReader::nameFilter()
{
    QStringList patterns;
    const auto add = [&patterns](const char* const* first, const char* const* last) {
        for (; first != last; ++first) {
            const QString extension = QLatin1String(*first);
            patterns << QStringLiteral("*.") + extension
                     << QStringLiteral("*.") + extension.toUpper();
        }
    };
    add(std::begin(photoExtensions), std::end(photoExtensions));
    add(std::begin(rawExtensions), std::end(rawExtensions));
    return patterns.join(QLatin1Char(' '));
}

bool PhotoReader::hasRawExtension(const QString& fileName)
{
    return hasExtension(fileName, std::begin(rawExtensions), std::end(rawExtensions));
}

PhotoInfo::Kind PhotoReader::kindFor(int imageType, const QString& path)
{
    using ExivSupport::typeNumber;
    static const int rawTypes[] = {
        typeNumber(Exiv2::ImageType::cr2), typeNumber(Exiv2::ImageType::crw),
        typeNumber(Exiv2::ImageType::mrw), typeNumber(Exiv2::ImageType::orf),
        typeNumber(Exiv2::ImageType::raf), typeNumber(Exiv2::ImageType::rw2)};
    // Raw formats built on TIFF (DNG, NEF, ARW, ...) are told from TIFF by their names.
    if (imageType == typeNumber(Exiv2::ImageType::jpeg) ||
        (imageType == typeNumber(Exiv2::ImageType::tiff) && !hasRawExtension(path)))
        return PhotoInfo::InPlace;
    if (std::count(std::begin(rawTypes), std::end(rawTypes), imageType) ||
        (hasRawExtension(path) && imageType != typeNumber(Exiv2::ImageType::xmp) &&
         imageType != typeNumber(Exiv2::ImageType::none)))
        return PhotoInfo::Sidecar;
    return PhotoInfo::Unreadable;
}

QString PhotoReader::sidecarPath(const QString& photoPath)
{
    const QFileInfo info(photoPath);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".xmp"));
}

QStringList PhotoReader::collect(const QStringList& paths)
{
    QStringList photos;
    QSet<QString> seen;
    const auto add = [&photos, &seen](const QString& path) {
        if (!seen.contains(QFileInfo(path).absoluteFilePath())) {
            seen.insert(QFileInfo(path).absoluteFilePath());
            photos << path;
        }
    };
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (!info.isDir()) {
            add(path);
            continue;
        }
        const QDir dir(path);
        const QStringList names =
            dir.entryList(QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase);
        for (const QString& name : names) {
            if (hasPhotoExtension(name))
                add(dir.filePath(name));
        }
    }
    return photos;
}

bool PhotoReader::parseDateTime(const QByteArray& text, qint64* seconds)
{
    // "YYYY:MM:DD HH:MM:SS"; some cameras write '-' in the date or 'T' between the parts.
    const QByteArray t = text.trimmed();
    if (t.size() < 19)
        return false;
    int fields[6];
    static const int starts[6] = {0, 5, 8, 11, 14, 17};
    static const int widths[6] = {4, 2, 2, 2, 2, 2};
    for (int i = 0; i < 6; ++i) {
        int value = 0;
        for (int k = starts[i]; k < starts[i] + widths[i]; ++k) {
            if (t[k] < '0' || t[k] > '9')
                return false;
            value = value * 10 + (t[k] - '0');
        }
        fields[i] = value;
    }
    const auto separatorIs = [&t](int index, const char* allowed) {
        return std::strchr(allowed, t[index]) != nullptr;
    };
    if (!separatorIs(4, ":-") || !separatorIs(7, ":-") || !separatorIs(10, " T") ||
        !separatorIs(13, ":") || !separatorIs(16, ":"))
        return false;
    const int year = fields[0];
    const int month = fields[1];
    const int day = fields[2];
    if (year < 1 || month < 1 || month > 12 || day < 1 || fields[3] > 23 || fields[4] > 59 ||
        fields[5] > 60)
        return false;
    // A day that does not exist (31 April) comes back as another date.
    const qint64 days = CivilDate::daysFrom(year, month, day);
    const CivilDate check = CivilDate::fromDays(days);
    if (check.month != month || check.day != day)
        return false;
    *seconds = days * 86400 + fields[3] * 3600 + fields[4] * 60 + fields[5];
    return true;
}

int PhotoReader::parseSubSeconds(const QByteArray& text)
{
    const QByteArray t = text.trimmed();
    int ms = 0;
    int scale = 100;
    for (int i = 0; i < t.size(); ++i) {
        if (t[i] < '0' || t[i] > '9')
            return 0;
        ms += (t[i] - '0') * scale;
        scale /= 10;
    }
    return ms;
}

bool PhotoReader::parseOffset(const QByteArray& text, int* seconds)
{
    const QByteArray t = text.trimmed();
    if (t.size() != 6 || (t[0] != '+' && t[0] != '-') || t[3] != ':')
        return false;
    for (int i : {1, 2, 4, 5}) {
        if (t[i] < '0' || t[i] > '9')
            return false;
    }
    const int hours = (t[1] - '0') * 10 + (t[2] - '0');
    const int minutes = (t[4] - '0') * 10 + (t[5] - '0');
    if (hours > 14 || minutes > 59)
        return false;
    *seconds = (t[0] == '-' ? -1 : 1) * (hours * 3600 + minutes * 60);
    return true;
}

PhotoInfo PhotoReader::read(const QString& path, bool withThumbnail)
{
    ExivSupport::initialize();
    PhotoInfo info;
    info.path = path;
    const QFileInfo file(path);
    if (!file.exists()) {
        info.error = QCoreApplication::translate("PhotoReader", "The file does not exist.");
        return info;
    }
    if (!file.isFile()) {
        info.error = QCoreApplication::translate("PhotoReader", "This is not a file.");
        return info;
    }
    if (metadataTooLarge(path)) {
        info.error = QCoreApplication::translate(
                         "PhotoWriter", "Its metadata is larger than %1 MB; it is left as it is.")
                         .arg(PhotoWriter::MetadataLimit >> 20);
        return info;
    }
    ExivSupport::ImagePtr image;
    try {
        image = Exiv2::ImageFactory::open(QFile::encodeName(path).toStdString());
    } catch (const std::exception& e) {
        info.error = ExivSupport::openFailure(e);
        if (hasRawExtension(path) &&
            !ExivSupport::hasCode(e, Exiv2::ErrorCode::kerDataSourceOpenFailed) &&
            !ExivSupport::hasCode(e, Exiv2::ErrorCode::kerFileOpenFailed)) {
            info.unsupported = true;
            info.error = QCoreApplication::translate(
                             "PhotoReader",
                             "The capture time of %1 raw files cannot be read; it is skipped.")
                             .arg(file.suffix().toUpper());
        }
        return info;
    }
    try {
        image->readMetadata();
        info.kind = kindFor(ExivSupport::typeOf(*image), path);
        if (info.kind == PhotoInfo::Unreadable)
            info.error = QCoreApplication::translate(
                "PhotoReader", "Only JPEG, TIFF and raw photos can be geotagged.");
        if (info.kind == PhotoInfo::Unreadable)
            return info;
        readTime(image->exifData(), info);
        readPosition(image->exifData(), image->xmpData(), info);
        if (withThumbnail)
            info.thumbnail = smallestJpegPreview(*image);
    } catch (const std::exception& e) {
        info.kind = PhotoInfo::Unreadable;
        info.error = ExivSupport::reason(e);
        qCDebug(lcFormats) << "photo" << path << "cannot be read:" << e.what();
        return info;
    }
    const QString sidecar = sidecarPath(path);
    // Only a regular file: opening a named pipe would wait for a writer.
    if (info.kind == PhotoInfo::Sidecar && !info.hasPosition && QFileInfo(sidecar).isFile() &&
        QFileInfo(sidecar).size() <= PhotoWriter::MetadataLimit) {
        try {
            auto xmp = Exiv2::ImageFactory::open(QFile::encodeName(sidecar).toStdString());
            xmp->readMetadata();
            readPosition(Exiv2::ExifData(), xmp->xmpData(), info);
        } catch (const std::exception& e) {
            // Writing refuses to replace a sidecar it cannot read, and says so then.
            qCDebug(lcFormats) << "sidecar" << sidecar << "cannot be read:" << e.what();
        }
    }
    return info;
}
