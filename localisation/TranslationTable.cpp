// Reading and writing the entries of a translation table.
#include "localisation/TranslationTable.h"

#include "platform/AnsiText.h"
#include "platform/Utf8.h"

#include <optional>

namespace {

[[noreturn]] void fail(int line, const std::string& reason)
{
    throw ETranslationTableError("line " + std::to_string(line) + ": " + reason);
}

// The text of a quoted string that makes up the rest of a line.
std::string unquote(std::string_view rest, int line)
{
    const std::string trimmed = vx::Trim(rest);
    if (trimmed.size() < 2 || trimmed.front() != '"' || trimmed.back() != '"')
        fail(line, "a text must stand between double quotes");
    std::string utf8;
    for (std::size_t i = 1; i + 1 < trimmed.size(); ++i) {
        const char c = trimmed[i];
        if (c == '"')
            fail(line, "a double quote inside a text needs a backslash before it");
        if (c != '\\') {
            utf8 += c;
            continue;
        }
        if (i + 2 >= trimmed.size())
            fail(line, "the text ends in a lone backslash");
        switch (trimmed[++i]) {
        case 'n': utf8 += '\n'; break;
        case 'r': utf8 += '\r'; break;
        case 't': utf8 += '\t'; break;
        case '"': utf8 += '"'; break;
        case '\\': utf8 += '\\'; break;
        default: fail(line, std::string("unknown escape \\") + trimmed[i]);
        }
    }
    if (!vx::utf8::IsValid(utf8))
        fail(line, "the text is not UTF-8");
    return utf8;
}

std::string escape(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        default: out += c;
        }
    }
    return out;
}

struct Pending {
    std::optional<std::string> context, id, str;
    int line = 0;
    std::string* open = nullptr; // the string continuation lines add to
    bool empty() const { return !context && !id && !str; }
};

} // namespace

TTranslationTable TTranslationTable::Parse(std::string_view utf8)
{
    TTranslationTable table;
    bool headerSeen = false;
    Pending entry;
    auto finish = [&](int line) {
        if (entry.empty())
            return;
        if (!entry.id || !entry.str)
            fail(entry.line, entry.id ? "the entry has no msgstr" : "the entry has no msgid");
        if (entry.id->empty()) {
            if (entry.context || headerSeen)
                fail(entry.line, "only the first entry may have an empty msgid (the header)");
            headerSeen = true;
            std::size_t start = 0;
            const std::string& fields = *entry.str;
            while (start < fields.size()) {
                std::size_t end = fields.find('\n', start);
                if (end == std::string::npos)
                    end = fields.size();
                const std::string_view field(fields.data() + start, end - start);
                const std::size_t colon = field.find(':');
                if (colon != std::string_view::npos)
                    table.header_.emplace_back(vx::Trim(field.substr(0, colon)), vx::Trim(field.substr(colon + 1)));
                start = end + 1;
            }
        } else if (!table.entries_.emplace(std::pair(vx::LowerCase(entry.context.value_or("")), *entry.id), *entry.str)
                        .second) {
            fail(entry.line, "a second entry for \"" + *entry.id + "\"" +
                                 (entry.context ? " in " + *entry.context : std::string()));
        }
        entry = Pending{};
        entry.line = line;
    };

    int lineNo = 0;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        std::size_t end = utf8.find('\n', pos);
        if (end == std::string_view::npos)
            end = utf8.size();
        std::string_view line = utf8.substr(pos, end - pos);
        pos = end + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const std::string text = vx::TrimLeft(line);
        if (text.empty() || text[0] == '#')
            continue;
        if (text[0] == '"') {
            if (!entry.open)
                fail(lineNo, "a text without msgctxt, msgid or msgstr before it");
            *entry.open += unquote(text, lineNo);
            continue;
        }
        const std::size_t space = text.find_first_of(" \t");
        const std::string keyword = text.substr(0, space);
        const std::string_view rest = space == std::string::npos ? std::string_view() : std::string_view(text).substr(space);
        std::optional<std::string>* slot = nullptr;
        if (keyword == "msgctxt") {
            finish(lineNo);
            slot = &entry.context;
        } else if (keyword == "msgid") {
            if (entry.id)
                finish(lineNo);
            slot = &entry.id;
        } else if (keyword == "msgstr") {
            if (!entry.id || entry.str)
                fail(lineNo, "msgstr must follow a msgid");
            slot = &entry.str;
        } else {
            fail(lineNo, "unknown keyword \"" + keyword + "\"");
        }
        if (entry.empty())
            entry.line = lineNo;
        *slot = unquote(rest, lineNo);
        entry.open = &**slot;
    }
    finish(lineNo);
    return table;
}

const std::string* TTranslationTable::Find(std::string_view context, std::string_view text) const
{
    for (const std::string& where : {vx::LowerCase(context), std::string()}) {
        const auto it = entries_.find(std::pair(where, std::string(text)));
        if (it != entries_.end() && !it->second.empty())
            return &it->second;
    }
    return nullptr;
}

std::string TTranslationTable::HeaderField(std::string_view name) const
{
    for (const auto& [field, value] : header_)
        if (vx::LowerCase(field) == vx::LowerCase(name))
            return value;
    return {};
}

std::string FormatTableEntry(std::string_view text, const std::vector<std::string>& places)
{
    std::string out;
    for (const std::string& place : places)
        out += "#: " + place + "\n";
    out += "msgid \"" + escape(text) + "\"\nmsgstr \"\"\n\n";
    return out;
}
