// Encoded words and character sets of mail.
#include "internet/MailHeaderText.h"

#include "internet/MailAddress.h"
#include "platform/Utf8.h"

namespace vx::net {

namespace {

constexpr std::string_view kPrefix = "=?UTF-8?Q?";
constexpr std::string_view kSuffix = "?=";
constexpr std::size_t kMaxWord = 75;

// The characters that may stand for themselves in an encoded word, wherever it stands.
bool Plain(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '!' || c == '*'
        || c == '+' || c == '-' || c == '/';
}

std::string Quoted(unsigned char c)
{
    static const char hex[] = "0123456789ABCDEF";
    if (Plain(c))
        return std::string(1, static_cast<char>(c));
    if (c == ' ')
        return "_";
    return {'=', hex[c >> 4], hex[c & 15]};
}

} // namespace

bool IsAscii(std::string_view text)
{
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

std::vector<std::string> EncodedWords(std::string_view text)
{
    if (IsAscii(text))
        return {std::string(text)};
    std::vector<std::string> words;
    std::string word;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t next = vx::utf8::NextChar(text, at);
        std::string piece;
        for (; at < next; ++at)
            piece += Quoted(static_cast<unsigned char>(text[at]));
        if (kPrefix.size() + word.size() + piece.size() + kSuffix.size() > kMaxWord) {
            words.push_back(std::string(kPrefix) + word + std::string(kSuffix));
            word.clear();
        }
        word += piece;
    }
    words.push_back(std::string(kPrefix) + word + std::string(kSuffix));
    return words;
}

std::string EncodeAddressList(std::string_view list)
{
    if (IsAscii(list))
        return std::string(list);
    std::string out;
    for (const TMailbox& mailbox : Mailboxes(list)) {
        if (!out.empty())
            out += ", ";
        if (mailbox.Name.empty()) {
            out += "<" + mailbox.Address + ">";
            continue;
        }
        if (IsAscii(mailbox.Name)) {
            out += QuotedName(mailbox.Name);
        } else {
            std::vector<std::string> words = EncodedWords(mailbox.Name);
            for (std::size_t i = 0; i < words.size(); ++i)
                out += (i ? " " : "") + words[i];
        }
        out += " <" + mailbox.Address + ">";
    }
    return out;
}

} // namespace vx::net
