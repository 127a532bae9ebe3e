// Helpers of the multi-language highlighter tests: token streams that name
// the highlighter behind each token, and a test highlighter that counts its work.
#pragma once

#include "highlighters/wmMultiSyn.h"
#include "tests/highlighters/TestSyn.h"

#include <cstdint>
#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace vx::test {

// One token: its text, position, and who coloured it ("marker", a label
// given to the highlighter that owns the attribute, or "" for none).
struct LTok {
    std::string text;
    int pos;
    std::string by;
    int kind;
    bool operator==(const LTok&) const = default;
};
std::ostream& operator<<(std::ostream& out, const LTok& t);

using Labels = std::map<const TmwCustomHighLighter*, std::string>;

// Scans one line from the highlighter's current range (SetLine, Next to the end).
std::vector<LTok> ScanLabelled(TwmMultiSyn& multi, const Labels& labels, const std::string& line);
// Just "text/by" for each token, for compact expectations.
std::vector<std::string> Brief(const std::vector<LTok>& tokens);

// The test language, counting what the multi-language highlighter asks of it.
class TCountingSyn : public TTestSyn {
public:
    void SetLine(const std::string& NewValue, int LineNumber) override
    {
        ++setLineCalls;
        charsGiven += static_cast<std::int64_t>(NewValue.size());
        TTestSyn::SetLine(NewValue, LineNumber);
    }
    void Next() override
    {
        ++nextCalls;
        TTestSyn::Next();
    }
    std::int64_t setLineCalls = 0;
    std::int64_t charsGiven = 0;
    std::int64_t nextCalls = 0;
};

} // namespace vx::test
