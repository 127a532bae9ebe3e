// TRegExpr: compiles on assignment, searches with the backtracking matcher.
#include "highlighters/RegExpr.h"

#include "highlighters/RegExprCompiler.h"
#include "platform/Exception.h"

void TRegExpr::Error(const std::string& message) { throw Exception(message); }

void TRegExpr::SetExpression(std::string_view expression)
{
    if (expression == expression_)
        return;
    expression_ = expression;
    program_ = {};
    matched_ = false;
    if (!expression_.empty())
        program_ = vx::regexpr::CompileRegExpr(expression_, ExtendedCharClasses != 0);
}

bool TRegExpr::Exec(std::string_view input)
{
    using vx::regexpr::Matcher;
    matched_ = false;
    captures_.Clear();
    if (program_.code.empty()) {
        Error("Not assigned expression property");
        return false;
    }
    switch (matcher_.Search(program_, input, captures_)) {
    case Matcher::Result::Match:
        matched_ = true;
        return true;
    case Matcher::Result::NoMatch:
        return false;
    case Matcher::Result::MemoryCorruption:
        Error("MatchPrim: Memory corruption");
        break;
    case Matcher::Result::CorruptedPointers:
        Error("MatchPrim: Corrupted pointers");
        break;
    case Matcher::Result::InternalFoulup:
        Error("Internal foulup");
        break;
    }
    captures_.Clear();
    return false;
}

bool TRegExpr::takingPart(int n) const
{
    return matched_ && n >= 0 && n < vx::regexpr::kMaxGroups &&
           captures_.Start(n) != vx::regexpr::Captures::kUnset &&
           captures_.End(n) != vx::regexpr::Captures::kUnset;
}

int TRegExpr::MatchPos(int n) const { return takingPart(n) ? int(captures_.Start(n)) + 1 : -1; }

int TRegExpr::MatchLen(int n) const { return takingPart(n) ? int(captures_.End(n) - captures_.Start(n)) : -1; }

int TRegExpr::SubExprMatchCount() const
{
    int n = 0;
    while (takingPart(n))
        ++n;
    return n;
}
