#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QSet>
#include <QString>
#include <QVector>

// Adds a GPS directory to a TIFF structure (a TIFF file, or the Exif block of a JPEG) without
// moving a single existing byte: the new directory, and a copy of the first directory that
// points at it, go after the end of the structure, and only the header's pointer to the first
// directory changes. Maker notes, previews and every other offset inside the structure keep
// their meaning, because nothing they point at moves.
//
// Before that, the whole structure is walked and refused when it is damaged: a directory or a
// value outside the structure, image data cut short, directories in a loop.
class TiffAppender
{
    Q_DECLARE_TR_FUNCTIONS(TiffAppender)

public:
    enum Type : quint16 { Byte = 1, Ascii = 2, Short = 3, Long = 4, Rational = 5, Undefined = 7 };
    struct Field {
        quint16 tag = 0;
        quint16 type = 0;
        quint32 count = 0;
        QByteArray data; // count values in the structure's byte order
    };

    // data (the whole file, or a JPEG's whole Exif block) stays owned by the caller and must
    // outlive the appender.
    bool parse(const char* data, qint64 size, QString* error);

    bool bigEndian() const { return m_big; }
    bool hasGpsDirectory() const { return m_gpsOffset != 0; }
    // Whether that directory records a position (a latitude and a longitude).
    bool hasGpsPosition() const { return m_gpsPosition; }
    // Whether the structure holds raw sensor data (DNG, or colour filter array data).
    bool isRaw() const { return m_raw; }
    int directories() const { return m_visited.size(); }
    // Where the structure holds offsets of data after its own end (a JPEG's trailer), as
    // positions of 4-byte offsets in it: they must grow with whatever is inserted before
    // that data.
    const QVector<qint64>& trailerPointers() const { return m_trailerPointers; }
    // The size of the first directory's XMP packet; 0 without one.
    qint64 xmpSize() const;

    // The bytes that follow the structure (padding first), whose first directory points at a
    // new GPS directory with gps (sorted by tag), and *header the new first 8 bytes. xmp, when
    // not null, replaces the first directory's XMP packet (tag 700). The result is refused (false)
    // when offsets would exceed what the format can hold (limit: the largest size allowed).
    bool append(const QVector<Field>& gps, const QByteArray* xmp, qint64 limit, QByteArray* tail,
                QByteArray* header, QString* error) const;

    // Values in this structure's byte order.
    Field ascii(quint16 tag, const QByteArray& text) const;
    Field bytes(quint16 tag, const QByteArray& values) const;
    Field rationals(quint16 tag, const QVector<QPair<quint32, quint32>>& values) const;

    // A TIFF structure with an empty first directory, as the start of a new Exif block.
    static QByteArray empty();

private:
    struct Entry {
        quint16 tag, type;
        quint32 count;
        quint32 value;  // the value itself when it fits 4 bytes, else its offset
        QByteArray raw; // the 12 bytes as found
    };
    quint16 u16(qint64 at) const;
    quint32 u32(qint64 at) const;
    QByteArray put16(quint16 v) const;
    QByteArray put32(quint32 v) const;
    bool readDirectory(quint32 offset, const char* what, QVector<Entry>* entries, quint32* next,
                       QString* error);
    bool walk(quint32 offset, const char* what, int depth, QString* error, quint32* next);
    bool checkData(const QVector<Entry>& entries, quint16 offsetsTag, quint16 countsTag,
                   QString* error) const;
    quint32 element(const Entry& e, quint32 index) const;
    void findTrailerPointers(quint32 offset, quint32 size);

    const uchar* m_data = nullptr;
    qint64 m_size = 0;
    bool m_big = false;
    bool m_raw = false;
    quint32 m_ifd0 = 0;
    quint32 m_gpsOffset = 0;
    bool m_gpsPosition = false;
    QVector<Entry> m_ifd0Entries;
    quint32 m_ifd0Next = 0;
    QSet<quint32> m_visited;
    int m_walked = 0;
    QVector<qint64> m_trailerPointers;
};
