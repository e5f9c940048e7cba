#include "formats/fileformatkml.h"

#include "formats/numbertext.h"
#include "formats/textoutput.h"
#include "formats/timetext.h"

#include <QCoreApplication>

bool FileFormatKML::load(QVector<Track>& tracks, const QString& fileName)
{
    Q_UNUSED(tracks);
    Q_UNUSED(fileName);
    setErrorString(QCoreApplication::translate("FileFormatKML", "KML files cannot be opened."));
    return false;
}

bool FileFormatKML::save(QVector<Track> tracks, QString& fileName, QList<int> selection,
                         bool markedOnly)
{
    return saveThrough(
        fileName, [&](QIODevice* device) { return write(device, tracks, selection, markedOnly); });
}

bool FileFormatKML::write(QIODevice* device, const QVector<Track>& tracks,
                          const QList<int>& selection, bool markedOnly, const char* lineEnd)
{
    TextOutput out(device, lineEnd);
    out.appendLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n    <Folder");
    if (selection.isEmpty())
        out.appendLiteral("/>");
    else
        out.appendLiteral(">");

    qint64 number = 1;
    for (int index : selection) {
        const Track& track = tracks.at(index);
        out.appendLiteral("\n        <Placemark>\n            <name>KV-730 DataLog-");
        const CalendarTime start = TimeText::split(track.startTime, true);
        char* p = out.space(64);
        p = NumberText::unsignedNumber(p, quint64(number++));
        *p++ = ' ';
        p = NumberText::date(p, start, '-');
        *p++ = ' ';
        p = NumberText::clock(p, start);
        out.advance(p);
        out.appendLiteral("</name>\n"
                          "            <styleUrl>root://styleMaps#default+nicon=0x467+hicon=0x477"
                          "</styleUrl>\n"
                          "            <Style>\n"
                          "                <LineStyle>\n"
                          "                    <color>7f0000ff</color>\n"
                          "                    <width>4</width>\n"
                          "                </LineStyle>\n"
                          "            </Style>\n"
                          "            <LineString>\n"
                          "                <coordinates>");
        for (const Vec3& point : track.points) {
            if ((markedOnly && point.marked == 0) || !point.hasFinitePosition())
                continue;
            p = out.space(2048);
            p = NumberText::qtFixed(p, point.lon, 6);
            *p++ = ',';
            p = NumberText::qtFixed(p, point.lat, 6);
            if (point.hasFiniteAltitude()) { // else a tuple of two, as KML allows
                *p++ = ',';
                p = NumberText::qtFixed(p, point.alt, 2);
            }
            out.advance(out.newLine(p));
        }
        out.appendLiteral("</coordinates>\n"
                          "                <tessellate>1</tessellate>\n"
                          "                <altitudeMode>clampToGround</altitudeMode>\n"
                          "            </LineString>\n"
                          "        </Placemark>");
    }
    if (!selection.isEmpty())
        out.appendLiteral("\n    </Folder>");
    out.appendLiteral("\n</kml>\n");
    return out.flush();
}
