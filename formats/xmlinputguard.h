#pragma once

#include <QIODevice>

// A read-only view of a device for the XML readers that ends the input where a single run of
// bytes without '<' or '>' (a text or an attribute) grows beyond a limit: the XML parser holds
// such a run whole, and a file of gigabytes would exhaust the memory before any check of the
// reader could see it.
class XmlInputGuard : public QIODevice
{
public:
    explicit XmlInputGuard(QIODevice* source);

    // True once the input was ended for a run beyond the limit.
    bool tripped() const { return m_tripped; }
    bool isSequential() const override { return true; }

    // The longest run accepted, in bytes (default 256 MiB), for every guard made after.
    static qint64 maxRun();
    static void setMaxRun(qint64 bytes);

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 maxSize) override;

private:
    QIODevice* m_source;
    qint64 m_limit;
    qint64 m_run = 0;
    bool m_tripped = false;
};
