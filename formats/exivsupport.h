#pragma once

#include <QString>

#include <exception>

// The few things every user of the Exiv2 library in this program shares: its one-time set-up
// (the XMP toolkit is made safe for use from the writing thread, and the library's warnings go
// to the formats logging category instead of standard error) and the text of its failures.
namespace ExivSupport
{

// Safe to call any number of times from any thread.
void initialize();

// A library failure as a reason for the user: a known case in plain words, else its own text.
QString reason(const std::exception& error);
// The same for a failure to open a file as an image at all: it could not be read, or its
// content is not recognised (the library fails in many ways on arbitrary bytes).
QString openFailure(const std::exception& error);

} // namespace ExivSupport
