// The tag-case conversion of inserted text.
#include "shell/TagCase.h"

namespace vx::shell {

namespace {

// Characters above 127 keep their case in every mode.
std::string ShiftLetters(std::string_view text, char first, char last, int by)
{
    std::string result(text);
    for (char& c : result)
        if (c >= first && c <= last)
            c = static_cast<char>(c + by);
    return result;
}

} // namespace

std::string CapitalizeWords(std::string_view text)
{
    std::string result(text);
    for (std::size_t i = 1; i < result.size(); ++i)
        if (text[i - 1] == ' ' && result[i] >= 'a' && result[i] <= 'z')
            result[i] = static_cast<char>(result[i] - 32);
    return result;
}

std::string ApplyTagCase(std::string_view text, std::string_view mode)
{
    if (mode == "CAPS")
        return CapitalizeWords(text);
    if (mode == "UP")
        return ShiftLetters(text, 'a', 'z', 'A' - 'a');
    if (mode == "LO")
        return ShiftLetters(text, 'A', 'Z', 'a' - 'A');
    return std::string(text);
}

} // namespace vx::shell
