#include "formats/fileformatcsv.h"

#include "formats/numbertext.h"
#include "formats/textoutput.h"
#include "formats/timetext.h"
#include "view/units.h"

#include <QCoreApplication>

#include <cmath>

FileFormatCSV::FileFormatCSV(const DisplaySettings* settings) : m_settings(settings) {}

bool FileFormatCSV::load(QVector<Track>& tracks, const QString& fileName)
{
    Q_UNUSED(tracks);
    Q_UNUSED(fileName);
    setErrorString(QCoreApplication::translate("FileFormatCSV", "CSV files cannot be opened."));
    return false;
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
