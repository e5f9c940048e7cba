#include "../photofactory.h"
#include "../tmpfsmount.h"
#include "photos/geotagmatcher.h"
#include "photos/photoreader.h"
#include "photos/photowriter.h"
#include "testsupport.h"
#include "tzswitch.h"

#include <QtTest>

#include <cmath>
#include <memory>

using namespace TestSupport;

const qint64 T = 1396137600; // 2014-03-30 00:00:00 UTC; Berlin springs forward at 01:00 UTC

// Two tracks with a gap inside and one between them; the second has no altitude; the third
// crosses the date line.
const QVector<Track> Tracks{
    {T, 2, {point(10, 20, 100, T), point(10.1, 20.2, 200, T + 10), point(11, 21, 300, T + 100)}},
    {T, 1, {point(-33.5, -70.5, 0, T + 3600), point(-33.8, -70.8, 0, T + 3630)}},
    {T, 2, {point(0, 179.9, -5, T + 7200), point(0, -179.9, -15, T + 7210)}}};

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
        if (d.key().compare(0, 12, "Xmp.exif.GPS") != 0)
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
        if (d.key().compare(0, 12, "Xmp.exif.GPS") == 0)
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

private slots:
    void initTestCase() { QLoggingCategory::setFilterRules("kv730.*=false"); }

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
        const bool raw = name.endsWith(".dng");
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
            const bool xmp = tags.contains("Xmp.exif");
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

    // Nothing is lost and nothing is left behind: no temporary file, no copy of the original.
    void failures_data() { addTable("geotag/failures.txt", {"kind", "reason"}); }
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
        const QString path = dir + (kind == "sidecar" ? "/p.dng" : "/p.jpg");
        QByteArray content = PhotoFactory::make(kind == "sidecar" ? "tif" : "jpg", OtherTags);
        if (kind == "corrupt")
            content.truncate(300); // inside the Exif segment
        if (kind == "text")
            content = "not a photo\n";
        QVERIFY(kind == "vanished" || writeFile(path, content));
        const QString sidecar = PhotoReader::sidecarPath(path);
        QVERIFY(kind != "sidecar" || writeFile(sidecar, "<x:xmpmeta>garbage"));
        if (kind == "full")
            drive->fill();
        // Root ignores permission bits: a read-only file system stops it.
        if (kind == "read-only")
            QVERIFY(root ? drive->remountReadOnly()
                         : QFile::setPermissions(path, QFile::ReadOwner));
        const QStringList before = entries(dir);
        const QByteArray sidecarBefore = readFile(sidecar);

        SKIP_UNLESS_POSIX(kind == "size limit");
        PhotoWriter::Result r;
        const auto write = [&] {
            r = PhotoWriter::write(path, position("1 2 3 1399371630500"), {true, true});
        };
        kind == "size limit" ? withFileSizeLimit(1024, write) : write(); // the photo is larger
        QCOMPARE(r.status, PhotoWriter::Result::Failed);
        QFETCH(QString, reason);
        QVERIFY2(r.reason.contains(reason, Qt::CaseInsensitive), qPrintable(r.reason));
        QCOMPARE(readFile(path), kind == "vanished" ? QByteArray() : content);
        QCOMPARE(readFile(sidecar), sidecarBefore);
        QCOMPARE(entries(dir), before);
        const PhotoInfo info = PhotoReader::read(path);
        QCOMPARE(info.kind == PhotoInfo::Unreadable,
                 kind == "corrupt" || kind == "text" || kind == "vanished");
    }
};

QTEST_GUILESS_MAIN(TestGeotag)
#include "tst_geotag.moc"
