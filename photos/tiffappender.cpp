#include "photos/tiffappender.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <iterator>

namespace
{

const quint16 TagSubIfds = 0x014a;
const quint16 TagExif = 0x8769;
const quint16 TagGps = 0x8825;
const quint16 TagGpsLatitude = 2;
const quint16 TagGpsLongitude = 4;
const quint16 TagInterop = 0xa005;
const quint16 TagXmp = 0x02bc;
const quint16 TagPhotometric = 0x0106;
const quint16 TagDngVersion = 0xc612;
const quint16 TagMakerNote = 0x927c;

// Bytes per value of each TIFF type; 0 for types this program does not know.
int typeSize(quint16 type)
{
    static const int sizes[] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8, 4, 0, 0, 8, 8, 8};
    return type < sizeof(sizes) / sizeof(sizes[0]) ? sizes[type] : 0;
}

} // namespace

quint16 TiffAppender::u16(qint64 at) const
{
    return m_big ? qFromBigEndian<quint16>(m_data + at) : qFromLittleEndian<quint16>(m_data + at);
}

quint32 TiffAppender::u32(qint64 at) const
{
    return m_big ? qFromBigEndian<quint32>(m_data + at) : qFromLittleEndian<quint32>(m_data + at);
}

QByteArray TiffAppender::put16(quint16 v) const
{
    QByteArray b(2, Qt::Uninitialized);
    m_big ? qToBigEndian(v, b.data()) : qToLittleEndian(v, b.data());
    return b;
}

QByteArray TiffAppender::put32(quint32 v) const
{
    QByteArray b(4, Qt::Uninitialized);
    m_big ? qToBigEndian(v, b.data()) : qToLittleEndian(v, b.data());
    return b;
}

QByteArray TiffAppender::empty()
{
    return QByteArray("II*\0\x08\0\0\0\0\0\0\0\0\0", 14);
}

bool TiffAppender::parse(const char* data, qint64 size, QString* error)
{
    m_data = reinterpret_cast<const uchar*>(data);
    m_size = size;
    m_visited.clear();
    m_walked = 0;
    m_trailerPointers.clear();
    m_gpsOffset = 0;
    m_gpsPosition = false;
    m_raw = false;
    if (size < 8 || !((data[0] == 'I' && data[1] == 'I') || (data[0] == 'M' && data[1] == 'M'))) {
        *error = tr("Its metadata is damaged: the byte order is not recorded.");
        return false;
    }
    m_big = data[0] == 'M';
    if (u16(2) == 43) {
        *error = tr("Photos of more than 4 GB (BigTIFF) cannot be geotagged.");
        return false;
    }
    if (u16(2) != 42) {
        *error = tr("Its metadata is damaged: the TIFF header is not valid.");
        return false;
    }
    m_ifd0 = u32(4);
    if (!readDirectory(m_ifd0, "first", &m_ifd0Entries, &m_ifd0Next, error))
        return false;
    // The first directory and every page (or thumbnail) after it.
    for (quint32 offset = m_ifd0; offset != 0;) {
        if (!walk(offset, "page", 0, error, &offset))
            return false;
    }
    return true;
}

bool TiffAppender::readDirectory(quint32 offset, const char* what, QVector<Entry>* entries,
                                 quint32* next, QString* error)
{
    entries->clear();
    if (offset < 8 || qint64(offset) + 2 > m_size) {
        *error = tr("Its metadata is damaged: a directory (%1) lies outside it.")
                     .arg(QLatin1String(what));
        return false;
    }
    const quint16 count = u16(offset);
    if (qint64(offset) + 2 + 12 * qint64(count) + 4 > m_size) {
        *error =
            tr("Its metadata is damaged: a directory (%1) is cut short.").arg(QLatin1String(what));
        return false;
    }
    entries->reserve(count);
    for (int i = 0; i < count; ++i) {
        const qint64 at = offset + 2 + 12 * qint64(i);
        Entry e;
        e.tag = u16(at);
        e.type = u16(at + 2);
        e.count = u32(at + 4);
        const qint64 bytes = qint64(typeSize(e.type)) * e.count;
        e.value = bytes > 4 ? u32(at + 8) : quint32(at + 8);
        e.raw = QByteArray(reinterpret_cast<const char*>(m_data + at), 12);
        if (bytes > 4 && qint64(e.value) + bytes > m_size) {
            *error = tr("Its metadata is damaged: tag 0x%1 points outside it.")
                         .arg(e.tag, 4, 16, QLatin1Char('0'));
            return false;
        }
        entries->append(e);
    }
    *next = u32(offset + 2 + 12 * qint64(count));
    return true;
}

quint32 TiffAppender::element(const Entry& e, quint32 index) const
{
    // e.value is where the values are (inline or not): readDirectory checked they are inside.
    if (e.type == Short)
        return u16(e.value + 2 * qint64(index));
    return u32(e.value + 4 * qint64(index));
}

bool TiffAppender::checkData(const QVector<Entry>& entries, quint16 offsetsTag, quint16 countsTag,
                             QString* error) const
{
    const auto find = [&entries](quint16 tag) {
        return std::find_if(entries.begin(), entries.end(),
                            [tag](const Entry& e) { return e.tag == tag; });
    };
    const auto offsets = find(offsetsTag);
    const auto counts = find(countsTag);
    if (offsets == entries.end() && counts == entries.end())
        return true;
    const auto usable = [](const Entry& e) { return e.type == Short || e.type == Long; };
    if (offsets == entries.end() || counts == entries.end() || !usable(*offsets) ||
        !usable(*counts) || offsets->count != counts->count) {
        *error = tr("Its metadata is damaged: the places of its image data are not recorded.");
        return false;
    }
    for (quint32 i = 0; i < offsets->count; ++i) {
        if (qint64(element(*offsets, i)) + element(*counts, i) > m_size) {
            *error = tr("Its image data is cut short.");
            return false;
        }
    }
    return true;
}

bool TiffAppender::walk(quint32 offset, const char* what, int depth, QString* error, quint32* next)
{
    if (m_visited.contains(offset)) {
        *error = tr("Its metadata is damaged: its directories form a loop.");
        return false;
    }
    // Far more than any camera writes; a bound on the work a hostile file can ask for.
    if (depth > 8 || ++m_walked > 10000) {
        *error = tr("It has more directories or pages than can be carried over.");
        return false;
    }
    m_visited.insert(offset);
    QVector<Entry> entries;
    quint32 following = 0;
    if (!readDirectory(offset, what, &entries, &following, error))
        return false;
    if (next)
        *next = following;
    if (depth == 1 && offset == m_gpsOffset) {
        const auto has = [&entries](quint16 tag) {
            return std::any_of(entries.cbegin(), entries.cend(),
                               [tag](const Entry& e) { return e.tag == tag; });
        };
        m_gpsPosition = has(TagGpsLatitude) && has(TagGpsLongitude);
    }
    for (const Entry& e : entries) {
        if (e.tag == TagDngVersion || (e.tag == TagPhotometric && e.type == Short &&
                                       (element(e, 0) == 32803 || element(e, 0) == 34892)))
            m_raw = true;
        const char* sub = e.tag == TagExif      ? "Exif"
                          : e.tag == TagGps     ? "GPS"
                          : e.tag == TagInterop ? "interoperability"
                          : e.tag == TagSubIfds ? "sub-image"
                                                : nullptr;
        if (!sub || e.count == 0)
            continue;
        if (e.type != Long && e.type != 13) {
            *error = tr("Its metadata is damaged: a directory (%1) is not recorded properly.")
                         .arg(QLatin1String(sub));
            return false;
        }
        if (e.tag == TagGps && depth == 0 && offset == m_ifd0)
            m_gpsOffset = element(e, 0);
        for (quint32 i = 0; i < e.count; ++i) {
            if (!walk(element(e, i), sub, depth + 1, error, nullptr))
                return false;
        }
    }
    for (const Entry& e : entries) {
        if (e.tag == TagMakerNote && qint64(typeSize(e.type)) * e.count > 16)
            findTrailerPointers(e.value, e.count);
    }
    return checkData(entries, 0x0111, 0x0117, error) && checkData(entries, 0x0144, 0x0145, error) &&
           checkData(entries, 0x0201, 0x0202, error);
}

void TiffAppender::findTrailerPointers(quint32 offset, quint32 size)
{
    // Sony's maker notes point at a preview kept after the end of a JPEG's image data, as
    // offsets from the Exif block's start; they are the only ones known to do so. The maker
    // note is the maker's own: whatever does not add up here is left alone.
    static const char* const headers[] = {"SONY DSC \0\0\0", "SONY CAM \0\0\0"};
    const bool sony = std::any_of(std::begin(headers), std::end(headers), [&](const char* h) {
        return std::memcmp(m_data + offset, h, 12) == 0;
    });
    const qint64 ifd = qint64(offset) + 12;
    if (!sony || ifd + 2 > m_size)
        return;
    const quint16 count = u16(ifd);
    if (ifd + 2 + 12 * qint64(count) > qint64(offset) + size)
        return;
    for (int i = 0; i < count; ++i) {
        const qint64 at = ifd + 2 + 12 * qint64(i);
        const qint64 bytes = qint64(typeSize(u16(at + 2))) * u32(at + 4);
        if (bytes > 4 && u32(at + 8) + bytes > m_size)
            m_trailerPointers.append(at + 8);
    }
}

qint64 TiffAppender::xmpSize() const
{
    for (const Entry& e : m_ifd0Entries) {
        if (e.tag == TagXmp)
            return qint64(typeSize(e.type)) * e.count;
    }
    return 0;
}

TiffAppender::Field TiffAppender::ascii(quint16 tag, const QByteArray& text) const
{
    return {tag, Ascii, quint32(text.size() + 1), text + '\0'};
}

TiffAppender::Field TiffAppender::bytes(quint16 tag, const QByteArray& values) const
{
    return {tag, Byte, quint32(values.size()), values};
}

TiffAppender::Field TiffAppender::rationals(quint16 tag,
                                            const QVector<QPair<quint32, quint32>>& values) const
{
    QByteArray data;
    for (const auto& v : values)
        data += put32(v.first) + put32(v.second);
    return {tag, Rational, quint32(values.size()), data};
}

bool TiffAppender::append(const QVector<Field>& gps, const QByteArray* xmp, qint64 limit,
                          QByteArray* tail, QByteArray* header, QString* error) const
{
    tail->clear();
    if (m_size & 1)
        tail->append('\0');
    const auto position = [this, tail] { return m_size + tail->size(); };
    // A directory of fields at the current end; values of more than 4 bytes follow it.
    const auto directory = [&](const QVector<QByteArray>& entries,
                               const QVector<QByteArray>& values, const QVector<int>& valueEntry,
                               quint32 next) {
        const qint64 start = position();
        QByteArray dir = put16(quint16(entries.size()));
        QVector<QByteArray> fixed = entries;
        QByteArray data;
        qint64 at = start + 2 + 12 * entries.size() + 4;
        for (int i = 0; i < values.size(); ++i) {
            fixed[valueEntry[i]].replace(8, 4, put32(quint32(at + data.size())));
            data += values[i];
            if (data.size() & 1)
                data.append('\0');
        }
        for (const QByteArray& e : fixed)
            dir += e;
        dir += put32(next);
        tail->append(dir + data);
        return start;
    };
    const auto entry = [this](quint16 tag, quint16 type, quint32 count, const QByteArray& inline4) {
        return put16(tag) + put16(type) + put32(count) + inline4.leftJustified(4, '\0', true);
    };

    QVector<QByteArray> entries;
    QVector<QByteArray> values;
    QVector<int> valueEntry;
    for (const Field& f : gps) {
        entries << entry(f.tag, f.type, f.count, f.data.size() <= 4 ? f.data : QByteArray());
        if (f.data.size() > 4) {
            values << f.data;
            valueEntry << entries.size() - 1;
        }
    }
    const qint64 gpsOffset = directory(entries, values, valueEntry, 0);

    // The first directory again, with the new GPS pointer (and XMP packet) among the old
    // entries where tag order puts them; an order that was wrong before stays as it was.
    QVector<QPair<quint16, QByteArray>> added;
    const bool xmpInline = xmp && xmp->size() <= 4;
    if (xmp)
        added.append(
            {TagXmp, entry(TagXmp, Byte, quint32(xmp->size()), xmpInline ? *xmp : QByteArray())});
    added.append({TagGps, entry(TagGps, Long, 1, put32(quint32(gpsOffset)))});
    QVector<QPair<quint16, QByteArray>> first;
    for (const Entry& e : m_ifd0Entries) {
        while (!added.isEmpty() && added.first().first < e.tag)
            first.append(added.takeFirst());
        if (e.tag != TagGps && !(xmp && e.tag == TagXmp))
            first.append({e.tag, e.raw});
    }
    first += added;
    entries.clear();
    values.clear();
    valueEntry.clear();
    for (const auto& f : first) {
        entries << f.second;
        if (xmp && !xmpInline && f.first == TagXmp) {
            values << *xmp;
            valueEntry << entries.size() - 1;
        }
    }
    const qint64 ifd0 = directory(entries, values, valueEntry, m_ifd0Next);
    if (position() > limit || position() > qint64(0xffffffffLL)) {
        *error = tr("Its metadata would grow beyond what the file can hold.");
        return false;
    }
    *header = QByteArray(reinterpret_cast<const char*>(m_data), 4) + put32(quint32(ifd0));
    return true;
}
