// The entries of the tag lists and the texts the tag tools and typing rules
// build: a pair is written with a colon where the selection belongs.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vx::shell {

struct TTagEntry {
    std::string Text; // the entry without its split colon
    int Back = 0;     // characters after the split point
    bool Pair = false; // false: the entry holds no colon
};

// Splits at the last colon; an entry without one is a single text.
TTagEntry SplitTagEntry(std::string_view entry);

// What a double click on an entry of the HTML list starts when the wizards
// are on. Comparison ignores letter case.
enum class TTagWizard {
    None,
    Strong,       // "<B>:</B>", when <b> is written <strong>
    Center,       // "<CENTER>:</CENTER>", when <center> is written <p align=center>
    Mailto,
    Sound,
    AddLink,
    AddImage,
    Remark,
    Table,
    FontSelector,
    Marquee,
    Meta,
};
TTagWizard MatchTagWizard(std::string_view entry, bool boldAsStrong, bool centerAsParagraph);

// "<font color="#RRGGBB"></font>" for a colour stored red in the low byte.
std::string FontColorTag(std::uint32_t color);
std::string FontFaceTag(std::string_view face);
// Size item 1..7 of the quick font-size box; empty for "normal" (0) and anything else.
std::string FontSizeTag(int item);

// The paragraph tag of Ctrl+Enter for the alignment choice shown ("Default",
// "align=center", ..., or empty).
std::string ParagraphTag(std::string_view alignment);

} // namespace vx::shell
