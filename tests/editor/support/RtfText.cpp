// Reading the text of the exporter's RTF.
#include "tests/editor/support/RtfText.h"

#include "platform/Cp1252.h"
#include "platform/Utf8.h"

#include <cctype>
#include <cstdlib>
#include <utility>
#include <vector>

namespace vx::test {

namespace {

bool IsLetter(char c) { return c >= 'a' && c <= 'z'; }

class Reader {
public:
    explicit Reader(std::string_view rtf) : s_(rtf) {}

    std::string Run()
    {
        while (i_ < s_.size()) {
            const char c = s_[i_++];
            if (c == '{') {
                groups_.push_back(Skipping());
                groupStart_ = true;
                continue;
            }
            const bool first = std::exchange(groupStart_, false);
            if (c == '}') {
                if (!groups_.empty())
                    groups_.pop_back();
            } else if (c == '\\') {
                Control(first);
            } else if (c != '\r' && c != '\n') {
                Text(static_cast<unsigned char>(c));
            }
        }
        return out_;
    }

private:
    bool Skipping() const { return !groups_.empty() && groups_.back(); }

    void Text(char32_t codePoint)
    {
        if (!Skipping())
            vx::utf8::Append(out_, codePoint);
    }

    void Control(bool groupStart)
    {
        if (i_ >= s_.size())
            return;
        const char c = s_[i_];
        if (c == '\'') {
            const char hex[3] = {s_[i_ + 1], s_[i_ + 2], 0};
            i_ += 3;
            Text(Cp1252ToUnicode(static_cast<unsigned char>(std::strtoul(hex, nullptr, 16))));
            return;
        }
        if (!IsLetter(c)) {
            ++i_;
            if (c == '*' && groupStart)
                groups_.back() = true;
            else
                Text(static_cast<unsigned char>(c));
            return;
        }
        const size_t wordStart = i_;
        while (i_ < s_.size() && IsLetter(s_[i_]))
            ++i_;
        const std::string_view word = s_.substr(wordStart, i_ - wordStart);
        const size_t numberStart = i_;
        if (i_ < s_.size() && s_[i_] == '-')
            ++i_;
        while (i_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[i_])))
            ++i_;
        const long number = std::strtol(std::string(s_.substr(numberStart, i_ - numberStart)).c_str(), nullptr, 10);
        if (i_ < s_.size() && s_[i_] == ' ')
            ++i_;
        if (groupStart && (word == "fonttbl" || word == "colortbl" || word == "info"))
            groups_.back() = true;
        else if (word == "par")
            Text('\n');
        else if (word == "u")
            Unicode(static_cast<unsigned>(number < 0 ? number + 0x10000 : number));
    }

    void Unicode(unsigned unit)
    {
        SkipFallback();
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            high_ = unit;
            return;
        }
        if (unit >= 0xDC00 && unit <= 0xDFFF && high_) {
            Text(0x10000 + ((high_ - 0xD800) << 10) + (unit - 0xDC00));
            high_ = 0;
            return;
        }
        Text(unit);
    }

    void SkipFallback()
    {
        if (i_ < s_.size() && s_[i_] == '\\' && i_ + 1 < s_.size() && s_[i_ + 1] == '\'')
            i_ += 4;
        else if (i_ < s_.size())
            ++i_;
    }

    std::string_view s_;
    size_t i_ = 0;
    // Per open group: whether its text is not the document's.
    std::vector<bool> groups_;
    bool groupStart_ = false;
    unsigned high_ = 0;
    std::string out_;
};

} // namespace

std::string RtfText(std::string_view rtf) { return Reader(rtf).Run(); }

} // namespace vx::test
