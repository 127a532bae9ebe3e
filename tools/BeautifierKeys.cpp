#include "tools/BeautifierKeys.h"

#include "platform/AnsiText.h"
#include "tools/TextScan.h"

#include <algorithm>

namespace vx::tools {

std::size_t CommentStart(std::string_view line)
{
    bool inString = false;
    bool statementStart = true;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"') {
            inString = !inString;
            statementStart = false;
            continue;
        }
        if (inString)
            continue;
        if (c == '\'')
            return i;
        if (c == ' ' || c == '\t')
            continue;
        if (c == ':') {
            statementStart = true;
            continue;
        }
        if (statementStart && StartsNoCase(line, i, "rem") &&
            (i + 3 == line.size() || line[i + 3] == ' ' || line[i + 3] == '\t'))
            return i;
        statementStart = false;
    }
    return line.size();
}

const std::string* BlockKeyword(const std::string& key, const std::vector<std::string>& entries)
{
    const std::string* best = nullptr;
    for (const std::string& entry : entries)
        if (!entry.empty() && key.starts_with(entry) && (!best || entry.size() > best->size()))
            best = &entry;
    return best;
}

void MakeLineKeyIn(std::string& key, std::string_view line)
{
    MakeCodeKeyIn(key, line.substr(0, CommentStart(line)));
}

void MakeCodeKeyIn(std::string& key, std::string_view kept)
{
    // ASCII letters are upper-cased as they go; a line with other letters is
    // upper-cased whole characters at a time afterwards (same length).
    bool outsideAscii = false;
    // One pass doing what the word key does to the line with its tag brackets marked.
    // Room for a mark around every character and at both ends.
    key.resize(2 * kept.size() + 2);
    char* out = key.data();
    *out++ = WordMark;
    bool inString = false;
    for (std::size_t i = 0; i < kept.size(); ++i) {
        const char c = kept[i];
        if (c == '"') {
            inString = !inString;
            continue;
        }
        if (inString)
            continue;
        if (c == '<')
            *out++ = WordMark;
        // A "³" the line holds is the word mark, as it is in the lists.
        if (kept.substr(i, ShownWordMark.size()) == ShownWordMark) {
            *out++ = WordMark;
            i += ShownWordMark.size() - 1;
            continue;
        }
        outsideAscii = outsideAscii || static_cast<unsigned char>(c) >= 0x80;
        *out++ = c == ' ' ? WordMark : AsciiUpper(c);
        if (c == '>')
            *out++ = WordMark;
    }
    *out++ = WordMark;
    key.resize(static_cast<std::size_t>(out - key.data()));
    if (outsideAscii)
        key = AnsiUpperCase(key);
}

TKeyBytes KeyBytes(const std::string& key)
{
    TKeyBytes present;
    for (const char c : key)
        present.set(static_cast<unsigned char>(c));
    return present;
}

int CountMatches(const std::string& key, const TKeyBytes& present, const std::vector<std::string>& entries)
{
    const auto inKey = [&present](char c) { return present.test(static_cast<unsigned char>(c)); };
    return static_cast<int>(std::count_if(entries.begin(), entries.end(), [&key, &inKey](const std::string& entry) {
        return !entry.empty() && std::all_of(entry.begin(), entry.end(), inKey) &&
               FindExact(key, entry) != std::string_view::npos;
    }));
}

std::pair<std::size_t, char> IndentRun(int level, TIndentUnit unit)
{
    const bool tabs = unit == TIndentUnit::Tab1 || unit == TIndentUnit::Tab2;
    const int multiplier =
        unit == TIndentUnit::Space3 ? 3 : (unit == TIndentUnit::Space2 || unit == TIndentUnit::Tab2 ? 2 : 1);
    const int length = tabs ? 80 : 129;
    const int count = std::min(level * multiplier, length);
    return {count > 0 ? static_cast<std::size_t>(count) : 0, tabs ? '\t' : ' '};
}

bool EndsWithContinuation(std::string_view line)
{
    return line.size() >= 2 && line.ends_with(" _");
}

TStatementStep ClassifyStatement(std::string& key, std::string_view statement, const TBeautifyOptions& options)
{
    return ClassifyCode(key, statement.substr(0, CommentStart(statement)), options);
}

TStatementStep ClassifyCode(std::string& key, std::string_view code, const TBeautifyOptions& options)
{
    static const std::string Mark(1, WordMark);
    static const std::string IfKey = Mark + "IF" + Mark;
    static const std::string ThenKey = Mark + "THEN" + Mark;
    static const std::string EndIfKey = Mark + "END" + Mark + "IF";
    MakeCodeKeyIn(key, code);
    const bool startsIf = key.starts_with(IfKey);
    const bool oneLineIf = startsIf && !key.ends_with(ThenKey);
    return {options.Script && BlockKeyword(key, options.OutdentScript) != nullptr,
            options.Script && !oneLineIf && BlockKeyword(key, options.IndentScript) != nullptr, oneLineIf,
            key.find(EndIfKey) != std::string::npos};
}

} // namespace vx::tools
