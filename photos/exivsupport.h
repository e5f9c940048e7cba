#pragma once

#include <QString>
#include <QtGlobal>

#include <exiv2/exiv2.hpp>

#include <exception>
#include <string>

// The few things every user of the Exiv2 library in this program shares: its one-time set-up
// (the XMP toolkit is made safe for use from the writing thread, and the library's warnings go
// to the formats logging category instead of standard error), the text of its failures, and
// the differences between the library's versions (0.27 and 0.28), kept here and nowhere else.
namespace ExivSupport
{

// An opened image, as the library's ImageFactory hands it out (AutoPtr or UniquePtr).
using ImagePtr = decltype(Exiv2::ImageFactory::open(std::string()));

// Safe to call any number of times from any thread.
void initialize();

// The library's image type as a number: an int in 0.27, an enum class in 0.28.
template <typename Type> int typeNumber(Type type)
{
    return static_cast<int>(type);
}
inline int typeOf(const Exiv2::Image& image)
{
    return typeNumber(image.imageType());
}

// The n-th component of a value as an integer (toLong in 0.27, toInt64 in 0.28).
qint64 toInt64(const Exiv2::Exifdatum& datum, long n = 0);

// Whether error is the library's failure with this code.
bool hasCode(const std::exception& error, Exiv2::ErrorCode code);

// A library failure as a reason for the user: a known case in plain words, else its own text.
QString reason(const std::exception& error);
// The same for a failure to open a file as an image at all: it could not be read, or its
// content is not recognised (the library fails in many ways on arbitrary bytes).
QString openFailure(const std::exception& error);

} // namespace ExivSupport
