// The shared "GIF Image" clipboard payload.
#include "images/GIFClipboard.h"

#include "images/GIFStream.h"
#include "images/Graphic.h"

#include <cctype>
#include <cstdint>

std::string MakeGIFClipboardPayload(std::string_view gif)
{
    const auto size = static_cast<std::uint32_t>(gif.size());
    std::string payload;
    payload.reserve(gif.size() + 4);
    for (int i = 0; i < 4; ++i)
        payload.push_back(static_cast<char>(size >> (8 * i)));
    payload.append(gif);
    return payload;
}

std::optional<std::string_view> GIFFromClipboardPayload(std::string_view payload)
{
    if (payload.size() < 4)
        return std::nullopt;
    std::uint32_t size = 0;
    for (int i = 0; i < 4; ++i)
        size |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(payload[static_cast<size_t>(i)])) << (8 * i);
    if (size < 3 || size > payload.size() - 4)
        return std::nullopt;
    const std::string_view gif = payload.substr(4, size);
    for (int i = 0; i < 3; ++i)
        if (std::tolower(static_cast<unsigned char>(gif[static_cast<size_t>(i)])) != "gif"[i])
            return std::nullopt;
    return gif;
}

std::string GIFClipboardPayloadOf(TGraphic& graphic)
{
    TMemoryByteStream stream;
    graphic.SaveToStream(stream);
    return MakeGIFClipboardPayload(stream.Data());
}

bool ReadGIFClipboardPayload(std::string_view payload, const std::function<void(TByteStream& gif)>& read)
{
    const std::optional<std::string_view> gif = GIFFromClipboardPayload(payload);
    if (!gif)
        return false;
    TMemoryByteStream stream{std::string(*gif)};
    read(stream);
    return true;
}
