#pragma once

#include <QByteArray>

#include <cstring>

class QIODevice;

// The lines of a track log as the logger's own tools read them: 1024-byte
// QIODevice::readLine calls (a longer physical line arrives in 1023-byte pieces), each
// cut at its first zero byte. A usable line is longer than 30 characters and splits at ","
// (empty fields kept) into at least 11 fields; what a reader then accepts is its own
// business.
class LogLineReader
{
public:
    static constexpr int FieldCount = 11;

    struct Field {
        const char* data = nullptr;
        int size = 0;
        char first() const { return size > 0 ? data[0] : '\0'; }
        template <int N> bool equals(const char (&text)[N]) const
        {
            return size == N - 1 && std::memcmp(data, text, size_t(N - 1)) == 0;
        }
    };

    explicit LogLineReader(QIODevice& device);

    // Moves to the next usable line and splits it; false at the end of the device or
    // after a read error.
    bool next();
    // The same in two steps, for a caller that looks at every line read: nextLine()
    // moves to the next line, usable or not; split() tells whether it is usable and
    // splits it.
    bool nextLine();
    bool split();

    // Fields 0 to 10 of the current usable line; the last one holds the rest of the line.
    const Field& field(int index) const { return m_fields[index]; }
    // True when the read stopped at an error rather than at the end.
    bool failed() const { return m_failed; }

    // A field read as QString::toDouble reads it, but 0 whenever that reports a failure,
    // an overflow included, or gives a value that is not finite.
    static double toDoubleOrZero(const Field& field);

private:
    void refill();

    QIODevice& m_device;
    QByteArray m_buffer;
    int m_pos = 0;
    int m_end = 0;
    bool m_atEnd = false;
    bool m_failed = false;
    const char* m_line = nullptr;
    int m_length = 0;
    Field m_fields[FieldCount];
};
