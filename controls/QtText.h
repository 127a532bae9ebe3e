// 8-bit program text (Windows-1252) to and from the Qt strings the widgets show.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace vx {

QString QStr(std::string_view text);
// Characters outside Windows-1252 become "?".
std::string AnsiStr(const QString& text);

} // namespace vx
