#include "platform/TextEncoding.h"

#include "platform/Cp1252.h"
#include "platform/Utf8.h"

#include <utility>

namespace vx {

namespace {

const TWording Unstorable{"the file is stored as Windows-1252, which cannot hold the character %1"};
// The character Unstorable names, where a save meets it.
const TWording CharacterOfLine{"\"%1\" of line %2"};

} // namespace

TTextEncoding DocumentEncoding(std::string_view bytes)
{
    return utf8::IsValid(bytes) ? TTextEncoding::Utf8 : TTextEncoding::Windows1252;
}

TDecodedText DecodeDocument(std::string bytes)
{
    if (DocumentEncoding(bytes) == TTextEncoding::Windows1252)
        return {Cp1252ToUtf8(bytes), TTextEncoding::Windows1252, false};
    const bool mark = bytes.starts_with(Utf8ByteOrderMark);
    if (mark)
        bytes.erase(0, Utf8ByteOrderMark.size());
    return {std::move(bytes), TTextEncoding::Utf8, mark};
}

std::string EncodeForSaving(std::string_view text, TTextEncoding encoding, bool byteOrderMark)
{
    std::size_t bad = 0;
    std::optional<std::string> bytes = EncodeDocument(text, encoding, &bad);
    if (!bytes) {
        // Lines end at CR LF, CR or LF.
        std::size_t line = 1;
        for (std::size_t i = 0; i < bad; ++i)
            line += text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'));
        const std::string character(text.substr(bad, utf8::CharLength(text, bad)));
        throw EEncodingError(TMessage(Unstorable, {TMessage(CharacterOfLine, {character, std::to_string(line)})}));
    }
    if (byteOrderMark && encoding == TTextEncoding::Utf8)
        bytes->insert(0, Utf8ByteOrderMark);
    return std::move(*bytes);
}

std::string FirstUnstorable(std::string_view text, TTextEncoding encoding)
{
    if (encoding == TTextEncoding::Utf8)
        return {};
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = utf8::CharLength(text, i);
        if (!CanHold(encoding, text.substr(i, length)))
            return std::string(text.substr(i, length));
        i += length;
    }
    return {};
}

TMessage UnstorableCharacter(std::string_view character)
{
    return TMessage(Unstorable, {"\"" + std::string(character) + "\""});
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
