#include "formats/textoutput.h"

#include <QIODevice>

namespace
{
const int bufferSize = 1 << 18;
}

TextOutput::TextOutput(QIODevice* device)
    : m_device(device), m_buffer(bufferSize, Qt::Uninitialized)
{
}

void TextOutput::append(const char* text, int length)
{
    while (length > 0) {
        if (m_used == m_buffer.size())
            flushBuffer();
        const int chunk = qMin(length, m_buffer.size() - m_used);
        std::memcpy(m_buffer.data() + m_used, text, size_t(chunk));
        m_used += chunk;
        text += chunk;
        length -= chunk;
    }
}

void TextOutput::flushBuffer()
{
    if (m_ok && m_used > 0 && m_device->write(m_buffer.constData(), m_used) != m_used)
        m_ok = false;
    m_used = 0;
}

bool TextOutput::flush()
{
    flushBuffer();
    return m_ok;
}
