#pragma once

#include <QtGlobal>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QIODevice;

// Reads the plain XML that GPX files are made of straight from a device's bytes, a block at
// a time: an optional declaration (UTF-8), elements with attributes and namespace prefixes,
// text with the predefined entities and character references, comments. Anything else, or
// anything not well-formed, ends the reading as Invalid, so that the full XML reader can
// read the file from its start and judge it; what the scanner accepts, it reports as the
// full reader would.
class GpxScanner
{
public:
    // An empty element gives a StartElement and an EndElement; the declaration a Comment.
    enum Token { StartElement, EndElement, Characters, Comment, EndDocument, Invalid };

    explicit GpxScanner(QIODevice& device);

    // The next token; Invalid from the first fault on.
    Token next();
    bool failed() const { return m_token == Invalid; }

    // At a StartElement or EndElement: the element's name without its prefix.
    std::string_view name() const { return m_local; }
    // At a StartElement: the value of the attribute of that qualified name; empty when
    // there is none.
    std::string_view attribute(std::string_view qualifiedName);
    // At Characters: the text, references resolved and line ends as "\n".
    std::string_view text();
    // (Names, values and texts stay valid until the next call of any of these.)

    // At a StartElement: hands the element's text to parse() when it holds text only (else
    // nothing is parsed) and moves to its end tag; returns what parse() returned.
    template <typename Parse> bool elementText(Parse parse)
    {
        bool ok = false;
        if (next() == Characters) {
            ok = parse(text());
            next();
        }
        if (m_token == EndElement)
            return ok;
        // Children, comments or more text: none of it is used.
        skipRest(nullptr);
        return false;
    }
    // At a StartElement: the text of the element and all its children, up to its end tag.
    std::string allText();
    // At a StartElement: moves to its end tag.
    void skipElement()
    {
        next();
        skipRest(nullptr);
    }

private:
    enum Step { Done, More, Bad };
    struct Attribute {
        std::string_view name;
        std::string_view raw;
        bool plain;
    };
    struct Prefix {
        std::string name;
        int depth;
    };

    void skipRest(std::string* text);
    void close();
    Step scan();
    Step name(const char*& p, const char* end, std::string_view* qualified) const;
    bool chars(const char* p, const char* end, int kind, bool* plain) const;
    Step declaration(const char* p, const char* end);
    Step startTag(const char* p, const char* end);
    Step endTag(const char* p, const char* end);
    Step comment(const char* p, const char* end);
    Step characters(const char* p, const char* end);
    bool declared(std::string_view prefix) const;
    bool fill();

    QIODevice& m_device;
    std::unique_ptr<char[]> m_buffer;
    size_t m_size;
    size_t m_begin = 0;
    size_t m_end = 0;
    size_t m_cap;
    bool m_atEnd = false;
    bool m_started = false;
    bool m_rootSeen = false;
    bool m_closePending = false;
    Token m_token = EndDocument;
    const char* m_next = nullptr;

    std::string_view m_local;
    // The qualified names of the open elements; the first m_depth are in use.
    std::vector<std::string> m_open;
    int m_depth = 0;
    std::vector<Prefix> m_prefixes;
    std::vector<Attribute> m_attributes;
    std::string_view m_raw;
    bool m_rawPlain = true;
    std::string m_decoded;
};
