#include "platform/TextEncoding.h"

#include "platform/Cp1252.h"
#include "platform/Utf8.h"

namespace vx {

TTextEncoding DocumentEncoding(std::string_view bytes)
{
    return utf8::IsValid(bytes) ? TTextEncoding::Utf8 : TTextEncoding::Windows1252;
}

TDecodedText DecodeDocument(std::string_view bytes)
{
    if (DocumentEncoding(bytes) == TTextEncoding::Utf8)
        return {std::string(bytes), TTextEncoding::Utf8};
    return {Cp1252ToUtf8(bytes), TTextEncoding::Windows1252};
}

std::optional<std::string> EncodeDocument(std::string_view text, TTextEncoding encoding, std::size_t* badOffset)
{
    if (encoding == TTextEncoding::Windows1252)
        return Utf8ToCp1252(text, badOffset);
    return std::string(text);
}

bool CanHold(TTextEncoding encoding, std::string_view text)
{
    if (encoding == TTextEncoding::Utf8)
        return true;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = 0;
        const char32_t cp = utf8::Decode(text, i, &length);
        if (cp >= 0x80 && (length == 1 || UnicodeToCp1252(cp) < 0))
            return false;
        i += length;
    }
    return true;
}

const char* CharsetName(TTextEncoding encoding)
{
    return encoding == TTextEncoding::Utf8 ? "UTF-8" : "windows-1252";
}

} // namespace vx
