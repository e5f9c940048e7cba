#pragma once

#include "formats/fileformatgpx.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// The readers of every input a user can hand the tool, each fed with one blob of bytes.
// The fuzz targets call them, and so does the regression test with every input that once
// made one of them fail. Each returns false when the reader's result is not sane (which
// the fuzz targets turn into a crash report); a crash or a sanitizer report speaks for
// itself.
namespace FuzzEntries
{

// Byte 0 is the jump-filter limit, the rest a track log read by the log reader.
bool logReader(const QByteArray& data);
// Byte 0 is the jump-filter limit, the rest a track log read by the device worker.
bool deviceLines(const QByteArray& data);
// A track log whose header the device worker reads.
bool deviceHeader(const QByteArray& data);
// A TKX archive, written to a file in scratchDir and opened.
bool tkxReader(const QByteArray& data, const QString& scratchDir);
// A kv730.ini, written to a file in scratchDir and read.
bool deviceConfig(const QByteArray& data, const QString& scratchDir);

// Files of other programs read by the readers of GPX, KML, NMEA 0183 and CSV. Where the
// GPX scanner read the input, the full XML reader must read the same from it.
bool gpxReader(const QByteArray& data);
// Everything a GPX read gives: the result, its texts and every field of every track, the
// doubles to the bit; used tells which reader gave it.
QString gpxRead(const QByteArray& bytes, FileFormatGPX::Parser parser,
                FileFormatGPX::Parser* used = nullptr);
bool kmlReader(const QByteArray& data);
bool nmeaReader(const QByteArray& data);
bool csvReader(const QByteArray& data);
// A photo, written to a file in scratchDir and read for geotagging.
bool photoReader(const QByteArray& data, const QString& scratchDir);
// Byte 0 picks the photo's name (.jpg, .tif, .dng), the rest is the photo, written to a file in
// scratchDir and geotagged: tagged, it reads back with the new position and its image data is
// unchanged; otherwise it is unchanged; either way nothing is left beside it.
bool photoWriter(const QByteArray& data, const QString& scratchDir);

// Quiets the readers' diagnostics, which would otherwise dominate a fuzzing run.
void silenceDiagnostics();

// What the libFuzzer targets share (KV730_FUZZ_TARGET below): silences the diagnostics and,
// for an entry that reads from a file, makes the scratch folder; 0 when all is ready.
int initializeTarget(bool withScratch);
// The scratch folder made by initializeTarget(true).
QString scratchPath();

inline bool usesScratch(bool (*)(const QByteArray&))
{
    return false;
}
inline bool usesScratch(bool (*)(const QByteArray&, const QString&))
{
    return true;
}
inline bool check(bool (*entry)(const QByteArray&), const QByteArray& input)
{
    return entry(input);
}
inline bool check(bool (*entry)(const QByteArray&, const QString&), const QByteArray& input)
{
    return entry(input, scratchPath());
}

} // namespace FuzzEntries

// The two libFuzzer entry points of a target that feeds every input to one of the entries
// above; an insane result aborts, which libFuzzer reports as a crash.
#define KV730_FUZZ_TARGET(entry)                                                                   \
    extern "C" int LLVMFuzzerInitialize(int*, char***)                                             \
    {                                                                                              \
        return FuzzEntries::initializeTarget(FuzzEntries::usesScratch(entry));                     \
    }                                                                                              \
    extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)                        \
    {                                                                                              \
        const QByteArray input =                                                                   \
            QByteArray::fromRawData(reinterpret_cast<const char*>(data), int(size));               \
        if (!FuzzEntries::check(entry, input))                                                     \
            std::abort();                                                                          \
        return 0;                                                                                  \
    }
