#include "tools/geotagcommand.h"
#include "formats/filenamecodec.h"
#include "photos/photoreader.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

#include <cmath>
#include <cstdio>

namespace
{

const char* const zoneName = "camera-zone";
const char* const clockName = "clock-error";
const char* const gapName = "max-gap";
const char* const replaceName = "replace";
const char* const keepName = "keep-originals";
const char* const dryRunName = "dry-run";

QString field(bool present, double value, int decimals)
{
    return present ? QString::number(value, 'f', decimals) : QString();
}

} // namespace

void GeotagCommand::takePhotos(QStringList& arguments)
{
    const QString inline_ = QStringLiteral("--geotag=");
    for (int i = 1; i < arguments.size();) {
        if (arguments.at(i).startsWith(inline_)) {
            // --geotag=PATH, as every other option takes its value, and more paths after it.
            m_photos << arguments.at(i).mid(inline_.size());
            arguments[i] = QStringLiteral("--geotag");
        }
        if (arguments.at(i) != QLatin1String("--geotag")) {
            ++i;
            continue;
        }
        m_requested = true;
        arguments.removeAt(i);
        while (i < arguments.size() && !arguments.at(i).startsWith(QLatin1Char('-')))
            m_photos << arguments.takeAt(i);
    }
}

QList<QCommandLineOption> GeotagCommand::options()
{
    return {
        QCommandLineOption(QStringLiteral("geotag"),
                           QStringLiteral("Write positions from the tracks into these photos "
                                          "(JPEG, TIFF; raw files get a name.xmp sidecar)\n"
                                          "and the photos in these folders; one line per "
                                          "photo: file, UTC time, latitude, longitude,\n"
                                          "altitude, status."),
                           QStringLiteral("PHOTO|FOLDER...")),
        QCommandLineOption(QLatin1String(zoneName),
                           QStringLiteral("With --geotag: the zone of the camera's clock for "
                                          "photos without an offset of their own:\n"
                                          "local (default), utc, +HH:MM, -HH:MM or a zone name "
                                          "such as Europe/Berlin."),
                           QStringLiteral("ZONE")),
        QCommandLineOption(QLatin1String(clockName),
                           QStringLiteral("With --geotag: how many seconds the camera's clock "
                                          "was ahead (negative: behind); default 0."),
                           QStringLiteral("SECONDS")),
        QCommandLineOption(QLatin1String(gapName),
                           QStringLiteral("With --geotag: the largest gap between two track "
                                          "points to interpolate across; default 60."),
                           QStringLiteral("SECONDS")),
        QCommandLineOption(QLatin1String(replaceName),
                           QStringLiteral("With --geotag: also photos that already record a "
                                          "position.")),
        QCommandLineOption(QLatin1String(keepName),
                           QStringLiteral("With --geotag: keep each changed file as "
                                          "name_original first.")),
        QCommandLineOption(QLatin1String(dryRunName),
                           QStringLiteral("With --geotag: match and print, write nothing.")),
    };
}

bool GeotagCommand::setUp(const QCommandLineParser& parser, QString* error)
{
    const QStringList own{zoneName, clockName, gapName, replaceName, keepName, dryRunName};
    if (!m_requested) {
        for (const QString& name : own) {
            if (parser.isSet(name)) {
                *error = QStringLiteral("--%1 needs --geotag").arg(name);
                return false;
            }
        }
        return true;
    }
    if (m_photos.isEmpty()) {
        *error = QStringLiteral("--geotag needs a photo or folder");
        return false;
    }
    if (parser.isSet(zoneName) && !CameraZone::parse(parser.value(zoneName), &m_settings.zone)) {
        *error = QStringLiteral("unknown camera zone '%1'").arg(parser.value(zoneName));
        return false;
    }
    bool ok = true;
    if (parser.isSet(clockName))
        m_settings.clockErrorSeconds = parser.value(clockName).toDouble(&ok);
    if (!ok || !std::isfinite(m_settings.clockErrorSeconds) ||
        std::fabs(m_settings.clockErrorSeconds) > 1e10) {
        *error = QStringLiteral("bad --clock-error '%1'").arg(parser.value(clockName));
        return false;
    }
    if (parser.isSet(gapName))
        m_settings.maxGapSeconds = parser.value(gapName).toInt(&ok);
    if (!ok || m_settings.maxGapSeconds < 0) {
        *error = QStringLiteral("bad --max-gap '%1'").arg(parser.value(gapName));
        return false;
    }
    m_writeOptions.replace = parser.isSet(replaceName);
    m_writeOptions.keepOriginal = parser.isSet(keepName);
    m_dryRun = parser.isSet(dryRunName);
    return true;
}

int GeotagCommand::run(const QVector<Track>& tracks, const QList<int>& selection) const
{
    const GeotagMatcher matcher(tracks, selection);
    bool allDone = true;
    const QStringList photos = PhotoReader::collect(m_photos);
    for (const QString& path : photos) {
        const PhotoInfo info = PhotoReader::read(path);
        const GeotagMatch match =
            info.kind == PhotoInfo::Unreadable ? GeotagMatch() : matcher.match(info, m_settings);
        QString status;
        if (info.kind == PhotoInfo::Unreadable && info.unsupported) {
            status = QStringLiteral("skipped: ") + info.error;
        } else if (info.kind == PhotoInfo::Unreadable) {
            status = QStringLiteral("failed: ") + info.error;
        } else if (!match.matched()) {
            status = QStringLiteral("not matched: ") + match.reason;
        } else if (m_dryRun) {
            status = info.hasPosition && !m_writeOptions.replace
                         ? QStringLiteral("skipped: It already records a position "
                                          "(replacing was not asked for).")
                         : QStringLiteral("would tag");
        } else {
            const PhotoWriter::Result r = PhotoWriter::write(path, match, m_writeOptions);
            switch (r.status) {
            case PhotoWriter::Result::Tagged:
                status = QStringLiteral("tagged");
                if (QFileInfo(r.written) != QFileInfo(path))
                    status += QStringLiteral(": ") + FileNameCodec::printable(QDir::toNativeSeparators(r.written));
                if (!r.reason.isEmpty())
                    status += QStringLiteral("; ") + r.reason;
                break;
            case PhotoWriter::Result::Skipped:
                status = QStringLiteral("skipped: ") + r.reason;
                break;
            case PhotoWriter::Result::Failed:
                status = QStringLiteral("failed: ") + r.reason;
                break;
            }
        }
        if (status.startsWith(QLatin1String("failed")))
            allDone = false;
        const QStringList fields{
            FileNameCodec::printable(QDir::toNativeSeparators(path)),
            match.hasUtc ? GeotagMatcher::timeText(match.utcMs, QLatin1Char('T')) + QLatin1Char('Z')
                         : QString(),
            field(match.matched(), match.latitude, 8),
            field(match.matched(), match.longitude, 8),
            // The altitude written: none where Exif cannot hold it.
            field(match.matched() && PhotoWriter::altitudeFits(match), match.altitude, 3),
            status.simplified(),
        };
        std::printf("%s\n", fields.join(QLatin1Char('\t')).toUtf8().constData());
    }
    std::fflush(stdout);
    return allDone ? 0 : 1;
}
