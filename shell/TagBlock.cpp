#include "shell/TagBlock.h"

#include "platform/AnsiText.h"

#include <string>

namespace vx::shell {

namespace {

bool OpensBlock(std::string_view text, std::size_t at)
{
    if (text[at] != '<')
        return false;
    const std::string_view next = text.substr(at + 1, 2);
    if (!next.empty() && next[0] == '/')
        return false;
    return vx::AnsiUpperCase(next) != "BR";
}

} // namespace

std::optional<TTagBlock> FindTagBlock(std::string_view text, std::size_t position)
{
    if (text.empty())
        return std::nullopt;
    position = std::min(position, text.size());
    std::size_t open = std::min(position, text.size() - 1) + 1;
    do {
        --open;
    } while (open > 0 && !OpensBlock(text, open));
    if (!OpensBlock(text, open))
        return std::nullopt;
    const std::size_t nameEnd = text.find_first_of("> ", open + 1);
    const std::string_view name = text.substr(open + 1, (nameEnd == std::string_view::npos ? text.size() : nameEnd) - open - 1);
    if (name.empty())
        return std::nullopt;
    const std::string pattern = "</" + vx::AnsiUpperCase(name.substr(0, 2));
    const std::string upper = vx::AnsiUpperCase(text.substr(position));
    const std::size_t close = upper.find(pattern);
    if (close == std::string::npos)
        return std::nullopt;
    const std::size_t end = text.find('>', position + close);
    if (end == std::string_view::npos)
        return std::nullopt;
    return TTagBlock{open, end + 1};
}

} // namespace vx::shell
