#include "fuzz/fuzzentries.h"

#include <QDir>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace
{
QTemporaryDir* scratch = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzEntries::silenceDiagnostics();
    // A RAM-backed folder when there is one: every input goes through a file.
    const QString base =
        QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    scratch = new QTemporaryDir(base + QStringLiteral("/kv730-fuzz-XXXXXX"));
    std::atexit([] { delete scratch; });
    return scratch->isValid() ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), int(size));
    if (!FuzzEntries::deviceConfig(input, scratch->path()))
        std::abort();
    return 0;
}
