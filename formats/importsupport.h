#pragma once

#include "view/track.h"

#include <QString>
#include <QStringRef>
#include <QXmlStreamReader>

#include <string_view>

// What the readers of other programs' files share: times, numbers, the finishing touches of
// a track, and the guard rails of the XML readers.
class ImportSupport
{
public:
    // An ISO 8601 date and time ("2014-05-06T10:20:30Z", with or without fractions, a zone
    // "Z", "+02:00" or "+0200", or none: UTC; a space may stand for the T) as seconds since
    // 1970 UTC; fractions are dropped. False when the text is no such time.
    static bool parseIsoTime(const QChar* text, int length, qint64* seconds);
    static bool parseIsoTime(const QStringRef& text, qint64* seconds)
    {
        return parseIsoTime(text.constData(), text.size(), seconds);
    }
    // The same, of UTF-8 text.
    static bool parseIsoTime(const char* text, int length, qint64* seconds);
    static bool parseIsoTime(std::string_view text, qint64* seconds)
    {
        return parseIsoTime(text.data(), int(text.size()), seconds);
    }
    // A decimal number in C notation, surrounding blanks allowed; false for anything else,
    // infinities and NaN included.
    static bool parseNumber(const QStringRef& text, double* value);
    // The same, of UTF-8 text.
    static bool parseNumber(const char* text, int length, double* value);
    static bool parseNumber(std::string_view text, double* value)
    {
        return parseNumber(text.data(), int(text.size()), value);
    }
    // The text of the element the XML reader is at, as parseNumber() reads it.
    static bool elementNumber(QXmlStreamReader& xml, double* value);
    // Hands the text of the element the XML reader is at to parse() without copying it, when
    // the element holds text only (else nothing is parsed) and leaves the reader at its end
    // tag; returns what parse() returned.
    template <typename Parse> static bool elementText(QXmlStreamReader& xml, Parse parse)
    {
        xml.readNext();
        bool ok = false;
        if (xml.isCharacters()) {
            ok = parse(xml.text());
            xml.readNext();
        }
        if (xml.isEndElement())
            return ok;
        // Children, comments or more text: none of it is used.
        int level = 0;
        while (!xml.atEnd() && !xml.hasError()) {
            if (xml.isStartElement()) {
                ++level;
            } else if (xml.isEndElement()) {
                if (level == 0)
                    break;
                --level;
            }
            xml.readNext();
        }
        return false;
    }
    static bool validPosition(double lat, double lon)
    {
        return lat >= -90.0 && lat <= 90.0 && lon >= -180.0 && lon <= 180.0;
    }
    // Metres per second as the stored speed (hundredths of km/h, truncated); 0 for what
    // cannot be a ground speed.
    static qint32 speedFromMetresPerSecond(double mps);

    // Sets the start time (the first point that has one) and the record format, and works
    // the speeds out from positions and times when the file gave none.
    static void finishTrack(Track& track, bool hasAltitude, bool hasSpeed);
    // Great-circle distance in metres.
    static double distanceMetres(double lat1, double lon1, double lat2, double lon2);

    // Deepest element nesting the XML readers accept.
    static const int maxXmlDepth = 256;
    // Checks one token of an XML reader: a document type declaration (where entities would
    // be declared) and nesting beyond maxXmlDepth stop the reading with an error.
    static bool xmlTokenAllowed(QXmlStreamReader& xml, int depth);
    // Why the XML reading stopped, for the user: line, column and the parser's words.
    static QString xmlErrorText(const QXmlStreamReader& xml);

    // How an XML reader's run came out, given what it read: Complete; Partial, where it broke
    // off after points that are kept (*text: where and why); or Refused, where nothing usable
    // was read or the reader refused the file itself (*text: why, or that the file is empty).
    enum class XmlOutcome { Complete, Partial, Refused };
    static XmlOutcome xmlOutcome(const QXmlStreamReader& xml, bool rootSeen,
                                 const QVector<Track>& read, QString* text);

    // Texts of the readers' warnings and notices.
    static QString lostText(int lostPoints);
    static QString runTooLongText();
};
