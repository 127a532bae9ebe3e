// Backtracking search of a compiled program over one input. Choice points live
// on an explicit stack, and every search has a step budget that grows with the
// input, so no pattern can recurse deeply or run for long.
#pragma once

#include "highlighters/RegExprProgram.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
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

    // Steps a search may take: a base plus a share per input byte.
    static constexpr std::int64_t kBaseSteps = std::int64_t(1) << 20;
    static constexpr std::int64_t kStepsPerByte = 16;
    // Choice points one search may hold; a search that needs more gives up.
    static constexpr std::size_t kMaxStackFrames = std::size_t(1) << 21;

    // Finds the first match of `program` in `input`. On Match, `captures`
    // describes it; otherwise every capture is unset. A search that runs out of
    // steps reports NoMatch.
    Result Search(const Program& program, std::string_view input, Captures& captures);

private:
    enum class FrameKind : std::uint8_t { Alternative, Repeat, Capture };
    struct Frame {
        std::size_t pos;     // where to resume, or a capture's previous value
        std::size_t count;   // repetitions last tried, or the capture slot
        std::uint32_t node;  // the branch to try next, or the repeat node
        FrameKind kind;
    };

    static constexpr std::size_t kKeptFrames = std::size_t(1) << 14;

    Result find(const Program& program, std::string_view input, Captures& captures);
    Result attempt(std::uint32_t node, std::size_t pos, std::size_t& end);
    bool backtrack(std::uint32_t& node, std::size_t& pos);
    bool push(const Frame& frame);
    std::size_t repeatCount(std::uint32_t operand, std::size_t pos) const;
    std::size_t fitCount(std::uint32_t next, std::size_t pos, std::size_t count, std::size_t min) const;
    std::size_t findPrefix(const std::string& prefix, std::size_t from) const;

    std::vector<Frame> stack_;
    const std::uint8_t* code_ = nullptr;
    const std::uint8_t* in_ = nullptr;
    std::size_t len_ = 0;
    std::int64_t budget_ = 0;
    Captures* captures_ = nullptr;
};

} // namespace vx::regexpr
