#include "formats/textoutput.h"

#include <QIODevice>

TextOutput::TextOutput(QIODevice* device, const char* lineEnd)
    : m_device(device), m_buffer(new char[bufferSize]),
      m_crlf(std::strcmp(lineEnd, "\r\n") == 0)
{
}

void TextOutput::append(const char* data, int length)
{
    while (length > 0) {
        if (m_used == bufferSize)
            flushBuffer();
        const int chunk = qMin(length, bufferSize - m_used);
        std::memcpy(m_buffer.get() + m_used, data, size_t(chunk));
        m_used += chunk;
        data += chunk;
        length -= chunk;
    }
}

void TextOutput::appendText(const char* text, int length)
{
    if (!m_crlf) {
        append(text, length);
        return;
    }
    while (length > 0) {
        const auto* end = static_cast<const char*>(std::memchr(text, '\n', size_t(length)));
        const int line = end ? int(end - text) : length;
        append(text, line);
        if (!end)
            break;
        append("\r\n", 2);
        text += line + 1;
        length -= line + 1;
    }
}

char* TextOutput::putLines(char* p, const char* text, size_t length)
{
    for (const char* end = text + length; text < end; ++text) {
        if (*text == '\n')
            *p++ = '\r';
        *p++ = *text;
    }
    return p;
}

void TextOutput::flushBuffer()
{
    if (m_ok && m_used > 0 && m_device->write(m_buffer.get(), m_used) != m_used)
        m_ok = false;
    m_used = 0;
}

bool TextOutput::flush()
{
    flushBuffer();
    return m_ok;
}
