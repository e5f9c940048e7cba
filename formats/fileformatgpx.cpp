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

namespace
{

// What a GPX document holds, read element by element from either reader: Source is one of the
// two adapters below, so that both readers follow the same rules.
struct GpxContent {
    QVector<Track> read;
    int waypoints = 0;
    int lost = 0;
    bool rootSeen = false;
    int depth = 0;
    // The track and point being read.
    Track track;
    Vec3 point;
    bool inTrack = false;
    bool inPoint = false;
    bool trackHasAltitude = false;
    bool trackHasSpeed = false;
    bool pointValid = false;
    int trackDepth = 0;

    void endTrack()
    {
        ImportSupport::finishTrack(track, trackHasAltitude, trackHasSpeed);
        read.append(track);
        track = Track();
        inTrack = false;
    }

    // Reads up to the end of the document, or of what the source lets be read; false when the
    // root is not a gpx element.
    template <typename Source> bool readFrom(Source& xml, const QIODevice& device);
};

template <typename Source> bool GpxContent::readFrom(Source& xml, const QIODevice& device)
{
    while (xml.next()) {
        if (xml.isStart()) {
            ++depth;
            if (!rootSeen) {
                rootSeen = true;
                if (!xml.nameIs("gpx"))
                    return false;
            } else if (inPoint) {
                if (xml.nameIs("ele")) {
                    double alt = 0.0;
                    if (xml.elementText([&alt](const auto& text) {
                            return ImportSupport::parseNumber(text, &alt);
                        })) {
                        point.alt = alt;
                        trackHasAltitude = true;
                    }
                    --depth;
                } else if (xml.nameIs("time")) {
                    qint64 time = 0;
                    if (xml.elementText([&time](const auto& text) {
                            return ImportSupport::parseIsoTime(text, &time);
                        }))
                        point.time = time;
                    --depth;
                } else if (xml.nameIs("speed")) {
                    // GPX 1.0 and the common extensions give metres per second.
                    double mps = 0.0;
                    if (xml.allTextNumber(&mps)) {
                        point.speed = ImportSupport::speedFromMetresPerSecond(mps);
                        trackHasSpeed = true;
                    }
                    --depth;
                }
            } else if (xml.nameIs("trkpt") || xml.nameIs("rtept")) {
                if (!inTrack) {
                    // A point outside its track: the file is not what it claims.
                    ++lost;
                    xml.skipElement();
                    --depth;
                    continue;
                }
                inPoint = true;
                point = Vec3();
                pointValid = xml.attributeNumber("lat", &point.lat) &&
                             xml.attributeNumber("lon", &point.lon) &&
                             ImportSupport::validPosition(point.lat, point.lon);
            } else if (xml.nameIs("trk") || xml.nameIs("rte")) {
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
            } else if (inTrack && depth == trackDepth + 1 && xml.nameIs("name")) {
                track.name = xml.allText().simplified();
                --depth;
            } else if (xml.nameIs("wpt")) {
                ++waypoints;
                xml.skipElement();
                --depth;
            }
        } else if (xml.isEnd()) {
            if (inPoint && (xml.nameIs("trkpt") || xml.nameIs("rtept"))) {
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
    return true;
}

// The scanner of plain XML as a source; it stops at its first fault.
class ScannerSource
{
public:
    explicit ScannerSource(QIODevice& device) : m_xml(device) {}
    bool failed() const { return m_xml.failed(); }

    bool next()
    {
        m_token = m_xml.next();
        return m_token != GpxScanner::EndDocument && m_token != GpxScanner::Invalid;
    }
    bool isStart() const { return m_token == GpxScanner::StartElement; }
    bool isEnd() const { return m_token == GpxScanner::EndElement; }
    bool nameIs(const char* name) const { return m_xml.name() == name; }
    template <typename Parse> bool elementText(Parse parse) { return m_xml.elementText(parse); }
    QString allText()
    {
        const std::string text = m_xml.allText();
        return QString::fromUtf8(text.data(), int(text.size()));
    }
    bool allTextNumber(double* value) { return ImportSupport::parseNumber(m_xml.allText(), value); }
    bool attributeNumber(const char* name, double* value)
    {
        return ImportSupport::parseNumber(m_xml.attribute(name), value);
    }
    void skipElement() { m_xml.skipElement(); }

private:
    GpxScanner m_xml;
    GpxScanner::Token m_token = GpxScanner::EndDocument;
};

// QXmlStreamReader as a source, within the guard rails every XML reader of the tool keeps.
class XmlSource
{
public:
    XmlSource(QXmlStreamReader& xml, const int& depth) : m_xml(xml), m_depth(depth) {}

    bool next()
    {
        if (m_xml.atEnd())
            return false;
        m_xml.readNext();
        return ImportSupport::xmlTokenAllowed(m_xml, m_depth);
    }
    bool isStart() const { return m_xml.isStartElement(); }
    bool isEnd() const { return m_xml.isEndElement(); }
    bool nameIs(const char* name) const { return m_xml.name() == QLatin1String(name); }
    template <typename Parse> bool elementText(Parse parse)
    {
        return ImportSupport::elementText(m_xml, parse);
    }
    QString allText() { return m_xml.readElementText(QXmlStreamReader::IncludeChildElements); }
    bool allTextNumber(double* value) { return ImportSupport::elementNumber(m_xml, value); }
    bool attributeNumber(const char* name, double* value)
    {
        return ImportSupport::parseNumber(m_xml.attributes().value(QLatin1String(name)), value);
    }
    void skipElement() { m_xml.skipCurrentElement(); }

private:
    QXmlStreamReader& m_xml;
    const int& m_depth;
};

} // namespace

bool FileFormatGPX::readPlain(QVector<Track>& tracks, QIODevice& device, bool* ok)
{
    ScannerSource xml(device);
    GpxContent content;
    // Whatever is not plain GPX is left to the full reader, which tells what is wrong.
    if (!content.readFrom(xml, device) || xml.failed())
        return false;
    if (content.lost > 0)
        setWarningString(ImportSupport::lostText(content.lost));
    *ok = finishRead(tracks, content.read, content.waypoints);
    return true;
}

bool FileFormatGPX::readXml(QVector<Track>& tracks, QIODevice& device)
{
    XmlInputGuard guard(&device);
    QXmlStreamReader xml(&guard);
    GpxContent content;
    XmlSource source(xml, content.depth);
    if (!content.readFrom(source, device))
        xml.raiseError(QCoreApplication::translate(
            "FileFormatGPX", "This is not a GPX file: it holds no gpx element."));

    if (guard.tripped())
        xml.raiseError(ImportSupport::runTooLongText());
    if (xml.hasError() && content.inTrack && !content.track.points.isEmpty())
        content.endTrack();
    QString problem;
    switch (ImportSupport::xmlOutcome(xml, content.rootSeen, content.read, &problem)) {
    case ImportSupport::XmlOutcome::Refused:
        setErrorString(problem);
        qCWarning(lcFormats) << "GPX refused:" << problem;
        return false;
    case ImportSupport::XmlOutcome::Partial:
        setWarningString(problem);
        break;
    case ImportSupport::XmlOutcome::Complete:
        if (content.lost > 0)
            setWarningString(ImportSupport::lostText(content.lost));
        break;
    }
    return finishRead(tracks, content.read, content.waypoints);
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
