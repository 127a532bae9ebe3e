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
        if (vx::utf8::IsTrail(text[size - back]))
            continue;
        return vx::utf8::CutShort(text, size - back) ? size - back : size;
    }
    return size;
}

std::string_view TmwWholeCharacters::Take(std::string_view token)
{
    // Mostly nothing is held: the token's own text serves, uncopied.
    if (held_.empty()) {
        const std::size_t cut = CutCharacterStart(token);
        held_.assign(token.substr(cut));
        return token.substr(0, cut);
    }
    joined_.assign(held_).append(token);
    const std::size_t cut = CutCharacterStart(joined_);
    held_.assign(joined_, cut);
    joined_.resize(cut);
    return joined_;
}

std::string TmwWholeCharacters::Flush()
{
    return std::exchange(held_, {});
}
