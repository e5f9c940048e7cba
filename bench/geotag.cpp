// Geotagging benchmark: 1,000 photos of about 3 MB each against a 500,000-point track.
// Times reading the photos' metadata, matching them, writing them (against cp of the same
// files), the whole kv730-convert --geotag run against exiftool -geotag with the GPX the tool
// exports, and compares the positions the two wrote. The photos live in a temporary folder
// that is removed at the end (about 9 GB while it runs).
//   build/bench/geotag [PHOTOS] [POINTS]

#include "photos/backgroundcloser.h"
#include "photos/exivsupport.h"
#include "formats/fileformatgpl.h"
#include "photos/geotagmatcher.h"
#include "photos/photoreader.h"
#include "photos/photowriter.h"
#include "childcpu.h"
#include "loggenerator.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <exiv2/exiv2.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace
{

const qint64 trackStart = 1399334400; // 2014-05-06 00:00:00 UTC, as LogGenerator starts

double seconds(const std::function<bool()>& step)
{
#ifdef Q_OS_UNIX
    ::sync(); // the previous step's writing is not charged to this one
#endif
    QElapsedTimer timer;
    timer.start();
    if (!step())
        return -1;
    return timer.nsecsElapsed() / 1e9;
}

bool run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    return process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

QByteArray bytesOf(Exiv2::BasicIo& io)
{
    io.open();
    QByteArray data(reinterpret_cast<const char*>(io.mmap()), int(io.size()));
    io.munmap();
    io.close();
    return data;
}

// A noisy picture of about 3 MB as JPEG, with a camera's usual tags and a thumbnail.
QByteArray basePhoto()
{
    QImage image(2048, 1536, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] =
                qRgb(x / 7 + random.bounded(96), y / 5 + random.bounded(96), random.bounded(256));
    }
    QBuffer jpeg;
    jpeg.open(QIODevice::WriteOnly);
    image.save(&jpeg, "JPEG", 93);
    QBuffer thumb;
    thumb.open(QIODevice::WriteOnly);
    image.scaled(160, 120).save(&thumb, "JPEG", 80);
    auto photo = Exiv2::ImageFactory::open(
        reinterpret_cast<const Exiv2::byte*>(jpeg.data().constData()), jpeg.size());
    photo->readMetadata();
    Exiv2::ExifData& exif = photo->exifData();
    exif["Exif.Image.Make"] = std::string("KV");
    exif["Exif.Image.Model"] = std::string("Bench 730");
    exif["Exif.Photo.ExposureTime"] = std::string("1/250");
    exif["Exif.Photo.FNumber"] = std::string("28/10");
    Exiv2::ExifThumb(exif).setJpegThumbnail(
        reinterpret_cast<const Exiv2::byte*>(thumb.data().constData()), thumb.size());
    photo->writeMetadata();
    return bytesOf(photo->io());
}

// The photos, taken at random milliseconds within the track, in local time without an offset
// (so both tools read them in the local zone).
bool writePhotos(const QString& dir, int count, int points)
{
    const QByteArray base = basePhoto();
    QRandomGenerator random(730);
    for (int i = 0; i < count; ++i) {
        const qint64 utcMs =
            (trackStart + 60) * 1000 + qint64(random.bounded((points - 120) * 1000.0));
        const QDateTime local = QDateTime::fromMSecsSinceEpoch(utcMs, Qt::LocalTime);
        auto photo = Exiv2::ImageFactory::open(
            reinterpret_cast<const Exiv2::byte*>(base.constData()), base.size());
        photo->readMetadata();
        photo->exifData()["Exif.Photo.DateTimeOriginal"] =
            local.toString(QStringLiteral("yyyy:MM:dd hh:mm:ss")).toStdString();
        photo->exifData()["Exif.Photo.SubSecTimeOriginal"] =
            QString::asprintf("%03d", int(utcMs % 1000)).toStdString();
        photo->writeMetadata();
        QFile file(QDir(dir).filePath(QString::asprintf("IMG_%04d.JPG", i)));
        const QByteArray data = bytesOf(photo->io());
        if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
            return false;
    }
    return true;
}

struct Fix {
    bool has = false;
    double lat = 0, lon = 0, alt = 0;
};

Fix readFix(const QString& path)
{
    Fix f;
    const PhotoInfo info = PhotoReader::read(path);
    f.has = info.hasPosition;
    f.lat = info.latitude;
    f.lon = info.longitude;
    try {
        auto photo = Exiv2::ImageFactory::open(QFile::encodeName(path).toStdString());
        photo->readMetadata();
        const auto alt = photo->exifData().findKey(Exiv2::ExifKey("Exif.GPSInfo.GPSAltitude"));
        const auto ref = photo->exifData().findKey(Exiv2::ExifKey("Exif.GPSInfo.GPSAltitudeRef"));
        if (alt != photo->exifData().end())
            f.alt = alt->toFloat() * (ref != photo->exifData().end() && ExivSupport::toInt64(*ref) ? -1 : 1);
    } catch (const std::exception&) {
        f.has = false;
    }
    return f;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1000;
    const int points = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 500000;
    const QString convert =
        QCoreApplication::applicationDirPath() + QStringLiteral("/../kv730-convert");
    const QString exiftool = QStandardPaths::findExecutable(QStringLiteral("exiftool"));
    std::printf("TZ %s, %d photos, %d track points\n",
                qEnvironmentVariableIsSet("TZ") ? qgetenv("TZ").constData() : "unset", count,
                points);

    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("track.gpl"));
    const QString gpx = dir.filePath(QStringLiteral("track.gpx"));
    const QString photos = dir.filePath(QStringLiteral("photos"));
    const QString copied = dir.filePath(QStringLiteral("copied"));
    const QString cli = dir.filePath(QStringLiteral("cli"));
    if (!LogGenerator(trackStart).writeLog(log, points) || !QDir().mkpath(photos) ||
        !writePhotos(photos, count, points) || !run(convert, {log, QStringLiteral("-o"), gpx})) {
        std::fprintf(stderr, "cannot make the input files\n");
        return 1;
    }
    const QStringList files = PhotoReader::collect({photos});
    qint64 bytes = 0;
    for (const QString& f : files)
        bytes += QFileInfo(f).size();
    std::printf("photos: %d files, %.2f MB each\n", int(files.size()),
                bytes / 1e6 / std::max(1, int(files.size())));

    QVector<PhotoInfo> infos(files.size());
    const double read = seconds([&] {
        for (int i = 0; i < files.size(); ++i)
            infos[i] = PhotoReader::read(files.at(i));
        return true;
    });
    const double readThumbs = seconds([&] {
        for (const QString& f : files)
            PhotoReader::read(f, true);
        return true;
    });

    QVector<Track> tracks;
    FileFormatGPL().load(tracks, log);
    GeotagMatcher matcher;
    QVector<GeotagMatch> matches(infos.size());
    int matched = 0;
    const double index = seconds([&] {
        matcher = GeotagMatcher(tracks, {0});
        return matcher.pointCount() == points;
    });
    const double match = seconds([&] {
        for (int i = 0; i < infos.size(); ++i)
            matched += (matches[i] = matcher.match(infos.at(i), {})).matched();
        return true;
    });

    // Untouched photos for the command line and for exiftool.
    run(QStringLiteral("cp"), {"-r", photos, cli});
    run(QStringLiteral("cp"), {"-r", photos, copied});
    // cp and the writing take turns, best of three each: on a shared machine a single pair
    // is at the mercy of the other processes' disk traffic. Later rounds replace the
    // positions the first one wrote, which takes the same work. Replacing a file also frees
    // the old one, which costs what rm of the copy costs.
    double cp = 1e9;
    double rm = 1e9;
    double write = 1e9;
    double cpCpu = 1e9; // processor time, which other programs on the machine change far less
    double writeCpu = 1e9;
    int tagged = 0;
    for (int round = 0; round < 3; ++round) {
        const QString target = dir.filePath(QStringLiteral("cp%1").arg(round));
        const double before = childCpu();
        cp = std::min(cp, seconds([&] {
                          return run(QStringLiteral("cp"), {"-r", photos, target});
                      }));
        cpCpu = std::min(cpCpu, childCpu() - before);
        rm = std::min(rm, seconds([&] { return run(QStringLiteral("rm"), {"-r", target}); }));
        tagged = 0;
        write = std::min(
            write, seconds([&] {
                const double start = childCpu(true); // after the sync before the step
                for (int i = 0; i < files.size(); ++i)
                    tagged +=
                        PhotoWriter::write(files.at(i), matches.at(i), {round > 0, false}).status ==
                        PhotoWriter::Result::Tagged;
                BackgroundCloser::drain(); // all of the work is counted
                writeCpu = std::min(writeCpu, childCpu(true) - start);
                return true;
            }));
    }
    // Keeping the originals (as second names of the same files) frees nothing.
    const QString kept = dir.filePath(QStringLiteral("kept"));
    run(QStringLiteral("cp"), {"-r", cli, kept});
    const double writeKeeping = seconds([&] {
        for (int i = 0; i < files.size(); ++i)
            PhotoWriter::write(QDir(kept).filePath(QFileInfo(files.at(i)).fileName()),
                               matches.at(i), {false, true});
        BackgroundCloser::drain();
        return true;
    });
    QDir(kept).removeRecursively();
    const double toolCpuBefore = childCpu();
    const double tool = seconds([&] {
        return run(convert, {log, QStringLiteral("--geotag"), cli});
    });
    const double toolCpu = childCpu() - toolCpuBefore;
    const double otherCpuBefore = childCpu();
    const double other = exiftool.isEmpty() ? -1 : seconds([&] {
        return run(exiftool, {"-q", "-overwrite_original", "-geotag", gpx,
                              "-geotime<SubSecDateTimeOriginal", copied});
    });
    const double otherCpu = childCpu() - otherCpuBefore;

    std::printf("read metadata          %7.3f s  (%.2f ms a photo; goal 2 s)\n", read,
                read * 1e3 / count);
    std::printf("  with thumbnails      %7.3f s\n", readThumbs);
    std::printf("match: index points    %7.3f s\n", index);
    std::printf("match: %d photos     %7.4f s  (%d matched; goal 0.5 s with the index)\n", count,
                match, matched);
    std::printf("cp -r                  %7.3f s  (best of 3)\n", cp);
    std::printf("rm -r of the copy      %7.3f s  (best of 3)\n", rm);
    std::printf("write in place         %7.3f s  (best of 3, %d tagged; %.2f x cp, %.2f x cp + rm; "
                "goal <= 1.5 x cp)\n",
                write, tagged, write / cp, write / (cp + rm));
    std::printf("  processor time       %7.3f s  (cp: %.3f s; %.2f x cp)\n", writeCpu, cpCpu,
                writeCpu / cpCpu);
    std::printf("  keeping originals    %7.3f s  (%.2f x cp)\n", writeKeeping, writeKeeping / cp);
    std::printf("kv730-convert --geotag %7.3f s, CPU %.3f s  (whole run: log, photos, matching, "
                "writing)\n",
                tool, toolCpu);
    if (other < 0) {
        std::printf("exiftool not installed\n");
        return 0;
    }
    std::printf("exiftool -geotag       %7.3f s, CPU %.3f s  (%.1f x kv730-convert wall, %.1f x CPU; "
                "goal >= 5)\n",
                other, otherCpu, other / tool, otherCpu / toolCpu);

    // Positions: the in-process writing, the command line and exiftool.
    double dLat = 0, dLon = 0, dAlt = 0, dSame = 0;
    int compared = 0;
    for (const QString& f : files) {
        const QString name = QFileInfo(f).fileName();
        const Fix a = readFix(f);
        const Fix b = readFix(QDir(cli).filePath(name));
        const Fix c = readFix(QDir(copied).filePath(name));
        if (!a.has || !b.has || !c.has)
            continue;
        ++compared;
        dSame = std::max({dSame, std::fabs(a.lat - b.lat), std::fabs(a.lon - b.lon)});
        dLat = std::max(dLat, std::fabs(b.lat - c.lat));
        dLon = std::max(dLon, std::fabs(b.lon - c.lon));
        dAlt = std::max(dAlt, std::fabs(b.alt - c.alt));
    }
    std::printf("positions compared     %d of %d\n", compared, count);
    std::printf("  in process vs command line: largest difference %.3g deg\n", dSame);
    std::printf("  command line vs exiftool: latitude %.3g deg, longitude %.3g deg, altitude "
                "%.3g m (goal 1e-6 deg)\n",
                dLat, dLon, dAlt);
    return 0;
}
