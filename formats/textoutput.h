#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <cstring>

class QIODevice;

// A write buffer in front of a device: writers fill it through raw pointers and it goes
// to the device in large blocks. A failed device write is remembered and ends all output.
class TextOutput
{
public:
    explicit TextOutput(QIODevice* device);
    TextOutput(const TextOutput&) = delete;
    TextOutput& operator=(const TextOutput&) = delete;

    // Free space of at least `bytes` (at most 4096) at the end of the buffer; hand the end
    // of what was written to advance().
    char* space(int bytes)
    {
        if (m_used + bytes > m_buffer.size())
            flushBuffer();
        return m_buffer.data() + m_used;
    }
    void advance(const char* end) { m_used = int(end - m_buffer.constData()); }
    void append(const char* text, int length);
    void append(const QByteArray& text) { append(text.constData(), text.size()); }
    template <int N> void appendLiteral(const char (&text)[N]) { append(text, N - 1); }
    // Writes what is buffered; false when any write to the device has failed.
    bool flush();
    bool ok() const { return m_ok; }

private:
    void flushBuffer();

    QIODevice* m_device;
    QByteArray m_buffer;
    int m_used = 0;
    bool m_ok = true;
};
