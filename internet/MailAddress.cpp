// Reading mail addresses.
#include "internet/MailAddress.h"

#include "internet/TextUtil.h"

#include <cctype>

namespace vx::net {

std::string BareAddress(std::string_view text)
{
    auto open = text.find('<');
    if (open == std::string_view::npos)
        return Trim(OneLine(text));
    auto close = text.find('>', open + 1);
    auto inner = text.substr(open + 1, close == std::string_view::npos ? std::string_view::npos : close - open - 1);
    return Trim(OneLine(inner));
}

std::vector<TMailbox> Mailboxes(std::string_view text)
{
    std::vector<TMailbox> result;
    // The entry without its quoted parts, and the quoted parts unescaped.
    std::string part, quotedName;
    auto flush = [&] {
        std::string address = BareAddress(part);
        if (!address.empty()) {
            const auto open = part.find('<');
            const std::string plainName = Trim(open == std::string::npos ? std::string() : part.substr(0, open));
            result.push_back({Trim(OneLine(quotedName + (quotedName.empty() || plainName.empty() ? "" : " ") + plainName)),
                              address});
        }
        part.clear();
        quotedName.clear();
    };
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (quoted) {
            if (c == '\\' && i + 1 < text.size())
                quotedName += text[++i];
            else if (c == '"')
                quoted = false;
            else
                quotedName += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            flush();
        } else {
            part += c;
        }
    }
    flush();
    return result;
}

std::vector<std::string> AddressList(std::string_view text)
{
    std::vector<std::string> addresses;
    for (TMailbox& mailbox : Mailboxes(text))
        addresses.push_back(std::move(mailbox.Address));
    return addresses;
}

std::string QuotedName(std::string_view name)
{
    std::string out = "\"";
    for (char c : OneLine(name)) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + '"';
}

bool IsDottedIPAddress(std::string_view text)
{
    int parts = 0;
    std::size_t start = 0;
    for (;;) {
        auto dot = text.find('.', start);
        auto part = text.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start);
        if (part.empty() || part.size() > 3)
            return false;
        int value = 0;
        for (char c : part) {
            if (!std::isdigit(static_cast<unsigned char>(c)))
                return false;
            value = value * 10 + (c - '0');
        }
        if (value < 1 || value > 254)
            return false;
        ++parts;
        if (dot == std::string_view::npos)
            break;
        start = dot + 1;
    }
    return parts == 4;
}

} // namespace vx::net
