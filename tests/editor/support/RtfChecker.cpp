// The strict RTF checker of the export tests.
#include "tests/editor/support/RtfChecker.h"

#include <cctype>
#include <set>

namespace vx::test {

namespace {

const std::set<std::string, std::less<>>& KnownWords()
{
    static const std::set<std::string, std::less<>> words{
        "rtf", "ansi", "ansicpg", "uc", "u", "deff", "deftab", "fonttbl", "f", "fmodern", "fnil", "fcharset", "colortbl",
        "red", "green", "blue", "info", "comment", "title", "background", "shp", "sp", "sn",
        "sv", "deflang", "pard", "plain", "fs", "cf", "cb", "b", "i", "ul", "strike", "par",
    };
    return words;
}

bool IsHex(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }
bool IsLetter(char c) { return c >= 'a' && c <= 'z'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

class Checker {
public:
    explicit Checker(std::string_view rtf) : s_(rtf) {}

    std::vector<std::string> Run()
    {
        if (s_.substr(0, 6) != "{\\rtf1")
            Fail(0, "the document does not start with {\\rtf1");
        while (i_ < s_.size() && errors_.size() < 20)
            Step();
        if (depth_ != 0)
            Fail(s_.size(), "unclosed groups: " + std::to_string(depth_));
        for (auto [at, index] : colorRefs_)
            if (index >= colors_)
                Fail(at, "colour index " + std::to_string(index) + " beyond the table of " +
                             std::to_string(colors_));
        return errors_;
    }

private:
    void Fail(size_t at, const std::string& what) { errors_.push_back("at " + std::to_string(at) + ": " + what); }

    void Step()
    {
        const char c = s_[i_];
        if (c == '{') {
            if (depth_ == 0 && closedTop_)
                Fail(i_, "text after the document's group");
            ++depth_;
            groupStart_ = ++i_;
            return;
        }
        if (c == '}') {
            if (depth_ == 0)
                Fail(i_, "} without {");
            else if (--depth_ == 0)
                closedTop_ = true;
            if (depth_ < colorTableDepth_)
                colorTableDepth_ = 0;
            ++i_;
            return;
        }
        if (depth_ == 0 && closedTop_) {
            Fail(i_, "text after the document's group");
            ++i_;
            return;
        }
        if (c == '\\') {
            Control();
            return;
        }
        auto b = static_cast<unsigned char>(c);
        if (b < 0x20 && c != '\r' && c != '\n' && c != '\t')
            Fail(i_, "raw control character " + std::to_string(b));
        // A reader takes it as a character of the ANSI code page, whatever it was meant to be.
        if (b >= 0x80)
            Fail(i_, "raw byte " + std::to_string(b) + " above 0x7F");
        if (highSurrogateAt_)
            Fail(i_, "high surrogate without its low one");
        highSurrogateAt_ = 0;
        if (c == ';' && colorTableDepth_ == depth_ && colorTableDepth_ > 0)
            ++colors_;
        ++i_;
    }

    void Control()
    {
        const size_t at = i_++;
        if (i_ >= s_.size()) {
            Fail(at, "backslash at the end");
            return;
        }
        const char c = s_[i_];
        if (c == '\\' || c == '{' || c == '}') {
            ++i_;
            return;
        }
        if (c == '\'') {
            if (i_ + 2 >= s_.size() || !IsHex(s_[i_ + 1]) || !IsHex(s_[i_ + 2]))
                Fail(at, "\\' without two hex digits");
            i_ += 3;
            return;
        }
        if (c == '*') {
            if (at != groupStart_)
                Fail(at, "\\* not at the start of a group");
            ++i_;
            return;
        }
        if (!IsLetter(c)) {
            Fail(at, std::string("unknown control symbol \\") + c);
            ++i_;
            return;
        }
        const size_t wordStart = i_;
        while (i_ < s_.size() && IsLetter(s_[i_]))
            ++i_;
        const std::string_view word = s_.substr(wordStart, i_ - wordStart);
        if (!KnownWords().count(word))
            Fail(at, "unknown control word \\" + std::string(word));
        const size_t numberStart = i_;
        if (i_ < s_.size() && s_[i_] == '-')
            ++i_;
        while (i_ < s_.size() && IsDigit(s_[i_]))
            ++i_;
        const std::string_view number = s_.substr(numberStart, i_ - numberStart);
        if (number == "-" || number.size() > 11)
            Fail(at, "bad parameter of \\" + std::string(word));
        if (i_ < s_.size() && s_[i_] == ' ')
            ++i_;
        if (word == "colortbl")
            colorTableDepth_ = depth_;
        if ((word == "cf" || word == "cb") && !number.empty())
            colorRefs_.push_back({at, std::stoi(std::string(number))});
        if (word == "f" && number != "0")
            Fail(at, "reference to a font that is not in the table");
        if (word == "rtf" && at != 1)
            Fail(at, "\\rtf anywhere but at the start");
        if (word == "u")
            Unicode(at, number);
        else if (highSurrogateAt_)
            Fail(at, "high surrogate without its low one");
    }

    // \uN: a signed 16-bit code unit, then the one fallback character of \uc1.
    void Unicode(size_t at, std::string_view number)
    {
        const long unit = number.empty() || number.size() > 6 ? 100000 : std::stol(std::string(number));
        if (unit < -32768 || unit > 32767) {
            Fail(at, "\\u out of the signed 16-bit range");
            return;
        }
        const unsigned value = static_cast<unsigned>(unit < 0 ? unit + 0x10000 : unit);
        if (value < 0x80)
            Fail(at, "\\u for an ASCII character");
        const bool low = value >= 0xDC00 && value <= 0xDFFF;
        if (low != (highSurrogateAt_ != 0))
            Fail(at, low ? "low surrogate without its high one" : "high surrogate without its low one");
        highSurrogateAt_ = value >= 0xD800 && value <= 0xDBFF ? at : 0;
        if (i_ + 1 < s_.size() && s_[i_] == '\\' && s_[i_ + 1] == '\'')
            return; // the \'hh fallback is checked as what it is
        if (i_ >= s_.size() || s_[i_] == '\\' || s_[i_] == '{' || s_[i_] == '}' ||
            static_cast<unsigned char>(s_[i_]) < 0x20)
            Fail(at, "\\u without its fallback character");
        else
            ++i_;
    }

    std::string_view s_;
    size_t i_ = 0;
    int depth_ = 0;
    size_t groupStart_ = 0;
    bool closedTop_ = false;
    int colorTableDepth_ = 0;
    int colors_ = 0;
    // Where a \u of a high surrogate stands until its low one follows.
    size_t highSurrogateAt_ = 0;
    std::vector<std::pair<size_t, int>> colorRefs_;
    std::vector<std::string> errors_;
};

} // namespace

std::vector<std::string> CheckRtf(std::string_view rtf) { return Checker(rtf).Run(); }

} // namespace vx::test
