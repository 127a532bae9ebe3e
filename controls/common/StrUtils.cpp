// String scanning and replacement on 8-bit text.
#include "controls/common/StrUtils.h"

namespace vx {

namespace {

bool inSet(char c, std::string_view set)
{
    return set.find(c) != std::string_view::npos;
}

} // namespace

bool IsEmptyStr(std::string_view text, std::string_view chars)
{
    for (char c : text)
        if (!inSet(c, chars))
            return false;
    return true;
}

std::string ReplaceStr(std::string_view text, std::string_view search, std::string_view replacement)
{
    if (search.empty())
        return std::string(text);
    std::string result;
    result.reserve(text.size());
    size_t from = 0;
    for (size_t at = text.find(search); at != std::string_view::npos; at = text.find(search, from)) {
        result.append(text.substr(from, at - from));
        result.append(replacement);
        from = at + search.size();
    }
    result.append(text.substr(from));
    return result;
}

std::string MakeStr(char c, int count)
{
    return count < 1 ? std::string() : std::string(static_cast<size_t>(count), c);
}

std::string TabsToSpaces(std::string_view text, int count)
{
    return ReplaceStr(text, "\t", MakeStr(' ', count));
}

int WordPosition(int n, std::string_view text, std::string_view delimiters)
{
    int found = 0;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && inSet(text[i], delimiters))
            ++i;
        if (i >= text.size())
            break;
        if (++found == n)
            return static_cast<int>(i) + 1;
        while (i < text.size() && !inSet(text[i], delimiters))
            ++i;
    }
    return 0;
}

int WordCount(std::string_view text, std::string_view delimiters)
{
    int count = 0;
    bool inWord = false;
    for (char c : text) {
        bool delimiter = inSet(c, delimiters);
        if (!delimiter && !inWord)
            ++count;
        inWord = !delimiter;
    }
    return count;
}

std::string ExtractWord(int n, std::string_view text, std::string_view delimiters)
{
    int pos = WordPosition(n, text, delimiters);
    if (pos == 0)
        return std::string();
    size_t start = static_cast<size_t>(pos - 1);
    size_t end = start;
    while (end < text.size() && !inSet(text[end], delimiters))
        ++end;
    return std::string(text.substr(start, end - start));
}

} // namespace vx
