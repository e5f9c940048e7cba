#include "formats/fileformattkr.h"

#include "formats/formatslog.h"
#include "formats/textoutput.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QtEndian>

#include <cmath>
#include <cstring>
#include <limits>

namespace
{

const char magic[4] = {'V', 'L', 'T', 'R'};
const char serial[16] = "KV310-AA-XXXXXX";

QString tr(const char* text)
{
    return QCoreApplication::translate("FileFormatTKR", text);
}

template <typename T> T readLE(const uchar* p)
{
    return qFromLittleEndian<T>(p);
}

double readDouble(const uchar* p)
{
    const quint64 bits = qFromLittleEndian<quint64>(p);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void writeDouble(uchar* p, double value)
{
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    qToLittleEndian(bits, p);
}

// A time moved by the zone offset; a damaged archive's times near the ends of the 64-bit
// range wrap around instead of overflowing.
qint64 shifted(qint64 time, qint32 offset)
{
    return qint64(quint64(time) + quint64(qint64(offset)));
}

// A point a logger can have recorded: a time, and a position and altitude on the earth.
bool recordable(const Vec3& point)
{
    return point.time != 0 && std::fabs(point.lat) <= 90.0 && std::fabs(point.lon) <= 180.0 &&
           std::isfinite(point.alt);
}

bool keepPoint(const Vec3& point, bool markedOnly)
{
    return !markedOnly || point.marked != 0;
}

} // namespace

FileFormatTKR::FileFormatTKR() : m_localUtcOffset(currentLocalUtcOffset()) {}

FileFormatTKR::FileFormatTKR(qint32 localUtcOffset) : m_localUtcOffset(localUtcOffset) {}

qint32 FileFormatTKR::currentLocalUtcOffset()
{
    // The wall-clock texts of now in UTC and in local time, both read back as local time.
    const QString format = QStringLiteral("yyyy-MM-dd HH:mm:ss");
    const QDateTime utc = QDateTime::currentDateTimeUtc();
    const QDateTime utcAsLocal = QDateTime::fromString(utc.toString(format), format);
    const QDateTime local = QDateTime::fromString(utc.toLocalTime().toString(format), format);
    if (!utcAsLocal.isValid() || !local.isValid()) // UTC wall-clock time in a skipped hour
        return qint32(QDateTime::currentDateTime().offsetFromUtc());
    return qint32(local.toSecsSinceEpoch() - utcAsLocal.toSecsSinceEpoch());
}

bool FileFormatTKR::save(QVector<Track> tracks, QString& fileName, QList<int> selection,
                         bool markedOnly)
{
    return saveThrough(
        fileName, [&](QIODevice* device) { return write(device, tracks, selection, markedOnly); });
}

bool FileFormatTKR::write(QIODevice* device, const QVector<Track>& tracks,
                          const QList<int>& selection, bool markedOnly)
{
    TextOutput out(device);
    const int n = selection.size();
    auto* h = reinterpret_cast<uchar*>(out.space(headerSize));
    std::memset(h, 0, headerSize);
    std::memcpy(h, magic, 4);
    qToLittleEndian<quint16>(2, h + 4);
    std::memcpy(h + 6, serial, 16);
    std::memcpy(h + 22, serial, 16);
    qToLittleEndian<quint32>(quint32(n), h + 40);
    out.advance(reinterpret_cast<char*>(h + headerSize));

    // The index precedes the blocks, so the point counts are taken before writing them.
    quint32 offset = quint32(headerSize + indexEntrySize * n);
    for (int i = 0; i < n; ++i) {
        const Track& track = tracks.at(selection.at(i));
        quint32 count = 0;
        for (const Vec3& point : track.points)
            count += keepPoint(point, markedOnly) ? 1 : 0;
        auto* entry = reinterpret_cast<uchar*>(out.space(indexEntrySize));
        qToLittleEndian<quint32>(quint32(i), entry);
        qToLittleEndian<quint32>(offset, entry + 4);
        qToLittleEndian<quint32>(count, entry + 8);
        out.advance(reinterpret_cast<char*>(entry + indexEntrySize));
        offset += 12 + pointRecordSize * count;
    }

    for (int i = 0; i < n; ++i) {
        const Track& track = tracks.at(selection.at(i));
        auto* p = reinterpret_cast<uchar*>(out.space(12));
        qToLittleEndian<qint64>(track.startTime, p);
        qToLittleEndian<qint32>(track.fmt, p + 8);
        out.advance(reinterpret_cast<char*>(p + 12));
        for (const Vec3& point : track.points) {
            if (!keepPoint(point, markedOnly))
                continue;
            p = reinterpret_cast<uchar*>(out.space(pointRecordSize));
            std::memset(p, 0, 8);
            writeDouble(p + 8, point.lat);
            writeDouble(p + 16, point.lon);
            writeDouble(p + 24, point.alt * 10000.0);
            qToLittleEndian<qint64>(point.time, p + 32);
            qToLittleEndian<qint32>(point.speed, p + 40);
            qToLittleEndian<qint32>(point.marked, p + 44);
            out.advance(reinterpret_cast<char*>(p + pointRecordSize));
        }
    }
    return out.flush();
}

bool FileFormatTKR::load(QVector<Track>& tracks, const QString& fileName)
{
    setWarningString(QString());
    // Read, never mapped: a mapped file that shrinks under the reader (a drive pulled out,
    // another program writing) kills the process with SIGBUS.
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        setErrorString(tr("The file cannot be read: %1").arg(file.errorString()));
        return false;
    }
    const int before = tracks.size();
    const bool ok = read(tracks, file);
    if (!ok)
        tracks.resize(before);
    return ok;
}

bool FileFormatTKR::read(QVector<Track>& tracks, QFile& file)
{
    const qint64 size = file.size();
    // The sizes of what follows are planned from the size at the start; a read that comes up
    // short means that the file changed or failed meanwhile.
    const auto readExactly = [&](uchar* data, qint64 length) {
        const qint64 got = file.read(reinterpret_cast<char*>(data), length);
        if (got == length)
            return true;
        setErrorString(got < 0 ? tr("The file cannot be read: %1").arg(file.errorString())
                               : tr("The file became shorter while it was read."));
        return false;
    };

    uchar header[headerSize];
    if (size >= headerSize && !readExactly(header, headerSize))
        return false;
    if (size < headerSize || std::memcmp(header, magic, 4) != 0) {
        setErrorString(tr("The file is not a TKX archive."));
        return false;
    }
    const bool version1 = readLE<quint16>(header + 4) == 1;
    const qint64 count = readLE<quint32>(header + 40);
    if (count > (size - headerSize) / indexEntrySize) {
        setErrorString(tr("The file is not a complete TKX archive: its track index of %1 "
                          "entries runs past the end of the file.")
                           .arg(count));
        return false;
    }
    std::vector<uchar> index(size_t(indexEntrySize * count));
    if (!readExactly(index.data(), qint64(index.size())))
        return false;
    qint64 announcedPoints = 0;
    for (qint64 i = 0; i < count; ++i)
        announcedPoints += readLE<quint32>(index.data() + indexEntrySize * i + 8);

    const qint64 blockHeaderSize = version1 ? 20 : 12;
    // Counts that run past the end of the file tell a damaged archive, whose later blocks
    // are read from wherever the counts point: what they hold may be anything.
    const qint64 roomForRecords = size - headerSize - (indexEntrySize + blockHeaderSize) * count;
    const bool damaged = roomForRecords < 0 || announcedPoints > roomForRecords / pointRecordSize;
    const qint64 maxPoints = (std::numeric_limits<int>::max() / qint64(sizeof(Vec3))) - 64;
    const qint64 chunkRecords = 4096;
    std::vector<uchar> chunk;
    qint64 pos = headerSize + indexEntrySize * count;
    qint64 readTracks = 0;
    qint64 readPoints = 0; // records read from the file
    qint64 listedTracks = 0;
    qint64 listedPoints = 0;
    qint64 leftOut = 0; // records of a damaged archive that no logger can have written
    for (qint64 i = 0; i < count; ++i) {
        if (size - pos < blockHeaderSize)
            break;
        uchar block[20];
        if (!readExactly(block, blockHeaderSize))
            return false;
        Track track;
        track.startTime = readLE<qint64>(block);
        track.fmt = readLE<qint32>(block + (version1 ? 16 : 8));
        if (version1)
            track.startTime = shifted(track.startTime, m_localUtcOffset);
        pos += blockHeaderSize;
        const bool knownFormat = !damaged || track.fmt == 1 || track.fmt == 2;

        // What the announced count asks for is never taken on trust: only records that
        // the file really holds are read, and no more than a track can keep. The track
        // grows with what it keeps, so that records it drops (a sparse file's zeros) cost
        // no memory.
        const qint64 announced = readLE<quint32>(index.data() + indexEntrySize * i + 8);
        const qint64 available = qMin(qMin(announced, (size - pos) / pointRecordSize), maxPoints);
        for (qint64 k = 0; k < available; k += chunkRecords) {
            const qint64 records = qMin(chunkRecords, available - k);
            chunk.resize(size_t(records * pointRecordSize));
            if (!readExactly(chunk.data(), qint64(chunk.size())))
                return false;
            for (const uchar* record = chunk.data(); record < chunk.data() + chunk.size();
                 record += pointRecordSize) {
                Vec3 point;
                point.lat = readDouble(record + 8);
                point.lon = readDouble(record + 16);
                point.alt = readDouble(record + 24) / 10000.0;
                point.time = readLE<qint64>(record + 32);
                point.speed = readLE<qint32>(record + 40);
                point.marked = readLE<qint32>(record + 44);
                point.reserved = 0;
                if (version1)
                    point.time = shifted(point.time, m_localUtcOffset);
                if (damaged && (!knownFormat || !recordable(point))) {
                    ++leftOut;
                    continue;
                }
                if (point.time != 0)
                    track.points.append(point);
            }
        }
        pos += pointRecordSize * available;
        ++readTracks;
        readPoints += available;
        if (knownFormat) {
            listedPoints += track.points.size();
            tracks.append(track);
            ++listedTracks;
        }
        if (available < announced)
            break;
    }
    // What a damaged archive lost is told, not only traced.
    if (readTracks < count || readPoints < announcedPoints) {
        QString text = tr("The archive is incomplete: %1 of its %2 tracks and %3 of its %4 "
                          "points are missing.")
                           .arg(count - listedTracks)
                           .arg(count)
                           .arg(announcedPoints - listedPoints)
                           .arg(announcedPoints);
        if (leftOut > 0)
            text += QLatin1Char(' ') + tr("Of the missing points, %1 were read but left out: no "
                                          "logger records such values.")
                                           .arg(leftOut);
        setWarningString(text);
        qCWarning(lcFormats) << file.fileName() << warningString();
    }
    return true;
}
