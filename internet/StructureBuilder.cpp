// Building the structure and link trees.
#include "internet/StructureBuilder.h"

#include "internet/HTMLParser.h"
#include "internet/LinkTables.h"
#include "internet/TextUtil.h"

#include <algorithm>

namespace {

bool IsContainer(const std::string& upperName)
{
    int index = 0;
    return HTMLContainerTags().Find(upperName, index);
}

bool OneOf(const std::string& name, std::initializer_list<const char*> names)
{
    return std::any_of(names.begin(), names.end(), [&](const char* n) { return name == n; });
}

bool AllBlank(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](char c) {
        auto u = static_cast<unsigned char>(c);
        return u >= 1 && u <= 32;
    });
}

} // namespace

TStructureBuilder::TStructureBuilder(const std::string& rootText)
{
    open_.push_back({Add(structure_, rootText, 0, -1), {}});
    Add(links_, rootText, 0, -1);
}

int TStructureBuilder::Add(std::vector<TStructureNode>& tree, std::string text, int picture, int parent)
{
    tree.push_back({std::move(text), picture, parent});
    return static_cast<int>(tree.size()) - 1;
}

void TStructureBuilder::Build(THTMLParser& parser)
{
    for (; parser.TokenKind() != ptEOF; parser.NextToken()) {
        switch (parser.TokenKind()) {
        case ptText:
            if (!AllBlank(parser.Text()))
                Add(structure_, parser.Text(), 1, open_.back().Node);
            break;
        case ptComment:
            Add(structure_, parser.Text(), 4, open_.back().Node);
            break;
        case ptTag: {
            std::string name = vx::net::UpperCase(parser.Text());
            CollectLinks(parser, name);
            if (parser.EndTag())
                EndTag(name);
            else
                StartTag(parser, name);
            break;
        }
        default:
            break;
        }
    }
}

void TStructureBuilder::EndTag(const std::string& name)
{
    if (!IsContainer(name))
        return;
    // The root (index 0) carries no element name, so it is never matched or popped.
    for (std::size_t i = open_.size(); i-- > 1;) {
        if (open_[i].Name == name) {
            open_.resize(i);
            return;
        }
    }
}

void TStructureBuilder::PopUntil(std::initializer_list<const char*> names)
{
    while (open_.size() > 1 && !OneOf(open_.back().Name, names))
        open_.pop_back();
}

void TStructureBuilder::CloseImplied(const std::string& n)
{
    if (open_.size() <= 1) {
        return;
    }
    const std::string t = open_.back().Name;
    bool pop = (n == "P" && t == "P") || (n == "LI" && t == "LI") || (OneOf(n, {"DD", "DT"}) && OneOf(t, {"DD", "DT"}))
            || (n == "OPTION" && t == "OPTION") || (OneOf(n, {"TH", "TD"}) && OneOf(t, {"TH", "TD"}));
    if (pop)
        open_.pop_back();
    else if (n == "TR")
        PopUntil({"TABLE", "THEAD", "TFOOT", "TBODY"});
    else if (OneOf(n, {"THEAD", "TFOOT", "TBODY"}))
        PopUntil({"TABLE"});
}

void TStructureBuilder::StartTag(THTMLParser& parser, const std::string& name)
{
    CloseImplied(name);
    int node = Add(structure_, parser.Text(), 2, open_.back().Node);
    const TStringList& attributes = parser.Attributes();
    for (int i = 0; i < attributes.Count(); ++i)
        Add(structure_, attributes[i], 3, node);
    if (IsContainer(name))
        open_.push_back({node, name});
}

void TStructureBuilder::CollectLinks(THTMLParser& parser, const std::string& name)
{
    for (const TTagLink& link : TagLinks(name, parser.Attributes(), StructureRules())) {
        std::string key = vx::net::LowerCase(link.Value);
        auto at = std::lower_bound(seenLinks_.begin(), seenLinks_.end(), key);
        if (at != seenLinks_.end() && *at == key)
            continue;
        seenLinks_.insert(at, key);
        Add(links_, link.Value, PrefixKind(link.Value, StructurePrefixes(), link.Kind), 0);
    }
}
