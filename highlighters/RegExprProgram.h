// The compiled form of a regular expression: a byte program of linked nodes and
// the facts about it that let a search skip most start positions.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vx::regexpr {

// A node is an opcode byte, a 16-bit offset to the next node (high byte first;
// 0 = no next node; counted backwards for OP_BACK) and an operand:
//   OP_EXACTLY          16-bit length, then the literal bytes (NUL allowed)
//   OP_ANYOF/OP_ANYBUT  a 256-bit membership bitmap of the code points 0..255,
//                       a 16-bit count, then that many ranges of code points
//                       above 255 (first and last, 24 bits each), ascending
//   OP_BRANCH/STAR/PLUS the node that starts right after the header
// Input is UTF-8: the one-character nodes (".", sets, class escapes) take a
// whole character, which a byte that begins no well-formed sequence is alone.
enum Opcode : std::uint8_t {
    OP_END = 0,
    OP_BOL = 1,
    OP_EOL = 2,
    OP_ANY = 3,
    OP_ANYOF = 4,
    OP_ANYBUT = 5,
    OP_BRANCH = 6,
    OP_BACK = 7,
    OP_EXACTLY = 8,
    OP_NOTHING = 9,
    OP_STAR = 10,
    OP_PLUS = 11,
    OP_ANYDIGIT = 12,
    OP_NOTDIGIT = 13,
    OP_ANYLETTER = 14,
    OP_NOTLETTER = 15,
    OP_OPEN = 20,  // + group number 1..9
    OP_CLOSE = 30, // + group number 1..9
};

constexpr std::uint8_t kProgramMagic = 156;
constexpr std::uint32_t kNodeHeader = 3;
constexpr std::uint32_t kSetBytes = 32;
constexpr std::uint32_t kSetRangeBytes = 6;
// The most bytes one character takes in UTF-8.
constexpr int kMaxCharBytes = 4;
constexpr std::uint32_t kMaxProgram = 65535;
constexpr int kMaxGroups = 10; // sub-expression 0 (the whole match) and 1..9

struct Program {
    std::vector<std::uint8_t> code;
    bool anchored = false;    // every match begins at the start of the input
    std::string prefix;       // every match begins with it; its first byte is the start character
    std::uint32_t afterPrefix = 0; // node where matching goes on after the prefix
    std::string required;     // every match contains it
    // How many characters from where it starts a match, or an attempt at one,
    // reads at most; -1 when that has no bound (a repeat) or the input's
    // start or end counts (an anchor).
    int reach = -1;
};

inline std::uint32_t Operand(std::uint32_t node) { return node + kNodeHeader; }

inline std::uint32_t NextNode(const std::uint8_t* code, std::uint32_t node)
{
    const std::uint32_t offset = (std::uint32_t(code[node + 1]) << 8) | code[node + 2];
    if (offset == 0)
        return 0;
    return code[node] == OP_BACK ? node - offset : node + offset;
}

inline std::uint32_t LiteralLength(const std::uint8_t* code, std::uint32_t node)
{
    return (std::uint32_t(code[node + 3]) << 8) | code[node + 4];
}

inline const std::uint8_t* LiteralBytes(const std::uint8_t* code, std::uint32_t node) { return code + node + 5; }

inline bool InSet(const std::uint8_t* code, std::uint32_t node, std::uint8_t c)
{
    return (code[node + kNodeHeader + (c >> 3)] >> (c & 7)) & 1;
}

inline std::uint32_t SetRangeCount(const std::uint8_t* code, std::uint32_t node)
{
    const std::uint32_t at = node + kNodeHeader + kSetBytes;
    return (std::uint32_t(code[at]) << 8) | code[at + 1];
}

// The bytes of a set node's operand.
inline std::uint32_t SetOperandBytes(const std::uint8_t* code, std::uint32_t node)
{
    return kSetBytes + 2 + kSetRangeBytes * SetRangeCount(code, node);
}

// Whether the set of node holds the code point.
inline bool SetHolds(const std::uint8_t* code, std::uint32_t node, char32_t c)
{
    if (c < 256)
        return InSet(code, node, std::uint8_t(c));
    const std::uint8_t* range = code + node + kNodeHeader + kSetBytes + 2;
    auto at = [&](int k) { return char32_t((range[k] << 16) | (range[k + 1] << 8) | range[k + 2]); };
    for (std::uint32_t n = SetRangeCount(code, node); n > 0; --n, range += kSetRangeBytes) {
        if (c < at(0))
            return false;
        if (c <= at(3))
            return true;
    }
    return false;
}
inline bool IsDigit(std::uint8_t c) { return c >= '0' && c <= '9'; }
inline bool IsWordLetter(std::uint8_t c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }

} // namespace vx::regexpr
