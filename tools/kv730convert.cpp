// kv730-convert: reads logger log files and track archives through the format registry
// and lists them, prints their statistics or writes them to another format, for batch
// use and for checking the readers and writers from outside the application.

#include "formats/filenamecodec.h"
#include "formats/fileformatnmea.h"
#include "formats/fileformatregistry.h"
#include "formats/gpsfilter.h"
#include "formats/platformfiles.h"
#include "formats/timetext.h"
#include "tools/convertersettings.h"
#include "tools/geotagcommand.h"
#include "view/trackstatistics.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QLoggingCategory>
#include <QStringList>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace
{

enum ExitStatus { Success = 0, InputError = 1, UsageError = 2, OutputError = 3, DamagedInput = 4 };

void printError(const QString& text)
{
    std::fprintf(stderr, "kv730-convert: %s\n", qPrintable(text));
}

int usageError(const QString& text)
{
    printError(text);
    std::fprintf(stderr, "Try 'kv730-convert --help'.\n");
    return UsageError;
}

struct TrackRange {
    int first; // 1-based
    int last;
};

// "1,3-4" to ranges in the given order; false on a malformed list. The ranges are checked
// against the tracks read, never expanded before: "2-2147483647" is one range, not two
// thousand million numbers.
bool parseTrackList(const QString& text, QVector<TrackRange>& ranges)
{
    const QStringList parts = text.split(QLatin1Char(','));
    for (const QString& part : parts) {
        const int dash = part.indexOf(QLatin1Char('-'));
        bool okFirst = false;
        bool okLast = false;
        const int first = (dash < 0 ? part : part.left(dash)).toInt(&okFirst);
        const int last = dash < 0 ? first : part.mid(dash + 1).toInt(&okLast);
        if (!okFirst || (dash >= 0 && !okLast) || first < 1 || last < first)
            return false;
        ranges.append({first, last});
    }
    return !ranges.isEmpty();
}

// Standard output with every write checked: the first failure is kept with its reason.
class Output
{
public:
    // result: what printf or fflush returned.
    bool check(int result)
    {
        if ((result < 0 || std::ferror(stdout)) && m_error.isEmpty())
            m_error = QString::fromLocal8Bit(std::strerror(errno ? errno : EIO));
        return m_error.isEmpty();
    }
    bool finish() { return check(std::fflush(stdout) == 0 ? 0 : -1); }
    QString error() const { return m_error; }

private:
    QString m_error;
};

bool listTracks(Output& out, const QVector<Track>& tracks, const QList<int>& selection,
                bool withPoints)
{
    for (int index : selection) {
        const Track& track = tracks.at(index);
        const CalendarTime start = TimeText::split(track.startTime, false);
        if (!out.check(std::printf("%d\t%sZ\t%d\t%d\n", index + 1,
                                   qPrintable(TimeText::dateTime(start, QStringLiteral("T"))),
                                   int(track.fmt), int(track.points.size()))))
            return false;
        for (int i = 0; withPoints && i < track.points.size(); ++i) {
            const Vec3& p = track.points.at(i);
            if (!out.check(std::printf("%.17g\t%.17g\t%.17g\t%lld\t%d\t%d\t%d\n", p.lat, p.lon,
                                       p.alt, static_cast<long long>(p.time), int(p.marked),
                                       int(p.speed), int(p.reserved))))
                return false;
        }
    }
    return true;
}

bool printStatistics(Output& out, const QVector<Track>& tracks, const QList<int>& selection)
{
    if (!out.check(std::printf("%s\n", qPrintable(TrackStatistics::tsvHeader()))))
        return false;
    for (int index : selection) {
        const TrackStatistics stats = TrackStatistics::compute(tracks.at(index));
        if (!out.check(std::printf("%s\n", qPrintable(stats.tsvLine(index + 1)))))
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    // Beyond the file size limit a write fails as on a full drive, with exit status 3.
    PlatformFiles::ignoreFileSizeSignal();
    QCoreApplication app(argc, argv);
    FileNameCodec::install(); // names that are no UTF-8 text still open
    QCoreApplication::setApplicationName(QStringLiteral("kv730-convert"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KV730_VERSION));
    // The tool reports failures itself; the modules' traces stay available through
    // QT_LOGGING_RULES.
    QLoggingCategory::setFilterRules(QStringLiteral("kv730.*.debug=false\nkv730.*.warning=false"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Reads track files and lists them, prints their statistics or writes them as .tkx,\n"
        ".csv, .gpx or .kml, chosen by the output file's extension. Inputs: KV-730 logs\n"
        "(.gpl) and archives (.tkx), GPX 1.0/1.1 (.gpx: tracks and routes; waypoints are\n"
        "left out), KML 2.2 (.kml: LineString and gx:Track; single points are left out),\n"
        "NMEA 0183 (.nmea: RMC with the altitude of GGA) and CSV (.csv, whose first line\n"
        "names latitude and longitude columns, and perhaps altitude, speed, date, time),\n"
        "chosen by extension in any case, or by content for other names.\n"
        "Exit status: 0 success, 1 an input (or with --geotag a photo) cannot be read\n"
        "or written, 2 usage error,\n"
        "3 the output cannot be written, 4 converted from a damaged input (what\n"
        "could be read was used; standard error says what was lost)."));
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Show this help."));
    const QCommandLineOption versionOption(QStringLiteral("version"),
                                           QStringLiteral("Show the version."));
    const QCommandLineOption outputOption(
        QStringLiteral("o"), QStringLiteral("Write the tracks to FILE."), QStringLiteral("FILE"));
    const QCommandLineOption tracksOption(
        QStringLiteral("tracks"), QStringLiteral("Use only these tracks (1-based, e.g. 1,3-4)."),
        QStringLiteral("LIST"));
    const QCommandLineOption markedOption(QStringLiteral("marked-only"),
                                          QStringLiteral("Write marked points only."));
    const QCommandLineOption speedOption(QStringLiteral("speed-unit"),
                                         QStringLiteral("Speed unit: kmh (default) or mph."),
                                         QStringLiteral("UNIT"));
    const QCommandLineOption heightOption(QStringLiteral("height-unit"),
                                          QStringLiteral("Height unit: m (default) or ft."),
                                          QStringLiteral("UNIT"));
    const QCommandLineOption timeOption(QStringLiteral("time"),
                                        QStringLiteral("Times in utc or local (default)."),
                                        QStringLiteral("ZONE"));
    const QCommandLineOption filterOption(
        QStringLiteral("gps-filter"),
        QStringLiteral("Jump-filter limit N, -128 to 127 (0: off); default from ./Setting.ini."),
        QStringLiteral("N"));
    const QCommandLineOption gapOption(
        QStringLiteral("nmea-gap"),
        QStringLiteral("NMEA inputs: start a new track after a pause longer than SECONDS;\n"
                       "default NMEA_track_gap of ./Setting.ini, else 60."),
        QStringLiteral("SECONDS"));
    const QCommandLineOption listOption(
        QStringLiteral("list"),
        QStringLiteral("Print one line per track: number, UTC start, fmt, point count."));
    const QCommandLineOption pointsOption(
        QStringLiteral("points"),
        QStringLiteral(
            "With --list: also print lat lon alt time marked speed reserved per point."));
    const QCommandLineOption statsOption(
        QStringLiteral("stats"),
        QStringLiteral("Print the statistics of each track, tab-separated, after a header line:\n"
                       "points, marked points, UTC start and end, duration and moving time (s),\n"
                       "distance (m), average, moving average and maximum speed (km/h),\n"
                       "minimum and maximum altitude, ascent and descent (m). Empty fields:\n"
                       "figures the track does not have. Units are fixed."));
    parser.addOptions({helpOption, outputOption, tracksOption, markedOption, speedOption,
                       heightOption, timeOption, filterOption, gapOption, listOption, pointsOption,
                       statsOption});
    parser.addOption(versionOption);
    parser.addPositionalArgument(QStringLiteral("INPUT"), QStringLiteral("Track files to read."),
                                 QStringLiteral("INPUT..."));
    GeotagCommand geotag;
    QStringList arguments = QCoreApplication::arguments();
    geotag.takePhotos(arguments);
    parser.addOptions(GeotagCommand::options());

    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    Output out;
    if (parser.isSet(helpOption)) {
        if (out.check(std::printf("%s", qPrintable(parser.helpText()))) && out.finish())
            return Success;
        printError(QStringLiteral("cannot write to standard output: %1").arg(out.error()));
        return OutputError;
    }
    if (parser.isSet(versionOption)) {
        if (out.check(std::printf("kv730-convert %s\n", KV730_VERSION)) && out.finish())
            return Success;
        printError(QStringLiteral("cannot write to standard output: %1").arg(out.error()));
        return OutputError;
    }

    const QStringList inputs = parser.positionalArguments();
    if (inputs.isEmpty())
        return usageError(QStringLiteral("no input file given"));
    if (parser.isSet(pointsOption) && !parser.isSet(listOption))
        return usageError(QStringLiteral("--points needs --list"));
    if (parser.isSet(outputOption) && parser.value(outputOption).isEmpty())
        return usageError(QStringLiteral("-o needs a file name"));

    QString geotagError;
    if (!geotag.setUp(parser, &geotagError))
        return usageError(geotagError);

    ConverterSettings settings;
    if (parser.isSet(speedOption) && !settings.setSpeedUnit(parser.value(speedOption)))
        return usageError(QStringLiteral("unknown speed unit '%1'").arg(parser.value(speedOption)));
    if (parser.isSet(heightOption) && !settings.setHeightUnit(parser.value(heightOption)))
        return usageError(
            QStringLiteral("unknown height unit '%1'").arg(parser.value(heightOption)));
    if (parser.isSet(timeOption) && !settings.setTimeSwitch(parser.value(timeOption)))
        return usageError(QStringLiteral("unknown time choice '%1'").arg(parser.value(timeOption)));

    QVector<TrackRange> ranges;
    if (parser.isSet(tracksOption) && !parseTrackList(parser.value(tracksOption), ranges))
        return usageError(QStringLiteral("bad track list '%1'").arg(parser.value(tracksOption)));

    if (parser.isSet(filterOption)) {
        qint8 limit = 0;
        if (!GpsFilter::parse(parser.value(filterOption), &limit))
            return usageError(QStringLiteral("bad --gps-filter value '%1' (a whole number from "
                                             "%2 to %3)")
                                  .arg(parser.value(filterOption))
                                  .arg(GpsFilter::Lowest)
                                  .arg(GpsFilter::Highest));
        GpsFilter::setLimit(limit);
    } else {
        QString problem;
        GpsFilter::readSettingFile(QStringLiteral("./Setting.ini"), &problem);
        if (!problem.isEmpty())
            printError(problem);
    }

    if (parser.isSet(gapOption)) {
        bool ok = false;
        const int gap = parser.value(gapOption).toInt(&ok);
        if (!ok || gap <= 0)
            return usageError(
                QStringLiteral("bad --nmea-gap value '%1'").arg(parser.value(gapOption)));
        FileFormatNMEA::setTrackGap(gap);
    } else {
        FileFormatNMEA::readSettingFile();
    }

    FileFormatRegistry registry;
    registry.addStandardFormats(&settings);

    QVector<Track> tracks;
    bool damaged = false;
    for (const QString& input : inputs) {
        if (!registry.load(tracks, input)) {
            const QString reason = registry.errorString();
            printError(
                QStringLiteral("cannot read %1%2")
                    .arg(input, reason.isEmpty() ? QString() : QStringLiteral(": ") + reason));
            return InputError;
        }
        if (!registry.noticeString().isEmpty())
            printError(QStringLiteral("%1: %2").arg(input, registry.noticeString()));
        // What could be read is used, but the loss is told.
        if (!registry.warningString().isEmpty()) {
            printError(QStringLiteral("%1 is damaged: %2").arg(input, registry.warningString()));
            damaged = true;
        }
    }

    QList<int> selection;
    if (ranges.isEmpty())
        ranges.append({1, tracks.size()});
    for (const TrackRange& range : qAsConst(ranges)) {
        if (range.last > tracks.size())
            return usageError(QStringLiteral("there is no track %1 (%2 read)")
                                  .arg(qMax(range.first, tracks.size() + 1))
                                  .arg(tracks.size()));
        for (int n = range.first; n <= range.last; ++n)
            selection.append(n - 1);
    }

    const bool printed = (!parser.isSet(listOption) ||
                          listTracks(out, tracks, selection, parser.isSet(pointsOption))) &&
                         (!parser.isSet(statsOption) || printStatistics(out, tracks, selection)) &&
                         out.finish();
    if (!printed) {
        printError(QStringLiteral("cannot write to standard output: %1").arg(out.error()));
        return OutputError;
    }

    if (parser.isSet(outputOption)) {
        const QString output = parser.value(outputOption);
        if (!registry.save(tracks, output, selection, parser.isSet(markedOption))) {
            QString reason = registry.errorString();
            if (reason.isEmpty())
                reason = QStringLiteral("no writer for this file type");
            printError(QStringLiteral("cannot write %1: %2").arg(output, reason));
            return OutputError;
        }
    }
    if (geotag.isRequested()) {
        const int status = geotag.run(tracks, selection);
        if (!out.finish()) {
            printError(QStringLiteral("cannot write to standard output: %1").arg(out.error()));
            return OutputError;
        }
        if (status != Success)
            return status;
    }
    return damaged ? DamagedInput : Success;
}
