// Helpers of the multi-language highlighter tests.
#include "tests/highlighters/MultiSynTestSupport.h"

#include <gtest/gtest.h>

namespace vx::test {

std::ostream& operator<<(std::ostream& out, const LTok& t)
{
    return out << "{\"" << t.text << "\" at " << t.pos << " by " << t.by << ", kind " << t.kind << "}";
}

std::vector<LTok> ScanLabelled(TwmMultiSyn& multi, const Labels& labels, const std::string& line)
{
    std::vector<LTok> tokens;
    multi.SetLine(line, 0);
    for (size_t steps = 0; !multi.GetEol(); ++steps) {
        if (steps > line.size()) {
            ADD_FAILURE() << "scan does not end on \"" << line << "\"";
            break;
        }
        std::string by;
        if (auto* attribute = multi.GetTokenAttribute()) {
            if (attribute == multi.MarkerAttri)
                by = "marker";
            else if (auto it = labels.find(attribute->Owner()); it != labels.end())
                by = it->second;
            else
                by = "?";
        }
        tokens.push_back(LTok{multi.GetToken(), multi.GetTokenPos(), by, multi.GetTokenKind()});
        multi.Next();
    }
    return tokens;
}

std::vector<std::string> Brief(const std::vector<LTok>& tokens)
{
    std::vector<std::string> result;
    for (const auto& t : tokens)
        result.push_back(t.text + "/" + t.by);
    return result;
}

} // namespace vx::test
