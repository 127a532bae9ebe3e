// Backtracking search of a compiled program over one input. Choice points live
// on an explicit stack, so no pattern can recurse deeply. Whether the rest of a
// pattern matches from a node at a position depends on nothing else (the syntax
// has no back-references), so once a search has taken more steps than a plain
// one needs, it remembers each (choice node, position) it has entered and never
// enters one twice: every search then ends in time bounded by pattern size
// times input size, and its answer is exact.
#pragma once

#include "highlighters/RegExprProgram.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace vx::regexpr {

// Offsets into the input: start of group n at [n], end at [kMaxGroups + n].
struct Captures {
    static constexpr std::size_t kUnset = SIZE_MAX;
    std::array<std::size_t, 2 * kMaxGroups> at;
    bool clean = true; // all unset; lets a search skip clearing them again
    Captures() { at.fill(kUnset); }
    void Clear()
    {
        if (!clean)
            at.fill(kUnset);
        clean = true;
    }
    std::size_t Start(int n) const { return at[n]; }
    std::size_t End(int n) const { return at[kMaxGroups + n]; }
};

class Matcher {
public:
    enum class Result { Match, NoMatch, MemoryCorruption, CorruptedPointers, InternalFoulup };

    // Steps a search takes before it starts remembering where it has been: a
    // base plus a share per input byte, more than ordinary patterns need.
    static constexpr std::int64_t kBaseSteps = std::int64_t(1) << 12;
    static constexpr std::int64_t kStepsPerByte = 8;
    // Choice points one search may hold (a memory bound, far above what
    // highlighting needs); a search that needs more reports NoMatch.
    static constexpr std::size_t kMaxStackFrames = std::size_t(1) << 21;

    // Finds the first match of `program` in `input`. On Match, `captures`
    // describes it; otherwise every capture is unset.
    Result Search(const Program& program, std::string_view input, Captures& captures);

private:
    enum class FrameKind : std::uint8_t { Alternative, Repeat, Capture };
    struct Frame {
        std::size_t pos;     // where to resume, or a capture's previous value
        std::size_t count;   // repetitions last tried, or the capture slot
        std::size_t top;     // where the repeat's run ends
        std::uint32_t node;  // the branch to try next, or the repeat node
        FrameKind kind;
    };

    static constexpr std::size_t kKeptFrames = std::size_t(1) << 14;

    Result find(const Program& program, std::string_view input, Captures& captures);
    Result attempt(std::uint32_t node, std::size_t pos, std::size_t& end);
    bool backtrack(std::uint32_t& node, std::size_t& pos);
    bool push(const Frame& frame);
    // False when the search has entered node at pos before (so it failed
    // there, or is still trying it further up the same path); only once the
    // step allowance ran out, before that always true.
    bool firstVisit(std::uint32_t node, std::size_t pos);
    // A repeat's counts end where its run ends, wherever it started in the
    // run; counts are tried from the longest down, so the tried ones are those
    // reaching down to some position. The largest count from pos still worth
    // trying, given what was tried before (kNone when none is).
    std::size_t untriedCount(std::uint32_t node, std::size_t pos, std::size_t top, std::size_t count,
                             std::size_t min);
    void triedDownTo(std::uint32_t node, std::size_t top, std::size_t reached);
    // Repeats count bytes: the run a repeat takes ends at a character's end.
    std::size_t repeatCount(std::uint32_t operand, std::size_t pos) const;
    std::size_t fitCount(std::uint32_t next, std::size_t pos, std::size_t count, std::size_t min) const;
    std::size_t findPrefix(const std::string& prefix, std::size_t from) const;
    std::string_view input() const { return {reinterpret_cast<const char*>(in_), len_}; }
    // Where the character at pos ends.
    std::size_t charEnd(std::size_t pos) const;
    // The bytes of the character at pos when the one-character node takes it, else 0.
    std::size_t takeOne(std::uint32_t node, std::size_t pos) const;
    // The largest count up to count after which a character of the run from pos begins.
    std::size_t snap(std::size_t pos, std::size_t count) const;

    std::vector<Frame> stack_;
    const std::uint8_t* code_ = nullptr;
    const std::uint8_t* in_ = nullptr;
    std::size_t len_ = 0;
    std::int64_t budget_ = 0;
    bool remembering_ = false;
    bool afterRepeat_ = false; // the node was reached by a repeat's count
    std::unordered_set<std::uint64_t> visited_;
    std::unordered_map<std::uint64_t, std::size_t> lowestTried_;
    Captures* captures_ = nullptr;
};

} // namespace vx::regexpr
