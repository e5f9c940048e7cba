// kv730-convert: reads logger log files and track archives through the format registry
// and lists them, prints their statistics or writes them to another format, for batch
// use and for checking the readers and writers from outside the application.

#include "formats/fileformatregistry.h"
#include "formats/gpsfilter.h"
#include "formats/timetext.h"
#include "tools/convertersettings.h"
#include "tools/geotagcommand.h"
#include "view/trackstatistics.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QLoggingCategory>
#include <QStringList>

#include <cstdio>

namespace
{

enum ExitStatus { Success = 0, InputError = 1, UsageError = 2, OutputError = 3 };

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

// "1,3-4" to 1-based numbers in the given order; false on a malformed list.
bool parseTrackList(const QString& text, QList<int>& numbers)
{
    const QStringList parts = text.split(QLatin1Char(','));
    for (const QString& part : parts) {
        const int dash = part.indexOf(QLatin1Char('-'));
        bool okFirst = false;
        bool okLast = false;
        int first;
        int last;
        if (dash < 0) {
            first = last = part.toInt(&okFirst);
            okLast = okFirst;
        } else {
            first = part.left(dash).toInt(&okFirst);
            last = part.mid(dash + 1).toInt(&okLast);
        }
        if (!okFirst || !okLast || first < 1 || last < first)
            return false;
        for (int n = first; n <= last; ++n)
            numbers.append(n);
    }
    return !numbers.isEmpty();
}

void listTracks(const QVector<Track>& tracks, const QList<int>& selection, bool withPoints)
{
    for (int index : selection) {
        const Track& track = tracks.at(index);
        const CalendarTime start = TimeText::split(track.startTime, false);
        std::printf("%d\t%sZ\t%d\t%d\n", index + 1,
                    qPrintable(TimeText::dateTime(start, QStringLiteral("T"))), int(track.fmt),
                    int(track.points.size()));
        if (!withPoints)
            continue;
        for (const Vec3& p : track.points) {
            std::printf("%.17g\t%.17g\t%.17g\t%lld\t%d\t%d\t%d\n", p.lat, p.lon, p.alt,
                        static_cast<long long>(p.time), int(p.marked), int(p.speed),
                        int(p.reserved));
        }
    }
}

void printStatistics(const QVector<Track>& tracks, const QList<int>& selection)
{
    std::printf("%s\n", qPrintable(TrackStatistics::tsvHeader()));
    for (int index : selection) {
        const TrackStatistics stats = TrackStatistics::compute(tracks.at(index));
        std::printf("%s\n", qPrintable(stats.tsvLine(index + 1)));
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kv730-convert"));
    // The tool reports failures itself; the modules' traces stay available through
    // QT_LOGGING_RULES.
    QLoggingCategory::setFilterRules(QStringLiteral("kv730.*.debug=false\nkv730.*.warning=false"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Reads KV-730 track files (.gpl logs, .tkx archives) and lists them, prints their\n"
        "statistics or writes them as .tkx, .csv, .gpx or .kml, chosen by the output file's\n"
        "extension.\n"
        "Exit status: 0 success, 1 an input cannot be read, 2 usage error,\n"
        "3 the output cannot be written."));
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Show this help."));
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
        QStringLiteral("Jump-filter limit N (0: off); default from ./Setting.ini."),
        QStringLiteral("N"));
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
                       heightOption, timeOption, filterOption, listOption, pointsOption,
                       statsOption});
    parser.addPositionalArgument(QStringLiteral("INPUT"), QStringLiteral("Track files to read."),
                                 QStringLiteral("INPUT..."));
    GeotagCommand geotag;
    QStringList arguments = QCoreApplication::arguments();
    geotag.takePhotos(arguments);
    parser.addOptions(GeotagCommand::options());

    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    if (parser.isSet(helpOption)) {
        std::printf("%s", qPrintable(parser.helpText()));
        return Success;
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

    QList<int> numbers;
    if (parser.isSet(tracksOption) && !parseTrackList(parser.value(tracksOption), numbers))
        return usageError(QStringLiteral("bad track list '%1'").arg(parser.value(tracksOption)));

    if (parser.isSet(filterOption)) {
        bool ok = false;
        const int limit = parser.value(filterOption).toInt(&ok);
        if (!ok)
            return usageError(
                QStringLiteral("bad --gps-filter value '%1'").arg(parser.value(filterOption)));
        // Held as 8 bits, as the application holds the value of ./Setting.ini.
        GpsFilter::setLimit(qint8(limit));
    } else {
        GpsFilter::readSettingFile();
    }

    FileFormatRegistry registry;
    registry.addStandardFormats(&settings);

    QVector<Track> tracks;
    for (const QString& input : inputs) {
        if (!registry.load(tracks, input)) {
            const QString reason = registry.errorString();
            printError(
                QStringLiteral("cannot read %1%2")
                    .arg(input, reason.isEmpty() ? QString() : QStringLiteral(": ") + reason));
            return InputError;
        }
    }

    QList<int> selection;
    if (numbers.isEmpty()) {
        for (int i = 0; i < tracks.size(); ++i)
            selection.append(i);
    } else {
        for (int n : qAsConst(numbers)) {
            if (n > tracks.size())
                return usageError(
                    QStringLiteral("there is no track %1 (%2 read)").arg(n).arg(tracks.size()));
            selection.append(n - 1);
        }
    }

    if (parser.isSet(listOption))
        listTracks(tracks, selection, parser.isSet(pointsOption));
    if (parser.isSet(statsOption))
        printStatistics(tracks, selection);

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
    if (geotag.isRequested())
        return geotag.run(tracks, selection);
    std::fflush(stdout);
    return Success;
}
