// Encoding the text of a message.
#include "internet/MailBody.h"

#include "internet/MailHeaderText.h"
#include "internet/QuotedPrintable.h"
#include "internet/TextUtil.h"

#include <algorithm>
#include <optional>

namespace vx::net {

namespace {

// The longest line SMTP carries, without its line break.
constexpr std::size_t kMaxSmtpLine = 998;

std::optional<std::vector<std::string>> Windows1252Bytes(const std::vector<std::string>& lines)
{
    std::vector<std::string> bytes;
    bytes.reserve(lines.size());
    for (const std::string& line : lines) {
        std::optional<std::string> encoded = vx::EncodeDocument(line, vx::TTextEncoding::Windows1252);
        if (!encoded)
            return std::nullopt;
        bytes.push_back(std::move(*encoded));
    }
    return bytes;
}

// ISO-8859-1 has control codes where Windows-1252 has characters (0x80 to 0x9F).
const char* Windows1252Label(const std::vector<std::string>& bytes)
{
    for (const std::string& line : bytes)
        for (char c : line)
            if (static_cast<unsigned char>(c) >= 0x80 && static_cast<unsigned char>(c) <= 0x9F)
                return "windows-1252";
    return "ISO-8859-1";
}

bool TravelsAsItIs(const std::vector<std::string>& lines)
{
    return std::all_of(lines.begin(), lines.end(),
                       [](const std::string& line) { return line.size() <= kMaxSmtpLine && IsAscii(line); });
}

} // namespace

TMailBody EncodeMailBody(const TStringList& text, vx::TTextEncoding encoding)
{
    std::vector<std::string> lines;
    for (int i = 0; i < text.Count(); ++i)
        for (std::string_view piece : LinePieces(text[i]))
            lines.emplace_back(piece);
    TMailBody body;
    body.Charset = vx::CharsetName(vx::TTextEncoding::Utf8);
    if (encoding == vx::TTextEncoding::Windows1252) {
        if (std::optional<std::vector<std::string>> bytes = Windows1252Bytes(lines)) {
            body.Charset = Windows1252Label(*bytes);
            lines = std::move(*bytes);
        }
    }
    if (TravelsAsItIs(lines)) {
        body.TransferEncoding = "7bit";
        body.Lines = std::move(lines);
        return body;
    }
    body.TransferEncoding = "quoted-printable";
    for (const std::string& line : lines) {
        std::vector<std::string> encoded = QuotedPrintableLines(line);
        body.Lines.insert(body.Lines.end(), encoded.begin(), encoded.end());
    }
    return body;
}

} // namespace vx::net
