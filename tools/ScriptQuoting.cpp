// Quoting of texts inside generated string literals.
#include "tools/ScriptQuoting.h"

namespace vx::tools {

std::string VBQuoted(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out;
}

namespace {

std::string Escaped(std::string_view text, std::string_view special)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (special.find(c) != std::string_view::npos)
            out += '\\';
        out += c;
    }
    return out;
}

} // namespace

std::string PerlQuoted(std::string_view text)
{
    return Escaped(text, "\\$@\"");
}

std::string PerlSingleQuoted(std::string_view text)
{
    return Escaped(text, "\\'");
}

} // namespace vx::tools
