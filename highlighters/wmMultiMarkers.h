// The block markers of one line: where the schemes' opening and closing
// expressions match, found with each expression compiled once.
#pragma once

#include "highlighters/RegExpr.h"

#include <memory>
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
    // Closing markers are only looked for when they can matter: when the line
    // starts inside a block or has an opening marker.
    void Find(std::string_view line, bool startsInBlock, std::vector<TgmMarker>& markers);

private:
    struct TUse {
        int scheme;
        int newScheme;
    };
    struct TExpression {
        std::string text;
        std::unique_ptr<TRegExpr> regExpr; // none when the text does not compile
        std::vector<TUse> uses;
    };
    static void addUse(std::vector<TExpression>& list, const std::string& text, TUse use);
    static void search(std::vector<TExpression>& list, std::string_view line, std::vector<TgmMarker>& markers);

    std::vector<TExpression> opening_;
    std::vector<TExpression> closing_;
};
