// Colour rules of the colour memo: parsing of keyword and marker lists, the
// matchers that turn a text into coloured spans, and the merge of overlapping
// spans by priority. Plain functions and classes over 8-bit text.
#pragma once

#include "editor/Colors.h"
#include "platform/TStringList.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QObject;

namespace vx {

enum TKeyDrawingType { dtKeyShow, dtEventDraw, dtBeginEnd, dtBeginLineEnd };

// One coloured span: inclusive character offsets into the memo text.
struct TKeyDescr {
    static constexpr std::int32_t Unused = 2147483647;
    std::int32_t Start = Unused;
    std::int32_t End = Unused;
    TColor Color = clBlack;
    std::uint8_t Order = 0;
    std::uint8_t Key = 0;
};

// Priorities above any rule's: hot-spot text and markers, selection, tabs.
constexpr std::uint8_t kOrderHotText = 252;
constexpr std::uint8_t kOrderHotMarker = 253;
constexpr std::uint8_t kOrderSelection = 254;
constexpr std::uint8_t kOrderTab = 255;

// Colour of a list item's colour part: one of the 16 standard names, or a
// hexadecimal RRGGBB with or without "#" or "$"; empty gives fallback.
// Throws EConvertError for anything else.
TColor ParseRuleColor(std::string_view text, TColor fallback);

class TColorRule {
public:
    using TDrawEvent = std::function<void(const TColorRule& Sender, int FromPos, std::vector<TKeyDescr>& A, int& ItemsCount)>;

    // The changed notice reaches the memo that owns the rule's collection.
    explicit TColorRule(std::function<void()> changed = {});

    TKeyDrawingType KeyDrawingType() const { return type_; }
    void SetKeyDrawingType(TKeyDrawingType value) { Set(type_, value); }
    const TStrings& Keywords() const { return keywords_; }
    void SetKeywords(const TStrings& value);
    const TStrings& KeyBegEndLst() const { return begEnd_; }
    void SetKeyBegEndLst(const TStrings& value);
    const TStrings& KeyLineEndLst() const { return lineEnd_; }
    void SetKeyLineEndLst(const TStrings& value);
    bool KeyCase() const { return keyCase_; }
    void SetKeyCase(bool value) { Set(keyCase_, value); }
    bool PartWord() const { return partWord_; }
    void SetPartWord(bool value) { Set(partWord_, value); }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value) { Set(enabled_, value); }
    std::uint8_t ZOrder() const { return zOrder_; }
    void SetZOrder(std::uint8_t value) { Set(zOrder_, value); }
    int KeyMaxHeight() const { return keyMaxHeight_; }
    void SetKeyMaxHeight(int value) { Set(keyMaxHeight_, value); }
    TColor DefKeyColor() const { return defKeyColor_; }
    void SetDefKeyColor(TColor value) { Set(defKeyColor_, value); }
    TColor KeySelColor() const { return keySelColor_; }
    void SetKeySelColor(TColor value) { Set(keySelColor_, value); }
    TColor KeyBrushColor() const { return keyBrushColor_; }
    void SetKeyBrushColor(TColor value) { Set(keyBrushColor_, value); }
    const std::string& IntChar() const { return intChar_; }
    void SetIntChar(const std::string& value) { Set(intChar_, value); }

    void Assign(const TColorRule& source);
    // Re-parses the lists the rule's matcher uses; true when it has entries.
    bool Rebuild();
    bool HasEntries() const { return !keywords.empty() || !markers.empty(); }

    // Appends the spans this rule finds in text[from, to] (clamped to the text).
    void Match(std::string_view text, int from, int to, std::vector<TKeyDescr>& spans) const;

    // Parsed tables, exposed for the memo's painting and for inspection.
    struct Keyword {
        std::string Text;
        int Slot = 0; // 1-based index into ColorTable
    };
    struct Marker {
        std::string Begin;
        std::string End;
        TColor Color = clRed;
    };
    std::vector<Keyword> keywords;
    std::vector<TColor> colorTable; // at most 41
    std::vector<Marker> markers;    // at most 40

private:
    template <typename T> void Set(T& field, const T& value)
    {
        if (field == value)
            return;
        field = value;
        if (changed_)
            changed_();
    }
    void ParseKeywords(const TStrings& list);
    void ParseBegEnd(const TStrings& list);
    void ParseLineEnd(const TStrings& list);
    void MatchKeywords(std::string_view text, int from, int to, std::vector<TKeyDescr>& spans) const;
    void MatchMarkers(std::string_view text, int from, int to, bool toLineEnd, std::vector<TKeyDescr>& spans) const;

    std::function<void()> changed_;
    TKeyDrawingType type_ = dtBeginEnd;
    TStringList keywords_;
    TStringList begEnd_;
    TStringList lineEnd_;
    bool keyCase_ = false;
    bool partWord_ = false;
    bool enabled_ = true;
    std::uint8_t zOrder_ = 0;
    int keyMaxHeight_ = 1;
    TColor defKeyColor_ = clRed;
    TColor keySelColor_ = clYellow;
    TColor keyBrushColor_ = clWindow;
    std::string intChar_;
};

// The memo's rules, in collection order.
class TDrawRules {
public:
    explicit TDrawRules(std::function<void()> changed = {}) : changed_(std::move(changed)) {}

    TColorRule& Add();
    int Count() const { return static_cast<int>(rules_.size()); }
    TColorRule& Items(int index) { return *rules_.at(static_cast<std::size_t>(index)); }
    const TColorRule& Items(int index) const { return *rules_.at(static_cast<std::size_t>(index)); }
    void Delete(int index);
    void Clear();
    void Assign(const TDrawRules& source);

    // Re-parses every rule when the rebuild flag is set; the flag stays set
    // only while no rule has any entries.
    void RebuildIfNeeded();
    bool NeedsRebuild() const { return rebuild_; }

private:
    std::function<void()> changed_;
    std::vector<std::unique_ptr<TColorRule>> rules_;
    bool rebuild_ = true;
};

// Hot spots: text between two marker characters.
struct THotSpot {
    char BeginChar = '\x1E';
    char EndChar = '\x1F';
    TColor Color = clBlue;
    TColor MarkerColor = clWindow;
    bool Active = false;
    bool Underlined = true;

    bool operator==(const THotSpot&) const = default;
    // Appends the marker and text spans found in text[from, to].
    void Match(std::string_view text, int from, int to, std::vector<TKeyDescr>& spans) const;
    // Whether the character at pos lies before an end marker on its line
    // (with no begin marker first, when the two differ).
    bool IsOver(std::string_view text, int pos) const;
    // The hot-spot text around pos: from after the nearest begin marker before
    // pos (or the line start) up to the next end marker.
    std::string TextAt(std::string_view text, int pos) const;
};

// Merges spans in collection order: a span takes a character wherever its
// order is not below the one there. Returns runs of equal colour, order and
// keyword flag, in text order. Spans outside [0, textLength) are clipped.
std::vector<TKeyDescr> MergeSpans(const std::vector<TKeyDescr>& spans, int textLength);

} // namespace vx
