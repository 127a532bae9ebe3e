// Token text in whole characters.
#include "editor/mwWholeCharacters.h"

#include "platform/Utf8.h"

#include <utility>

std::size_t CutCharacterStart(std::string_view text)
{
    const std::size_t size = text.size();
    // A character is at most four bytes: its lead lies among the last three
    // bytes when the text ends inside it.
    for (std::size_t back = 1; back <= 3 && back <= size; ++back) {
        const auto byte = static_cast<unsigned char>(text[size - back]);
        if (vx::utf8::IsTrail(static_cast<char>(byte)))
            continue;
        // 0xC2..0xF4 are the bytes that can lead a well-formed sequence.
        if (byte < 0xC2 || byte > 0xF4)
            return size;
        const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
        return length > back ? size - back : size;
    }
    return size;
}

std::string TmwWholeCharacters::Take(std::string_view token)
{
    std::string text = std::move(held_);
    text.append(token);
    const std::size_t cut = CutCharacterStart(text);
    held_.assign(text, cut);
    text.resize(cut);
    return text;
}

std::string TmwWholeCharacters::Flush()
{
    return std::exchange(held_, {});
}
