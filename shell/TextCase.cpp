#include "shell/TextCase.h"

namespace vx::shell {

namespace {

char Upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

template <class F> std::string Map(std::string_view text, F f)
{
    std::string result(text);
    for (char& c : result)
        c = f(c);
    return result;
}

} // namespace

std::string AsciiUpperCase(std::string_view text)
{
    return Map(text, Upper);
}

std::string AsciiLowerCase(std::string_view text)
{
    return Map(text, Lower);
}

std::string CapitalizeFirst(std::string_view text)
{
    std::string result = AsciiLowerCase(text);
    if (!result.empty())
        result[0] = Upper(result[0]);
    return result;
}

} // namespace vx::shell
