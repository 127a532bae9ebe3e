// Finding the block markers of a line.
#include "highlighters/wmMultiMarkers.h"

#include "editor/mwHighlighter.h"
#include "highlighters/wmMultiSchemes.h"
#include "platform/Exception.h"
#include "platform/Utf8.h"

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
    TExpression e{text, nullptr, {}, false, {use}};
    if (!text.empty()) {
        try {
            auto regExpr = std::make_unique<TRegExpr>();
            regExpr->SetExpression(text);
            e.prefix = regExpr->Prefix();
            // A match begins with the prefix and reads no more than the reach.
            e.literal = !e.prefix.empty() && regExpr->Reach() == static_cast<int>(e.prefix.size());
            e.regExpr = std::move(regExpr);
        } catch (const Exception&) {
            // A scheme the user got wrong colours nothing rather than stopping the editor.
        }
    }
    if (!e.prefix.empty()) {
        ++list.withPrefix;
        const std::string head = e.prefix.substr(0, 2);
        auto at = std::find_if(list.heads.begin(), list.heads.end(), [&](const THead& h) { return h.bytes == head; });
        if (at == list.heads.end())
            at = list.heads.insert(list.heads.end(), THead{head, {}});
        at->items.push_back(list.items.size());
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
    setLanes(opening_);
    setLanes(closing_);
    seen_.assign(std::max(opening_.items.size(), closing_.items.size()), 0);
    look_ = 0;
    reach_ = 0;
    for (const TList* list : {&opening_, &closing_})
        for (const TExpression& e : list->items) {
            const int reach = e.regExpr ? e.regExpr->Reach() : 0;
            reach_ = reach < 0 || reach_ < 0 ? -1 : std::max(reach_, reach);
        }
}

void TgmMarkerFinder::setLanes(TList& list)
{
    list.lanes = {};
    for (std::size_t h = 0; h < list.heads.size() && h < kMostHeads; ++h) {
        const std::string& bytes = list.heads[h].bytes;
        list.lanes.first[h].fill(static_cast<unsigned char>(bytes[0]));
        list.lanes.second[h].fill(bytes.size() > 1 ? static_cast<unsigned char>(bytes[1]) : 0);
        list.lanes.anySecond[h].fill(bytes.size() > 1 ? 0 : 0xFF);
    }
}

bool TgmMarkerFinder::findStarts(const TList& list, std::string_view line)
{
    if (++look_ == 0) {
        std::fill(seen_.begin(), seen_.end(), 0);
        look_ = 1;
    }
    std::size_t left = list.withPrefix;
    auto checkAt = [&](std::size_t at) {
        const std::string_view rest = line.substr(at);
        for (const THead& head : list.heads)
            if (rest.starts_with(head.bytes))
                for (std::size_t i : head.items)
                    if (seen_[i] != look_ && rest.starts_with(list.items[i].prefix)) {
                        seen_[i] = look_;
                        --left;
                    }
    };
    const auto* in = reinterpret_cast<const unsigned char*>(line.data());
    std::size_t at = 0;
#ifdef __SSE2__
    const std::size_t heads = list.heads.size();
    if (left > 0 && heads <= kMostHeads && line.size() > 1) {
        auto lane = [](const std::array<unsigned char, 16>& bytes) {
            return _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data()));
        };
        // The positions of the sixteen from bytes where a head begins; the
        // byte after them is read too.
        auto candidates = [&](const unsigned char* bytes) {
            const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
            const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 1));
            __m128i found = _mm_setzero_si128();
            for (std::size_t h = 0; h < heads; ++h) {
                const __m128i second =
                    _mm_or_si128(_mm_cmpeq_epi8(next, lane(list.lanes.second[h])), lane(list.lanes.anySecond[h]));
                found = _mm_or_si128(found, _mm_and_si128(_mm_cmpeq_epi8(here, lane(list.lanes.first[h])), second));
            }
            return unsigned(_mm_movemask_epi8(found));
        };
        auto visit = [&](unsigned mask, std::size_t base) {
            for (; mask != 0 && left > 0; mask &= mask - 1)
                checkAt(base + std::size_t(__builtin_ctz(mask)));
        };
        for (; left > 0 && at + 17 <= line.size(); at += 16)
            visit(candidates(in + at), at);
        if (left > 0 && at + 1 < line.size()) {
            if (line.size() >= 17) {
                // The last block ends one byte before the line's end, over
                // positions looked at already; the last byte is left below.
                const std::size_t base = line.size() - 17;
                visit(candidates(in + base) & ~((1u << (at - base)) - 1), base);
            } else {
                unsigned char copy[17] = {};
                std::memcpy(copy, in, line.size());
                visit(candidates(copy) & ((1u << (line.size() - 1)) - 1), 0);
            }
            at = line.size() - 1;
        }
    }
#endif
    for (; left > 0 && at < line.size(); ++at)
        if (list.headByte[in[at]])
            checkAt(at);
    return left < list.withPrefix || list.withPrefix < list.items.size();
}

bool TgmMarkerFinder::mayMatch(const TList& list, std::size_t i) const
{
    return list.items[i].prefix.empty() || seen_[i] == look_;
}

void TgmMarkerFinder::search(TList& list, int first, std::string_view line, std::span<const int> offsets,
                             std::vector<TgmMarker>& markers)
{
    if (!findStarts(list, line))
        return;
    int index = first;
    for (std::size_t i = 0; i < list.items.size(); ++i) {
        TExpression& e = list.items[i];
        const int number = index++;
        if (!e.regExpr || !mayMatch(list, i))
            continue;
        size_t offset = offsets.empty() ? 0 : static_cast<size_t>(offsets[static_cast<size_t>(number)]);
        while (offset < line.size()) {
            size_t pos = 0;
            size_t len = 0;
            if (e.literal) {
                pos = line.find(e.prefix, offset);
                if (pos == std::string_view::npos)
                    break;
                len = e.prefix.size();
            } else {
                bool found = false;
                try {
                    found = e.regExpr->Exec(line.substr(offset));
                } catch (const Exception&) {
                    found = false;
                }
                if (!found)
                    break;
                pos = offset + static_cast<size_t>(e.regExpr->MatchPos(0) - 1);
                len = static_cast<size_t>(e.regExpr->MatchLen(0));
            }
            if (len > 0)
                for (const TUse& use : e.uses)
                    markers.push_back(
                        TgmMarker{use.scheme, use.newScheme, static_cast<int>(pos + 1), static_cast<int>(len), number});
            offset = len > 0 ? pos + len : vx::utf8::NextChar(line, pos);
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
