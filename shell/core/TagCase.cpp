// The tag-case conversion of inserted text: a small scanner that walks the
// markup and converts only the names of tags and their attributes.
#include "shell/core/TagCase.h"

#include "platform/AnsiText.h"
#include "platform/TStringList.h"

#include <cstring>

namespace vx::shell {
namespace {

enum class TCase { None, Up, Lo, Caps };

TCase CaseOf(std::string_view mode)
{
    if (mode == "UP")
        return TCase::Up;
    if (mode == "LO")
        return TCase::Lo;
    if (mode == "CAPS")
        return TCase::Caps;
    return TCase::None;
}

// Only the ASCII letters change: characters above 127 keep their case.
char Convert(char c, char before, TCase mode)
{
    switch (mode) {
    case TCase::Up:
        return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
    case TCase::Lo:
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
    case TCase::Caps:
        return before == ' ' && c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
    case TCase::None:
        break;
    }
    return c;
}

bool IsNameChar(char c)
{
    return static_cast<unsigned char>(c) > ' ' && !std::strchr("=<>/\"'", c);
}

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

class TTagCaseScanner {
public:
    TTagCaseScanner(std::string_view text, TCase mode) : t_(text), mode_(mode) { out_.reserve(text.size()); }

    std::string Run()
    {
        while (i_ < t_.size()) {
            if (t_[i_] != '<')
                out_ += t_[i_++];
            else if (At("<%"))
                CopyThrough("%>");
            else if (At("<!--"))
                CopyThrough("-->");
            else if (At("<?"))
                CopyThrough("?>");
            else if (i_ + 1 < t_.size() && (IsLetter(t_[i_ + 1]) || t_[i_ + 1] == '/' || t_[i_ + 1] == '!'))
                Tag();
            else
                out_ += t_[i_++];
        }
        return std::move(out_);
    }

private:
    bool At(std::string_view literal) const { return t_.substr(i_, literal.size()) == literal; }

    // Copies up to and including end, or to the end of the text.
    void CopyThrough(std::string_view end)
    {
        const std::size_t found = t_.find(end, i_ + 1);
        const std::size_t stop = found == std::string_view::npos ? t_.size() : found + end.size();
        out_.append(t_.substr(i_, stop - i_));
        i_ = stop;
    }

    void CopyTo(std::size_t stop)
    {
        out_.append(t_.substr(i_, stop - i_));
        i_ = stop;
    }

    std::string Name()
    {
        const std::size_t start = i_;
        while (i_ < t_.size() && IsNameChar(t_[i_])) {
            out_ += Convert(t_[i_], i_ > 0 ? t_[i_ - 1] : '\0', mode_);
            ++i_;
        }
        return std::string(t_.substr(start, i_ - start));
    }

    void Quoted()
    {
        const std::size_t close = t_.find(t_[i_], i_ + 1);
        CopyTo(close == std::string_view::npos ? t_.size() : close + 1);
    }

    void Value()
    {
        while (i_ < t_.size() && (t_[i_] == ' ' || t_[i_] == '\t' || t_[i_] == '\r' || t_[i_] == '\n'))
            out_ += t_[i_++];
        if (i_ >= t_.size())
            return;
        if (t_[i_] == '"' || t_[i_] == '\'') {
            Quoted();
        } else if (At("<%")) {
            CopyThrough("%>");
        } else {
            std::size_t stop = i_;
            while (stop < t_.size() && static_cast<unsigned char>(t_[stop]) > ' ' && t_[stop] != '>')
                ++stop;
            CopyTo(stop);
        }
    }

    // At '<' of a start or end tag: names converted, values and embedded script kept.
    void Tag()
    {
        out_ += t_[i_++];
        const bool closing = t_[i_] == '/';
        if (closing)
            out_ += t_[i_++];
        const std::string name = Name();
        while (i_ < t_.size() && t_[i_] != '>') {
            const char c = t_[i_];
            if (At("<%")) {
                CopyThrough("%>");
            } else if (c == '"' || c == '\'') {
                Quoted();
            } else if (c == '=') {
                out_ += t_[i_++];
                Value();
            } else if (IsNameChar(c)) {
                Name();
            } else {
                out_ += t_[i_++];
            }
        }
        if (i_ < t_.size())
            out_ += t_[i_++];
        if (!closing && SameText(name, "script"))
            SkipScriptBody();
    }

    void SkipScriptBody()
    {
        const std::string lower = vx::LowerCase(t_.substr(i_));
        const std::size_t end = lower.find("</script");
        CopyTo(end == std::string::npos ? t_.size() : i_ + end);
    }

    std::string_view t_;
    TCase mode_;
    std::string out_;
    std::size_t i_ = 0;
};

} // namespace

std::string CapitalizeWords(std::string_view text)
{
    std::string result(text);
    for (std::size_t i = 1; i < result.size(); ++i)
        if (text[i - 1] == ' ' && result[i] >= 'a' && result[i] <= 'z')
            result[i] = static_cast<char>(result[i] - 32);
    return result;
}

std::string ApplyTagCase(std::string_view text, std::string_view mode)
{
    const TCase c = CaseOf(mode);
    if (c == TCase::None)
        return std::string(text);
    return TTagCaseScanner(text, c).Run();
}

} // namespace vx::shell
