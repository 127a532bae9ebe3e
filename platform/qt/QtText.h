// The one crossing between the program's 8-bit Windows-1252 text and Qt's
// Unicode strings, and between file names (bytes in the system's file-name
// encoding, not Windows-1252 text) and Qt's strings.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace vx {

QString ToQString(std::string_view text);
// Characters the code page cannot show become "?".
std::string FromQString(const QString& text);

// A file name as Qt shows and takes it, and back (Qt's file-name encoding).
QString ToQPath(std::string_view path);
std::string FromQPath(const QString& path);
// A file name as the program's text, to be put into messages (characters the
// code page cannot show become "?").
std::string PathText(std::string_view path);

} // namespace vx
