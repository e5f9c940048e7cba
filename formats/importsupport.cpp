#include "formats/importsupport.h"

#include "formats/civildate.h"
#include "formats/xmlinputguard.h"

#include <QCoreApplication>
#include <QXmlStreamReader>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace
{
QString tr(const char* text)
{
    return QCoreApplication::translate("ImportSupport", text);
}

// The parsers take QChar or, for ASCII only, char.
ushort unit(QChar c)
{
    return c.unicode();
}

ushort unit(char c)
{
    return uchar(c);
}

template <typename Char> bool digits(const Char* p, int count, int* value)
{
    int v = 0;
    for (int i = 0; i < count; ++i) {
        const ushort c = unit(p[i]);
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + (c - '0');
    }
    *value = v;
    return true;
}

const double EarthRadius = 6371008.8;
const double DegToRad = 3.14159265358979323846 / 180.0;
} // namespace

template <typename Char> static bool isoTime(const Char* text, int length, qint64* seconds)
{
    while (length > 0 && QChar(unit(*text)).isSpace()) {
        ++text;
        --length;
    }
    while (length > 0 && QChar(unit(text[length - 1])).isSpace())
        --length;
    // yyyy-MM-ddThh:mm:ss is 19 characters.
    if (length < 19)
        return false;
    int year, month, day, hour, minute, second;
    const Char* p = text;
    if (!digits(p, 4, &year) || unit(p[4]) != '-' || !digits(p + 5, 2, &month) ||
        unit(p[7]) != '-' || !digits(p + 8, 2, &day) ||
        (unit(p[10]) != 'T' && unit(p[10]) != 't' && unit(p[10]) != ' ') ||
        !digits(p + 11, 2, &hour) || unit(p[13]) != ':' || !digits(p + 14, 2, &minute) ||
        unit(p[16]) != ':' || !digits(p + 17, 2, &second))
        return false;
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 24 || minute > 59 ||
        second > 60)
        return false;
    int i = 19;
    if (i < length && (unit(p[i]) == '.' || unit(p[i]) == ',')) {
        ++i;
        const int start = i;
        while (i < length && QChar(unit(p[i])).isDigit())
            ++i;
        if (i == start)
            return false;
    }
    qint64 offset = 0;
    if (i < length) {
        const ushort zone = unit(p[i]);
        if (zone == 'Z' || zone == 'z') {
            ++i;
        } else if (zone == '+' || zone == '-') {
            int oh = 0, om = 0;
            if (!digits(p + i + 1, qMin(2, length - i - 1), &oh) || length - i - 1 < 2)
                return false;
            i += 3;
            if (i < length && unit(p[i]) == ':')
                ++i;
            if (i < length) {
                if (length - i < 2 || !digits(p + i, 2, &om))
                    return false;
                i += 2;
            }
            if (oh > 23 || om > 59)
                return false;
            offset = (oh * 3600 + om * 60) * (zone == '-' ? -1 : 1);
        }
    }
    if (i != length)
        return false;
    *seconds = CivilDate::daysFrom(year, month, day) * 86400 + hour * 3600 + minute * 60 +
               second - offset;
    return true;
}

bool ImportSupport::parseIsoTime(const QChar* text, int length, qint64* seconds)
{
    return isoTime(text, length, seconds);
}

bool ImportSupport::parseIsoTime(const char* text, int length, qint64* seconds)
{
    if (std::any_of(text, text + length, [](char c) { return uchar(c) >= 0x80; })) {
        const QString wide = QString::fromUtf8(text, length);
        return isoTime(wide.constData(), wide.size(), seconds);
    }
    return isoTime(text, length, seconds);
}

bool ImportSupport::parseNumber(const QStringRef& text, double* value)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    *value = v;
    return true;
}

bool ImportSupport::parseNumber(const char* text, int length, double* value)
{
    // Plain decimals, nearly every number of a file, convert without a QString, to the same
    // (correctly rounded) double; the rest takes the QString way.
    const char* p = text;
    const char* end = text + length;
    const auto blank = [](char c) { return uchar(c) < 0x80 && QChar(c).isSpace(); };
    while (p < end && blank(*p))
        ++p;
    while (end > p && blank(end[-1]))
        --end;
    // [-]digits[.digits]
    quint64 whole = 0;
    int digits = 0;
    int decimals = -1;
    const char* d = p < end && *p == '-' ? p + 1 : p;
    for (; d < end; ++d) {
        if (*d >= '0' && *d <= '9') {
            whole = whole * 10 + quint64(*d - '0');
            ++digits;
            decimals += decimals >= 0;
        } else if (*d == '.' && decimals < 0 && digits > 0) {
            decimals = 0;
        } else {
            break;
        }
    }
    if (d == end && digits > 0) {
        // Up to 15 digits, one division of two exact doubles is correctly rounded.
        static const double powers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
        if (digits <= 15) {
            const double v = double(whole) / powers[qMax(decimals, 0)];
            *value = *p == '-' ? -v : v;
            return true;
        }
        if (end - p <= 40 && std::from_chars(p, end, *value).ec == std::errc())
            return true;
    }
    const QString wide = QString::fromUtf8(text, length);
    return parseNumber(QStringRef(&wide), value);
}

bool ImportSupport::elementNumber(QXmlStreamReader& xml, double* value)
{
    const QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
    return parseNumber(QStringRef(&text), value);
}

qint32 ImportSupport::speedFromMetresPerSecond(double mps)
{
    // Beyond about 5.9e6 m/s the hundredths of km/h no longer fit 32 bits.
    if (!(mps > 0.0) || mps > 5.0e6)
        return 0;
    // The slack keeps a speed written to two decimals from losing a hundredth to rounding.
    return qint32(std::floor(mps * 360.0 + 1e-6));
}

double ImportSupport::distanceMetres(double lat1, double lon1, double lat2, double lon2)
{
    const double a1 = lat1 * DegToRad;
    const double a2 = lat2 * DegToRad;
    const double sLat = std::sin((a2 - a1) / 2.0);
    const double sLon = std::sin((lon2 - lon1) * DegToRad / 2.0);
    const double h = sLat * sLat + std::cos(a1) * std::cos(a2) * sLon * sLon;
    return 2.0 * EarthRadius * std::asin(std::sqrt(std::min(1.0, h)));
}

void ImportSupport::finishTrack(Track& track, bool hasAltitude, bool hasSpeed)
{
    track.fmt = hasAltitude ? 2 : 1;
    track.startTime = 0;
    for (const Vec3& p : qAsConst(track.points)) {
        if (p.time != 0) {
            track.startTime = p.time;
            break;
        }
    }
    track.derivedSpeed = !hasSpeed && track.startTime != 0;
    track.speedsWithoutAltitude = !hasAltitude && (hasSpeed || track.derivedSpeed);
    if (!track.derivedSpeed)
        return;
    // Each point gets the speed of the stretch that led to it from the last point with a
    // time; the first keeps the speed of the stretch that leaves it.
    Vec3* p = track.points.data();
    const int n = track.points.size();
    int previous = -1;
    bool first = true;
    for (int i = 0; i < n; ++i) {
        if (p[i].time == 0)
            continue;
        if (previous >= 0 && p[i].time > p[previous].time) {
            const double d =
                distanceMetres(p[previous].lat, p[previous].lon, p[i].lat, p[i].lon);
            p[i].speed = speedFromMetresPerSecond(d / double(p[i].time - p[previous].time));
            if (first)
                p[previous].speed = p[i].speed;
            first = false;
        }
        previous = i;
    }
}

bool ImportSupport::xmlTokenAllowed(QXmlStreamReader& xml, int depth)
{
    if (xml.tokenType() == QXmlStreamReader::DTD) {
        xml.raiseError(tr("The file declares a document type (DTD); such files are not opened, "
                          "since their entities could reach other files or swell without end."));
        return false;
    }
    if (xml.tokenType() == QXmlStreamReader::EntityReference) {
        xml.raiseError(tr("The file refers to an entity that it does not define."));
        return false;
    }
    if (depth > maxXmlDepth) {
        xml.raiseError(tr("The elements are nested more than %1 deep.").arg(maxXmlDepth));
        return false;
    }
    return true;
}

QString ImportSupport::xmlErrorText(const QXmlStreamReader& xml)
{
    return tr("Line %1, column %2: %3")
        .arg(xml.lineNumber())
        .arg(xml.columnNumber())
        .arg(xml.errorString());
}

QString ImportSupport::lostText(int lostPoints)
{
    return QCoreApplication::translate("ImportSupport",
                                       "%n point(s) could not be read and were left out.",
                                       nullptr, lostPoints);
}

ImportSupport::XmlOutcome ImportSupport::xmlOutcome(const QXmlStreamReader& xml, bool rootSeen,
                                                    const QVector<Track>& read, QString* text)
{
    if (!xml.hasError() && rootSeen)
        return XmlOutcome::Complete;
    int points = 0;
    for (const Track& t : read)
        points += t.points.size();
    if (points == 0 || xml.error() == QXmlStreamReader::CustomError) {
        *text = !rootSeen && !xml.hasError() ? tr("The file is empty.") : xmlErrorText(xml);
        return XmlOutcome::Refused;
    }
    *text = tr("The file breaks off or is damaged after the points that were read (%1).")
                .arg(xmlErrorText(xml));
    return XmlOutcome::Partial;
}

QString ImportSupport::runTooLongText()
{
    return tr("A single text or attribute is longer than %1 MB; the file is not read further.")
        .arg(XmlInputGuard::maxRun() >> 20);
}
