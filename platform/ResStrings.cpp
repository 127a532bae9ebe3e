// The table of numbered texts.
#include "platform/ResStrings.h"

#include <map>

namespace {

std::map<int, std::string>& Table()
{
    static std::map<int, std::string> table;
    return table;
}

} // namespace

void AddResStrings(std::initializer_list<TResString> texts)
{
    for (const TResString& t : texts)
        Table().try_emplace(t.Id, t.Text);
}

std::string LoadResString(int id)
{
    const auto it = Table().find(id);
    return it == Table().end() ? std::string() : it->second;
}

void SetResString(int id, std::string text) { Table()[id] = std::move(text); }

TResText::operator std::string() const
{
    const auto [it, added] = Table().try_emplace(Id, Default);
    return it->second;
}
