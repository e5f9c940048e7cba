#include "photos/photowriter.h"
#include "formats/civildate.h"
#include "formats/formatslog.h"
#include "photos/backgroundcloser.h"
#include "photos/exivsupport.h"
#include "photos/filereplacer.h"
#include "photos/photoreader.h"
#include "photos/tiffappender.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>
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

// A maker's own position properties (DJI's drone-dji:GpsLatitude, GpsLongitude or its
// misspelt GpsLongtitude, AbsoluteAltitude): 'a' latitude, 'o' longitude, 'h' altitude.
char makerProperty(const Exiv2::Xmpdatum& d)
{
    if (d.groupName() != "drone-dji")
        return 0;
    const QString name = QString::fromStdString(d.tagName()).toLower();
    if (name.startsWith(QLatin1String("gpslat")))
        return 'a';
    if (name.startsWith(QLatin1String("gpslon")))
        return 'o';
    if (name == QLatin1String("absolutealtitude"))
        return 'h';
    return 0;
}

bool hasXmpPosition(const Exiv2::XmpData& xmp)
{
    if (xmp.findKey(Exiv2::XmpKey("Xmp.exif.GPSLatitude")) != xmp.end() &&
        xmp.findKey(Exiv2::XmpKey("Xmp.exif.GPSLongitude")) != xmp.end())
        return true;
    return std::any_of(xmp.begin(), xmp.end(),
                       [](const Exiv2::Xmpdatum& d) { return makerProperty(d) == 'a'; });
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

// "DDD,MM.mmmmmmmmk", the XMP form, to a hundred-millionth of a minute.
std::string xmpCoordinate(double value, char positive, char negative)
{
    const qint64 units = std::llround(std::fabs(value) * 60e8);
    return QString::asprintf("%lld,%02lld.%08lld%c", units / qint64(60e8), units / qint64(1e8) % 60,
                             units % qint64(1e8), value < 0 ? negative : positive)
        .toStdString();
}

// Altitude in millimetres, its absolute value as an unsigned rational holds it.
qint64 altitudeMm(double metres)
{
    return std::llround(std::fabs(metres) * 1000.0);
}

QVector<QPair<quint32, quint32>> exifRationals(double value)
{
    const qint64 units = std::llround(std::fabs(value) * 3600e6);
    return {{quint32(units / qint64(3600e6)), 1},
            {quint32(units / qint64(60e6) % 60), 1},
            {quint32(units % qint64(60e6)), 1000000}};
}

// The GPS record of a new position, in tag order; the whole old record (its direction,
// speed, ...) gives way to it.
QVector<TiffAppender::Field> gpsFields(const TiffAppender& tiff, const GeotagMatch& p)
{
    const UtcParts t = split(p.utcMs);
    QVector<TiffAppender::Field> fields{
        tiff.bytes(0x00, QByteArray("\x02\x03\x00\x00", 4)),
        tiff.ascii(0x01, p.latitude < 0 ? "S" : "N"),
        tiff.rationals(0x02, exifRationals(p.latitude)),
        tiff.ascii(0x03, p.longitude < 0 ? "W" : "E"),
        tiff.rationals(0x04, exifRationals(p.longitude)),
    };
    if (PhotoWriter::altitudeFits(p)) {
        fields << tiff.bytes(0x05, QByteArray(1, p.altitude < 0 ? '\x01' : '\x00'))
               << tiff.rationals(0x06, {{quint32(altitudeMm(p.altitude)), 1000}});
    }
    fields << tiff.rationals(0x07, {{quint32(t.hour), 1},
                                    {quint32(t.minute), 1},
                                    {quint32(t.second * 1000 + t.ms), 1000}})
           << tiff.ascii(0x12, "WGS-84")
           << tiff.ascii(0x1d,
                         QString::asprintf("%04d:%02d:%02d", t.date.year, t.date.month, t.date.day)
                             .toLatin1());
    return fields;
}

void setXmpGps(Exiv2::XmpData& xmp, const GeotagMatch& p)
{
    eraseXmpGps(xmp);
    const UtcParts t = split(p.utcMs);
    xmp["Xmp.exif.GPSVersionID"] = std::string("2.3.0.0");
    xmp["Xmp.exif.GPSLatitude"] = xmpCoordinate(p.latitude, 'N', 'S');
    xmp["Xmp.exif.GPSLongitude"] = xmpCoordinate(p.longitude, 'E', 'W');
    if (PhotoWriter::altitudeFits(p)) {
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

// A maker's own position properties take the new position too, so that the file holds one.
void setMakerXmp(Exiv2::XmpData& xmp, const GeotagMatch& p)
{
    for (auto it = xmp.begin(); it != xmp.end();) {
        const char which = makerProperty(*it);
        if (which == 'h' && !PhotoWriter::altitudeFits(p)) {
            it = xmp.erase(it);
            continue;
        }
        // Signed, as the drones write them.
        if (which)
            it->setValue(
                QString::asprintf(which == 'h' ? "%+.3f" : "%+.9f", which == 'a'   ? p.latitude
                                                                    : which == 'o' ? p.longitude
                                                                                   : p.altitude)
                    .toStdString());
        ++it;
    }
}

// The XMP packet of a photo with its positions replaced by p; false when it cannot be made.
bool replacedXmp(Exiv2::XmpData xmp, const GeotagMatch& p, QByteArray* packet)
{
    const bool exifPosition = eraseXmpGps(xmp);
    if (exifPosition)
        setXmpGps(xmp, p);
    setMakerXmp(xmp, p);
    std::string text;
    if (Exiv2::XmpParser::encode(text, xmp, Exiv2::XmpParser::useCompactFormat) != 0)
        return false;
    *packet = QByteArray::fromStdString(text);
    return true;
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
// begins; -1 when the segments do not lead there), so that only that part is held in memory.
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
        if (more.isEmpty() || head->size() > PhotoWriter::MetadataLimit)
            return true;
    }
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

// Writes the new content: head, then the rest of source from restFrom (none when -1), then
// tail, after keeping the original if asked.
PhotoWriter::Result store(const QString& target, const QByteArray& head, QFile* source,
                          qint64 restFrom, const PhotoWriter::Options& options,
                          const QByteArray& tail = QByteArray(), const FileIdentity* read = nullptr)
{
    const bool existed = QFileInfo::exists(target);
    FileReplacer::Attributes attributes =
        existed ? FileReplacer::attributesOf(target) : FileReplacer::Attributes();
    if (read) {
        if (!read->sameAs(attributes.identity))
            return failed(FileReplacer::tr("Another program changed, replaced or removed it "
                                           "meanwhile; it is left as it is."));
        attributes.identity = *read;
    }
    QString error;
    const QString copy = PhotoWriter::originalCopyPath(target);
    const bool makeCopy = existed && options.keepOriginal && !QFileInfo::exists(copy);
    if (makeCopy && !FileReplacer::keepCopy(target, copy, attributes, &error))
        return failed(error);
    const bool withRest = source && restFrom >= 0;
    if (!FileReplacer::replace(target, head, withRest ? source : nullptr, restFrom, attributes,
                               !existed, &error, tail)) {
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
    bool positioned = false;
    try {
        auto raw = Exiv2::ImageFactory::open(QFile::encodeName(rawPath).toStdString());
        raw->readMetadata();
        positioned = hasExifPosition(raw->exifData()) || hasXmpPosition(raw->xmpData());
    } catch (const std::exception& e) {
        // Its time could not be read either; the reader said so before anything is written.
        return failed(ExivSupport::openFailure(e));
    }

    const QString sidecar = PhotoReader::sidecarPath(rawPath);
    const QFileInfo info(sidecar);
    QByteArray original;
    ExivSupport::ImagePtr xmp;
    if (info.exists() || info.isSymLink()) {
        QString error;
        if (!info.isFile())
            return failed(PhotoWriter::tr("Its sidecar %1 is not a file.").arg(info.fileName()));
        if (!info.isWritable())
            return failed(PhotoWriter::tr("Its sidecar %1 is read-only.").arg(info.fileName()));
        if (info.size() > PhotoWriter::MetadataLimit)
            return failed(PhotoWriter::tr("Its sidecar %1 is larger than %2 MB.")
                              .arg(info.fileName())
                              .arg(PhotoWriter::MetadataLimit >> 20));
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
    setMakerXmp(xmp->xmpData(), position);
    // The library turns the XMP it read into Exif and back when writing a sidecar, which would
    // bring the old position back.
    xmp->clearExifData();
    xmp->clearIptcData();
    xmp->writeMetadata();
    return store(sidecar, bytesOf(xmp->io()), nullptr, -1, options);
}

// What a photo's metadata says of positions it already holds, and its XMP.
struct Recorded {
    bool exif = false;
    bool xmp = false;
    Exiv2::XmpData xmpData;
};

Recorded recorded(Exiv2::Image& image)
{
    image.readMetadata();
    Recorded r;
    r.exif = hasExifPosition(image.exifData());
    r.xmp = hasXmpPosition(image.xmpData());
    r.xmpData = image.xmpData();
    return r;
}

QString damaged(const QString& why)
{
    return PhotoWriter::tr("It is damaged and left as it is: %1").arg(why);
}

struct Segment {
    int start; // at its marker
    int size;  // marker included
    uchar marker;
    bool is(uchar m, const QByteArray& head, const char* id, int idSize) const
    {
        return marker == m && size >= 4 + idSize &&
               std::memcmp(head.constData() + start + 4, id, size_t(idSize)) == 0;
    }
};

// The segments of a JPEG head from SOI to its start-of-scan marker, which ends it.
bool jpegSegments(const QByteArray& head, QVector<Segment>* segments)
{
    const auto byte = [&head](int i) { return uchar(head.at(i)); };
    int i = 2;
    while (i + 2 <= head.size()) {
        if (byte(i) != 0xff)
            return false;
        const uchar marker = byte(i + 1);
        if (marker == 0xda)
            return i + 2 == head.size();
        if (marker == 0xff) {
            ++i;
            continue;
        }
        int size = 2;
        if (!((marker >= 0xd0 && marker <= 0xd7) || marker == 0x01)) {
            if (i + 4 > head.size())
                return false;
            size = 2 + ((byte(i + 2) << 8) | byte(i + 3));
        }
        segments->append({i, size, marker});
        i += size;
    }
    return false;
}

QByteArray app1(const QByteArray& id, const QByteArray& payload)
{
    const int length = 2 + id.size() + payload.size();
    return QByteArray("\xff\xe1", 2) + char(length >> 8) + char(length & 0xff) + id + payload;
}

const QByteArray ExifId("Exif\0\0", 6);
const QByteArray XmpId("http://ns.adobe.com/xap/1.0/\0", 29);

// The first directory of a new Exif block, with the tags Exif requires of it: the resolution
// of the JFIF segment where there is one (else 72 dpi), centred chroma samples.
QByteArray newExifBlockFor(const QByteArray& head, const QVector<Segment>& segments)
{
    quint32 x = 72;
    quint32 y = 72;
    quint16 unit = 2; // inches
    const QByteArray jfif("JFIF\0", 5);
    for (const Segment& s : segments) {
        if (s.is(0xe0, head, jfif.constData(), jfif.size()) && s.size >= 4 + 5 + 7) {
            const auto byte = [&](int i) { return quint8(head.at(s.start + 4 + 5 + i)); };
            const quint32 dx = quint32(byte(3) << 8 | byte(4));
            const quint32 dy = quint32(byte(5) << 8 | byte(6));
            if ((byte(2) == 1 || byte(2) == 2) && dx && dy)
                x = dx, y = dy, unit = byte(2) == 1 ? 2 : 3;
            break;
        }
    }
    QByteArray t("II*\0\x08\0\0\0", 8);
    const auto put = [&t](quint32 v, int size) {
        for (int i = 0; i < size; ++i)
            t += char((v >> (8 * i)) & 0xff);
    };
    const quint32 values = 8 + 2 + 4 * 12 + 4;
    put(4, 2);
    put(0x011a, 2), put(5, 2), put(1, 4), put(values, 4);     // XResolution
    put(0x011b, 2), put(5, 2), put(1, 4), put(values + 8, 4); // YResolution
    put(0x0128, 2), put(3, 2), put(1, 4), put(unit, 4);       // ResolutionUnit
    put(0x0213, 2), put(3, 2), put(1, 4), put(1, 4);          // YCbCrPositioning
    put(0, 4);
    put(x, 4), put(1, 4), put(y, 4), put(1, 4);
    return t;
}

// A JPEG's head taken apart: its segments, and the TIFF structure of its Exif block (a new,
// empty one where it has none).
struct JpegHead {
    QByteArray head;
    QVector<Segment> segments;
    int exif = -1;
    int xmp = -1;
    QByteArray payload;
    TiffAppender tiff;

    bool parse(QString* error)
    {
        if (!jpegSegments(head, &segments)) {
            *error = damaged(PhotoWriter::tr("its segments do not lead to its image data."));
            return false;
        }
        for (int i = 0; i < segments.size(); ++i) {
            if (exif < 0 && segments[i].is(0xe1, head, ExifId.constData(), ExifId.size()))
                exif = i;
            if (xmp < 0 && segments[i].is(0xe1, head, XmpId.constData(), XmpId.size()))
                xmp = i;
        }
        payload = exif < 0 ? newExifBlockFor(head, segments)
                           : head.mid(segments[exif].start + 4 + ExifId.size(),
                                      segments[exif].size - 4 - ExifId.size());
        if (!tiff.parse(payload.constData(), payload.size(), error)) {
            *error = damaged(*error);
            return false;
        }
        return true;
    }

    // What recorded() finds in the whole head, from the parts taken apart here: the Exif
    // block's GPS directory, and the XMP packet, which alone needs the library.
    Recorded recorded() const
    {
        Recorded r;
        r.exif = tiff.hasGpsPosition();
        if (xmp >= 0) {
            const Segment& s = segments[xmp];
            const std::string packet(head.constData() + s.start + 4 + XmpId.size(),
                                     size_t(s.size - 4 - XmpId.size()));
            // As the library reads a photo: an XMP packet it cannot decode holds no position.
            if (Exiv2::XmpParser::decode(r.xmpData, packet) != 0)
                r.xmpData.clear();
            r.xmp = hasXmpPosition(r.xmpData);
        }
        return r;
    }

    // The new head: the Exif block with a GPS directory appended, the XMP segment replaced
    // where it held a position, every other segment as it was and where it was.
    bool write(const GeotagMatch& position, const Recorded& before,
               const PhotoWriter::Options& options, QByteArray* out, QString* error) const
    {
        const QString tooLarge = PhotoWriter::tr(
            "Its metadata would grow beyond what a JPEG file can hold; it is left as it is.");
        QByteArray tail;
        QByteArray header;
        if (!tiff.append(gpsFields(tiff, position), nullptr, 0xffff - 2 - ExifId.size(), &tail,
                         &header, error)) {
            *error = tooLarge;
            return false;
        }
        const QByteArray newExif = app1(ExifId, header + payload.mid(8) + tail);
        QByteArray newXmp;
        if (xmp >= 0 && before.xmp && options.replace) {
            QByteArray packet;
            if (!replacedXmp(before.xmpData, position, &packet)) {
                *error = PhotoWriter::tr("Its XMP packet cannot be written again.");
                return false;
            }
            if (packet.size() + XmpId.size() + 2 > 0xffff) {
                *error = tooLarge;
                return false;
            }
            newXmp = app1(XmpId, packet);
        }
        // A new Exif segment goes first, after the JFIF segments that must lead.
        int insertBefore = -1;
        if (exif < 0) {
            insertBefore = 0;
            while (insertBefore < segments.size() && segments[insertBefore].marker == 0xe0)
                ++insertBefore;
        }
        *out = head.left(2);
        for (int i = 0; i < segments.size(); ++i) {
            if (i == insertBefore)
                *out += newExif;
            if (i == exif)
                *out += newExif;
            else if (i == xmp && !newXmp.isEmpty())
                *out += newXmp;
            else
                *out += head.mid(segments[i].start, segments[i].size);
        }
        if (insertBefore == segments.size())
            *out += newExif;
        *out += "\xff\xda";
        // Offsets of data after the image data move with everything inserted before it.
        const qint64 growth = out->size() - head.size();
        const int blockStart = int(out->indexOf(newExif)) + 4 + ExifId.size();
        for (const qint64 at : tiff.trailerPointers()) {
            const int i = blockStart + int(at);
            quint32 value = tiff.bigEndian() ? qFromBigEndian<quint32>(out->constData() + i)
                                             : qFromLittleEndian<quint32>(out->constData() + i);
            value += quint32(growth);
            tiff.bigEndian() ? qToBigEndian(value, out->data() + i)
                             : qToLittleEndian(value, out->data() + i);
        }
        return true;
    }
};

} // namespace

bool PhotoWriter::altitudeFits(const GeotagMatch& position)
{
    return position.hasAltitude && std::isfinite(position.altitude) &&
           std::fabs(position.altitude) <= 4294967.295;
}

QString PhotoWriter::originalCopyPath(const QString& path)
{
    return path + QStringLiteral("_original");
}

namespace
{

PhotoWriter::Result writePhoto(const QString& photoPath, const GeotagMatch& position,
                               const PhotoWriter::Options& options)
{
    if (!position.matched())
        return skipped(position.reason);
    ExivSupport::initialize();
    // A link is followed: the photo it names is tagged, and the link stays a link.
    const QFileInfo link(photoPath);
    const QString path = link.isSymLink() ? link.canonicalFilePath() : photoPath;
    const QFileInfo info(path);
    if (!info.exists())
        return failed(PhotoWriter::tr("The file does not exist."));
    if (!info.isFile())
        return failed(PhotoWriter::tr("This is not a file."));
    try {
        if (PhotoReader::hasRawExtension(path))
            return writeSidecar(path, position, options);
        int type = ExivSupport::typeNumber(Exiv2::ImageType::none);
        try {
            type = ExivSupport::typeNumber(
                Exiv2::ImageFactory::getType(QFile::encodeName(path).toStdString()));
        } catch (const std::exception& e) {
            return failed(ExivSupport::openFailure(e));
        }
        const bool jpeg = type == ExivSupport::typeNumber(Exiv2::ImageType::jpeg);
        const bool tiff = type == ExivSupport::typeNumber(Exiv2::ImageType::tiff);
        if (!jpeg && !tiff &&
            QFileInfo(path).suffix().startsWith(QLatin1String("tif"), Qt::CaseInsensitive)) {
            // Named as a TIFF: why it is not one.
            QFile file(path);
            const QByteArray start = file.open(QIODevice::ReadOnly) ? file.read(64) : QByteArray();
            QString error;
            if (!TiffAppender().parse(start.constData(), start.size(), &error))
                return failed(damaged(error));
        }
        if (!jpeg && !tiff) {
            if (PhotoReader::kindFor(type, path) == PhotoInfo::Sidecar)
                return writeSidecar(path, position, options);
            return failed(
                type == ExivSupport::typeNumber(Exiv2::ImageType::none)
                    ? PhotoWriter::tr("This is not a photo, or not of a known kind.")
                    : PhotoWriter::tr("Only JPEG, TIFF and raw photos can be geotagged."));
        }
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return failed(PhotoWriter::tr("It cannot be read: %1").arg(file.errorString()));
        const FileIdentity read = FileIdentity::of(path);
        if (!read.regular)
            return failed(PhotoWriter::tr("This is not a file."));
        if (jpeg) {
            QByteArray head;
            qint64 rest = -1;
            QString error;
            if (!readHead(file, &head, &rest, &error))
                return failed(error);
            if (head.size() > PhotoWriter::MetadataLimit)
                return failed(
                    PhotoWriter::tr("Its metadata is larger than %1 MB; it is left as it is.")
                        .arg(PhotoWriter::MetadataLimit >> 20));
            if (rest < 0)
                return failed(
                    damaged(PhotoWriter::tr("its segments do not lead to its image data.")));
            JpegHead jpegHead;
            jpegHead.head = head;
            if (!jpegHead.parse(&error))
                return failed(error);
            const Recorded before = jpegHead.recorded();
            if ((before.exif || before.xmp) && !options.replace)
                return skipped(alreadyPositioned());
            if (!info.isWritable())
                return failed(PhotoWriter::tr("The photo is read-only."));
            QByteArray newHead;
            if (!jpegHead.write(position, before, options, &newHead, &error))
                return failed(error);
            const PhotoWriter::Result r =
                store(path, newHead, &file, rest, options, QByteArray(), &read);
            if (r.status == PhotoWriter::Result::Tagged)
                BackgroundCloser::close(file);
            return r;
        }
        const qint64 size = file.size();
        const uchar* data = size >= 8 && size <= qint64(0xffffffffLL) ? file.map(0, size) : nullptr;
        if (!data)
            return failed(size < 8
                              ? damaged(PhotoWriter::tr("it is cut short."))
                              : PhotoWriter::tr("It cannot be read: %1").arg(file.errorString()));
        TiffAppender structure;
        QString error;
        if (!structure.parse(reinterpret_cast<const char*>(data), size, &error))
            return failed(damaged(error));
        if (structure.isRaw())
            return writeSidecar(path, position, options);
        if (structure.xmpSize() > PhotoWriter::MetadataLimit)
            return failed(PhotoWriter::tr("Its metadata is larger than %1 MB; it is left as it is.")
                              .arg(PhotoWriter::MetadataLimit >> 20));
        auto image = Exiv2::ImageFactory::open(QFile::encodeName(path).toStdString());
        const Recorded before = recorded(*image);
        image.reset();
        if ((before.exif || before.xmp) && !options.replace)
            return skipped(alreadyPositioned());
        if (!info.isWritable())
            return failed(PhotoWriter::tr("The photo is read-only."));
        QByteArray packet;
        const bool newXmp = before.xmp && structure.xmpSize() > 0;
        if (newXmp && !replacedXmp(before.xmpData, position, &packet))
            return failed(PhotoWriter::tr("Its XMP packet cannot be written again."));
        QByteArray tail;
        QByteArray header;
        if (!structure.append(gpsFields(structure, position), newXmp ? &packet : nullptr,
                              qint64(0xffffffffLL), &tail, &header, &error))
            return failed(error);
        const PhotoWriter::Result r = store(path, header, &file, 8, options, tail, &read);
        file.unmap(const_cast<uchar*>(data));
        if (r.status == PhotoWriter::Result::Tagged)
            BackgroundCloser::close(file);
        return r;
    } catch (const std::exception& e) {
        qCDebug(lcFormats) << "photo" << path << "not written:" << e.what();
        return failed(ExivSupport::reason(e));
    }
}

} // namespace

PhotoWriter::Result PhotoWriter::write(const QString& photoPath, const GeotagMatch& position,
                                       const Options& options)
{
    Result r = writePhoto(photoPath, position, options);
    if (r.status == Result::Tagged && position.hasAltitude && !altitudeFits(position))
        r.reason = tr("Its altitude of %1 m is left out: Exif cannot record it.")
                       .arg(position.altitude, 0, 'g', 6);
    return r;
}
