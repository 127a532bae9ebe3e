// The editor's private clipboard block.
#include "editor/mwEditClipboard.h"

std::string EncodeEditBlock(TSelectionMode mode, std::string_view text)
{
    std::string block;
    block.reserve(text.size() + 2);
    block += static_cast<char>(mode);
    block += text;
    block += '\0';
    return block;
}

bool DecodeEditBlock(std::string_view block, TSelectionMode& mode, std::string& text)
{
    if (block.empty())
        return false;
    auto byte = static_cast<unsigned char>(block[0]);
    mode = byte <= smLine ? static_cast<TSelectionMode>(byte) : smNormal;
    std::string_view rest = block.substr(1);
    text.assign(rest.substr(0, rest.find('\0')));
    return true;
}
