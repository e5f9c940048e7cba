#include "../photofactory.h"
#include "../tmpfsmount.h"
#include "photos/filereplacer.h"
#include "photos/geotagmatcher.h"
#include "photos/photoreader.h"
#include "photos/photowriter.h"
#include "testsupport.h"
#include "tzswitch.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#include <cmath>
#ifndef _WIN32
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#endif
#include <memory>

using namespace TestSupport;

const qint64 T = 1396137600; // 2014-03-30 00:00:00 UTC; Berlin springs forward at 01:00 UTC

// Two tracks with a gap inside and one between them; the second has no altitude; the third
// crosses the date line.
const QVector<Track> Tracks{
    {T, 2, {point(10, 20, 100, T), point(10.1, 20.2, 200, T + 10), point(11, 21, 300, T + 100)}},
    {T, 1, {point(-33.5, -70.5, 0, T + 3600), point(-33.8, -70.8, 0, T + 3630)}},
    {T, 2, {point(0, 179.9, -5, T + 7200), point(0, -179.9, -15, T + 7210)}}};

static bool isDronePosition(const Exiv2::Xmpdatum& d)
{
    return d.groupName() == "drone-dji" && QRegularExpression("^(GpsLat|GpsLon|AbsoluteAlt)")
                                               .match(QString::fromStdString(d.tagName()))
                                               .hasMatch();
}

// Everything but the GPS record and the offsets of the file's own structure, as text: the
// Exif values byte for byte, IPTC and XMP as values.
static QStringList otherTags(const QByteArray& file)
{
    auto image =
        Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte*>(file.data()), file.size());
    image->readMetadata();
    QStringList tags;
    for (const Exiv2::Exifdatum& d : image->exifData()) {
        static const QStringList offsets{"ExifTag", "GPSTag", "InteroperabilityTag",
                                         "JPEGInterchangeFormat", "StripOffsets"};
        if (d.groupName() == "GPSInfo" || offsets.contains(QString::fromStdString(d.tagName())))
            continue;
        QByteArray raw(int(d.size()), 0);
        d.copy(reinterpret_cast<Exiv2::byte*>(raw.data()), Exiv2::littleEndian);
        tags << QString::fromStdString(d.key()) + "=" + raw.toHex();
    }
    for (const Exiv2::Iptcdatum& d : image->iptcData())
        tags << QString::fromStdString(d.key() + "=" + d.toString());
    for (const Exiv2::Xmpdatum& d : image->xmpData())
        if (d.key().compare(0, 12, "Xmp.exif.GPS") != 0 && !isDronePosition(d))
            tags << QString::fromStdString(d.key() + "=" + d.toString());
    return tags;
}

// The GPS record, values in tag order, or the Xmp.exif.GPS properties of a sidecar.
static QString gpsRecord(const QString& path)
{
    auto image = Exiv2::ImageFactory::open(QFile::encodeName(path).toStdString());
    image->readMetadata();
    QStringList values;
    for (const Exiv2::Exifdatum& d : image->exifData())
        if (d.groupName() == "GPSInfo" && image->imageType() != Exiv2::ImageType::xmp)
            values << QString::fromStdString(d.toString());
    for (const Exiv2::Xmpdatum& d : image->xmpData())
        if (d.key().compare(0, 12, "Xmp.exif.GPS") == 0 || isDronePosition(d))
            values << QString::fromStdString(d.toString());
    return values.join("; ");
}

// A JPEG without its Exif segment (and its XMP segment if asked): the image data and every
// other segment.
static QByteArray withoutExif(const QByteArray& jpeg, bool xmpToo)
{
    QByteArray rest = jpeg.left(2);
    for (int i = 2; i + 4 <= jpeg.size();) {
        const int length = (quint8(jpeg[i + 2]) << 8) + quint8(jpeg[i + 3]);
        if (quint8(jpeg[i + 1]) == 0xda)
            return rest + jpeg.mid(i);
        const QByteArray id = jpeg.mid(i + 4, 6);
        if (!(quint8(jpeg[i + 1]) == 0xe1 &&
              (id == QByteArray("Exif\0\0", 6) || (xmpToo && id == "http:/"))))
            rest += jpeg.mid(i, length + 2);
        i += length + 2;
    }
    return rest;
}

// Little-endian numbers in a file made here.
static quint32 get(const QByteArray& b, int at, int size)
{
    quint32 v = 0;
    for (int i = size - 1; i >= 0; --i)
        v = (v << 8) | quint8(b[at + i]);
    return v;
}
static void put(QByteArray& b, int at, int size, quint32 v)
{
    for (int i = 0; i < size; ++i, v >>= 8)
        b[at + i] = char(v & 0xff);
}

// Where the TIFF structure of a file made here starts (its Exif block in a JPEG).
static int tiffStart(const QByteArray& file)
{
    return file.startsWith("\xff\xd8") ? file.indexOf(QByteArray("Exif\0\0", 6)) + 6 : 0;
}

// The file position of the entry for tag in the directory at offset, -1 without one.
static int entryOf(const QByteArray& file, quint32 offset, quint16 tag)
{
    const int base = tiffStart(file);
    for (quint32 i = 0; i < get(file, base + offset, 2); ++i) {
        const int at = base + offset + 2 + 12 * i;
        if (get(file, at, 2) == tag)
            return at;
    }
    return -1;
}

// A TIFF of 1×1 grey pages, each with its own strip, made by hand (Qt writes one page), in
// either byte order, with a DNG version tag if asked.
static QByteArray pagedTiff(int pages, bool big, bool dng)
{
    QByteArray t(big ? "MM" : "II");
    const auto add = [&t, big](int size, quint32 v) {
        for (int i = 0; i < size; ++i)
            t += char(v >> (8 * (big ? size - 1 - i : i)));
    };
    add(2, 42);
    add(4, 8);
    const int entries = dng ? 10 : 9;
    for (int p = 0; p < pages; ++p) {
        const quint32 at = t.size();
        const quint32 data = at + 2 + 12 * entries + 4;
        add(2, entries);
        const quint32 fields[][3] = {
            {256, 3, 1},    {257, 3, 1}, {258, 3, 8}, {259, 3, 1}, {262, 3, 1},
            {273, 4, data}, {277, 3, 1}, {278, 3, 1}, {279, 4, 1}, {0xc612, 1, 0x01040000}};
        for (int f = 0; f < entries; ++f) {
            add(2, fields[f][0]);
            add(2, fields[f][1]);
            add(4, f == 9 ? 4 : 1);
            if (f == 9)
                t += QByteArray("\x01\x04\x00\x00", 4);
            else if (fields[f][1] == 3)
                add(2, fields[f][2]), add(2, 0);
            else
                add(4, fields[f][2]);
        }
        add(4, p + 1 < pages ? data + 2 : 0);
        t += char(0x80 + p * 10);
        t += '\0';
    }
    return t;
}

// The number of pages (directories in the first chain) of a TIFF in either byte order.
static int pageCount(const QByteArray& tiff)
{
    const bool big = tiff.startsWith("MM");
    const auto num = [&](int at, int size) {
        quint32 v = 0;
        for (int i = 0; i < size; ++i)
            v = big ? (v << 8) | quint8(tiff[at + i])
                    : v | (quint32(quint8(tiff[at + i])) << (8 * i));
        return v;
    };
    int pages = 0;
    for (quint32 ifd = num(4, 4); ifd && pages < 100; ++pages)
        ifd = num(ifd + 2 + 12 * num(ifd, 2), 4);
    return pages;
}

// A photo made here with the change of a row of geotag/hostile.txt.
static QByteArray changed(const QString& change, const QStringList& tags)
{
    const QStringList c = change.split(':');
    if (c[0] == "pages" || c[0] == "dng")
        return pagedTiff(c.value(1, "1").toInt(), c.value(2) == "MM", c[0] == "dng");
    if (c[0] == "big xmp") {
        const QString packet = "<?xpacket begin=''?><x:xmpmeta xmlns:x='adobe:ns:meta/'>" +
                               QString(17 << 20, ' ') + "</x:xmpmeta><?xpacket end='w'?>";
        return PhotoFactory::make("tif", tags + QStringList{"XmpPacket=" + packet});
    }
    if (c[0] == "no exif") {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        PhotoFactory::picture().save(&buffer, "jpg");
        return buffer.data();
    }
    if (c[0] == "big head") {
        QByteArray f = PhotoFactory::make("jpg", tags);
        const QByteArray segment = QByteArray("\xff\xe2\xff\xff", 4) + QByteArray(0xfffd, 'i');
        return f.left(2) + segment.repeated(17 * 16 + 1) + f.mid(2);
    }
    if (c[0] == "exif full") {
        // A user comment that leaves c[1] bytes free in the Exif segment.
        const int used = PhotoFactory::make("jpg", tags).indexOf("\xff\xe1");
        const QByteArray small = PhotoFactory::make("jpg", tags);
        const int length = int(get(small, used + 3, 1) | get(small, used + 2, 1) << 8);
        const int comment = 0xffff - length - c[1].toInt() + 1;
        return PhotoFactory::make(
            "jpg", tags + QStringList{"Exif.Photo.UserComment=" + QString(comment, 'x')});
    }
    QByteArray f =
        PhotoFactory::make(c[0] == "cut" || c[0] == "tiff byte order" ? "tif" : "jpg", tags);
    const int base = tiffStart(f);
    const quint32 ifd0 = get(f, base + 4, 4);
    const int ifd0Next = base + ifd0 + 2 + 12 * get(f, base + ifd0, 2);
    if (c[0] == "exif half") {
        const int at = f.indexOf("\xff\xe1") + 2;
        const quint32 length = (quint8(f[at]) << 8 | quint8(f[at + 1])) / 2;
        f[at] = char(length >> 8), f[at + 1] = char(length);
    } else if (c[0] == "model outside") {
        put(f, entryOf(f, ifd0, 0x0110) + 8, 4, 0x7fff0000);
    } else if (c[0] == "loop") {
        put(f, ifd0Next, 4, ifd0);
    } else if (c[0] == "byte order" || c[0] == "tiff byte order") {
        f[base] = 'X';
    } else if (c[0] == "thumbnail outside") {
        put(f, entryOf(f, get(f, ifd0Next, 4), 0x0202) + 8, 4, 0xffff);
    } else if (c[0] == "cut") {
        f.chop(c[1].toInt());
    }
    return f;
}

// exiftool's view of a photo: every tag, its GPS group and where things are apart (an MPF
// image's start moves with everything after the Exif block), and its validation warnings but
// those about the GPS record; empty when exiftool cannot be run.
struct ExiftoolView {
    QJsonObject tags;
    QJsonObject gps;
    QStringList warnings;
};
static bool exiftool(const QString& path, ExiftoolView* view)
{
    QProcess p;
    p.start("exiftool", {"-j", "-a", "-G1", "-n", "-b", path});
    if (!p.waitForFinished(120000) || p.exitCode() != 0)
        return false;
    const QJsonObject all =
        QJsonDocument::fromJson(p.readAllStandardOutput()).array().at(0).toObject();
    for (auto it = all.begin(); it != all.end(); ++it) {
        const QString group = it.key().section(':', 0, 0);
        const QString name = it.key().section(':', 1);
        if (group == "GPS" || (group == "Composite" && name.startsWith("GPS")))
            view->gps[it.key()] = it.value();
        else if (name == "Warning" || name == "Validate" || name.startsWith("Warning ("))
            ; // below
        else if (!QStringList{"System", "File", "ExifTool", "Composite"}.contains(group) &&
                 name != "MPImageStart" && it.key() != "SourceFile")
            view->tags[it.key()] = it.value();
    }
    p.start("exiftool", {"-validate", "-warning", "-a", "-s3", path});
    if (!p.waitForFinished(120000))
        return false;
    const QStringList lines =
        QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    for (const QString& line : lines.mid(1)) // the first is their number
        if (!line.contains("GPS"))
            view->warnings << line;
    view->warnings.sort();
    return true;
}

// The markers of a JPEG's segments up to its image data, each APP segment with its name
// ("e1 Exif"), and where its image data starts.
static QStringList segmentOrder(const QByteArray& jpeg, int* scan)
{
    QStringList order;
    for (int i = 2; i + 4 <= jpeg.size();) {
        const quint8 marker = quint8(jpeg[i + 1]);
        const int length = (quint8(jpeg[i + 2]) << 8) + quint8(jpeg[i + 3]);
        order << QString::number(marker, 16) +
                     (marker >= 0xe0 && marker <= 0xef ? " " + jpeg.mid(i + 4, 4) : QString());
        if (marker == 0xda) {
            *scan = i;
            return order;
        }
        i += 2 + length;
    }
    *scan = -1;
    return order;
}

// "latitude longitude altitude UTC-ms", the altitude "nan" where there is none.
static GeotagMatch position(const QString& text)
{
    const QStringList v = text.split(' ');
    GeotagMatch m;
    m.status = GeotagMatch::Matched;
    m.hasUtc = true, m.utcMs = v.value(3).toLongLong();
    m.latitude = v.value(0).toDouble(), m.longitude = v.value(1).toDouble();
    m.hasAltitude = v.value(2) != "nan", m.altitude = m.hasAltitude ? v.value(2).toDouble() : 0;
    return m;
}

// The tags of every photo made here besides its own.
const QStringList OtherTags = [] {
    QStringList tags;
    for (const QStringList& row : table("geotag/tags.txt"))
        tags << row.join('|');
    return tags;
}();

class TestGeotag : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    // Far from UTC, a day ahead of it: a time stamp written in local time shows.
    TzSwitch m_zone{"Pacific/Kiritimati"};

private slots:
    void initTestCase()
    {
        QLoggingCategory::setFilterRules("kv730.*=false");
        Exiv2::XmpProperties::registerNs("http://www.dji.com/drone-dji/1.0/", "drone-dji");
    }

    void matching_data()
    {
        addTable("geotag/matching.txt", {"wall", "subSeconds", "offset", "zone", "tz", "clockError",
                                         "maxGap", "utc", "result"});
    }
    void matching()
    {
        QFETCH(QString, wall);
        QFETCH(QString, subSeconds);
        QFETCH(QString, offset);
        QFETCH(QString, zone);
        QFETCH(QString, tz);
        QFETCH(QString, clockError);
        QFETCH(QString, maxGap);
        TzSwitch switchZone(tz.toUtf8());
        PhotoInfo photo;
        qint64 seconds = 0;
        photo.hasTime = PhotoReader::parseDateTime(wall.toLatin1(), &seconds);
        photo.wallMs = seconds * 1000 + PhotoReader::parseSubSeconds(subSeconds.toLatin1());
        photo.hasOffset = PhotoReader::parseOffset(offset.toLatin1(), &photo.offsetSeconds);
        GeotagMatcher::Settings settings;
        QVERIFY(CameraZone::parse(zone, &settings.zone));
        settings.clockErrorSeconds = clockError.toDouble();
        settings.maxGapSeconds = maxGap.toInt();

        const GeotagMatch m = GeotagMatcher(Tracks, {2, 0, 1}).match(photo, settings);
        QTEST(m.hasUtc ? GeotagMatcher::timeText(m.utcMs) : QString(), "utc");
        const char* const statuses[] = {"", "no time", "", "before", "after", "gap"};
        const QString result = m.matched()
                                   ? QString::asprintf("%.6f %.6f ", m.latitude, m.longitude) +
                                         (m.hasAltitude ? QString::number(m.altitude, 'f', 3) : "-")
                                   : statuses[m.status];
        QTEST(result, "result");
        QCOMPARE(m.reason.isEmpty(), m.matched());
    }

    // The record is written as asked and nothing else changes: the file's other tags and
    // image data, its modification time and permissions; a raw file is never touched.
    void writing_data()
    {
        addTable("geotag/writing.txt", {"name", "tags", "replace", "at", "gps"});
    }
    void writing()
    {
        QFETCH(QString, name);
        QFETCH(QString, tags);
        QFETCH(QString, replace);
        QFETCH(QString, at);
        QFETCH(QString, gps);
        const GeotagMatch where = position(at);
        const QStringList own = tags.split("; ", Qt::SkipEmptyParts);
        const QString path = m_dir.filePath(name);
        const bool raw = PhotoReader::hasRawExtension(name);
        // A raw file's existing sidecar holds the row's tags and a rating of its own.
        const QByteArray before = PhotoFactory::make(raw || name.endsWith(".tif") ? "tif" : "jpg",
                                                     OtherTags + (raw ? QStringList() : own));
        QVERIFY(writeFile(path, before));
        const QString sidecar = PhotoReader::sidecarPath(path);
        if (raw && !own.isEmpty()) {
            auto xmp = Exiv2::ImageFactory::create(Exiv2::ImageType::xmp);
            xmp->xmpData()["Xmp.xmp.Rating"] = "4";
            for (const QString& t : own)
                xmp->xmpData()[t.section('=', 0, 0).toStdString()] =
                    t.section('=', 1).toStdString();
            xmp->writeMetadata();
            QVERIFY(writeFile(sidecar, PhotoFactory::bytes(xmp->io())));
        }
        const QDateTime modified = QDateTime::currentDateTime().addDays(-3);
        const auto permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite) &&
                    file.setFileTime(modified, QFile::FileModificationTime) &&
                    file.setPermissions(permissions | QFile::ReadUser | QFile::WriteUser));
        }
        const QByteArray sidecarBefore = readFile(sidecar);

        const PhotoInfo info = PhotoReader::read(path);
        QCOMPARE(info.kind, raw ? PhotoInfo::Sidecar : PhotoInfo::InPlace);
        QCOMPARE(GeotagMatcher::timeText(info.wallMs - info.offsetSeconds * 1000),
                 QString("2014-05-06 10:20:30.500"));
        QCOMPARE(info.hasPosition, !own.isEmpty());

        const PhotoWriter::Result r = PhotoWriter::write(path, where, {replace == "1", !raw});
        QCOMPARE(r.status,
                 gps.isEmpty() ? PhotoWriter::Result::Skipped : PhotoWriter::Result::Tagged);
        const QByteArray after = readFile(path);
        QCOMPARE(QFileInfo(path).lastModified(), modified);
        QCOMPARE(QFileInfo(path).permissions() & ~(QFile::ReadUser | QFile::WriteUser),
                 permissions);
        if (gps.isEmpty()) {
            QVERIFY(after == before && readFile(sidecar) == sidecarBefore);
            return;
        }
        QCOMPARE(r.written, raw ? sidecar : path);
        QCOMPARE(gpsRecord(r.written), gps);
        // An independent reader, where one is installed, sees the same position.
        QProcess exiftool;
        exiftool.start("exiftool", {"-n", "-s3", "-GPSLatitude", "-GPSLongitude", r.written});
        const QStringList v = exiftool.waitForFinished(60000)
                                  ? QString(exiftool.readAll()).split('\n')
                                  : QStringList();
        QVERIFY2(v.isEmpty() || (qAbs(v.value(0).toDouble() - where.latitude) < 1e-9 &&
                                 qAbs(v.value(1).toDouble() - where.longitude) < 1e-9),
                 qPrintable(v.join(' ')));
        if (raw) {
            QVERIFY(after == before);
        } else {
            QCOMPARE(otherTags(after), otherTags(before));
            const bool xmp = tags.contains("Xmp.exif") || tags.contains("Xmp.drone-dji");
            if (name.endsWith(".tif"))
                QCOMPARE(QImage(path), QImage::fromData(before));
            else
                QCOMPARE(withoutExif(after, xmp), withoutExif(before, xmp));
            QCOMPARE(readFile(PhotoWriter::originalCopyPath(path)), before);
        }
        const PhotoInfo tagged = PhotoReader::read(path);
        QVERIFY(tagged.hasPosition && std::fabs(tagged.latitude - where.latitude) < 1e-9 &&
                std::fabs(tagged.longitude - where.longitude) < 1e-9);
    }

    // Damaged photos are left as they were, and what can be tagged keeps its whole structure.
    void hostile_data() { addTable("geotag/hostile.txt", {"name", "change", "status", "reason"}); }
    void hostile()
    {
        QFETCH(QString, name);
        QFETCH(QString, change);
        QFETCH(QString, status);
        const QString dir = m_dir.filePath("hostile-" + name.section('.', 0, 0));
        QVERIFY(QDir().mkpath(dir));
        const QString path = dir + "/" + name;
        const QByteArray before = changed(change, OtherTags);
        QVERIFY(writeFile(path, before));
        const QStringList entriesBefore = entries(dir);

        const PhotoWriter::Result r =
            PhotoWriter::write(path, position("1 2 3 1399371630500"), {true, false});
        const QStringList statuses{"tagged", "skipped", "failed"};
        QCOMPARE(statuses.value(r.status), status);
        QFETCH(QString, reason);
        QVERIFY2(r.reason.contains(reason, Qt::CaseInsensitive), qPrintable(r.reason));
        const QByteArray after = readFile(path);
        if (reason.startsWith("larger than")) // as the reader says, before it reads any of it
            QVERIFY2(PhotoReader::read(path).error.contains(reason),
                     qPrintable(PhotoReader::read(path).error));
        if (r.status != PhotoWriter::Result::Tagged) {
            QVERIFY(after == before);
            QCOMPARE(entries(dir), entriesBefore);
            return;
        }
        QVERIFY(!gpsRecord(r.written).isEmpty());
        if (change == "no exif") {
            // A new Exif block, with what Exif requires of it, after the JFIF segment.
            int scan = 0;
            QCOMPARE(segmentOrder(after, &scan).mid(0, 2), QStringList({"e0 JFIF", "e1 Exif"}));
            QVERIFY(otherTags(after).join(' ').contains("Exif.Image.XResolution="));
            return;
        }
        if (change == "dng") {
            QCOMPARE(r.written, PhotoReader::sidecarPath(path));
            QVERIFY(after == before);
            return;
        }
        // Not a byte of the old structure moved: the header's pointer to the first directory
        // is all that changed, the rest was added after it.
        const int base = tiffStart(before);
        QCOMPARE(after.left(qMax(0, base - 8)), before.left(qMax(0, base - 8)));
        QCOMPARE(after.mid(base - 6, 4), before.mid(base - 6, 4));
        const int size = base ? int(quint8(before[base - 8]) << 8 | quint8(before[base - 7])) - 8
                              : before.size();
        QVERIFY(after.mid(base + 8, size - 8) == before.mid(base + 8, size - 8));
        if (!base)
            QCOMPARE(pageCount(after), pageCount(before));
    }

    // Real photos keep everything but their position, as an independent reader sees them.
    void corpus_data() { addTable("geotag/corpus.txt", {"file"}); }
    void corpus()
    {
        QFETCH(QString, file);
        const QString original = QStringLiteral(KV730_TEST_DATA "/photos/") + file;
        ExiftoolView before;
        if (!exiftool(original, &before)) {
            if (qgetenv("CI") == "true")
                QFAIL("exiftool is needed for this test");
            QSKIP("exiftool is not installed");
        }
        const QString path = m_dir.filePath("corpus-" + file);
        QFile source(original);
        QVERIFY2(source.copy(path), qPrintable(source.errorString() + " " + path));
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
        // Before midnight in UTC, already the next day where the tests run.
        const PhotoWriter::Result r = PhotoWriter::write(
            path, position("-33.8568 151.2153 58.5 1399419000250"), {true, false});
        QCOMPARE(r.status, PhotoWriter::Result::Tagged);
        ExiftoolView after;
        QVERIFY(exiftool(path, &after));
        QCOMPARE(after.tags, before.tags);
        QCOMPARE(after.warnings, before.warnings);
        QCOMPARE(after.gps.value("Composite:GPSLatitude").toDouble(), -33.8568);
        QCOMPARE(after.gps.value("Composite:GPSLongitude").toDouble(), 151.2153);
        QCOMPARE(after.gps.value("Composite:GPSAltitude").toDouble(), 58.5);
        QCOMPARE(after.gps.value("GPS:GPSDateStamp").toString(), QString("2014:05:06"));
        QCOMPARE(after.gps.value("GPS:GPSTimeStamp").toString(), QString("23:30:00.25"));
        QVERIFY(!after.gps.contains("GPS:GPSImgDirection") && !after.gps.contains("GPS:GPSSpeed"));

        const QByteArray old = readFile(original);
        const QByteArray now = readFile(path);
        if (!file.endsWith(".jpg")) {
            // Nothing of the old file moved; only the header points elsewhere.
            QVERIFY(now.mid(8, old.size() - 8) == old.mid(8));
            return;
        }
        int oldScan = 0;
        int newScan = 0;
        QCOMPARE(segmentOrder(now, &newScan), segmentOrder(old, &oldScan));
        QVERIFY(oldScan > 0 && now.mid(newScan) == old.mid(oldScan));
    }

    // A photo is replaced only while it is the file that was read, and stays the user's.
    void replacing_data()
    {
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("nothing") << "" << true;
        QTest::newRow("another file moved over it") << "mv" << false;
        QTest::newRow("removed") << "rm" << false;
        QTest::newRow("written to") << "append" << false;
        QTest::newRow("a second name") << "link" << false;
        QTest::newRow("an extended attribute") << "xattr" << true;
        QTest::newRow("another owner") << "owner" << true;
    }
    void replacing()
    {
        QFETCH(QString, meanwhile);
        QFETCH(bool, replaced);
#ifdef _WIN32
        Q_UNUSED(replaced);
        QSKIP("hard links, extended attributes and renames over a file are tested on POSIX");
#else
        const QString dir = m_dir.filePath("replacing-" + QString(QTest::currentDataTag()));
        QVERIFY(QDir().mkpath(dir));
        const QString path = dir + "/p.jpg";
        QVERIFY(writeFile(path, "old"));
        const QByteArray name = QFile::encodeName(path);
        if (meanwhile == "xattr" &&
            ::setxattr(name.constData(), "user.xdg.tags", "harbour", 7, 0) != 0)
            QSKIP("no extended attributes on this file system");
        if (meanwhile == "owner" && (!isRoot() || ::chown(name.constData(), 4321, 4322) != 0))
            QSKIP("only root can give a file to another owner");
        if (meanwhile == "link")
            QVERIFY(::link(name.constData(), QFile::encodeName(dir + "/q.jpg").constData()) == 0);
        const FileReplacer::Attributes attributes = FileReplacer::attributesOf(path);
        if (meanwhile == "mv")
            QVERIFY(writeFile(dir + "/new", "new") &&
                    ::rename(QFile::encodeName(dir + "/new").constData(), name.constData()) == 0);
        if (meanwhile == "rm")
            QVERIFY(QFile::remove(path));
        if (meanwhile == "append") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::Append) && file.write("!") == 1);
        }
        const QByteArray before = readFile(path);
        const QStringList entriesBefore = entries(dir);
        QString error;
        QCOMPARE(FileReplacer::replace(path, "tagged", nullptr, -1, attributes, false, &error),
                 replaced);
        QCOMPARE(readFile(path), replaced ? QByteArray("tagged") : before);
        QCOMPARE(entries(dir), entriesBefore);
        struct stat st;
        QCOMPARE(::stat(name.constData(), &st) == 0, meanwhile != "rm");
        QCOMPARE(meanwhile == "owner", meanwhile != "rm" && st.st_uid == 4321 && st.st_gid == 4322);
        if (meanwhile == "xattr") {
            char value[16] = {};
            QCOMPARE(::getxattr(name.constData(), "user.xdg.tags", value, sizeof value),
                     ssize_t(7));
            QCOMPARE(QByteArray(value), QByteArray("harbour"));
        }
#endif
    }

    // Nothing is lost and nothing is left behind: no temporary file, no copy of the original.
    void failures_data()
    {
        addTable("geotag/failures.txt", {"kind", "reason"});
    }
    void failures()
    {
        QFETCH(QString, kind);
        const QString dir = m_dir.filePath(kind);
        QVERIFY(QDir().mkpath(dir));
        const bool root = isRoot();
        std::unique_ptr<TmpfsMount> drive;
        if (kind == "full" || (kind == "read-only" && root)) {
            drive.reset(new TmpfsMount(dir, 256));
            if (!drive->isMounted())
                QSKIP(qPrintable(drive->reason()));
        }
        const bool raw = kind.endsWith("sidecar");
        const QString path = dir + (raw ? "/p.dng" : "/p.jpg");
        QByteArray content = PhotoFactory::make(raw ? "tif" : "jpg", OtherTags);
        if (kind == "corrupt")
            content.truncate(300); // inside the Exif segment
        if (kind == "text")
            content = "not a photo\n";
        QVERIFY(kind == "vanished" || writeFile(path, content));
        const QString sidecar = PhotoReader::sidecarPath(path);
        QVERIFY(kind != "sidecar" || writeFile(sidecar, "<x:xmpmeta>garbage"));
        QVERIFY(kind != "directory sidecar" || QDir().mkdir(sidecar));
        SKIP_UNLESS_POSIX(kind == "fifo sidecar" || kind.startsWith("size limit"));
        QVERIFY(kind != "fifo sidecar" || makeFifo(sidecar));
        if (kind == "full")
            drive->fill();
        // Root ignores permission bits: a read-only file system stops it.
        if (kind == "read-only")
            QVERIFY(root ? drive->remountReadOnly()
                         : QFile::setPermissions(path, QFile::ReadOwner));
        const QStringList before = entries(dir);
        // Reading a named pipe would wait for a writer.
        const QByteArray sidecarBefore = QFileInfo(sidecar).isFile() ? readFile(sidecar) : "";

        PhotoWriter::Result r;
        const auto write = [&] {
            r = PhotoWriter::write(path, position("1 2 3 1399371630500"), {true, true});
        };
        // The photo is larger than the limit; the writer must not be killed by the signal.
        if (kind.startsWith("size limit"))
            withFileSizeLimit(1024, write, kind == "size limit");
        else
            write();
        QCOMPARE(r.status, PhotoWriter::Result::Failed);
        QFETCH(QString, reason);
        QVERIFY2(r.reason.contains(reason, Qt::CaseInsensitive), qPrintable(r.reason));
        QCOMPARE(readFile(path), kind == "vanished" ? QByteArray() : content);
        QCOMPARE(QFileInfo(sidecar).isFile() ? readFile(sidecar) : "", sidecarBefore);
        QCOMPARE(entries(dir), before);
        const PhotoInfo info = PhotoReader::read(path);
        QCOMPARE(info.kind == PhotoInfo::Unreadable,
                 kind == "corrupt" || kind == "text" || kind == "vanished");
    }
};

QTEST_GUILESS_MAIN(TestGeotag)
#include "tst_geotag.moc"
