#include "formats/fileformatgpx.h"

#include "formats/formatslog.h"
#include "formats/gpxscanner.h"
#include "formats/importsupport.h"
#include "formats/xmlinputguard.h"
#include "formats/numbertext.h"
#include "formats/textoutput.h"
#include "formats/timetext.h"

#include <QCoreApplication>
#include <QFile>
#include <QXmlStreamReader>

const char* const FileFormatGPX::creator = "Veltrona - https://www.veltrona.com";

bool FileFormatGPX::load(QVector<Track>& tracks, const QString& fileName)
{
    clearMessages();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        setErrorString(QCoreApplication::translate("FileFormatGPX", "The file cannot be read: %1")
                           .arg(file.errorString()));
        return false;
    }
    return read(tracks, file);
}

bool FileFormatGPX::read(QVector<Track>& tracks, QIODevice& device)
{
    clearMessages();
    // GPX files are nearly always plain XML, which the scanner reads several times faster;
    // what it does not take is read again, from the start, by the full XML reader.
    if (m_parser == Parser::Scanner && !device.isSequential()) {
        const qint64 start = device.pos();
        bool ok = false;
        if (readPlain(tracks, device, &ok)) {
            m_lastParser = Parser::Scanner;
            return ok;
        }
        clearMessages();
        if (!device.seek(start))
            qCWarning(lcFormats) << "GPX: cannot go back to the start:" << device.errorString();
    }
    m_lastParser = Parser::FullXml;
    return readXml(tracks, device);
}

bool FileFormatGPX::readPlain(QVector<Track>& tracks, QIODevice& device, bool* ok)
{
    // The same steps as readXml(), on the scanner's tokens; any fault ends it.
    GpxScanner xml(device);
    QVector<Track> read;
    Track track;
    Vec3 point;
    bool inTrack = false;
    bool inPoint = false;
    bool trackHasAltitude = false;
    bool trackHasSpeed = false;
    bool pointValid = false;
    int depth = 0;
    int trackDepth = 0;
    int waypoints = 0;
    int lost = 0;
    bool rootSeen = false;

    auto endTrack = [&] {
        ImportSupport::finishTrack(track, trackHasAltitude, trackHasSpeed);
        read.append(track);
        track = Track();
        inTrack = false;
    };

    for (GpxScanner::Token token; (token = xml.next()) != GpxScanner::EndDocument;) {
        if (token == GpxScanner::StartElement) {
            ++depth;
            const std::string_view name = xml.name();
            if (!rootSeen) {
                rootSeen = true;
                if (name != "gpx")
                    return false;
            } else if (inPoint) {
                if (name == "ele") {
                    double alt = 0.0;
                    if (xml.elementText([&alt](std::string_view text) {
                            return ImportSupport::parseNumber(text, &alt);
                        })) {
                        point.alt = alt;
                        trackHasAltitude = true;
                    }
                    --depth;
                } else if (name == "time") {
                    qint64 time = 0;
                    if (xml.elementText([&time](std::string_view text) {
                            return ImportSupport::parseIsoTime(text, &time);
                        }))
                        point.time = time;
                    --depth;
                } else if (name == "speed") {
                    double mps = 0.0;
                    if (ImportSupport::parseNumber(xml.allText(), &mps)) {
                        point.speed = ImportSupport::speedFromMetresPerSecond(mps);
                        trackHasSpeed = true;
                    }
                    --depth;
                }
            } else if (name == "trkpt" || name == "rtept") {
                if (!inTrack) {
                    ++lost;
                    xml.skipElement();
                    --depth;
                    continue;
                }
                inPoint = true;
                point = Vec3();
                pointValid = ImportSupport::parseNumber(xml.attribute("lat"), &point.lat) &&
                             ImportSupport::parseNumber(xml.attribute("lon"), &point.lon) &&
                             ImportSupport::validPosition(point.lat, point.lon);
            } else if (name == "trk" || name == "rte") {
                if (inTrack)
                    endTrack();
                inTrack = true;
                trackDepth = depth;
                if (read.isEmpty())
                    track.points.reserve(int(qMin<qint64>(device.size() / 150, 1 << 24)));
                trackHasAltitude = false;
                trackHasSpeed = false;
            } else if (inTrack && depth == trackDepth + 1 && name == "name") {
                const std::string text = xml.allText();
                track.name = QString::fromUtf8(text.data(), int(text.size())).simplified();
                --depth;
            } else if (name == "wpt") {
                ++waypoints;
                xml.skipElement();
                --depth;
            }
        } else if (token == GpxScanner::EndElement) {
            const std::string_view name = xml.name();
            if (inPoint && (name == "trkpt" || name == "rtept")) {
                inPoint = false;
                if (pointValid)
                    track.points.append(point);
                else
                    ++lost;
            } else if (inTrack && depth == trackDepth) {
                endTrack();
            }
            --depth;
        }
        if (xml.failed())
            return false;
    }
    if (lost > 0)
        setWarningString(ImportSupport::lostText(lost));
    *ok = finishRead(tracks, read, waypoints);
    return true;
}

bool FileFormatGPX::readXml(QVector<Track>& tracks, QIODevice& device)
{
    XmlInputGuard guard(&device);
    QXmlStreamReader xml(&guard);
    QVector<Track> read;
    Track track;
    Vec3 point;
    bool inTrack = false;
    bool inPoint = false;
    bool trackHasAltitude = false;
    bool trackHasSpeed = false;
    bool pointValid = false;
    int depth = 0;
    int trackDepth = 0;
    int waypoints = 0;
    int lost = 0;
    bool rootSeen = false;

    auto endTrack = [&] {
        ImportSupport::finishTrack(track, trackHasAltitude, trackHasSpeed);
        read.append(track);
        track = Track();
        inTrack = false;
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
                if (name != QLatin1String("gpx")) {
                    xml.raiseError(QCoreApplication::translate(
                        "FileFormatGPX", "This is not a GPX file: it holds no gpx element."));
                    break;
                }
            } else if (inPoint) {
                if (name == QLatin1String("ele")) {
                    double alt = 0.0;
                    if (ImportSupport::elementText(xml, [&alt](const QStringRef& text) {
                            return ImportSupport::parseNumber(text, &alt);
                        })) {
                        point.alt = alt;
                        trackHasAltitude = true;
                    }
                    --depth;
                } else if (name == QLatin1String("time")) {
                    qint64 time = 0;
                    if (ImportSupport::elementText(xml, [&time](const QStringRef& text) {
                            return ImportSupport::parseIsoTime(text, &time);
                        }))
                        point.time = time;
                    --depth;
                } else if (name == QLatin1String("speed")) {
                    // GPX 1.0 and the common extensions give metres per second.
                    double mps = 0.0;
                    if (ImportSupport::elementNumber(xml, &mps)) {
                        point.speed = ImportSupport::speedFromMetresPerSecond(mps);
                        trackHasSpeed = true;
                    }
                    --depth;
                }
            } else if (name == QLatin1String("trkpt") || name == QLatin1String("rtept")) {
                if (!inTrack) {
                    // A point outside its track: the file is not what it claims.
                    ++lost;
                    xml.skipCurrentElement();
                    --depth;
                    continue;
                }
                inPoint = true;
                point = Vec3();
                const QXmlStreamAttributes attributes = xml.attributes();
                pointValid = ImportSupport::parseNumber(attributes.value(QLatin1String("lat")),
                                                        &point.lat) &&
                             ImportSupport::parseNumber(attributes.value(QLatin1String("lon")),
                                                        &point.lon) &&
                             ImportSupport::validPosition(point.lat, point.lon);
            } else if (name == QLatin1String("trk") || name == QLatin1String("rte")) {
                if (inTrack)
                    endTrack();
                inTrack = true;
                trackDepth = depth;
                // A point takes some 150 bytes in the tool's own export, and rarely fewer
                // elsewhere: growing the vector step by step would copy it again and again.
                if (read.isEmpty() && !device.isSequential())
                    track.points.reserve(int(qMin<qint64>(device.size() / 150, 1 << 24)));
                trackHasAltitude = false;
                trackHasSpeed = false;
            } else if (inTrack && depth == trackDepth + 1 && name == QLatin1String("name")) {
                track.name = xml.readElementText(QXmlStreamReader::IncludeChildElements).simplified();
                --depth;
            } else if (name == QLatin1String("wpt")) {
                ++waypoints;
                xml.skipCurrentElement();
                --depth;
            }
        } else if (xml.isEndElement()) {
            const QStringRef name = xml.name();
            if (inPoint && (name == QLatin1String("trkpt") || name == QLatin1String("rtept"))) {
                inPoint = false;
                if (pointValid)
                    track.points.append(point);
                else
                    ++lost;
            } else if (inTrack && depth == trackDepth) {
                endTrack();
            }
            --depth;
        }
    }

    if (guard.tripped())
        xml.raiseError(ImportSupport::runTooLongText());
    if (xml.hasError() || !rootSeen) {
        if (inTrack && !track.points.isEmpty())
            endTrack();
        int points = 0;
        for (const Track& t : qAsConst(read))
            points += t.points.size();
        if (points == 0 || xml.error() == QXmlStreamReader::CustomError) {
            setErrorString(!rootSeen && !xml.hasError()
                               ? QCoreApplication::translate("FileFormatGPX",
                                                             "The file is empty.")
                               : ImportSupport::xmlErrorText(xml));
            qCWarning(lcFormats) << "GPX refused:" << errorString();
            return false;
        }
        setWarningString(ImportSupport::brokenOffText(xml));
    } else if (lost > 0) {
        setWarningString(ImportSupport::lostText(lost));
    }
    return finishRead(tracks, read, waypoints);
}

bool FileFormatGPX::finishRead(QVector<Track>& tracks, const QVector<Track>& read, int waypoints)
{
    if (read.isEmpty()) {
        setErrorString(QCoreApplication::translate(
                           "FileFormatGPX", "The file holds no track and no route (waypoints: %1).")
                           .arg(waypoints));
        return false;
    }
    if (waypoints > 0)
        setNoticeString(QCoreApplication::translate(
                            "FileFormatGPX",
                            "%n waypoint(s) of the file are not track points and were left out.",
                            nullptr, waypoints));
    tracks += read;
    return true;
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
