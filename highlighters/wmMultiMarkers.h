// The block markers of one line: where the schemes' opening and closing
// expressions match, found with each expression compiled once.
#pragma once

#include "highlighters/RegExpr.h"

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class TgmSchemes;

// One opening or closing text found in a line.
struct TgmMarker {
    int Scheme = 0;    // the scheme whose expression matched
    int NewScheme = 0; // the scheme it switches to: Scheme when opening, -1 when closing
    int Pos = 0;       // 1-based position of its first character
    int Len = 0; // its text is the line's from Pos on
    int Expr = 0; // the expression that matched: opening ones first, then closing ones
};

class TgmMarkerFinder {
public:
    // Takes the expressions of every usable scheme; an
    // expression that is empty or does not compile finds nothing. Schemes
    // sharing one expression text share its program and its search.
    void Build(const TgmSchemes& schemes);

    // The markers of line, ordered by position; at one position opening
    // markers come before closing ones, each in scheme order. Matches are
    // searched from the end of the previous one (one character on after an
    // empty match), and an empty match gives no marker: it has nothing to show.
    // Closing markers are looked for when closing is set or the line has an
    // opening marker: elsewhere no block can be open.
    void Find(std::string_view line, bool closing, std::vector<TgmMarker>& markers);
    // The same from inside a line: each expression is searched from its own
    // offset, which a line searched from its start passes through (Reaches).
    void FindFrom(std::string_view line, std::span<const int> offsets, std::vector<TgmMarker>& markers);

    // How many expressions there are (opening and closing).
    int Count() const { return static_cast<int>(opening_.items.size() + closing_.items.size()); }
    // How many bytes from its start a marker, or a search for one, reads
    // at most: -1 when some expression has no such bound.
    int Reach() const { return reach_; }
    // Appends, per expression, how far past pos the line's marker found by it
    // that starts before pos reaches (0 for none); the search from there on
    // finds the markers the line's has from pos on. markers are the line's.
    void Reaches(const std::vector<TgmMarker>& markers, int pos, std::vector<int>& reaches) const;

private:
    struct TUse {
        int scheme;
        int newScheme;
    };
    struct TExpression {
        std::string text;
        std::unique_ptr<TRegExpr> regExpr; // none when the text does not compile
        std::string prefix;                 // the text its every match begins with, if certain
        bool literal = false;               // every match is the prefix: no program need run
        std::vector<TUse> uses;
    };
    // A distinct head (first two bytes, or the one of a one-byte prefix) of
    // the prefixes, with the expressions whose prefix begins with it.
    struct THead {
        std::string bytes;
        std::vector<std::size_t> items;
    };
    // The heads as the quick look compares them, sixteen positions at once:
    // per head its first byte, its second (any byte, for a one-byte head).
    static constexpr std::size_t kMostHeads = 8;
    struct TLanes {
        std::array<std::array<unsigned char, 16>, kMostHeads> first{};
        std::array<std::array<unsigned char, 16>, kMostHeads> second{};
        std::array<std::array<unsigned char, 16>, kMostHeads> anySecond{};
    };
    struct TList {
        std::vector<TExpression> items;
        std::vector<THead> heads;
        std::array<bool, 256> headByte{};
        std::size_t withPrefix = 0;      // how many have one
        TLanes lanes;                    // for at most kMostHeads heads
    };
    static void addUse(TList& list, const std::string& text, TUse use);
    static void setLanes(TList& list);
    // Marks in seen_ which expressions of list with a prefix occur in line,
    // those that can match there; false when no expression of list can. One
    // pass over the line for the heads of all spares most lines the full
    // search of every expression.
    bool findStarts(const TList& list, std::string_view line);
    // Whether expression i of list can match in the line findStarts looked at.
    bool mayMatch(const TList& list, std::size_t i) const;
    // Searches the expressions of list, numbered from first on, each from
    // its offset in offsets (from the line's start when there are none).
    void search(TList& list, int first, std::string_view line, std::span<const int> offsets,
                std::vector<TgmMarker>& markers);
    static void sort(std::vector<TgmMarker>& markers);

    TList opening_;
    TList closing_;
    // Per expression of a list, the look (of findStarts) that saw its
    // prefix: no look clears what an earlier one saw.
    std::vector<std::uint32_t> seen_;
    std::uint32_t look_ = 0;
    int reach_ = 0;
};
