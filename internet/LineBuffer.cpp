// Cutting received bytes into lines.
#include "internet/LineBuffer.h"

namespace {

const TWording LineTooLong{"Line longer than %1 bytes received"};

} // namespace

void TLineBuffer::Append(std::string_view bytes)
{
    auto lastLf = pending_.rfind('\n');
    std::size_t start = lastLf == std::string::npos ? 0 : lastLf + 1;
    pending_.append(bytes);
    for (;;) {
        auto lf = pending_.find('\n', start);
        std::size_t end = lf == std::string::npos ? pending_.size() : lf;
        std::size_t length = end - start;
        if (length > 0 && pending_[end - 1] == '\r')
            --length;
        if (length > maxLine_)
            throw ELineTooLong(TMessage(LineTooLong, {std::to_string(maxLine_)}));
        if (lf == std::string::npos)
            return;
        start = lf + 1;
    }
}

std::optional<std::string> TLineBuffer::TakeLine()
{
    auto lf = pending_.find('\n');
    if (lf == std::string::npos)
        return std::nullopt;
    std::string line = pending_.substr(0, lf);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    pending_.erase(0, lf + 1);
    return line;
}
