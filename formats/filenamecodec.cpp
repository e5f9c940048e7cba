#include "formats/filenamecodec.h"

#include <algorithm>

namespace
{

const ushort escapeBase = 0xdc00;

bool isContinuation(uchar byte)
{
    return (byte & 0xc0) == 0x80;
}

// The length of the valid UTF-8 sequence at in (at most available bytes), 0 if there is none.
int sequenceLength(const uchar* in, int available)
{
    const uchar lead = in[0];
    int length = 0;
    uchar low = 0x80; // the range of the second byte, narrower after some leads
    uchar high = 0xbf;
    if (lead >= 0xc2 && lead <= 0xdf) {
        length = 2;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3;
        if (lead == 0xe0)
            low = 0xa0; // overlong
        else if (lead == 0xed)
            high = 0x9f; // surrogates
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        length = 4;
        if (lead == 0xf0)
            low = 0x90; // overlong
        else if (lead == 0xf4)
            high = 0x8f; // beyond U+10FFFF
    }
    if (length == 0 || length > available || in[1] < low || in[1] > high)
        return 0;
    for (int i = 2; i < length; ++i) {
        if (!isContinuation(in[i]))
            return 0;
    }
    return length;
}

} // namespace

void FileNameCodec::install()
{
#ifndef _WIN32 // Windows names are UTF-16 text
    QTextCodec* current = QTextCodec::codecForLocale();
    if (current && current->mibEnum() == 106) // UTF-8
        QTextCodec::setCodecForLocale(new FileNameCodec); // Qt keeps and deletes codecs
#endif
}

QString FileNameCodec::printable(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (u >= escapeBase + 0x80 && u <= escapeBase + 0xff)
            out += QString::asprintf("\\x%02x", u - escapeBase);
        else if (u < 0x20 || u == 0x7f)
            out += QString::asprintf("\\x%02x", u);
        else
            out += c;
    }
    return out;
}

QByteArray FileNameCodec::name() const
{
    return QByteArrayLiteral("UTF-8 with bytes kept");
}

int FileNameCodec::mibEnum() const
{
    return -106; // no registered encoding: Qt must not take it for its own UTF-8
}

QString FileNameCodec::convertToUnicode(const char* in, int length, ConverterState*) const
{
    // Nearly every text is valid UTF-8: Qt's own decoder takes it whole.
    if (QTextCodec* utf8 = QTextCodec::codecForMib(106)) {
        ConverterState plain(IgnoreHeader);
        const QString whole = utf8->toUnicode(in, length, &plain);
        if (plain.invalidChars == 0 && plain.remainingChars == 0)
            return whole;
    }
    QString out;
    out.reserve(length);
    const auto* bytes = reinterpret_cast<const uchar*>(in);
    for (int i = 0; i < length;) {
        const uchar byte = bytes[i];
        if (byte < 0x80) {
            out += QChar(byte);
            ++i;
            continue;
        }
        const int sequence = sequenceLength(bytes + i, length - i);
        if (sequence == 0) {
            out += QChar(ushort(escapeBase + byte));
            ++i;
            continue;
        }
        out += QString::fromUtf8(in + i, sequence);
        i += sequence;
    }
    return out;
}

QByteArray FileNameCodec::convertFromUnicode(const QChar* in, int length,
                                             ConverterState* state) const
{
    if (std::none_of(in, in + length, [](QChar c) { return c.isSurrogate(); }))
        return QString::fromRawData(in, length).toUtf8();
    QByteArray out;
    out.reserve(length);
    for (int i = 0; i < length; ++i) {
        const ushort u = in[i].unicode();
        if (u < 0x80) {
            out += char(u);
        } else if (QChar::isHighSurrogate(u) && i + 1 < length && in[i + 1].isLowSurrogate()) {
            out += QString(in + i, 2).toUtf8();
            ++i;
        } else if (u >= escapeBase + 0x80 && u <= escapeBase + 0xff) {
            out += char(u - escapeBase);
        } else if (QChar::isSurrogate(u)) {
            out += '?'; // no text and no kept byte
            if (state)
                ++state->invalidChars;
        } else {
            out += QString(in + i, 1).toUtf8();
        }
    }
    return out;
}
