// Text comparison for the editor's undo tests.
#pragma once

#include <string>

// The text with blanks at line ends dropped. The editor drops them itself in
// several places (joined lines, column blocks, stored typing), so where a
// line ended in blanks, undo may give the line back without them; everything
// else comes back exactly.
inline std::string WithoutTrailingBlanks(const std::string& text)
{
    std::string out;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find("\r\n", pos);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(pos, end - pos);
        line.erase(line.find_last_not_of(' ') + 1);
        out += line + "\r\n";
        pos = end + 2;
    }
    return out;
}
