#include "formats/xmlinputguard.h"

#include <atomic>

namespace
{
std::atomic<qint64> g_maxRun{qint64(256) << 20};
}

XmlInputGuard::XmlInputGuard(QIODevice* source) : m_source(source), m_limit(maxRun())
{
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

qint64 XmlInputGuard::maxRun()
{
    return g_maxRun.load(std::memory_order_relaxed);
}

void XmlInputGuard::setMaxRun(qint64 bytes)
{
    g_maxRun.store(bytes, std::memory_order_relaxed);
}

qint64 XmlInputGuard::readData(char* data, qint64 maxSize)
{
    if (m_tripped)
        return -1;
    const qint64 n = m_source->read(data, maxSize);
    if (n < 0) {
        setErrorString(m_source->errorString());
        return -1;
    }
    for (qint64 i = 0; i < n; ++i) {
        if (data[i] == '<' || data[i] == '>') {
            m_run = 0;
        } else if (++m_run > m_limit) {
            m_tripped = true;
            return -1;
        }
    }
    return n;
}

qint64 XmlInputGuard::writeData(const char* data, qint64 maxSize)
{
    Q_UNUSED(data);
    Q_UNUSED(maxSize);
    return -1;
}
