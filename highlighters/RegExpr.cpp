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
    program_.reset();
    matched_ = false;
    if (!expression_.empty())
        program_ = compiled(expression_);
}

// Callers that take turns with a few expressions on one engine (the
// multi-language highlighter does so for every line) compile each only once.
std::shared_ptr<const vx::regexpr::Program> TRegExpr::compiled(const std::string& expression)
{
    const bool extended = ExtendedCharClasses != 0;
    for (const CompiledExpression& c : recent_)
        if (c.extended == extended && c.text == expression)
            return c.program;
    auto program = std::make_shared<const vx::regexpr::Program>(vx::regexpr::CompileRegExpr(expression, extended));
    if (recent_.size() < kRecentPrograms)
        recent_.push_back({expression, extended, program});
    else
        recent_[nextRecent_++ % kRecentPrograms] = {expression, extended, program};
    return program;
}

const std::string& TRegExpr::Prefix() const
{
    static const std::string none;
    return program_ ? program_->prefix : none;
}

bool TRegExpr::Exec(std::string_view input)
{
    using vx::regexpr::Matcher;
    matched_ = false;
    if (!program_) {
        Error("Not assigned expression property");
        return false;
    }
    switch (matcher_.Search(*program_, input, captures_)) {
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
