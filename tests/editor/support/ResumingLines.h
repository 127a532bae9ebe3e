// What the tests of scans from kept highlighter states share: every
// highlighter that resumes a line, the multi-language highlighter set up as
// the main window sets it up among them, and random lines with comments,
// strings and blocks opening and closing in them.
#pragma once

#include "editor/mwHighlighter.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace vx::test {

using Rng = std::mt19937;

inline int Pick(Rng& rng, int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

struct TResuming {
    std::string name;
    std::function<std::shared_ptr<TmwCustomHighLighter>()> make;
};

const std::vector<TResuming>& Resuming();

// Pieces of every language, multi-line comments, strings and blocks among them.
std::string Fragment(Rng& rng);

// Fragments and long runs of plain text, at least length bytes.
std::string RandomLine(Rng& rng, std::size_t length);

} // namespace vx::test
