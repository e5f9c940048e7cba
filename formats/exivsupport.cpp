#include "formats/exivsupport.h"
#include "formats/formatslog.h"

#include <QCoreApplication>
#include <QMutex>

#include <exiv2/exiv2.hpp>

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

QString reason(const std::exception& error)
{
    if (const auto* exiv = dynamic_cast<const Exiv2::AnyError*>(&error)) {
        switch (exiv->code()) {
        case Exiv2::kerFileContainsUnknownImageType:
        case Exiv2::kerMemoryContainsUnknownImageType:
        case Exiv2::kerNotAnImage:
        case Exiv2::kerNoImageInInputData:
            return QCoreApplication::translate("ExivSupport",
                                               "This is not a photo, or not of a known kind.");
        case Exiv2::kerNotAJpeg:
        case Exiv2::kerFailedToReadImageData:
        case Exiv2::kerInputDataReadFailed:
        case Exiv2::kerCorruptedMetadata:
            return QCoreApplication::translate("ExivSupport", "The photo is damaged (%1).")
                .arg(QString::fromUtf8(error.what()));
        case Exiv2::kerTooLargeJpegSegment:
            return QCoreApplication::translate(
                "ExivSupport", "The photo's metadata would grow beyond what a JPEG file can hold.");
        default:
            break;
        }
    }
    if (dynamic_cast<const std::bad_alloc*>(&error))
        return QCoreApplication::translate("ExivSupport", "Not enough memory.");
    return QString::fromUtf8(error.what());
}

QString openFailure(const std::exception& error)
{
    const auto* exiv = dynamic_cast<const Exiv2::AnyError*>(&error);
    if (exiv && (exiv->code() == Exiv2::kerDataSourceOpenFailed ||
                 exiv->code() == Exiv2::kerFileOpenFailed))
        return QCoreApplication::translate("ExivSupport", "It cannot be read: %1")
            .arg(QString::fromUtf8(error.what()));
    if (dynamic_cast<const std::bad_alloc*>(&error))
        return reason(error);
    return QCoreApplication::translate("ExivSupport",
                                       "This is not a photo, or not of a known kind.");
}

} // namespace ExivSupport
