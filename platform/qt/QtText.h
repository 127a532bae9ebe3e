// The one crossing between the program's UTF-8 text and Qt's Unicode
// strings, and between file names (bytes in the system's file-name encoding)
// and Qt's strings.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace vx {

// A byte that begins no well-formed UTF-8 sequence shows as U+FFFD.
QString ToQString(std::string_view text);
std::string FromQString(const QString& text);

// A file name as Qt shows and takes it, and back (Qt's file-name encoding).
QString ToQPath(std::string_view path);
std::string FromQPath(const QString& path);
// A file name as the program's text, to be put into messages.
std::string PathText(std::string_view path);

} // namespace vx
