// Finding the block markers of a line.
#include "highlighters/wmMultiMarkers.h"

#include "editor/mwHighlighter.h"
#include "highlighters/wmMultiSchemes.h"
#include "platform/Exception.h"

#include <algorithm>

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
}

void TgmMarkerFinder::search(std::vector<TExpression>& list, std::string_view line, std::vector<TgmMarker>& markers)
{
    for (auto& e : list) {
        if (!e.regExpr)
            continue;
        size_t offset = 0;
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
                        TgmMarker{use.scheme, use.newScheme, static_cast<int>(pos + 1), static_cast<int>(len)});
            offset = pos + std::max<size_t>(len, 1);
        }
    }
}

void TgmMarkerFinder::Find(std::string_view line, bool startsInBlock, std::vector<TgmMarker>& markers)
{
    markers.clear();
    search(opening_, line, markers);
    if (startsInBlock || !markers.empty())
        search(closing_, line, markers);
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
