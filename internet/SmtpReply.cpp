// Assembling SMTP replies from lines.
#include "internet/SmtpReply.h"

#include "internet/TextUtil.h"

#include <cctype>

namespace {
constexpr std::size_t kTextLength = 64;
}

bool TSmtpReply::AddLine(std::string_view line)
{
    if (complete_) {
        complete_ = false;
        code_.clear();
        text_.clear();
    }
    code_ = vx::net::Trim(line.substr(0, 3));
    // Characters 4 to 67 of the line: the separator, trimmed away, and 63 of the text.
    text_ = line.size() > 3 ? vx::net::Trim(line.substr(3, kTextLength)) : std::string();
    complete_ = line.size() < 4 || line[3] != '-';
    return complete_;
}

int SmtpCodeNumber(std::string_view code)
{
    if (code.size() != 3)
        return 0;
    int value = 0;
    for (char c : code) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return 0;
        value = value * 10 + (c - '0');
    }
    return value;
}

bool IsSmtpReplyLine(std::string_view line)
{
    const int code = SmtpCodeNumber(line.substr(0, 3));
    return code >= 100 && code <= 599;
}
