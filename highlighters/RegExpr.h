// TRegExpr: the regular-expression engine the multi-language highlighter finds
// block markers with. UTF-8 text, case-sensitive, first match only.
//
// Syntax: alternatives "|", groups "(...)" (at most nine), "*", "+", "?" after
// an atom, "^" and "$" for the start and end of the input, ".", sets "[...]"
// and "[^...]", and the escapes \d \D \w \W \n \r \t \e \xHH. Errors raise
// Exception with fixed English messages.
//
// ".", sets, "\D" and "\W" take a whole character; sets hold code points, and
// a quantifier after a literal repeats its last character. "\xHH" names the
// Windows-1252 character of byte HH (so [\xC0-\xFF] holds À..ÿ, and \x80 is
// €), as does a byte of the expression that begins no well-formed UTF-8
// sequence inside a set; outside a set such a byte matches itself. \d and \w
// stay ASCII.
#pragma once

#include "highlighters/RegExprMatcher.h"
#include "highlighters/RegExprProgram.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TRegExpr {
public:
    TRegExpr() = default;
    virtual ~TRegExpr() = default;
    TRegExpr(const TRegExpr&) = delete;
    TRegExpr& operator=(const TRegExpr&) = delete;

    const std::string& Expression() const { return expression_; }
    // Compiles a changed, non-empty text at once and raises its syntax error;
    // after an error, or for an empty text, no program is kept and Exec
    // reports "Not assigned expression property".
    void SetExpression(std::string_view expression);

    // Searches the input for the first match. False when there is none.
    bool Exec(std::string_view input);

    // 1-based position and length of sub-expression n (0 = the whole match,
    // 1..9 the groups by their "("); -1 when n is out of range, the last Exec
    // failed, or the group took no part. A group inside a loop reports its
    // last repetition.
    int MatchPos(int n) const;
    int MatchLen(int n) const;
    // How many sub-expressions from 0 upwards matched before the first that did not.
    int SubExprMatchCount() const;
    // How many bytes from where it starts a match (or an attempt at one)
    // reads at most: -1 without an expression, with a repeat or an anchor.
    // Where it is known, a search of part of a text finds the matches that
    // start at least that far before the part's end as a search of the whole does.
    int Reach() const { return program_ ? program_->reach : -1; }
    // The text every match begins with: empty when none is certain.
    const std::string& Prefix() const;

    // When set, the set ranges 0xE0-0xFF, 0xC0-0xDF and 0xE0-0xDF (à-ÿ, À-ß
    // and à-ß) stand for the lower-case, upper-case and all letters of
    // Windows-1252's upper half, as the characters they are (š, Œ, ÿ, Ÿ ...).
    std::uint8_t ExtendedCharClasses = 1;

protected:
    // Raises Exception with the message.
    virtual void Error(const std::string& message);

private:
    bool takingPart(int n) const;
    std::shared_ptr<const vx::regexpr::Program> compiled(const std::string& expression);

    struct CompiledExpression {
        std::string text;
        bool extended;
        std::shared_ptr<const vx::regexpr::Program> program;
    };
    static constexpr std::size_t kRecentPrograms = 16;
    std::vector<CompiledExpression> recent_;
    std::size_t nextRecent_ = 0;

    std::string expression_;
    std::shared_ptr<const vx::regexpr::Program> program_; // none: no expression compiled
    vx::regexpr::Matcher matcher_;
    vx::regexpr::Captures captures_;
    bool matched_ = false;
};
