// Parsing, matching and merging of the colour memo's rules.
#include "controls/colormemo/ColMemoRules.h"

#include "platform/AnsiText.h"
#include "platform/Exception.h"

#include <algorithm>
#include <array>
#include <utility>

namespace vx {

namespace {

constexpr std::size_t kMaxColors = 41;
constexpr std::size_t kMaxMarkers = 40;
constexpr std::size_t kMarkerLength = 6;

constexpr std::array<std::pair<std::string_view, TColor>, 16> kStandardColors{{
    {"BLACK", clBlack}, {"MAROON", clMaroon}, {"GREEN", clGreen}, {"OLIVE", clOlive},
    {"NAVY", clNavy},   {"PURPLE", clPurple}, {"TEAL", clTeal},   {"GRAY", clGray},
    {"SILVER", clSilver}, {"RED", clRed},     {"LIME", clLime},   {"YELLOW", clYellow},
    {"BLUE", clBlue},   {"FUCHSIA", clFuchsia}, {"AQUA", clAqua}, {"WHITE", clWhite},
}};

int Clamp(int value, int low, int high)
{
    return std::max(low, std::min(value, high));
}

bool IsWordChar(std::string_view text, int pos)
{
    if (pos < 0 || pos >= static_cast<int>(text.size()))
        return false;
    const auto c = static_cast<unsigned char>(text[static_cast<std::size_t>(pos)]);
    // A byte above 127 is part of a letter of the UTF-8 text.
    return c == '@' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 0x80;
}

int LineEnd(std::string_view text, int pos)
{
    const auto at = text.find('\n', static_cast<std::size_t>(pos));
    return at == std::string_view::npos ? static_cast<int>(text.size()) : static_cast<int>(at);
}

} // namespace

TColor ParseRuleColor(std::string_view text, TColor fallback)
{
    std::string value = AnsiUpperCase(Trim(text));
    if (value.empty())
        return fallback;
    for (const auto& [name, color] : kStandardColors)
        if (value == name)
            return color;
    if (value[0] == '#')
        value.erase(0, 1);
    if (!value.empty() && value[0] == '$')
        value.erase(0, 1);
    if (value.empty() || value.size() > 8)
        throw EConvertError("'" + std::string(text) + "' is not a valid colour");
    std::uint32_t v = 0;
    for (char c : value) {
        const int d = DigitValue(c, 16);
        if (d < 0)
            throw EConvertError("'" + std::string(text) + "' is not a valid colour");
        v = v * 16 + static_cast<std::uint32_t>(d);
    }
    return (v & 0xFF00FF00u) | ((v >> 16) & 0xFFu) | ((v & 0xFFu) << 16);
}

TColorRule::TColorRule(std::function<void()> changed) : changed_(std::move(changed)) {}

void TColorRule::SetKeywords(const TStrings& value)
{
    ParseKeywords(value);
    keywords_.Assign(value);
    if (changed_)
        changed_();
}

void TColorRule::SetKeyBegEndLst(const TStrings& value)
{
    ParseBegEnd(value);
    begEnd_.Assign(value);
    if (changed_)
        changed_();
}

void TColorRule::SetKeyLineEndLst(const TStrings& value)
{
    ParseLineEnd(value);
    lineEnd_.Assign(value);
    if (changed_)
        changed_();
}

// Tables are built aside and taken only when the whole list parsed, so a bad
// colour leaves the rule as it was.
void TColorRule::ParseKeywords(const TStrings& list)
{
    std::vector<Keyword> words;
    std::vector<TColor> table;
    int lastSlot = 0;
    for (int i = 0; i < list.Count(); ++i) {
        const std::string& item = list[i];
        const auto semi = item.find(';');
        const std::string word = item.substr(0, semi);
        if (Trim(word).empty())
            continue;
        const TColor color =
            ParseRuleColor(semi == std::string::npos ? std::string_view() : std::string_view(item).substr(semi + 1),
                           defKeyColor_);
        int slot;
        const auto known = std::find(table.begin(), table.end(), color);
        if (known != table.end())
            slot = static_cast<int>(known - table.begin()) + 1;
        else if (table.size() < kMaxColors) {
            table.push_back(color);
            slot = static_cast<int>(table.size());
        } else
            slot = lastSlot;
        lastSlot = slot;
        words.push_back({keyCase_ ? word : AnsiUpperCase(word), slot});
    }
    keywords = std::move(words);
    colorTable = std::move(table);
}

void TColorRule::ParseBegEnd(const TStrings& list)
{
    std::vector<Marker> table;
    for (int i = 0; i < std::min(list.Count(), static_cast<int>(kMaxMarkers)); ++i) {
        const std::string& item = list[i];
        const auto first = item.find(';');
        if (first == std::string::npos || first == 0)
            continue;
        const auto second = item.find(';', first + 1);
        Marker m;
        m.Begin = item.substr(0, std::min(first, kMarkerLength));
        const std::string end = item.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
        m.End = end.substr(0, kMarkerLength);
        m.Color = ParseRuleColor(second == std::string::npos ? std::string_view() : std::string_view(item).substr(second + 1),
                                 defKeyColor_);
        table.push_back(std::move(m));
    }
    markers = std::move(table);
}

void TColorRule::ParseLineEnd(const TStrings& list)
{
    std::vector<Marker> table;
    for (int i = 0; i < std::min(list.Count(), static_cast<int>(kMaxMarkers)); ++i) {
        const std::string& item = list[i];
        Marker m;
        std::string_view colorPart;
        if (item.rfind(";;", 0) == 0) {
            m.Begin = ";";
            colorPart = std::string_view(item).substr(2);
        } else {
            const auto semi = item.find(';');
            m.Begin = item.substr(0, semi);
            if (semi != std::string::npos)
                colorPart = std::string_view(item).substr(semi + 1);
        }
        // An empty marker would match everywhere without advancing.
        if (m.Begin.empty())
            continue;
        m.Begin.resize(std::min(m.Begin.size(), kMarkerLength));
        m.Color = ParseRuleColor(colorPart, defKeyColor_);
        table.push_back(std::move(m));
    }
    markers = std::move(table);
}

void TColorRule::Assign(const TColorRule& source)
{
    if (&source == this)
        return;
    type_ = source.type_;
    zOrder_ = source.zOrder_;
    keyMaxHeight_ = source.keyMaxHeight_;
    keyCase_ = source.keyCase_;
    enabled_ = source.enabled_;
    partWord_ = source.partWord_;
    defKeyColor_ = source.defKeyColor_;
    keyBrushColor_ = source.keyBrushColor_;
    keywords_.Assign(source.keywords_);
    begEnd_.Assign(source.begEnd_);
    lineEnd_.Assign(source.lineEnd_);
    keywords = source.keywords;
    colorTable = source.colorTable;
    markers = source.markers;
    if (changed_)
        changed_();
}

bool TColorRule::Rebuild()
{
    ParseBegEnd(begEnd_);
    if (type_ == dtKeyShow)
        ParseKeywords(keywords_);
    else if (type_ == dtBeginLineEnd)
        ParseLineEnd(lineEnd_);
    return HasEntries();
}

void TColorRule::Match(std::string_view text, int from, int to, std::vector<TKeyDescr>& spans) const
{
    const int length = static_cast<int>(text.size());
    if (length == 0)
        return;
    from = Clamp(from, 0, length - 1);
    to = Clamp(to, from, length - 1);
    switch (type_) {
    case dtKeyShow:
        MatchKeywords(text, from, to, spans);
        break;
    case dtBeginEnd:
        MatchMarkers(text, from, to, false, spans);
        break;
    case dtBeginLineEnd:
        MatchMarkers(text, from, to, true, spans);
        break;
    case dtEventDraw:
        break; // the memo calls OnDraw for these
    }
}

void TColorRule::MatchKeywords(std::string_view text, int from, int to, std::vector<TKeyDescr>& spans) const
{
    const std::string upper = keyCase_ ? std::string() : AnsiUpperCase(text.substr(0, static_cast<std::size_t>(to) + 1));
    const std::string_view hay = keyCase_ ? text.substr(0, static_cast<std::size_t>(to) + 1) : std::string_view(upper);
    for (const Keyword& word : keywords) {
        const TColor color = word.Slot >= 1 && word.Slot <= static_cast<int>(colorTable.size())
                                 ? colorTable[static_cast<std::size_t>(word.Slot - 1)]
                                 : defKeyColor_;
        const int len = static_cast<int>(word.Text.size());
        for (auto at = hay.find(word.Text, static_cast<std::size_t>(from)); at != std::string_view::npos;
             at = hay.find(word.Text, at + 1)) {
            const int pos = static_cast<int>(at);
            if (!partWord_ && (IsWordChar(text, pos - 1) || IsWordChar(text, pos + len)))
                continue;
            spans.push_back({pos, pos + len - 1, color, zOrder_, 1});
        }
    }
}

void TColorRule::MatchMarkers(std::string_view text, int from, int to, bool toLineEnd,
                              std::vector<TKeyDescr>& spans) const
{
    const std::string_view hay = text.substr(0, static_cast<std::size_t>(to) + 1);
    std::size_t pos = static_cast<std::size_t>(from);
    while (pos < hay.size()) {
        const Marker* best = nullptr;
        std::size_t bestAt = std::string_view::npos;
        for (const Marker& m : markers) {
            const auto at = hay.find(m.Begin, pos);
            if (at < bestAt) {
                bestAt = at;
                best = &m;
            }
        }
        if (!best)
            return;
        const auto afterBegin = bestAt + best->Begin.size();
        std::size_t spanEnd;
        if (toLineEnd) {
            const int lineEnd = LineEnd(hay, static_cast<int>(afterBegin));
            spanEnd = static_cast<std::size_t>(std::max(lineEnd - 1, static_cast<int>(bestAt)));
            pos = static_cast<std::size_t>(lineEnd);
        } else {
            const auto endAt = hay.find(best->End, afterBegin);
            if (endAt == std::string_view::npos)
                return;
            const std::size_t after = endAt + best->End.size();
            spanEnd = std::max(after, afterBegin) - 1;
            pos = std::max(after, afterBegin);
        }
        spans.push_back({static_cast<std::int32_t>(bestAt), static_cast<std::int32_t>(spanEnd), best->Color, zOrder_, 0});
    }
}

TColorRule& TDrawRules::Add()
{
    rules_.push_back(std::make_unique<TColorRule>(changed_));
    if (changed_)
        changed_();
    return *rules_.back();
}

void TDrawRules::Delete(int index)
{
    rules_.erase(rules_.begin() + Clamp(index, 0, Count() - 1));
    if (changed_)
        changed_();
}

void TDrawRules::Clear()
{
    rules_.clear();
    if (changed_)
        changed_();
}

void TDrawRules::Assign(const TDrawRules& source)
{
    if (&source == this)
        return;
    rules_.clear();
    for (const auto& rule : source.rules_) {
        rules_.push_back(std::make_unique<TColorRule>(changed_));
        rules_.back()->Assign(*rule);
    }
    if (changed_)
        changed_();
}

void TDrawRules::RebuildIfNeeded()
{
    if (!rebuild_)
        return;
    bool any = false;
    for (const auto& rule : rules_)
        any = rule->Rebuild() || any;
    rebuild_ = !any;
}

void THotSpot::Match(std::string_view text, int from, int to, std::vector<TKeyDescr>& spans) const
{
    if (!Active || BeginChar == '\0')
        return;
    const std::string_view hay = text.substr(0, std::min(text.size(), static_cast<std::size_t>(std::max(to, -1) + 1)));
    std::size_t pos = static_cast<std::size_t>(std::max(from, 0));
    while (pos < hay.size()) {
        const auto b = hay.find(BeginChar, pos);
        if (b == std::string_view::npos)
            return;
        const auto e = hay.find(EndChar, b + 1);
        if (e == std::string_view::npos)
            return;
        const auto bi = static_cast<std::int32_t>(b);
        const auto ei = static_cast<std::int32_t>(e);
        spans.push_back({bi, bi, MarkerColor, kOrderHotMarker, 0});
        spans.push_back({ei, ei, MarkerColor, kOrderHotMarker, 0});
        if (ei > bi + 1)
            spans.push_back({bi + 1, ei - 1, Color, kOrderHotText, 0});
        pos = e + 1;
    }
}

bool THotSpot::IsOver(std::string_view text, int pos) const
{
    if (!Active || pos < 0)
        return false;
    for (auto i = static_cast<std::size_t>(pos); i < text.size() && text[i] != '\n'; ++i) {
        if (text[i] == EndChar)
            return true;
        if (text[i] == BeginChar && BeginChar != EndChar)
            return false;
    }
    return false;
}

std::string THotSpot::TextAt(std::string_view text, int pos) const
{
    const int length = static_cast<int>(text.size());
    pos = Clamp(pos, 0, length);
    int start = pos;
    while (start > 0 && text[static_cast<std::size_t>(start - 1)] != '\n' &&
           text[static_cast<std::size_t>(start - 1)] != BeginChar)
        --start;
    auto end = text.find(EndChar, static_cast<std::size_t>(pos));
    const auto lineEnd = static_cast<std::size_t>(LineEnd(text, pos));
    if (end == std::string_view::npos || end > lineEnd)
        end = lineEnd;
    return std::string(text.substr(static_cast<std::size_t>(start), end - static_cast<std::size_t>(start)));
}

std::vector<TKeyDescr> MergeSpans(const std::vector<TKeyDescr>& spans, int textLength)
{
    int low = textLength;
    int high = -1;
    for (const TKeyDescr& s : spans) {
        if (s.Start == TKeyDescr::Unused || s.Start > s.End || s.End < 0 || s.Start >= textLength)
            continue;
        low = std::min(low, std::max(s.Start, 0));
        high = std::max(high, std::min(s.End, textLength - 1));
    }
    std::vector<TKeyDescr> runs;
    if (high < low)
        return runs;
    struct Cell {
        bool Set = false;
        TColor Color = 0;
        std::uint8_t Order = 0;
        std::uint8_t Key = 0;
    };
    std::vector<Cell> map(static_cast<std::size_t>(high - low + 1));
    for (const TKeyDescr& s : spans) {
        if (s.Start == TKeyDescr::Unused || s.Start > s.End || s.End < low || s.Start > high)
            continue;
        for (int c = std::max(s.Start, low); c <= std::min(s.End, high); ++c) {
            Cell& cell = map[static_cast<std::size_t>(c - low)];
            if (cell.Set && s.Order < cell.Order)
                continue;
            cell = {true, s.Color, s.Order, s.Key};
        }
    }
    for (int c = low; c <= high; ++c) {
        const Cell& cell = map[static_cast<std::size_t>(c - low)];
        if (!cell.Set)
            continue;
        if (!runs.empty() && runs.back().End == c - 1 && runs.back().Color == cell.Color &&
            runs.back().Order == cell.Order && runs.back().Key == cell.Key)
            runs.back().End = c;
        else
            runs.push_back({c, c, cell.Color, cell.Order, cell.Key});
    }
    return runs;
}

} // namespace vx
