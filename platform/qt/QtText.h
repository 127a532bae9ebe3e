// The one crossing between the program's 8-bit Windows-1252 text and Qt's
// Unicode strings.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace vx {

QString ToQString(std::string_view text);
// Characters the code page cannot show become "?".
std::string FromQString(const QString& text);

} // namespace vx
