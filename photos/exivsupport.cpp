#include "photos/exivsupport.h"
#include "formats/formatslog.h"

#include <QCoreApplication>
#include <QMutex>

#include <initializer_list>
#include <mutex>

namespace ExivSupport
{

static void lockXmp(void* data, bool lock)
{
    auto* mutex = static_cast<QMutex*>(data);
    if (lock)
        mutex->lock();
    else
        mutex->unlock();
}

static void logMessage(int level, const char* text)
{
    QString message = QString::fromUtf8(text).trimmed();
    if (level >= Exiv2::LogMsg::error)
        qCWarning(lcFormats) << "Exiv2:" << message;
    else
        qCDebug(lcFormats) << "Exiv2:" << message;
}

void initialize()
{
    static std::once_flag once;
    std::call_once(once, [] {
        static QMutex xmpMutex;
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::warn);
        Exiv2::LogMsg::setHandler(logMessage);
        Exiv2::XmpParser::initialize(lockXmp, &xmpMutex);
    });
}

qint64 toInt64(const Exiv2::Exifdatum& datum, long n)
{
#if EXIV2_TEST_VERSION(0, 28, 0)
    return datum.toInt64(size_t(n));
#else
    return datum.toLong(n);
#endif
}

static int codeOf(const std::exception& error)
{
    // 0.27 throws BasicError<char> (an AnyError), 0.28 a plain Error; both are Exiv2::Error.
    const auto* exiv = dynamic_cast<const Exiv2::Error*>(&error);
    return exiv ? static_cast<int>(exiv->code()) : -1;
}

bool hasCode(const std::exception& error, Exiv2::ErrorCode code)
{
    return codeOf(error) == static_cast<int>(code);
}

QString reason(const std::exception& error)
{
    using Code = Exiv2::ErrorCode;
    const auto is = [&error](std::initializer_list<Code> codes) {
        for (const Code c : codes) {
            if (hasCode(error, c))
                return true;
        }
        return false;
    };
    if (is({Code::kerFileContainsUnknownImageType, Code::kerMemoryContainsUnknownImageType,
            Code::kerNotAnImage, Code::kerNoImageInInputData}))
        return QCoreApplication::translate("ExivSupport",
                                           "This is not a photo, or not of a known kind.");
    if (is({Code::kerNotAJpeg, Code::kerFailedToReadImageData, Code::kerInputDataReadFailed,
            Code::kerCorruptedMetadata}))
        return QCoreApplication::translate("ExivSupport", "The photo is damaged (%1).")
            .arg(QString::fromUtf8(error.what()));
    if (is({Code::kerTooLargeJpegSegment}))
        return QCoreApplication::translate(
            "ExivSupport", "The photo's metadata would grow beyond what a JPEG file can hold.");
    if (dynamic_cast<const std::bad_alloc*>(&error))
        return QCoreApplication::translate("ExivSupport", "Not enough memory.");
    // Any other failure of the library: its own words, said to be its own.
    return QCoreApplication::translate("ExivSupport", "The photo cannot be handled (%1).")
        .arg(QString::fromUtf8(error.what()));
}

QString openFailure(const std::exception& error)
{
    if (hasCode(error, Exiv2::ErrorCode::kerDataSourceOpenFailed) ||
        hasCode(error, Exiv2::ErrorCode::kerFileOpenFailed))
        return QCoreApplication::translate("ExivSupport", "It cannot be read: %1")
            .arg(QString::fromUtf8(error.what()));
    if (dynamic_cast<const std::bad_alloc*>(&error))
        return reason(error);
    return QCoreApplication::translate("ExivSupport",
                                       "This is not a photo, or not of a known kind.");
}

} // namespace ExivSupport
