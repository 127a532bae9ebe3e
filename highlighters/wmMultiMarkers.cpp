// Finding the block markers of a line.
#include "highlighters/wmMultiMarkers.h"

#include "editor/mwHighlighter.h"
#include "highlighters/wmMultiSchemes.h"
#include "platform/Exception.h"

#include <algorithm>
#include <initializer_list>

void TgmMarkerFinder::addUse(std::vector<TExpression>& list, const std::string& text, TUse use)
{
    for (auto& e : list)
        if (e.text == text) {
            e.uses.push_back(use);
            return;
        }
    TExpression e{text, nullptr, {use}};
    if (!text.empty()) {
        try {
            auto regExpr = std::make_unique<TRegExpr>();
            regExpr->SetExpression(text);
            e.regExpr = std::move(regExpr);
        } catch (const Exception&) {
            // A scheme the user got wrong colours nothing rather than stopping the editor.
        }
    }
    list.push_back(std::move(e));
}

void TgmMarkerFinder::Build(const TgmSchemes& schemes)
{
    opening_.clear();
    closing_.clear();
    for (int s = 0; s < schemes.Count(); ++s)
        if (schemes.Usable(s)) {
            addUse(opening_, schemes.Items(s).StartExpr(), {s, s});
            addUse(closing_, schemes.Items(s).EndExpr(), {s, -1});
        }
    reach_ = 0;
    for (const std::vector<TExpression>* list : {&opening_, &closing_})
        for (const TExpression& e : *list) {
            const int reach = e.regExpr ? e.regExpr->Reach() : 0;
            reach_ = reach < 0 || reach_ < 0 ? -1 : std::max(reach_, reach);
        }
}

void TgmMarkerFinder::search(std::vector<TExpression>& list, int first, std::string_view line,
                             std::span<const int> offsets, std::vector<TgmMarker>& markers)
{
    int index = first;
    for (TExpression& e : list) {
        const int number = index++;
        if (!e.regExpr)
            continue;
        size_t offset = offsets.empty() ? 0 : static_cast<size_t>(offsets[static_cast<size_t>(number)]);
        while (offset < line.size()) {
            bool found = false;
            try {
                found = e.regExpr->Exec(line.substr(offset));
            } catch (const Exception&) {
                found = false;
            }
            if (!found)
                break;
            const size_t pos = offset + static_cast<size_t>(e.regExpr->MatchPos(0) - 1);
            const size_t len = static_cast<size_t>(e.regExpr->MatchLen(0));
            if (len > 0)
                for (const TUse& use : e.uses)
                    markers.push_back(
                        TgmMarker{use.scheme, use.newScheme, static_cast<int>(pos + 1), static_cast<int>(len), number});
            offset = pos + std::max<size_t>(len, 1);
        }
    }
}

void TgmMarkerFinder::sort(std::vector<TgmMarker>& markers)
{
    std::sort(markers.begin(), markers.end(), [](const TgmMarker& a, const TgmMarker& b) {
        if (a.Pos != b.Pos)
            return a.Pos < b.Pos;
        const bool aCloses = a.NewScheme < 0;
        const bool bCloses = b.NewScheme < 0;
        if (aCloses != bCloses)
            return bCloses;
        return a.Scheme < b.Scheme;
    });
}

void TgmMarkerFinder::Find(std::string_view line, bool closing, std::vector<TgmMarker>& markers)
{
    markers.clear();
    search(opening_, 0, line, {}, markers);
    if (closing || !markers.empty())
        search(closing_, static_cast<int>(opening_.size()), line, {}, markers);
    if (markers.size() > 1)
        sort(markers);
}

void TgmMarkerFinder::FindFrom(std::string_view line, std::span<const int> offsets, std::vector<TgmMarker>& markers)
{
    markers.clear();
    search(opening_, 0, line, offsets, markers);
    search(closing_, static_cast<int>(opening_.size()), line, offsets, markers);
    sort(markers);
}

void TgmMarkerFinder::Reaches(const std::vector<TgmMarker>& markers, int pos, std::vector<int>& reaches) const
{
    const auto first = reaches.size();
    reaches.resize(first + static_cast<std::size_t>(Count()), 0);
    // One expression's markers do not overlap, and none is longer than the reach.
    auto at = std::lower_bound(markers.begin(), markers.end(), pos,
                               [](const TgmMarker& m, int p) { return m.Pos - 1 < p; });
    while (at != markers.begin()) {
        --at;
        if (at->Pos - 1 + reach_ < pos)
            break;
        const int past = at->Pos - 1 + at->Len - pos;
        int& reach = reaches[first + static_cast<std::size_t>(at->Expr)];
        reach = std::max(reach, past);
    }
}
