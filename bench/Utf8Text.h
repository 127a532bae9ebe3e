// Generated text made UTF-8: about a fifth of its letters replaced by letters
// outside ASCII of two and three bytes, for the figures of UTF-8 pages.
#pragma once

#include <random>
#include <string>
#include <vector>

namespace vx::bench {

inline std::vector<std::string> WithLettersOutsideAscii(const std::vector<std::string>& lines)
{
    static const char* const kLetters[] = {"é", "ü", "ß", "ж", "я", "α", "你", "好"};
    std::mt19937 rng(1957);
    std::vector<std::string> out;
    out.reserve(lines.size());
    for (const std::string& line : lines) {
        std::string changed;
        changed.reserve(line.size() + line.size() / 4);
        for (const char c : line) {
            const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
            if (letter && rng() % 5 == 0)
                changed += kLetters[rng() % std::size(kLetters)];
            else
                changed += c;
        }
        out.push_back(std::move(changed));
    }
    return out;
}

} // namespace vx::bench
