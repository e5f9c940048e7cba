#pragma once

#include <QByteArray>
#include <QString>

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

// Quiets the readers' diagnostics, which would otherwise dominate a fuzzing run.
void silenceDiagnostics();

} // namespace FuzzEntries
