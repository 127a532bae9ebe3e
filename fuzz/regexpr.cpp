// Fuzz target: the regular-expression engine, whose expressions come from the
// user's schemes in the registry. The first line of the input is the
// expression, the rest the text searched. A syntax error is the one exception
// it may raise; a search ends (libFuzzer reports one that hangs) and reports
// a match inside the text, the same each time.
#include "fuzz/FuzzCheck.h"
#include "highlighters/RegExpr.h"
#include "platform/Exception.h"

#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    const size_t newline = all.find('\n');
    const std::string_view expression = all.substr(0, newline);
    const std::string_view text = newline == std::string_view::npos ? std::string_view() : all.substr(newline + 1);
    TRegExpr re;
    try {
        re.SetExpression(expression);
    } catch (const Exception&) {
        return 0;
    }
    if (expression.empty())
        return 0;
    const bool found = re.Exec(text);
    const int pos = re.MatchPos(0);
    const int len = re.MatchLen(0);
    if (found) {
        VX_FUZZ_CHECK(pos >= 1 && len >= 0 && static_cast<size_t>(pos - 1 + len) <= text.size());
        for (int n = 1; n < 10; ++n)
            if (re.MatchPos(n) >= 0)
                VX_FUZZ_CHECK(static_cast<size_t>(re.MatchPos(n) - 1 + re.MatchLen(n)) <= text.size());
    } else {
        VX_FUZZ_CHECK(pos == -1 && len == -1);
    }
    VX_FUZZ_CHECK(re.Exec(text) == found && re.MatchPos(0) == pos && re.MatchLen(0) == len);
    return 0;
}
