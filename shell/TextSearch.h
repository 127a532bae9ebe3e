// The line search of the search dialog and the number typed into the jump
// dialog, free of any window.
#pragma once

#include "platform/TStringList.h"

#include <string>
#include <string_view>
#include <vector>

namespace vx::shell {

// Where a line holds the text: both 1-based.
struct TTextHit {
    int Line;
    int Column;
    bool operator==(const TTextHit&) const = default;
};

// Every line from the 0-based index first to the last that holds text (exact
// case, the first occurrence in the line), in order. An empty text is in no line.
std::vector<TTextHit> FindTextInLines(const TStrings& lines, std::string_view text, int first);

// What the search shows for a hit; the fifth slot's message stands between
// line breaks.
std::string FoundMessage(std::string_view text, int line, bool fifthSlot);

// The leading decimal digits of text as a number; 0 when it starts with no
// digit; numbers too large for an int give the largest int.
int LeadingNumber(std::string_view text);

} // namespace vx::shell
