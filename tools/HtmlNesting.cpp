#include "tools/HtmlNesting.h"

#include "tools/TextScan.h"

#include "tools/BeautifierKeys.h"

#include <algorithm>

namespace vx::tools {

namespace {

const TTagName Html("html"), Head("head"), Body("body"), Table("table"), Tbody("tbody"), Thead("thead"),
    Tfoot("tfoot"), Tr("tr"), Td("td"), Th("th"), Caption("caption"), Colgroup("colgroup"), P("p"), Li("li"),
    Dd("dd"), Dt("dt"), Option("option"), Optgroup("optgroup");

bool OneOf(const TTagName& name, std::initializer_list<const TTagName*> names)
{
    return std::any_of(names.begin(), names.end(), [&name](const TTagName* each) { return *each == name; });
}

// The table parts an end tag closes wherever they stand inside their table.
bool IsTablePart(const TTagName& name)
{
    return OneOf(name, {&Td, &Th, &Tr, &Tbody, &Thead, &Tfoot, &Caption, &Colgroup});
}

// Pages with many different tags keep the answers for the first ones only.
constexpr std::size_t KnownTags = 2048;

// Deeper elements are not followed: a page that never closes its tags must
// not make every search of the open elements longer.
constexpr std::size_t MaxOpen = 1000;

} // namespace

THtmlNesting::TTagMatcher::TTagMatcher(const std::vector<std::string>& keys)
{
    for (const std::string& key : keys) {
        const bool closing = key.size() > 2 && key[2] == '/';
        const std::size_t letters = closing ? 3 : 2;
        const bool name = key.size() > letters && key[0] == WordMark && key[1] == '<' &&
                          std::all_of(key.begin() + static_cast<std::ptrdiff_t>(letters), key.end(),
                                      [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); });
        if (name)
            names_.push_back({closing, key.substr(letters)});
        else if (!key.empty())
            others_.push_back(key);
    }
}

bool THtmlNesting::TTagMatcher::operator()(std::string_view tag)
{
    const bool closing = tag.size() > 1 && tag[1] == '/';
    const std::string_view after = tag.substr(closing ? 2 : 1);
    for (const TNameEntry& entry : names_)
        if (entry.Closing == closing && after.size() >= entry.Letters.size() &&
            std::equal(entry.Letters.begin(), entry.Letters.end(), after.begin(),
                       [](char letter, char c) { return letter == (c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c); }))
            return true;
    if (others_.empty())
        return false;
    if (const auto found = known_.find(tag); found != known_.end())
        return found->second;
    MakeLineKeyIn(key_, tag);
    const bool matches = CountMatches(key_, KeyBytes(key_), others_) > 0;
    if (known_.size() < KnownTags)
        known_.emplace(tag, matches);
    return matches;
}

THtmlNesting::THtmlNesting(const std::vector<std::string>& indentKeys, const std::vector<std::string>& outdentKeys)
    : indents_(indentKeys), outdents_(outdentKeys)
{
}

void THtmlNesting::PopTo(std::size_t size)
{
    while (open_.size() > size) {
        level_ -= open_.back().Indents ? 1 : 0;
        tables_ -= open_.back().Name == Table ? 1 : 0;
        open_.pop_back();
    }
}

std::size_t THtmlNesting::Find(const TTagName& name, unsigned stopFlags, const TTagName& stopName) const
{
    for (std::size_t i = open_.size(); i-- > 0;) {
        if (open_[i].Name == name)
            return i;
        if ((open_[i].Flags & stopFlags) != 0 || open_[i].Name == stopName)
            return std::string_view::npos;
    }
    return std::string_view::npos;
}

void THtmlNesting::CloseOpen(const TTagName& name, unsigned stopFlags)
{
    const std::size_t at = Find(name, stopFlags);
    if (at != std::string_view::npos)
        PopTo(at);
}

void THtmlNesting::CloseInsideTable(std::initializer_list<const TTagName*> keep)
{
    while (!open_.empty() && !OneOf(open_.back().Name, keep))
        PopTo(open_.size() - 1);
}

int THtmlNesting::Start(std::string_view tag, const TTagName& name, unsigned flags)
{
    if (name.Empty() || (OneOf(name, {&Html, &Head, &Body}) && Find(name, 0) != std::string_view::npos))
        return level_;
    if (flags & ElementClosesParagraph)
        CloseOpen(P, ElementScope);
    if (name == Li) {
        CloseOpen(Li, ElementListStop);
    } else if (name == Dd || name == Dt) {
        // Either ends an open dd or dt of the same list.
        for (std::size_t i = open_.size(); i-- > 0;) {
            if (open_[i].Name == Dd || open_[i].Name == Dt) {
                PopTo(i);
                break;
            }
            if (open_[i].Flags & ElementListStop)
                break;
        }
    } else if (name == Option || name == Optgroup) {
        if (TopIs(Option))
            PopTo(open_.size() - 1);
        if (name == Optgroup && TopIs(Optgroup))
            PopTo(open_.size() - 1);
    } else if (IsTablePart(name)) {
        // Outside any table a browser drops these tags.
        if (tables_ == 0)
            return level_;
        if (name == Tr)
            CloseInsideTable({&Table, &Tbody, &Thead, &Tfoot});
        else if (name == Td || name == Th)
            CloseInsideTable({&Tr, &Table, &Tbody, &Thead, &Tfoot});
        else
            CloseInsideTable({&Table});
    }
    const int before = level_;
    if (!(flags & (ElementVoid | ElementRaw)) && open_.size() < MaxOpen) {
        const bool indents = indents_(tag);
        open_.push_back({name, flags, indents});
        level_ += indents ? 1 : 0;
        tables_ += name == Table ? 1 : 0;
    }
    return before;
}

bool THtmlNesting::End(std::string_view tag, const TTagName& name, unsigned flags)
{
    if (name.Empty() || (flags & ElementVoid))
        return false;
    const std::size_t at = IsTablePart(name) ? Find(name, 0, Table) : Find(name, name == Table ? 0u : unsigned{ElementScope});
    if (at == std::string_view::npos)
        return false;
    const bool hangs = outdents_(tag);
    PopTo(at);
    return hangs;
}

} // namespace vx::tools
