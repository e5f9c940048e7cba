#include "formats/fileformatkml.h"

#include "formats/formatslog.h"
#include "formats/importsupport.h"
#include "formats/xmlinputguard.h"
#include "formats/numbertext.h"
#include "formats/textoutput.h"
#include "formats/timetext.h"

#include <QCoreApplication>
#include <QFile>
#include <QXmlStreamReader>

#include <algorithm>

bool FileFormatKML::load(QVector<Track>& tracks, const QString& fileName)
{
    clearMessages();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        setErrorString(QCoreApplication::translate("FileFormatKML", "The file cannot be read: %1")
                           .arg(file.errorString()));
        return false;
    }
    return read(tracks, file);
}

namespace
{
// "lon,lat[,alt]" tuples separated by blanks; false for a tuple that is no position.
bool appendCoordinates(const QString& text, Track& track, bool* hasAltitude, int* lost)
{
    const QChar* p = text.constData();
    const int n = text.size();
    int i = 0;
    while (i < n) {
        while (i < n && p[i].isSpace())
            ++i;
        const int start = i;
        while (i < n && !p[i].isSpace())
            ++i;
        if (i == start)
            break;
        const QStringRef tuple = text.midRef(start, i - start);
        const QVector<QStringRef> parts = tuple.split(QLatin1Char(','));
        Vec3 point;
        if (parts.size() < 2 || parts.size() > 3 ||
            !ImportSupport::parseNumber(parts.at(0), &point.lon) ||
            !ImportSupport::parseNumber(parts.at(1), &point.lat) ||
            !ImportSupport::validPosition(point.lat, point.lon)) {
            ++*lost;
            continue;
        }
        if (parts.size() == 3 && ImportSupport::parseNumber(parts.at(2), &point.alt))
            *hasAltitude = true;
        track.points.append(point);
    }
    return true;
}
} // namespace

bool FileFormatKML::read(QVector<Track>& tracks, QIODevice& device)
{
    clearMessages();
    XmlInputGuard guard(&device);
    QXmlStreamReader xml(&guard);
    QVector<Track> read;
    QString placemarkName;
    int placemarkDepth = 0;
    int depth = 0;
    int singlePoints = 0;
    int lost = 0;
    bool rootSeen = false;
    // The gx:Track (or all those of a gx:MultiTrack) being read.
    Track track;
    bool inTimedTrack = false;
    int multiTrackDepth = 0;
    QVector<qint64> whens;
    bool hasAltitude = false;

    auto endTimedTrack = [&] {
        // A gx:Track pairs its n-th when with its n-th coord.
        const int n = qMin(whens.size(), track.points.size());
        lost += qMax(whens.size(), track.points.size()) - n;
        track.points.resize(n);
        for (int i = 0; i < n; ++i)
            track.points[i].time = whens.at(i);
        track.name = placemarkName;
        ImportSupport::finishTrack(track, hasAltitude, false);
        read.append(track);
        track = Track();
        whens.clear();
        hasAltitude = false;
        inTimedTrack = false;
    };

    while (!xml.atEnd()) {
        xml.readNext();
        if (!ImportSupport::xmlTokenAllowed(xml, depth))
            break;
        if (xml.isStartElement()) {
            ++depth;
            const QStringRef name = xml.name();
            if (!rootSeen) {
                rootSeen = true;
                if (name != QLatin1String("kml")) {
                    xml.raiseError(QCoreApplication::translate(
                        "FileFormatKML", "This is not a KML file: it holds no kml element."));
                    break;
                }
            } else if (name == QLatin1String("Placemark")) {
                placemarkName.clear();
                placemarkDepth = depth;
            } else if (name == QLatin1String("name") && placemarkDepth > 0 &&
                       depth == placemarkDepth + 1) {
                placemarkName =
                    xml.readElementText(QXmlStreamReader::IncludeChildElements).simplified();
                --depth;
            } else if (name == QLatin1String("LineString") && !inTimedTrack) {
                Track line;
                bool lineAltitude = false;
                int lineDepth = depth;
                while (!xml.atEnd() && depth >= lineDepth) {
                    xml.readNext();
                    if (!ImportSupport::xmlTokenAllowed(xml, depth))
                        break;
                    if (xml.isStartElement()) {
                        ++depth;
                        if (xml.name() == QLatin1String("coordinates")) {
                            appendCoordinates(
                                xml.readElementText(QXmlStreamReader::IncludeChildElements),
                                line, &lineAltitude, &lost);
                            --depth;
                        }
                    } else if (xml.isEndElement()) {
                        --depth;
                    }
                }
                line.name = placemarkName;
                ImportSupport::finishTrack(line, lineAltitude, false);
                read.append(line);
                // The loop above has read the LineString's end already.
                continue;
            } else if (name == QLatin1String("MultiTrack")) {
                multiTrackDepth = depth;
                inTimedTrack = true;
            } else if (name == QLatin1String("Track")) {
                inTimedTrack = true;
            } else if (inTimedTrack && name == QLatin1String("when")) {
                const QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
                qint64 time = 0;
                whens.append(ImportSupport::parseIsoTime(QStringRef(&text), &time) ? time : 0);
                --depth;
            } else if (inTimedTrack && name == QLatin1String("coord")) {
                const QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
                const QVector<QStringRef> parts = text.splitRef(QLatin1Char(' '),
                                                                 Qt::SkipEmptyParts);
                Vec3 point;
                bool valid = parts.size() >= 2 &&
                             ImportSupport::parseNumber(parts.at(0), &point.lon) &&
                             ImportSupport::parseNumber(parts.at(1), &point.lat) &&
                             ImportSupport::validPosition(point.lat, point.lon);
                if (valid && parts.size() >= 3 &&
                    ImportSupport::parseNumber(parts.at(2), &point.alt))
                    hasAltitude = true;
                // An unreadable coord keeps its place, so that the later ones meet their
                // times; it is dropped below.
                if (!valid)
                    point.lat = qQNaN();
                track.points.append(point);
                --depth;
            } else if (name == QLatin1String("Point") && placemarkDepth > 0) {
                ++singlePoints;
                xml.skipCurrentElement();
                --depth;
            }
        } else if (xml.isEndElement()) {
            const QStringRef name = xml.name();
            if (name == QLatin1String("Track") && inTimedTrack && multiTrackDepth == 0) {
                endTimedTrack();
            } else if (name == QLatin1String("MultiTrack") && depth == multiTrackDepth) {
                endTimedTrack();
                multiTrackDepth = 0;
            } else if (name == QLatin1String("Placemark") && depth == placemarkDepth) {
                placemarkDepth = 0;
                placemarkName.clear();
            }
            --depth;
        }
    }
    if (inTimedTrack && !track.points.isEmpty())
        endTimedTrack();
    // Drop the unreadable coords of timed tracks, kept so far for their places.
    for (Track& t : read) {
        const int before = t.points.size();
        t.points.erase(std::remove_if(t.points.begin(), t.points.end(),
                                      [](const Vec3& p) { return qIsNaN(p.lat); }),
                       t.points.end());
        if (t.points.size() != before) {
            lost += before - t.points.size();
            ImportSupport::finishTrack(t, t.fmt == 2, false);
        }
    }

    if (guard.tripped())
        xml.raiseError(ImportSupport::runTooLongText());
    QString problem;
    switch (ImportSupport::xmlOutcome(xml, rootSeen, read, &problem)) {
    case ImportSupport::XmlOutcome::Refused:
        setErrorString(problem);
        qCWarning(lcFormats) << "KML refused:" << problem;
        return false;
    case ImportSupport::XmlOutcome::Partial:
        setWarningString(problem);
        break;
    case ImportSupport::XmlOutcome::Complete:
        if (lost > 0)
            setWarningString(ImportSupport::lostText(lost));
        break;
    }
    if (read.isEmpty()) {
        setErrorString(QCoreApplication::translate(
                           "FileFormatKML",
                           "The file holds no line and no gx:Track (single points: %1).")
                           .arg(singlePoints));
        return false;
    }
    if (singlePoints > 0)
        setNoticeString(QCoreApplication::translate(
            "FileFormatKML", "%n single point(s) of the file are not tracks and were left out.",
            nullptr, singlePoints));
    tracks += read;
    return true;
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
