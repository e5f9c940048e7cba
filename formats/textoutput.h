#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <cstring>
#include <memory>

class QIODevice;

// The line end of text files on this platform.
#ifdef Q_OS_WIN
inline constexpr char platformLineEnd[] = "\r\n";
#else
inline constexpr char platformLineEnd[] = "\n";
#endif

// A write buffer in front of a device: writers fill it through raw pointers and it goes
// to the device in large blocks, one write per block whatever the platform. A failed device
// write is remembered and ends all output.
//
// Text files end their lines with the platform's line end, which the writers produce here
// themselves: the device is never opened in text mode, where Qt on Windows would write every
// line and every line end in a call of its own. In the text handed to appendLiteral() and
// put(), '\n' stands for the line end.
class TextOutput
{
public:
    // `lineEnd` is "\n" or "\r\n"; the program always uses the platform's.
    explicit TextOutput(QIODevice* device, const char* lineEnd = platformLineEnd);
    TextOutput(const TextOutput&) = delete;
    TextOutput& operator=(const TextOutput&) = delete;

    // Free space of at least `bytes` (at most 4096) at the end of the buffer; hand the end
    // of what was written to advance().
    char* space(int bytes)
    {
        if (m_used + bytes > bufferSize)
            flushBuffer();
        return m_buffer.get() + m_used;
    }
    void advance(const char* end) { m_used = int(end - m_buffer.get()); }

    // Writes the line end at p; returns the end of what was written.
    char* newLine(char* p) const
    {
        if (m_crlf)
            *p++ = '\r';
        *p++ = '\n';
        return p;
    }
    // Copies text of `length` bytes to p, each '\n' as the line end; returns the end. The
    // space taken is `length` plus one byte per '\n'.
    char* put(char* p, const char* text, size_t length) const
    {
        if (!m_crlf) {
            std::memcpy(p, text, length);
            return p + length;
        }
        return putLines(p, text, length);
    }

    // Bytes as they are (binary data, or text without line ends).
    void append(const char* data, int length);
    void append(const QByteArray& data) { append(data.constData(), data.size()); }
    // Text whose '\n' stand for line ends.
    void appendText(const char* text, int length);
    void appendText(const QByteArray& text) { appendText(text.constData(), text.size()); }
    template <int N> void appendLiteral(const char (&text)[N]) { appendText(text, N - 1); }

    // Writes what is buffered; false when any write to the device has failed.
    bool flush();
    bool ok() const { return m_ok; }

private:
    void flushBuffer();
    static char* putLines(char* p, const char* text, size_t length);

    static const int bufferSize = 1 << 18;

    QIODevice* m_device;
    std::unique_ptr<char[]> m_buffer;
    int m_used = 0;
    bool m_ok = true;
    bool m_crlf;
};
