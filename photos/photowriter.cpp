#include "photos/photowriter.h"
#include "photos/backgroundcloser.h"
#include "formats/civildate.h"
#include "photos/exivsupport.h"
#include "photos/filereplacer.h"
#include "formats/formatslog.h"
#include "photos/photoreader.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <stdexcept>

namespace
{

PhotoWriter::Result failed(const QString& reason)
{
    PhotoWriter::Result r;
    r.status = PhotoWriter::Result::Failed;
    r.reason = reason;
    return r;
}

PhotoWriter::Result skipped(const QString& reason)
{
    PhotoWriter::Result r;
    r.status = PhotoWriter::Result::Skipped;
    r.reason = reason;
    return r;
}

bool hasExifPosition(const Exiv2::ExifData& exif)
{
    return exif.findKey(Exiv2::ExifKey("Exif.GPSInfo.GPSLatitude")) != exif.end() &&
           exif.findKey(Exiv2::ExifKey("Exif.GPSInfo.GPSLongitude")) != exif.end();
}

bool hasXmpPosition(const Exiv2::XmpData& xmp)
{
    return xmp.findKey(Exiv2::XmpKey("Xmp.exif.GPSLatitude")) != xmp.end() &&
           xmp.findKey(Exiv2::XmpKey("Xmp.exif.GPSLongitude")) != xmp.end();
}

// Removes the GPS properties of an earlier position; true when there were any.
bool eraseXmpGps(Exiv2::XmpData& xmp)
{
    bool erased = false;
    for (auto it = xmp.begin(); it != xmp.end();) {
        if (it->key().compare(0, 12, "Xmp.exif.GPS") == 0) {
            it = xmp.erase(it);
            erased = true;
        } else {
            ++it;
        }
    }
    return erased;
}

struct UtcParts {
    CivilDate date;
    int hour, minute, second, ms;
};

UtcParts split(qint64 ms)
{
    const qint64 days = ms >= 0 ? ms / 86400000 : -((-ms + 86399999) / 86400000);
    const qint64 rest = ms - days * 86400000;
    return {CivilDate::fromDays(days), int(rest / 3600000), int(rest / 60000 % 60),
            int(rest / 1000 % 60), int(rest % 1000)};
}

// Degrees, minutes and seconds as Exif rationals, to a millionth of a second of arc.
std::string exifCoordinate(double value)
{
    const qint64 units = std::llround(std::fabs(value) * 3600e6);
    return QString::asprintf("%lld/1 %lld/1 %lld/1000000", units / qint64(3600e6),
                             units / qint64(60e6) % 60, units % qint64(60e6))
        .toStdString();
}

// "DDD,MM.mmmmmmmmk", the XMP form, to a hundred-millionth of a minute.
std::string xmpCoordinate(double value, char positive, char negative)
{
    const qint64 units = std::llround(std::fabs(value) * 60e8);
    return QString::asprintf("%lld,%02lld.%08lld%c", units / qint64(60e8), units / qint64(1e8) % 60,
                             units % qint64(1e8), value < 0 ? negative : positive)
        .toStdString();
}

// Altitude in millimetres, as its absolute value fits an unsigned rational.
qint64 altitudeMm(double metres)
{
    return qMin(std::llround(std::fabs(metres) * 1000.0), qint64(0xffffffffLL));
}

void setExifGps(Exiv2::ExifData& exif, const GeotagMatch& p)
{
    // A new position replaces the whole record of the old one (its direction, speed, ...).
    for (auto it = exif.begin(); it != exif.end();) {
        if (it->groupName() == "GPSInfo")
            it = exif.erase(it);
        else
            ++it;
    }
    const UtcParts t = split(p.utcMs);
    exif["Exif.GPSInfo.GPSVersionID"] = std::string("2 3 0 0");
    exif["Exif.GPSInfo.GPSLatitudeRef"] = std::string(p.latitude < 0 ? "S" : "N");
    exif["Exif.GPSInfo.GPSLatitude"] = exifCoordinate(p.latitude);
    exif["Exif.GPSInfo.GPSLongitudeRef"] = std::string(p.longitude < 0 ? "W" : "E");
    exif["Exif.GPSInfo.GPSLongitude"] = exifCoordinate(p.longitude);
    if (p.hasAltitude) {
        exif["Exif.GPSInfo.GPSAltitudeRef"] = std::string(p.altitude < 0 ? "1" : "0");
        exif["Exif.GPSInfo.GPSAltitude"] =
            QString::asprintf("%lld/1000", altitudeMm(p.altitude)).toStdString();
    }
    exif["Exif.GPSInfo.GPSTimeStamp"] =
        QString::asprintf("%d/1 %d/1 %d/1000", t.hour, t.minute, t.second * 1000 + t.ms)
            .toStdString();
    exif["Exif.GPSInfo.GPSDateStamp"] =
        QString::asprintf("%04d:%02d:%02d", t.date.year, t.date.month, t.date.day).toStdString();
    exif["Exif.GPSInfo.GPSMapDatum"] = std::string("WGS-84");
}

void setXmpGps(Exiv2::XmpData& xmp, const GeotagMatch& p)
{
    eraseXmpGps(xmp);
    const UtcParts t = split(p.utcMs);
    xmp["Xmp.exif.GPSVersionID"] = std::string("2.3.0.0");
    xmp["Xmp.exif.GPSLatitude"] = xmpCoordinate(p.latitude, 'N', 'S');
    xmp["Xmp.exif.GPSLongitude"] = xmpCoordinate(p.longitude, 'E', 'W');
    if (p.hasAltitude) {
        xmp["Xmp.exif.GPSAltitudeRef"] = std::string(p.altitude < 0 ? "1" : "0");
        xmp["Xmp.exif.GPSAltitude"] =
            QString::asprintf("%lld/1000", altitudeMm(p.altitude)).toStdString();
    }
    QString time = QString::asprintf("%04d-%02d-%02dT%02d:%02d:%02d", t.date.year, t.date.month,
                                     t.date.day, t.hour, t.minute, t.second);
    if (t.ms)
        time += QString::asprintf(".%03d", t.ms);
    xmp["Xmp.exif.GPSTimeStamp"] = (time + QLatin1Char('Z')).toStdString();
    xmp["Xmp.exif.GPSMapDatum"] = std::string("WGS-84");
}

QString alreadyPositioned()
{
    return PhotoWriter::tr("It already records a position (replacing was not asked for).");
}

bool readWhole(const QString& path, QByteArray* content, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = PhotoWriter::tr("It cannot be read: %1").arg(file.errorString());
        return false;
    }
    *content = file.readAll();
    if (file.error() != QFileDevice::NoError || content->size() != file.size()) {
        *error = PhotoWriter::tr("It cannot be read: %1").arg(file.errorString());
        return false;
    }
    return true;
}

// Where the image data of a JPEG begins: just past its first start-of-scan marker, found by
// walking the segments; 0 when data does not reach it or is not laid out as a JPEG.
qint64 jpegScanStart(const QByteArray& data)
{
    const auto byte = [&data](qint64 i) { return quint8(data.at(int(i))); };
    if (data.size() < 4 || byte(0) != 0xff || byte(1) != 0xd8)
        return 0;
    qint64 i = 2;
    while (i + 4 <= data.size()) {
        if (byte(i) != 0xff)
            return 0;
        const quint8 marker = byte(i + 1);
        if (marker == 0xff) { // fill byte
            ++i;
        } else if (marker == 0xda) {
            return i + 2;
        } else if (marker == 0xd8 || marker == 0xd9) { // image start or end out of place
            return 0;
        } else if ((marker >= 0xd0 && marker <= 0xd7) || marker == 0x01) {
            i += 2; // markers without a length
        } else {
            const int length = (byte(i + 2) << 8) | byte(i + 3);
            if (length < 2)
                return 0;
            i += 2 + length;
        }
    }
    return 0;
}

// The metadata part of a JPEG, through its start-of-scan marker (*rest: where the image data
// begins), so that only that part passes through the library; any other file whole (*rest -1).
bool readHead(QFile& file, QByteArray* head, qint64* rest, QString* error)
{
    *rest = -1;
    head->clear();
    for (qint64 block = 64 * 1024;; block *= 2) {
        const QByteArray more = file.read(block);
        if (file.error() != QFileDevice::NoError) {
            *error = PhotoWriter::tr("It cannot be read: %1").arg(file.errorString());
            return false;
        }
        head->append(more);
        const qint64 scan = jpegScanStart(*head);
        if (scan > 0) {
            head->truncate(int(scan));
            *rest = scan;
            return true;
        }
        if (more.isEmpty() || !head->startsWith("\xff\xd8"))
            break;
    }
    head->append(file.readAll());
    if (file.error() != QFileDevice::NoError || head->size() != file.size()) {
        *error = PhotoWriter::tr("It cannot be read: %1").arg(file.errorString());
        return false;
    }
    return true;
}

QByteArray bytesOf(Exiv2::BasicIo& io)
{
    if (io.open() != 0)
        throw std::runtime_error("the new metadata cannot be read back");
    const QByteArray data(reinterpret_cast<const char*>(io.mmap()), int(io.size()));
    io.munmap();
    io.close();
    return data;
}

// Writes the new content: head, then the rest of source from restFrom (none when -1), after
// keeping the original if asked.
PhotoWriter::Result store(const QString& target, const QByteArray& head, QFile* source,
                          qint64 restFrom, const PhotoWriter::Options& options)
{
    const bool existed = QFileInfo::exists(target);
    const FileReplacer::Attributes attributes =
        existed ? FileReplacer::attributesOf(target) : FileReplacer::Attributes();
    QString error;
    const QString copy = PhotoWriter::originalCopyPath(target);
    const bool makeCopy = existed && options.keepOriginal && !QFileInfo::exists(copy);
    if (makeCopy && !FileReplacer::keepCopy(target, copy, attributes, &error))
        return failed(error);
    const bool withRest = source && restFrom >= 0;
    if (!FileReplacer::replace(target, head, withRest ? source : nullptr, restFrom, attributes,
                               !existed, &error)) {
        // The original is still in its place; a copy of it made just now is not needed.
        if (makeCopy)
            QFile::remove(copy);
        return failed(error);
    }
    PhotoWriter::Result r;
    r.status = PhotoWriter::Result::Tagged;
    r.written = target;
    return r;
}

PhotoWriter::Result writeSidecar(const QString& rawPath, const GeotagMatch& position,
                                 const PhotoWriter::Options& options)
{
    // The raw file is only read, for a position of its own.
    ExivSupport::ImagePtr raw;
    try {
        raw = Exiv2::ImageFactory::open(QFile::encodeName(rawPath).toStdString());
    } catch (const std::exception& e) {
        return failed(ExivSupport::openFailure(e));
    }
    raw->readMetadata();
    bool positioned = hasExifPosition(raw->exifData()) || hasXmpPosition(raw->xmpData());

    const QString sidecar = PhotoReader::sidecarPath(rawPath);
    const QFileInfo info(sidecar);
    QByteArray original;
    ExivSupport::ImagePtr xmp;
    if (info.exists()) {
        QString error;
        if (!info.isWritable())
            return failed(PhotoWriter::tr("Its sidecar %1 is read-only.").arg(info.fileName()));
        if (!readWhole(sidecar, &original, &error))
            return failed(error);
        bool read = false;
        try {
            xmp = Exiv2::ImageFactory::open(
                reinterpret_cast<const Exiv2::byte*>(original.constData()), original.size());
            xmp->readMetadata();
            read = ExivSupport::typeOf(*xmp) == ExivSupport::typeNumber(Exiv2::ImageType::xmp);
        } catch (const std::exception& e) {
            qCDebug(lcFormats) << "sidecar" << sidecar << "not read:" << e.what();
        }
        if (!read)
            return failed(PhotoWriter::tr("Its sidecar %1 cannot be read, and is left as it is.")
                              .arg(info.fileName()));
        positioned = positioned || hasXmpPosition(xmp->xmpData());
    } else {
        xmp = Exiv2::ImageFactory::create(Exiv2::ImageType::xmp);
    }
    if (positioned && !options.replace)
        return skipped(alreadyPositioned());
    setXmpGps(xmp->xmpData(), position);
    xmp->writeMetadata();
    return store(sidecar, bytesOf(xmp->io()), nullptr, -1, options);
}

// Rewrites the metadata of input (a JPEG's head, or a whole JPEG or TIFF file) into output.
// False with *result when the photo is not written in place: skipped, failed or a raw file
// (whose sidecar is then written). The library's own failures are thrown.
bool rewrite(const QByteArray& input, const QString& path, const GeotagMatch& position,
             const PhotoWriter::Options& options, QByteArray* output, PhotoWriter::Result* result)
{
    ExivSupport::ImagePtr image;
    try {
        image = Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte*>(input.constData()),
                                          input.size());
    } catch (const std::exception& e) {
        *result = failed(ExivSupport::openFailure(e));
        return false;
    }
    switch (PhotoReader::kindFor(ExivSupport::typeOf(*image), path)) {
    case PhotoInfo::InPlace:
        break;
    case PhotoInfo::Sidecar:
        *result = writeSidecar(path, position, options);
        return false;
    case PhotoInfo::Unreadable:
        *result = failed(PhotoWriter::tr("Only JPEG, TIFF and raw photos can be geotagged."));
        return false;
    }
    image->readMetadata();
    if ((hasExifPosition(image->exifData()) || hasXmpPosition(image->xmpData())) &&
        !options.replace) {
        *result = skipped(alreadyPositioned());
        return false;
    }
    setExifGps(image->exifData(), position);
    // The XMP packet is written back as it was read, unless it held an old position.
    image->writeXmpFromPacket(!eraseXmpGps(image->xmpData()));
    image->writeMetadata();
    *output = bytesOf(image->io());
    return true;
}

} // namespace

QString PhotoWriter::originalCopyPath(const QString& path)
{
    return path + QStringLiteral("_original");
}

PhotoWriter::Result PhotoWriter::write(const QString& photoPath, const GeotagMatch& position,
                                       const Options& options)
{
    if (!position.matched())
        return skipped(position.reason);
    ExivSupport::initialize();
    // A link is followed: the photo it names is tagged, and the link stays a link.
    const QFileInfo link(photoPath);
    const QString path = link.isSymLink() ? link.canonicalFilePath() : photoPath;
    const QFileInfo info(path);
    if (!info.exists())
        return failed(tr("The file does not exist."));
    if (!info.isFile())
        return failed(tr("This is not a file."));
    try {
        if (PhotoReader::hasRawExtension(path))
            return writeSidecar(path, position, options);
        if (!info.isWritable())
            return failed(tr("The photo is read-only."));
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return failed(tr("It cannot be read: %1").arg(file.errorString()));
        QByteArray input;
        qint64 rest = -1;
        QString error;
        if (!readHead(file, &input, &rest, &error))
            return failed(error);
        // The library rewrites the metadata in memory; a JPEG's image data does not pass
        // through it but is copied over unchanged after the new head, which must end where
        // the image data begins.
        QByteArray output;
        Result result;
        bool inPlace = false;
        try {
            inPlace = rewrite(input, path, position, options, &output, &result);
            if (inPlace && rest >= 0 && !output.endsWith("\xff\xda"))
                throw std::runtime_error("unexpected layout of the new head");
        } catch (const std::exception& e) {
            if (rest < 0)
                throw;
            // Once more with the whole file, as the library would read it itself.
            qCDebug(lcFormats) << "photo" << path << "rewritten whole:" << e.what();
            rest = -1;
            if (!file.seek(0))
                return failed(tr("It cannot be read: %1").arg(file.errorString()));
            input = file.readAll();
            if (file.error() != QFileDevice::NoError)
                return failed(tr("It cannot be read: %1").arg(file.errorString()));
            inPlace = rewrite(input, path, position, options, &output, &result);
        }
        if (!inPlace)
            return result;
        const Result r = store(path, output, &file, rest, options);
        if (r.status == Result::Tagged)
            BackgroundCloser::close(file);
        return r;
    } catch (const std::exception& e) {
        qCDebug(lcFormats) << "photo" << path << "not written:" << e.what();
        return failed(ExivSupport::reason(e));
    }
}
