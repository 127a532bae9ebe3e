// Finding a page's own declaration of its character set.
#include "platform/DeclaredCharset.h"

#include "platform/AnsiText.h"
#include "platform/CharsetLabels.h"

#include <string>
#include <utility>

namespace vx {

namespace {

// Browsers take a declaration in the page's first 1024 bytes wherever it
// stands in them, and one further on while the page's head goes on.
constexpr std::size_t kAlwaysScanned = 1024;

bool IsSpace(char c)
{
    return c == '\t' || c == '\n' || c == '\f' || c == '\r' || c == ' ';
}

// The first place at or after `at` that holds no white space.
std::size_t PastSpaces(std::string_view text, std::size_t at)
{
    while (at < text.size() && IsSpace(text[at]))
        ++at;
    return at;
}

bool IsLetter(char c)
{
    return AsciiLower(c) >= 'a' && AsciiLower(c) <= 'z';
}

bool IsWord(std::string_view text, std::string_view word)
{
    return text.size() == word.size() && StartsNoCase(text, 0, word);
}

// The charset a content attribute's value names: "text/html; charset=koi8-r".
// The value is in lower case already.
std::optional<std::string_view> CharsetInContent(std::string_view content)
{
    std::size_t at = 0;
    for (;;) {
        const std::size_t found = content.find("charset", at);
        if (found == std::string_view::npos)
            return std::nullopt;
        at = PastSpaces(content, found + 7);
        if (at < content.size() && content[at] == '=')
            break;
    }
    at = PastSpaces(content, at + 1);
    if (at == content.size())
        return std::nullopt;
    if (content[at] == '"' || content[at] == '\'') {
        const std::size_t close = content.find(content[at], at + 1);
        if (close == std::string_view::npos)
            return std::nullopt;
        return CharsetOfLabel(content.substr(at + 1, close - at - 1));
    }
    const std::size_t end = content.find_first_of("\t\n\f\r ;", at);
    return CharsetOfLabel(content.substr(at, end == std::string_view::npos ? end : end - at));
}

struct TAttribute {
    std::string name;
    std::string value;
};

// Walks the page's markup: where a declaration is looked for, and where not.
class TPrescan {
public:
    explicit TPrescan(std::string_view page) : page_(page) {}

    std::optional<std::string_view> Run()
    {
        while (!AtEnd() && (at_ < kAlwaysScanned || !headOver_)) {
            if (StartsNoCase(page_, at_, "<!--")) {
                // "<!-->" is a whole comment too: its dashes close it.
                if (!SkipPast(page_.find("-->", at_ + 2), 3))
                    return std::nullopt;
            } else if (StartsNoCase(page_, at_, "<meta") && at_ + 5 < page_.size() &&
                       (IsSpace(page_[at_ + 5]) || page_[at_ + 5] == '/')) {
                at_ += 5;
                if (const std::optional<std::string_view> charset = Meta())
                    return charset;
                ++at_;
            } else if (StartsTag()) {
                SkipTag();
                ++at_;
            } else if (page_[at_] == '<' && at_ + 1 < page_.size() &&
                       (page_[at_ + 1] == '!' || page_[at_ + 1] == '/' || page_[at_ + 1] == '?')) {
                if (!SkipPast(page_.find('>', at_ + 1), 1))
                    return std::nullopt;
            } else {
                ++at_;
            }
        }
        return std::nullopt;
    }

private:
    bool AtEnd() const { return at_ >= page_.size(); }

    // Moves past what was found, `length` bytes there; false when nothing was.
    bool SkipPast(std::size_t found, std::size_t length)
    {
        if (found == std::string_view::npos)
            return false;
        at_ = found + length;
        return true;
    }

    // "<" and a letter, or "</" and a letter.
    bool StartsTag() const
    {
        if (page_[at_] != '<')
            return false;
        const std::size_t name = at_ + 1 < page_.size() && page_[at_ + 1] == '/' ? at_ + 2 : at_ + 1;
        return name < page_.size() && IsLetter(page_[name]);
    }

    // Steps over the tag's name and attributes to its ">", telling where the head ends.
    void SkipTag()
    {
        const std::size_t name = at_ + 1;
        while (!AtEnd() && !IsSpace(page_[at_]) && page_[at_] != '>')
            ++at_;
        const std::string_view tag = page_.substr(name, at_ - name);
        if (IsWord(tag, "body") || IsWord(tag, "/head"))
            headOver_ = true;
        while (NextAttribute()) {
        }
    }

    // The next attribute of the tag, in lower case; nothing at the tag's ">"
    // or the page's end. A value may be quoted; a name without one has "".
    std::optional<TAttribute> NextAttribute()
    {
        while (!AtEnd() && (IsSpace(page_[at_]) || page_[at_] == '/'))
            ++at_;
        if (AtEnd() || page_[at_] == '>')
            return std::nullopt;
        TAttribute attribute;
        for (;; ++at_) {
            if (AtEnd())
                return attribute;
            const char c = page_[at_];
            if (c == '=' && !attribute.name.empty())
                break;
            if (c == '/' || c == '>')
                return attribute;
            if (IsSpace(c)) {
                at_ = PastSpaces(page_, at_);
                if (AtEnd() || page_[at_] != '=')
                    return attribute;
                break;
            }
            attribute.name += AsciiLower(c);
        }
        at_ = PastSpaces(page_, at_ + 1);
        if (AtEnd())
            return attribute;
        const char quote = page_[at_];
        if (quote == '"' || quote == '\'') {
            const std::size_t close = page_.find(quote, at_ + 1);
            const std::size_t end = close == std::string_view::npos ? page_.size() : close;
            for (std::size_t i = at_ + 1; i < end; ++i)
                attribute.value += AsciiLower(page_[i]);
            at_ = close == std::string_view::npos ? end : close + 1;
            return attribute;
        }
        while (!AtEnd() && !IsSpace(page_[at_]) && page_[at_] != '>')
            attribute.value += AsciiLower(page_[at_++]);
        return attribute;
    }

    // A meta element's declaration, read from just after "<meta"; leaves the
    // position at its ">".
    std::optional<std::string_view> Meta()
    {
        // Only the first of each attribute counts.
        bool seenHttpEquiv = false, seenContent = false, seenCharset = false;
        bool gotPragma = false;
        std::optional<bool> needPragma;
        // Whether a declaration was read: a charset attribute's always, even
        // one naming no known character set; content's when it names one.
        bool charsetSet = false;
        std::optional<std::string_view> charset;
        while (std::optional<TAttribute> attribute = NextAttribute()) {
            if (attribute->name == "http-equiv" && !std::exchange(seenHttpEquiv, true)) {
                gotPragma = attribute->value == "content-type";
            } else if (attribute->name == "content" && !std::exchange(seenContent, true) && !charsetSet) {
                charset = CharsetInContent(attribute->value);
                charsetSet = charset.has_value();
                if (charsetSet)
                    needPragma = true;
            } else if (attribute->name == "charset" && !std::exchange(seenCharset, true)) {
                charset = CharsetOfLabel(attribute->value);
                charsetSet = true;
                needPragma = false;
            }
        }
        // A tag the page's end cuts off declares nothing.
        if (AtEnd() || !needPragma || (*needPragma && !gotPragma) || !charset)
            return std::nullopt;
        if (*charset == "UTF-16BE" || *charset == "UTF-16LE")
            return "UTF-8";
        if (*charset == "x-user-defined")
            return "windows-1252";
        return charset;
    }

    std::string_view page_;
    std::size_t at_ = 0;
    bool headOver_ = false;
};

} // namespace

std::optional<std::string_view> DeclaredCharset(std::string_view page)
{
    return TPrescan(page).Run();
}

} // namespace vx
