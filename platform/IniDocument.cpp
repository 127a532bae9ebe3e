#include "platform/IniDocument.h"

#include "platform/AnsiText.h"

#include <algorithm>

namespace vx::ini {

namespace {

bool sameKey(const std::string& lineKey, std::string_view key)
{
    return !lineKey.empty() && SameText(lineKey, key);
}

} // namespace

void Document::Parse(std::string_view text)
{
    preamble_.clear();
    sections_.clear();
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos)
            end = text.size();
        Line line{std::string(text.substr(pos, end - pos)), {}, {}};
        pos = end;
        if (pos < text.size())
            pos += text.compare(pos, 2, "\r\n") == 0 ? 2 : 1;

        std::string trimmed = Trim(line.text);
        if (!trimmed.empty() && trimmed.front() == '[') {
            size_t close = trimmed.find(']');
            sections_.push_back({Trim(std::string_view(trimmed).substr(1, close == std::string::npos ? close : close - 1)), {}});
            continue;
        }
        size_t eq = trimmed.find('=');
        if (!trimmed.empty() && trimmed.front() != ';' && eq != std::string::npos) {
            line.key = TrimRight(std::string_view(trimmed).substr(0, eq));
            line.value = TrimLeft(std::string_view(trimmed).substr(eq + 1));
        }
        (sections_.empty() ? preamble_ : sections_.back().lines).push_back(std::move(line));
    }
}

std::string Document::Format() const
{
    std::string out;
    for (const Line& line : preamble_)
        out += line.text + "\r\n";
    for (const Section& section : sections_) {
        out += "[" + section.name + "]\r\n";
        for (const Line& line : section.lines)
            out += line.text + "\r\n";
    }
    return out;
}

const Document::Section* Document::findSection(std::string_view name) const
{
    for (const Section& section : sections_)
        if (SameText(section.name, name))
            return &section;
    return nullptr;
}

const std::string* Document::Find(std::string_view section, std::string_view key) const
{
    if (const Section* s = findSection(section))
        for (const Line& line : s->lines)
            if (sameKey(line.key, key))
                return &line.value;
    return nullptr;
}

bool Document::Set(std::string_view section, std::string_view key, std::string_view value)
{
    Section* s = findSection(section);
    if (!s) {
        bool separate = !sections_.empty() || !preamble_.empty();
        if (separate) {
            auto& last = sections_.empty() ? preamble_ : sections_.back().lines;
            if (!last.empty() && !Trim(last.back().text).empty())
                last.push_back({});
        }
        s = &sections_.emplace_back(Section{std::string(section), {}});
    }
    Line fresh{std::string(key) + "=" + std::string(value), std::string(key), Trim(value)};
    auto it = std::find_if(s->lines.begin(), s->lines.end(), [key](const Line& l) { return sameKey(l.key, key); });
    if (it != s->lines.end()) {
        if (it->text.substr(it->text.find('=') + 1) == value)
            return false;
        fresh.key = it->key;
        fresh.text = it->key + "=" + std::string(value);
        *it = std::move(fresh);
        return true;
    }
    auto lastKey = std::find_if(s->lines.rbegin(), s->lines.rend(), [](const Line& l) { return !l.key.empty(); });
    s->lines.insert(lastKey.base(), std::move(fresh));
    return true;
}

bool Document::EraseSection(std::string_view section)
{
    size_t before = sections_.size();
    std::erase_if(sections_, [section](const Section& s) { return SameText(s.name, section); });
    return sections_.size() != before;
}

bool Document::DeleteKey(std::string_view section, std::string_view key)
{
    Section* s = findSection(section);
    return s && std::erase_if(s->lines, [key](const Line& l) { return sameKey(l.key, key); }) > 0;
}

void Document::SectionNames(TStrings& names) const
{
    names.BeginUpdate();
    names.Clear();
    for (const Section& section : sections_)
        if (names.IndexOf(section.name) < 0)
            names.Add(section.name);
    names.EndUpdate();
}

void Document::KeyNames(std::string_view section, TStrings& names) const
{
    names.BeginUpdate();
    names.Clear();
    if (const Section* s = findSection(section))
        for (const Line& line : s->lines)
            if (!line.key.empty() && names.IndexOf(line.key) < 0)
                names.Add(line.key);
    names.EndUpdate();
}

} // namespace vx::ini
