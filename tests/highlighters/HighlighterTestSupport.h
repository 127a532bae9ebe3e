// Shared helpers of the highlighter tests: token streams of a line, the
// properties every highlighter must keep on any line, and line generators.
#pragma once

#include "editor/mwHighlighter.h"

#include <cstdint>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace vx::test {

struct Tok {
    std::string text;
    int kind;
    int pos;
    std::string attribute; // the attribute's name, "" for none
    bool operator==(const Tok&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Tok& t);

// The tokens of line scanned from startRange (the line end not included);
// endRange receives the range after the line.
std::vector<Tok> Scan(TmwCustomHighLighter& hl, const std::string& line, std::int32_t startRange,
                      std::int32_t* endRange = nullptr);
// The same from the reset range.
std::vector<Tok> Scan(TmwCustomHighLighter& hl, const std::string& line);
// Just the texts and kinds, for compact expectations.
std::vector<std::pair<std::string, int>> TextsAndKinds(const std::vector<Tok>& tokens);

// Checks on one line scanned from startRange: the tokens cover the line
// exactly and in order, none is empty, the scan ends within length + 1 steps,
// and scanning again from the same range gives the same tokens and end range.
// Returns the end range.
std::int32_t ExpectLineProperties(TmwCustomHighLighter& hl, const std::string& line, std::int32_t startRange);
// Runs the checks over lines in order, carrying the range from line to line.
void ExpectDocumentProperties(TmwCustomHighLighter& hl, const std::vector<std::string>& lines);

// Random lines built from the given fragments, with some random bytes mixed in
// (NUL and 0x80..0xFF among them).
std::vector<std::string> RandomLines(const std::vector<std::string>& fragments, int count, unsigned seed);

} // namespace vx::test
