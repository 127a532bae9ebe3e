#include "database/mQuery.h"

std::string ParseSQLParams(const std::string& text, std::vector<std::string>* names)
{
    std::string out;
    out.reserve(text.size());
    char quote = 0;
    std::size_t i = 0;
    auto endsName = [](char c) {
        return c == '\n' || c == '\r' || c == ' ' || c == ')' || c == ',' || c == ';';
    };
    while (i < text.size()) {
        char c = text[i];
        if (quote) {
            if (c == quote)
                quote = 0;
            out += c;
            ++i;
            continue;
        }
        if (c == '\'' || c == '"') {
            quote = c;
            out += c;
            ++i;
            continue;
        }
        if (c != ':') {
            out += c;
            ++i;
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == ':') {
            out += ':';
            i += 2;
            continue;
        }
        // A marker: its name, quoted or up to the next separator.
        ++i;
        std::string name;
        if (i < text.size() && (text[i] == '\'' || text[i] == '"')) {
            char q = text[i++];
            while (i < text.size() && text[i] != q)
                name += text[i++];
            if (i < text.size())
                ++i;
        } else {
            while (i < text.size() && !endsName(text[i]))
                name += text[i++];
        }
        out += '?';
        if (names)
            names->push_back(name);
    }
    return out;
}
