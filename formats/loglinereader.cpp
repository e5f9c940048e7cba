#include "formats/loglinereader.h"

#include <QIODevice>
#include <QString>

#include <cmath>

namespace
{

constexpr int LineWindow = 1023; // what one 1024-byte readLine call returns at most
constexpr int ChunkSize = 64 * 1024;
constexpr int ShortestUsableLine = 31;

// Plain decimals ("-12.345") with at most 15 digits: one correctly rounded division of
// two exactly representable numbers gives the same double as any exact decimal
// conversion. Anything else is left to QString.
Q_ALWAYS_INLINE bool plainDecimal(const char* p, int size, double& value)
{
    static const double powersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const char* end = p + size;
    bool negative = false;
    if (p < end && (*p == '-' || *p == '+')) {
        negative = *p == '-';
        ++p;
    }
    // Unsigned: a long digit run wraps harmlessly; only runs of up to 15 digits are used.
    quint64 mantissa = 0;
    int digits = 0;
    const char* start = p;
    while (p < end && unsigned(*p - '0') <= 9) {
        mantissa = mantissa * 10 + unsigned(*p - '0');
        ++p;
        ++digits;
    }
    if (p == start)
        return false;
    int fractionDigits = 0;
    if (p < end) {
        if (*p != '.')
            return false;
        ++p;
        const char* fraction = p;
        while (p < end && unsigned(*p - '0') <= 9) {
            mantissa = mantissa * 10 + unsigned(*p - '0');
            ++p;
            ++digits;
        }
        fractionDigits = int(p - fraction);
        if (p != end || fractionDigits == 0)
            return false;
    }
    if (digits > 15)
        return false;
    const double v = double(mantissa) / powersOfTen[fractionDigits];
    value = negative ? -v : v;
    return true;
}

} // namespace

LogLineReader::LogLineReader(QIODevice& device)
    : m_device(device), m_buffer(ChunkSize, Qt::Uninitialized)
{
}

bool LogLineReader::next()
{
    while (nextLine()) {
        if (split())
            return true;
    }
    return false;
}

bool LogLineReader::nextLine()
{
    if (m_end - m_pos < LineWindow && !m_atEnd)
        refill();
    const int available = qMin(LineWindow, m_end - m_pos);
    if (available <= 0)
        return false;
    const char* start = m_buffer.constData() + m_pos;
    const void* newline = std::memchr(start, '\n', size_t(available));
    const int size = newline ? int(static_cast<const char*>(newline) - start) + 1 : available;
    m_pos += size;
    const void* zero = std::memchr(start, '\0', size_t(size));
    m_line = start;
    m_length = zero ? int(static_cast<const char*>(zero) - start) : size;
    return true;
}

bool LogLineReader::split()
{
    if (m_length < ShortestUsableLine)
        return false;
    const char* p = m_line;
    const char* end = m_line + m_length;
    for (int i = 0; i < FieldCount - 1; ++i) {
        const char* comma = static_cast<const char*>(std::memchr(p, ',', size_t(end - p)));
        if (!comma)
            return false;
        m_fields[i] = Field{p, int(comma - p)};
        p = comma + 1;
    }
    m_fields[FieldCount - 1] = Field{p, int(end - p)};
    return true;
}

void LogLineReader::refill()
{
    const int rest = m_end - m_pos;
    char* data = m_buffer.data();
    std::memmove(data, data + m_pos, size_t(rest));
    m_pos = 0;
    m_end = rest;
    while (m_end < m_buffer.size()) {
        const qint64 n = m_device.read(data + m_end, m_buffer.size() - m_end);
        if (n <= 0) {
            m_failed = n < 0;
            m_atEnd = true;
            return;
        }
        m_end += int(n);
    }
}

double LogLineReader::toDoubleOrZero(const Field& field)
{
    double v = 0.0;
    if (plainDecimal(field.data, field.size, v))
        return v;
    bool ok = false;
    v = QString::fromLatin1(field.data, field.size).toDouble(&ok);
    // "nan" and "inf" parse, but no logger records them: they fare as an overflow does.
    return ok && std::isfinite(v) ? v : 0.0;
}
