#include "formats/gpxscanner.h"

#include "formats/importsupport.h"
#include "formats/xmlinputguard.h"

#include <QIODevice>

#include <algorithm>
#include <cstring>

namespace
{

const size_t Block = size_t(1) << 20;
// Deeper documents are left to the full reader and its own limit.
const int MaxDepth = ImportSupport::maxXmlDepth / 2;
// Attributes are compared pairwise and prefixes looked up one by one: more of them than GPX
// files have are left to the full reader as well.
const size_t MaxAttributes = 64;
const size_t MaxPrefixes = 64;

enum Kind { Text, AttributeValue, CommentText };

bool space(char c)
{
    return c == ' ' || c == '\n' || c == '\t' || c == '\r';
}

// Classes of the ASCII bytes, looked up in one step: they decide most bytes of a file.
enum Class : uchar { NameStart = 1, NameChar = 2, Plain = 4, PlainInText = 8 };

struct Classes {
    uchar of[256] = {};
    Classes()
    {
        for (int c = 0x20; c < 0x7f; ++c)
            of[c] = Plain | PlainInText;
        for (int c = '0'; c <= '9'; ++c)
            of[c] |= NameChar;
        for (int c = 'a'; c <= 'z'; ++c)
            of[c] |= NameStart | NameChar, of[c - 'a' + 'A'] |= NameStart | NameChar;
        of[int('_')] |= NameStart | NameChar;
        of[int('-')] |= NameChar;
        of[int('.')] |= NameChar;
        for (int c : {'&', '<', ']'})
            of[c] = 0;
        of[int('\t')] = of[int('\n')] = PlainInText;
    }
};
const Classes classes;

bool nameStart(char c)
{
    return classes.of[uchar(c)] & NameStart;
}

bool nameChar(char c)
{
    return classes.of[uchar(c)] & NameChar;
}

// A character that XML allows and the full reader takes as it is; noncharacters are left
// to it.
bool xmlChar(uint c)
{
    if (c < 0x20)
        return c == '\t' || c == '\n' || c == '\r';
    return (c < 0xd800 || c >= 0xe000) && (c < 0xfdd0 || c > 0xfdef) && (c & 0xfffe) != 0xfffe &&
           c <= 0x10ffff;
}

// Whether the eight bytes at p are all printable ASCII but '&', '<' and ']', the bytes that
// need no closer look anywhere.
bool plainWord(const uchar* p)
{
    const quint64 ones = 0x0101010101010101ULL;
    const quint64 highs = ones * 0x80;
    quint64 x;
    std::memcpy(&x, p, sizeof x);
    const auto hasZero = [&](quint64 v) { return (v - ones) & ~v & highs; };
    // Bytes from 0x7f up; then, of the rest, bytes below 0x20.
    if (((x + ones) | x) & highs)
        return false;
    return !((x - ones * 0x20) & ~x & highs) && !hasZero(x ^ (ones * '&')) &&
           !hasZero(x ^ (ones * '<')) && !hasZero(x ^ (ones * ']'));
}

// The length of the UTF-8 sequence of one allowed character at p, 0 when there is none.
int utf8(const uchar* p, const uchar* end)
{
    const uchar c = *p;
    int n;
    uint code;
    if (c < 0xc2)
        return 0;
    if (c < 0xe0) {
        n = 2;
        code = c & 0x1f;
    } else if (c < 0xf0) {
        n = 3;
        code = c & 0x0f;
    } else if (c < 0xf5) {
        n = 4;
        code = c & 0x07;
    } else {
        return 0;
    }
    if (end - p < n)
        return 0;
    for (int i = 1; i < n; ++i) {
        if ((p[i] & 0xc0) != 0x80)
            return 0;
        code = code << 6 | (p[i] & 0x3f);
    }
    if ((n == 3 && code < 0x800) || (n == 4 && code < 0x10000) || !xmlChar(code))
        return 0;
    return n;
}

// The length of the reference at p ("&...;") and its character, 0 when it is none the
// scanner knows.
int reference(const char* p, const char* end, uint* code)
{
    const char* semicolon =
        static_cast<const char*>(std::memchr(p, ';', size_t(std::min<ptrdiff_t>(end - p, 12))));
    if (!semicolon)
        return 0;
    const std::string_view body(p + 1, size_t(semicolon - p - 1));
    static const struct {
        const char* name;
        char c;
    } named[] = {{"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"apos", '\''}, {"quot", '"'}};
    for (const auto& entity : named) {
        if (body == entity.name) {
            *code = uchar(entity.c);
            return int(body.size()) + 2;
        }
    }
    if (body.size() < 2 || body[0] != '#')
        return 0;
    const bool hex = body[1] == 'x';
    const std::string_view digits = body.substr(hex ? 2 : 1);
    if (digits.empty() || digits.size() > 8)
        return 0;
    uint value = 0;
    for (char c : digits) {
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (hex && (c | 0x20) >= 'a' && (c | 0x20) <= 'f')
            d = (c | 0x20) - 'a' + 10;
        else
            return 0;
        value = value * (hex ? 16 : 10) + uint(d);
    }
    if (!xmlChar(value))
        return 0;
    *code = value;
    return int(body.size()) + 2;
}

void appendUtf8(std::string& out, uint c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xc0 | c >> 6);
        out += char(0x80 | (c & 0x3f));
    } else if (c < 0x10000) {
        out += char(0xe0 | c >> 12);
        out += char(0x80 | (c >> 6 & 0x3f));
        out += char(0x80 | (c & 0x3f));
    } else {
        out += char(0xf0 | c >> 18);
        out += char(0x80 | (c >> 12 & 0x3f));
        out += char(0x80 | (c >> 6 & 0x3f));
        out += char(0x80 | (c & 0x3f));
    }
}

// Resolves references and line ends as XML does: in text a line end is "\n", in an
// attribute value it and every tab become a space (references stay what they say).
std::string_view decode(std::string_view raw, bool attribute, std::string& out)
{
    out.clear();
    const char* end = raw.data() + raw.size();
    for (const char* p = raw.data(); p < end;) {
        uint code = 0;
        if (*p == '&') {
            // Checked while scanning: the reference is whole.
            const int n = reference(p, end, &code);
            Q_ASSERT(n > 0);
            p += qMax(n, 1);
            appendUtf8(out, code);
        } else if (*p == '\r') {
            out += attribute ? ' ' : '\n';
            p += p + 1 < end && p[1] == '\n' ? 2 : 1;
        } else {
            out += attribute && (*p == '\n' || *p == '\t') ? ' ' : *p;
            ++p;
        }
    }
    return out;
}

std::string_view localName(std::string_view qualified)
{
    const size_t colon = qualified.find(':');
    return colon == std::string_view::npos ? qualified : qualified.substr(colon + 1);
}

} // namespace

GpxScanner::GpxScanner(QIODevice& device)
    : m_device(device), m_cap(size_t(std::min<qint64>(XmlInputGuard::maxRun(), Block)))
{
    // Every token, and so every run the input guard of the full reader measures, stays within
    // m_cap: what the guard would refuse is left to it. A small file needs no more buffer
    // than its size.
    const qint64 left = device.size() - device.pos();
    m_size = size_t(qBound<qint64>(64, left + 1, qint64(m_cap + Block)));
    m_buffer.reset(new char[m_size]);
}

GpxScanner::Token GpxScanner::next()
{
    if (m_token == Invalid)
        return Invalid;
    if (m_closePending) {
        m_closePending = false;
        close();
        return m_token = EndElement;
    }
    for (;;) {
        if (m_begin == m_end && m_atEnd)
            return m_token = m_rootSeen && m_depth == 0 ? EndDocument : Invalid;
        const Step step = m_begin < m_end ? scan() : More;
        if (step == Done)
            return m_token;
        if (step == Bad || !fill())
            return m_token = Invalid;
    }
}

bool GpxScanner::fill()
{
    if (m_atEnd || m_end - m_begin > m_cap)
        return false;
    char* data = m_buffer.get();
    std::memmove(data, data + m_begin, m_end - m_begin);
    m_end -= m_begin;
    m_begin = 0;
    const qint64 n = m_device.read(data + m_end, qint64(m_size - m_end));
    if (n < 0)
        return false;
    m_atEnd = n == 0;
    m_end += size_t(n);
    return true;
}

GpxScanner::Step GpxScanner::scan()
{
    const char* start = m_buffer.get() + m_begin;
    const char* end = m_buffer.get() + m_end;
    Step step;
    if (*start != '<')
        step = characters(start, end);
    else if (end - start < 2)
        step = More;
    else if (start[1] == '/')
        step = endTag(start, end);
    else if (start[1] == '!')
        step = comment(start, end);
    else if (start[1] == '?')
        step = m_started ? Bad : declaration(start, end);
    else
        step = startTag(start, end);
    if (step != Done)
        return step;
    if (size_t(m_next - start) > m_cap)
        return Bad;
    m_started = true;
    m_begin = size_t(m_next - m_buffer.get());
    return Done;
}

GpxScanner::Step GpxScanner::name(const char*& p, const char* end,
                                  std::string_view* qualified) const
{
    // A name and at most one prefix, each starting with a letter or '_', in ASCII.
    const char* q = p;
    for (int part = 0; part < 2; ++part) {
        if (q == end)
            return More;
        if (!nameStart(*q))
            return Bad;
        while (++q < end && nameChar(*q)) {
        }
        if (q == end)
            return More;
        if (*q != ':' || part == 1)
            break;
        ++q;
    }
    *qualified = std::string_view(p, size_t(q - p));
    p = q;
    return Done;
}

bool GpxScanner::chars(const char* p, const char* end, int kind, bool* plain) const
{
    bool simple = true;
    const uchar* s = reinterpret_cast<const uchar*>(p);
    const uchar* e = reinterpret_cast<const uchar*>(end);
    const uchar plainClass = kind == AttributeValue ? Plain : PlainInText;
    while (s < e) {
        if (e - s >= 8 && plainWord(s)) {
            s += 8;
            continue;
        }
        const uchar c = *s;
        if (classes.of[c] & plainClass) {
            ++s;
            continue;
        }
        if (c >= 0x80) {
            const int n = utf8(s, e);
            if (n == 0)
                return false;
            s += n;
            continue;
        }
        if (c < 0x20) {
            if (c != '\t' && c != '\n' && c != '\r')
                return false;
            if (c == '\r' || kind == AttributeValue)
                simple = false;
        } else if (c == '&' && kind != CommentText) {
            uint code;
            const int n = reference(reinterpret_cast<const char*>(s), end, &code);
            if (n == 0)
                return false;
            s += n;
            simple = false;
            continue;
        } else if (c == ']' && kind == Text && e - s >= 3 && s[1] == ']' && s[2] == '>') {
            return false;
        } else if (c == '<' && kind == AttributeValue) {
            return false;
        }
        ++s;
    }
    *plain = simple;
    return true;
}

GpxScanner::Step GpxScanner::characters(const char* p, const char* end)
{
    const char* stop = static_cast<const char*>(std::memchr(p, '<', size_t(end - p)));
    if (!stop) {
        if (!m_atEnd)
            return More;
        stop = end;
    }
    if (!chars(p, stop, Text, &m_rawPlain))
        return Bad;
    if (m_depth == 0 && !std::all_of(p, stop, space))
        return Bad;
    m_raw = std::string_view(p, size_t(stop - p));
    m_token = Characters;
    m_next = stop;
    return Done;
}

GpxScanner::Step GpxScanner::comment(const char* p, const char* end)
{
    if (end - p < 4)
        return More;
    if (std::memcmp(p, "<!--", 4) != 0)
        return Bad;
    // The first "--" must end the comment.
    for (const char* q = p + 4;; ++q) {
        q = static_cast<const char*>(std::memchr(q, '-', size_t(end - q)));
        if (!q || end - q < 3)
            return More;
        if (q[1] == '-') {
            bool plain;
            if (q[2] != '>' || !chars(p + 4, q, CommentText, &plain))
                return Bad;
            m_token = Comment;
            m_next = q + 3;
            return Done;
        }
    }
}

GpxScanner::Step GpxScanner::declaration(const char* p, const char* end)
{
    const char* stop = p;
    while ((stop = static_cast<const char*>(std::memchr(stop, '?', size_t(end - stop)))) &&
           stop + 1 < end && stop[1] != '>')
        ++stop;
    if (!stop || stop + 1 == end)
        return More;
    const std::string_view text(p, size_t(stop - p));
    size_t i = 5;
    if (text.substr(0, 5) != "<?xml")
        return Bad;
    // version, then encoding and standalone, each optional and in that order.
    std::string_view values[3];
    bool given[3] = {};
    static const char* const names[] = {"version", "encoding", "standalone"};
    for (int k = 0; k < 3; ++k) {
        const size_t before = i;
        while (i < text.size() && space(text[i]))
            ++i;
        if (i == before || text.substr(i, std::strlen(names[k])) != names[k]) {
            i = before;
            if (k == 0)
                return Bad;
            continue;
        }
        i += std::strlen(names[k]);
        while (i < text.size() && space(text[i]))
            ++i;
        if (i == text.size() || text[i] != '=')
            return Bad;
        ++i;
        while (i < text.size() && space(text[i]))
            ++i;
        if (i == text.size() || (text[i] != '"' && text[i] != '\''))
            return Bad;
        const size_t close = text.find(text[i], i + 1);
        if (close == std::string_view::npos)
            return Bad;
        values[k] = text.substr(i + 1, close - i - 1);
        given[k] = true;
        i = close + 1;
    }
    while (i < text.size() && space(text[i]))
        ++i;
    if (i != text.size() || values[0] != "1.0" ||
        (given[1] && (values[1].size() != 5 || qstrnicmp(values[1].data(), "UTF-8", 5))) ||
        (given[2] && values[2] != "yes" && values[2] != "no"))
        return Bad;
    // Nothing in it is used: it is reported as a comment.
    m_token = Comment;
    m_next = stop + 2;
    return Done;
}

bool GpxScanner::declared(std::string_view prefix) const
{
    return std::any_of(m_prefixes.begin(), m_prefixes.end(),
                       [prefix](const Prefix& p) { return p.name == prefix; });
}

GpxScanner::Step GpxScanner::startTag(const char* p, const char* end)
{
    if ((m_depth == 0 && m_rootSeen) || m_depth >= MaxDepth)
        return Bad;
    const char* q = p + 1;
    std::string_view qualified;
    Step step = name(q, end, &qualified);
    if (step != Done)
        return step;
    m_attributes.clear();
    bool empty = false;
    for (;;) {
        const char* before = q;
        while (q < end && space(*q))
            ++q;
        if (q == end)
            return More;
        if (*q == '>' || *q == '/') {
            if (*q == '/') {
                if (q + 1 == end)
                    return More;
                if (q[1] != '>')
                    return Bad;
                empty = true;
                ++q;
            }
            ++q;
            break;
        }
        std::string_view attribute;
        if (q == before || (step = name(q, end, &attribute)) != Done)
            return q == before ? Bad : step;
        while (q < end && space(*q))
            ++q;
        if (q == end)
            return More;
        if (*q++ != '=')
            return Bad;
        while (q < end && space(*q))
            ++q;
        if (q == end)
            return More;
        const char quote = *q++;
        if (quote != '"' && quote != '\'')
            return Bad;
        const char* close = static_cast<const char*>(std::memchr(q, quote, size_t(end - q)));
        if (!close)
            return More;
        bool plain;
        if (!chars(q, close, AttributeValue, &plain) || m_attributes.size() == MaxAttributes)
            return Bad;
        m_attributes.push_back({attribute, std::string_view(q, size_t(close - q)), plain});
        q = close + 1;
    }

    // The tag is whole: its namespace declarations, then the prefixes it uses.
    for (const Attribute& a : m_attributes) {
        if (a.name.substr(0, 6) != "xmlns:")
            continue;
        const std::string_view prefix = a.name.substr(6);
        if (prefix == "xml" || prefix == "xmlns" || a.raw.empty() ||
            m_prefixes.size() == MaxPrefixes)
            return Bad;
        m_prefixes.push_back({std::string(prefix), m_depth + 1});
    }
    const auto prefixOk = [this](std::string_view qualifiedName, bool attribute) {
        const size_t colon = qualifiedName.find(':');
        if (colon == std::string_view::npos)
            return true;
        const std::string_view prefix = qualifiedName.substr(0, colon);
        return prefix == "xmlns" ? attribute : declared(prefix);
    };
    if (!prefixOk(qualified, false))
        return Bad;
    for (size_t i = 0; i < m_attributes.size(); ++i) {
        const std::string_view local = localName(m_attributes[i].name);
        if (!prefixOk(m_attributes[i].name, true))
            return Bad;
        for (size_t j = 0; j < i; ++j) {
            if (localName(m_attributes[j].name) == local)
                return Bad;
        }
        // Namespace names XML reserves: left to the full reader.
        const std::string_view value = m_attributes[i].raw;
        if (local == "xmlns" || m_attributes[i].name.substr(0, 6) == "xmlns:") {
            if (value.find("www.w3.org/XML/1998/namespace") != std::string_view::npos ||
                value.find("www.w3.org/2000/xmlns") != std::string_view::npos)
                return Bad;
        }
    }

    if (size_t(m_depth) == m_open.size())
        m_open.emplace_back();
    std::string& open = m_open[size_t(m_depth)];
    if (open != qualified)
        open.assign(qualified.data(), qualified.size());
    m_local = localName(m_open[size_t(m_depth)]);
    ++m_depth;
    m_rootSeen = true;
    m_closePending = empty;
    m_token = StartElement;
    m_next = q;
    return Done;
}

GpxScanner::Step GpxScanner::endTag(const char* p, const char* end)
{
    const char* q = p + 2;
    std::string_view qualified;
    const Step step = name(q, end, &qualified);
    if (step != Done)
        return step;
    while (q < end && space(*q))
        ++q;
    if (q == end)
        return More;
    if (*q != '>' || m_depth == 0 || qualified != m_open[size_t(m_depth - 1)])
        return Bad;
    close();
    m_token = EndElement;
    m_next = q + 1;
    return Done;
}

void GpxScanner::close()
{
    --m_depth;
    while (!m_prefixes.empty() && m_prefixes.back().depth > m_depth)
        m_prefixes.pop_back();
    m_local = localName(m_open[size_t(m_depth)]);
}

std::string_view GpxScanner::attribute(std::string_view qualifiedName)
{
    for (const Attribute& a : m_attributes) {
        if (a.name == qualifiedName)
            return a.plain ? a.raw : decode(a.raw, true, m_decoded);
    }
    return {};
}

std::string_view GpxScanner::text()
{
    return m_rawPlain ? m_raw : decode(m_raw, false, m_decoded);
}

std::string GpxScanner::allText()
{
    std::string text;
    next();
    skipRest(&text);
    return text;
}

void GpxScanner::skipRest(std::string* text)
{
    for (int level = 0;; next()) {
        if (m_token == StartElement) {
            ++level;
        } else if (m_token == EndElement) {
            if (level-- == 0)
                return;
        } else if (m_token == Characters) {
            if (text)
                text->append(this->text());
        } else if (m_token != Comment) {
            return;
        }
    }
}
