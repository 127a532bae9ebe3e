// Finding the block markers of a line.
#include "highlighters/wmMultiMarkers.h"

#include "editor/mwHighlighter.h"
#include "highlighters/wmMultiSchemes.h"
#include "platform/Exception.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <initializer_list>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

void TgmMarkerFinder::addUse(TList& list, const std::string& text, TUse use)
{
    for (auto& e : list.items)
        if (e.text == text) {
            e.uses.push_back(use);
            return;
        }
    TExpression e{text, nullptr, {}, {use}};
    if (!text.empty()) {
        try {
            auto regExpr = std::make_unique<TRegExpr>();
            regExpr->SetExpression(text);
            e.prefix = regExpr->Prefix();
            e.regExpr = std::move(regExpr);
        } catch (const Exception&) {
            // A scheme the user got wrong colours nothing rather than stopping the editor.
        }
    }
    list.withoutPrefix.push_back(e.prefix.empty());
    if (!e.prefix.empty()) {
        ++list.withPrefix;
        std::string head = e.prefix.substr(0, 2);
        if (std::find(list.heads.begin(), list.heads.end(), head) == list.heads.end())
            list.heads.push_back(std::move(head));
        list.headByte[static_cast<unsigned char>(e.prefix[0])] = true;
    }
    list.items.push_back(std::move(e));
}

void TgmMarkerFinder::Build(const TgmSchemes& schemes)
{
    opening_ = {};
    closing_ = {};
    for (int s = 0; s < schemes.Count(); ++s)
        if (schemes.Usable(s)) {
            addUse(opening_, schemes.Items(s).StartExpr(), {s, s});
            addUse(closing_, schemes.Items(s).EndExpr(), {s, -1});
        }
    reach_ = 0;
    for (const TList* list : {&opening_, &closing_})
        for (const TExpression& e : list->items) {
            const int reach = e.regExpr ? e.regExpr->Reach() : 0;
            reach_ = reach < 0 || reach_ < 0 ? -1 : std::max(reach_, reach);
        }
}

void TgmMarkerFinder::findStarts(const TList& list, std::string_view line)
{
    const std::size_t count = list.items.size();
    present_.assign(list.withoutPrefix.begin(), list.withoutPrefix.end());
    std::size_t left = list.withPrefix;
    auto checkAt = [&](std::size_t at) {
        const std::string_view rest = line.substr(at);
        for (std::size_t i = 0; i < count; ++i) {
            const std::string& prefix = list.items[i].prefix;
            if (!present_[i] && !prefix.empty() && prefix[0] == rest[0] && rest.starts_with(prefix)) {
                present_[i] = 1;
                --left;
            }
        }
    };
    const auto* in = reinterpret_cast<const unsigned char*>(line.data());
    std::size_t at = 0;
#ifdef __SSE2__
    // Sixteen positions at a time, each compared with every head's first
    // byte and the next with its second.
    constexpr std::size_t kMostHeads = 8;
    if (list.heads.size() <= kMostHeads) {
        __m128i firsts[kMostHeads];
        __m128i seconds[kMostHeads];
        const std::size_t heads = list.heads.size();
        for (std::size_t h = 0; h < heads; ++h) {
            const std::string& head = list.heads[h];
            firsts[h] = _mm_set1_epi8(head[0]);
            seconds[h] = _mm_set1_epi8(head.size() > 1 ? head[1] : '\0');
        }
        // bytes holds the sixteen positions from at and the byte after them;
        // the first valid ones are the line's.
        auto block = [&](const unsigned char* bytes, unsigned valid) {
            const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
            const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 1));
            unsigned mask = 0;
            for (std::size_t h = 0; h < heads; ++h) {
                __m128i found = _mm_cmpeq_epi8(here, firsts[h]);
                if (list.heads[h].size() > 1)
                    found = _mm_and_si128(found, _mm_cmpeq_epi8(next, seconds[h]));
                mask |= unsigned(_mm_movemask_epi8(found));
            }
            mask &= (1u << valid) - 1;
            for (; mask != 0 && left > 0; mask &= mask - 1)
                checkAt(at + std::size_t(__builtin_ctz(mask)));
        };
        for (; left > 0 && at + 17 <= line.size(); at += 16)
            block(in + at, 16);
        if (left > 0 && at < line.size()) {
            // The last sixteen or fewer, from a copy with room after them.
            unsigned char last[17] = {};
            const std::size_t valid = line.size() - at;
            std::memcpy(last, in + at, valid);
            block(last, static_cast<unsigned>(valid));
            at = line.size();
        }
    }
#endif
    for (; left > 0 && at < line.size(); ++at)
        if (list.headByte[in[at]])
            checkAt(at);
}

void TgmMarkerFinder::search(TList& list, int first, std::string_view line, std::span<const int> offsets,
                             std::vector<TgmMarker>& markers)
{
    findStarts(list, line);
    int index = first;
    for (std::size_t i = 0; i < list.items.size(); ++i) {
        TExpression& e = list.items[i];
        const int number = index++;
        if (!e.regExpr || !present_[i])
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
        search(closing_, static_cast<int>(opening_.items.size()), line, {}, markers);
    if (markers.size() > 1)
        sort(markers);
}

void TgmMarkerFinder::FindFrom(std::string_view line, std::span<const int> offsets, std::vector<TgmMarker>& markers)
{
    markers.clear();
    search(opening_, 0, line, offsets, markers);
    search(closing_, static_cast<int>(opening_.items.size()), line, offsets, markers);
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
