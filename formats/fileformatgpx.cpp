#include "formats/fileformatgpx.h"

#include "formats/numbertext.h"
#include "formats/textoutput.h"
#include "formats/timetext.h"

#include <QCoreApplication>

const char* const FileFormatGPX::creator = "Veltrona - https://www.veltrona.com";

bool FileFormatGPX::load(QVector<Track>& tracks, const QString& fileName)
{
    Q_UNUSED(tracks);
    Q_UNUSED(fileName);
    setErrorString(QCoreApplication::translate("FileFormatGPX", "GPX files cannot be opened."));
    return false;
}

bool FileFormatGPX::save(QVector<Track> tracks, QString& fileName, QList<int> selection,
                         bool markedOnly)
{
    return saveThrough(
        fileName, [&](QIODevice* device) { return write(device, tracks, selection, markedOnly); });
}

bool FileFormatGPX::write(QIODevice* device, const QVector<Track>& tracks,
                          const QList<int>& selection, bool markedOnly, const char* lineEnd)
{
    TextOutput out(device, lineEnd);
    out.appendLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx creator=\"");
    out.append(creator, int(qstrlen(creator)));
    out.appendLiteral("\" version=\"1.1\" xmlns=\"http://www.topografix.com/GPX/1/1\" "
                      "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
                      "xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1 "
                      "http://www.topografix.com/GPX/1/1/gpx.xsd\"");
    if (selection.isEmpty()) {
        out.appendLiteral("/>\n");
    } else {
        out.appendLiteral(">");
        for (int index : selection)
            writeTrack(out, tracks.at(index), markedOnly);
        out.appendLiteral("\n</gpx>\n");
    }
    return out.flush();
}

void FileFormatGPX::writeTrack(TextOutput& out, const Track& track, bool markedOnly)
{
    out.appendLiteral("\n    <trk>\n        <name>KV-730 DataLog-1 ");
    const CalendarTime start = TimeText::split(track.startTime, false);
    char* p = out.space(64);
    p = NumberText::date(p, start, '-');
    *p++ = ' ';
    p = NumberText::clock(p, start);
    out.advance(p);
    out.appendLiteral("</name>\n        <trkseg");
    bool empty = true;
    for (const Vec3& point : track.points) {
        if ((markedOnly && point.marked == 0) || !point.hasFinitePosition())
            continue;
        if (empty)
            out.appendLiteral(">");
        empty = false;
        writePoint(out, point, track.fmt);
    }
    if (empty)
        out.appendLiteral("/>\n    </trk>");
    else
        out.appendLiteral("\n        </trkseg>\n    </trk>");
}

void FileFormatGPX::writePoint(TextOutput& out, const Vec3& point, int fmt)
{
    static const char start[] = "\n            <trkpt lat=\"";
    static const char lon[] = "\" lon=\"";
    static const char ele[] = "\">\n                <ele>";
    static const char eleEnd[] = "</ele>";
    static const char startEnd[] = "\">";
    static const char time[] = "\n                <time>";
    static const char end[] = "Z</time>\n            </trkpt>";

    char* p = out.space(2048);
    auto put = [&p, &out](const char* text, size_t length) { p = out.put(p, text, length); };
    put(start, sizeof start - 1);
    p = NumberText::qtFixed(p, point.lat, 6);
    put(lon, sizeof lon - 1);
    p = NumberText::qtFixed(p, point.lon, 6);
    if (fmt == 2 && point.hasFiniteAltitude()) {
        put(ele, sizeof ele - 1);
        p = NumberText::qtFixed(p, point.alt, 2);
        put(eleEnd, sizeof eleEnd - 1);
    } else {
        put(startEnd, sizeof startEnd - 1);
    }
    put(time, sizeof time - 1);
    const CalendarTime t = TimeText::split(point.time, false);
    p = NumberText::date(p, t, '-');
    *p++ = 'T';
    p = NumberText::clock(p, t);
    put(end, sizeof end - 1);
    out.advance(p);
}
