#include "formats/fileformatcsv.h"

#include "formats/formatslog.h"
#include "formats/importsupport.h"
#include "formats/numbertext.h"
#include "formats/textoutput.h"
#include "formats/timetext.h"
#include "view/units.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>

#include <algorithm>
#include <iterator>

#include <cmath>

FileFormatCSV::FileFormatCSV(const DisplaySettings* settings) : m_settings(settings) {}

bool FileFormatCSV::load(QVector<Track>& tracks, const QString& fileName)
{
    clearMessages();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        setErrorString(QCoreApplication::translate("FileFormatCSV", "The file cannot be read: %1")
                           .arg(file.errorString()));
        return false;
    }
    return read(tracks, file);
}

namespace
{
enum Column { Latitude, Longitude, Altitude, Speed, Date, Time, DateTime, ColumnCount };

// The header names each column may have, compared without case, without blanks at either
// end and without the unit in brackets.
const char* const columnNames[ColumnCount] = {
    "lat latitude",
    "lon lng long longitude",
    "alt altitude ele elevation height",
    "speed",
    "date utc_d",
    "time utc_t",
    "datetime date_time timestamp utc_time iso8601",
};

QStringList splitFields(const QString& line, QChar separator)
{
    QStringList fields;
    QString field;
    bool quoted = false;
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (c == QLatin1Char('"')) {
            if (quoted && i + 1 < line.size() && line.at(i + 1) == QLatin1Char('"')) {
                field += c;
                ++i;
            } else {
                quoted = !quoted;
            }
        } else if (c == separator && !quoted) {
            fields.append(field.trimmed());
            field.clear();
        } else {
            field += c;
        }
    }
    fields.append(field.trimmed());
    return fields;
}

// Factor from the unit of a speed column to km/h; metres per second when none is named.
double speedFactor(const QString& unit)
{
    static const QStringList kmh = {QStringLiteral("km/hr"), QStringLiteral("km/h"),
                                    QStringLiteral("kmh"), QStringLiteral("kph")};
    static const QStringList mph = {QStringLiteral("mi/hr"), QStringLiteral("mi/h"),
                                    QStringLiteral("mph")};
    static const QStringList knots = {QStringLiteral("knots"), QStringLiteral("kn"),
                                      QStringLiteral("kt"), QStringLiteral("kts")};
    if (kmh.contains(unit))
        return 1.0;
    if (mph.contains(unit))
        return 1.609344;
    if (knots.contains(unit))
        return 1.852;
    return 3.6;
}
} // namespace

QString FileFormatCSV::lookedForText()
{
    QStringList names;
    for (const char* name : columnNames)
        names << QString::fromLatin1(name).replace(QLatin1Char(' '), QLatin1Char('/'));
    return QCoreApplication::translate(
               "FileFormatCSV",
               "The first line must name the columns of latitude and longitude. Looked for: "
               "latitude (%1), longitude (%2); optional: altitude (%3), speed (%4), date (%5), "
               "time (%6), date and time (%7).")
        .arg(names.at(Latitude), names.at(Longitude), names.at(Altitude), names.at(Speed),
             names.at(Date), names.at(Time), names.at(DateTime));
}

bool FileFormatCSV::read(QVector<Track>& tracks, QIODevice& device)
{
    clearMessages();
    // The header is the first line; a file of garbage shows it within a few kilobytes.
    QByteArray headerBytes = device.readLine(64 * 1024);
    if (headerBytes.startsWith("\xEF\xBB\xBF"))
        headerBytes.remove(0, 3);
    const QString header = QString::fromUtf8(headerBytes).trimmed();
    QChar separator = QLatin1Char(',');
    if (!header.contains(separator))
        separator = header.contains(QLatin1Char(';')) ? QLatin1Char(';') : QLatin1Char('\t');
    const QStringList names = splitFields(header, separator);

    int index[ColumnCount];
    std::fill(std::begin(index), std::end(index), -1);
    bool localTime = false;
    bool feet = false;
    double kmhPerUnit = 3.6;
    for (int i = 0; i < names.size(); ++i) {
        QString name = names.at(i).toLower();
        QString unit;
        const int bracket = name.indexOf(QLatin1Char('('));
        if (bracket >= 0) {
            unit = name.mid(bracket + 1).remove(QLatin1Char(')')).trimmed();
            name = name.left(bracket).trimmed();
        }
        for (int c = 0; c < ColumnCount; ++c) {
            const QStringList accepted =
                QString::fromLatin1(columnNames[c]).split(QLatin1Char(' '));
            if (index[c] >= 0 || !accepted.contains(name))
                continue;
            index[c] = i;
            if (c == Altitude)
                feet = unit == QLatin1String("feet") || unit == QLatin1String("ft");
            else if (c == Speed)
                kmhPerUnit = speedFactor(unit);
            else if (c == Time || c == DateTime)
                localTime = unit == QLatin1String("local");
        }
    }
    if (index[Latitude] < 0 || index[Longitude] < 0) {
        setErrorString(lookedForText());
        qCWarning(lcFormats) << "CSV refused:" << header.left(200);
        return false;
    }

    Track track;
    // A row of the tool's own export takes some 50 bytes: one allocation instead of many.
    if (!device.isSequential())
        track.points.reserve(int(qMin<qint64>(device.size() / 50, 1 << 24)));
    bool hasAltitude = false;
    int lost = 0;
    auto field = [](const QStringList& fields, int column) {
        return column >= 0 && column < fields.size() ? fields.at(column) : QString();
    };
    while (!device.atEnd()) {
        const QString line = QString::fromUtf8(device.readLine(64 * 1024)).trimmed();
        if (line.isEmpty())
            continue;
        const QStringList fields = splitFields(line, separator);
        Vec3 point;
        if (index[Latitude] >= fields.size() || index[Longitude] >= fields.size() ||
            !ImportSupport::parseNumber(QStringRef(&fields.at(index[Latitude])), &point.lat) ||
            !ImportSupport::parseNumber(QStringRef(&fields.at(index[Longitude])), &point.lon) ||
            !ImportSupport::validPosition(point.lat, point.lon)) {
            ++lost;
            continue;
        }
        const QString altText = field(fields, index[Altitude]);
        if (ImportSupport::parseNumber(QStringRef(&altText), &point.alt)) {
            hasAltitude = true;
            if (feet)
                point.alt *= 0.3048;
        }
        const QString speedText = field(fields, index[Speed]);
        double speed = 0.0;
        if (ImportSupport::parseNumber(QStringRef(&speedText), &speed))
            point.speed = ImportSupport::speedFromMetresPerSecond(speed * kmhPerUnit / 3.6);
        QString when = field(fields, index[DateTime]);
        if (when.isEmpty()) {
            const QString date = field(fields, index[Date]);
            const QString clock = field(fields, index[Time]);
            when = date.isEmpty() ? clock : date + QLatin1Char('T') + clock;
        }
        qint64 time = 0;
        if (!when.isEmpty()) {
            when.replace(QLatin1Char('/'), QLatin1Char('-'));
            if (localTime) {
                const QDateTime local = QDateTime::fromString(when, Qt::ISODate);
                if (local.isValid())
                    time = local.toSecsSinceEpoch();
            } else {
                ImportSupport::parseIsoTime(QStringRef(&when), &time);
            }
        }
        point.time = time;
        track.points.append(point);
    }
    if (track.points.isEmpty() && lost == 0) {
        setErrorString(QCoreApplication::translate("FileFormatCSV",
                                                   "The file holds no rows below its header."));
        return false;
    }
    if (track.points.isEmpty()) {
        setErrorString(ImportSupport::lostText(lost));
        return false;
    }
    if (lost > 0)
        setWarningString(ImportSupport::lostText(lost));
    ImportSupport::finishTrack(track, hasAltitude, index[Speed] >= 0);
    tracks.append(track);
    return true;
}

bool FileFormatCSV::save(QVector<Track> tracks, QString& fileName, QList<int> selection,
                         bool markedOnly)
{
    return saveThrough(
        fileName, [&](QIODevice* device) { return write(device, tracks, selection, markedOnly); });
}

bool FileFormatCSV::write(QIODevice* device, const QVector<Track>& tracks,
                          const QList<int>& selection, bool markedOnly, const char* lineEnd) const
{
    const bool local = m_settings->timeSwitch() != DisplaySettings::Utc;
    const bool feet = m_settings->heightUnit() != DisplaySettings::Metres;
    const bool mph = m_settings->speedUnit() != DisplaySettings::Kmh;

    TextOutput out(device, lineEnd);
    if (local)
        out.appendLiteral("Date, Time (local), Latitude, Longitude");
    else
        out.appendLiteral("Date, Time (UTC), Latitude, Longitude");
    if (feet)
        out.appendLiteral(", Altitude (feet)");
    else
        out.appendLiteral(", Altitude (m)");
    if (mph)
        out.appendLiteral(", Speed (mi/hr)\n");
    else
        out.appendLiteral(", Speed (km/hr)\n");

    for (int index : selection) {
        const Track& track = tracks.at(index);
        if (track.fmt != 1 && track.fmt != 2)
            continue;
        for (const Vec3& point : track.points) {
            if ((markedOnly && point.marked == 0) || !point.hasFinitePosition())
                continue;
            const CalendarTime t = TimeText::split(point.time, local);
            char* p = out.space(2048);
            p = NumberText::date(p, t, '-');
            *p++ = ',';
            p = NumberText::clock(p, t);
            *p++ = ',';
            p = NumberText::cFixed(p, point.lat, 6);
            *p++ = ',';
            p = NumberText::cFixed(p, point.lon, 6);
            *p++ = ',';
            // In feet, a huge altitude may overflow: left empty, as one that is not finite.
            const double altitude = feet ? Units::altitudeFeet(point.alt) : point.alt;
            if (track.fmt == 2 && std::isfinite(altitude))
                p = NumberText::qtFixed(p, altitude, 2);
            *p++ = ',';
            p = NumberText::qtFixed(
                p, mph ? Units::speedMph(point.speed) : Units::speedKmh(point.speed), 2);
            out.advance(out.newLine(p));
        }
    }

    return out.flush();
}
