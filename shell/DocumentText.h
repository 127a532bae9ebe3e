// Texts the editing commands make from a document: its lines with other line
// ends, the print header, the images a page refers to, the Global.asa skeleton.
#pragma once

#include "platform/TStringList.h"

#include <string>
#include <string_view>
#include <vector>

namespace vx::shell {

// Every line followed by lineEnd, the last one too.
std::string JoinLines(const TStrings& lines, std::string_view lineEnd);

// "Printed at : <date> <time>", a rule of 105 hyphens and an empty line.
std::vector<std::string> PrintHeaderLines(std::string_view date, std::string_view time);

// One caption per SRC attribute of every IMG tag of the page, in order: the
// value, or "TAG: <IMG" when the value is empty.
std::vector<std::string> ImageSources(const TStrings& lines);

// The session skeleton of a Global.asa file.
std::vector<std::string> GlobalAsaLines();

} // namespace vx::shell
