#include "tools/PageCompressor.h"

#include "tools/PageScanner.h"
#include "tools/TextScan.h"

#include <algorithm>
#include <array>

namespace vx::tools {

namespace {

bool IsRunChar(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool EqualsNoCase(std::string_view text, std::string_view lower)
{
    return text.size() == lower.size() && StartsNoCase(text, 0, lower);
}

// Values of these characters alone read the same to a browser without quotes.
bool SafeUnquoted(std::string_view value)
{
    return !value.empty() && std::all_of(value.begin(), value.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
               c == '.' || c == '_' || c == ':';
    });
}

struct TShortTag {
    std::string_view Long;
    std::string_view Short;
};

constexpr TShortTag ShortTags[] = {
    {"<strong>", "<b>"}, {"</strong>", "</b>"}, {"<em>", "<i>"},         {"</em>", "</i>"},
    {"<strike>", "<s>"}, {"</strike>", "</s>"}, {"<blockquote>", "<ul>"}, {"</blockquote>", "</ul>"},
};

// One character on either side of a run of white space, if there is one.
struct TNeighbour {
    bool Present;
    char Char;
};

// The line-break and blank rules over one run of white space. A rule that
// deletes a break looks at the characters beside it as they stand at that
// moment, so the rules run one after the other over the run.
class TRunRules {
public:
    explicit TRunRules(const TCompressOptions& options) : options_(options) {}

    // In markup (tags, comments, declarations) the carriage-return rules
    // step over the whole construct; the line-feed and blank rules do not.
    void Apply(std::string& run, TNeighbour before, TNeighbour after, bool inMarkup) const
    {
        const bool breaks = options_.Returns || options_.AllReturns;
        if (breaks)
            CollapseDoubledBreaks(run, inMarkup);
        if (options_.AllReturns) {
            if (!inMarkup) {
                DeleteBreaks(run, "\r\n", before, after);
                DeleteBreaks(run, "\r", before, after);
            }
            DeleteBreaks(run, "\n", before, after);
        }
        if (options_.Spaces)
            CollapseBlanks(run);
    }

private:
    static void CollapseDoubledBreaks(std::string& run, bool lineFeedsOnly)
    {
        std::size_t kept = 0;
        for (const char c : run) {
            const bool doubled = (c == '\n' || (c == '\r' && !lineFeedsOnly)) && kept > 0 && run[kept - 1] == c;
            if (!doubled)
                run[kept++] = c;
        }
        run.resize(kept);
    }

    static void DeleteBreaks(std::string& run, std::string_view pattern, TNeighbour before, TNeighbour after)
    {
        std::size_t kept = 0;
        for (std::size_t at = 0; at < run.size();) {
            if (run[at] == pattern[0] && (pattern.size() == 1 || (at + 1 < run.size() && run[at + 1] == pattern[1]))) {
                const bool hasBefore = kept > 0 || before.Present;
                const char previous = kept > 0 ? run[kept - 1] : before.Char;
                const std::size_t next = at + pattern.size();
                const bool hasAfter = next < run.size() || after.Present;
                const char following = next < run.size() ? run[next] : after.Char;
                if ((hasBefore && (previous == '>' || previous == ' ')) ||
                    (hasAfter && (following == '<' || following == ' ' || following == '\r' || following == '\n'))) {
                    at = next;
                    continue;
                }
            }
            run[kept++] = run[at++];
        }
        run.resize(kept);
    }

    static void CollapseBlanks(std::string& run)
    {
        std::size_t kept = 0;
        for (const char c : run)
            if (c != ' ' || kept == 0 || run[kept - 1] != ' ')
                run[kept++] = c;
        run.resize(kept);
    }

    const TCompressOptions& options_;
};

class TPageCompressor {
public:
    TPageCompressor(std::string_view text, const TCompressOptions& options)
        : text_(text), options_(options), rules_(options),
          whitespace_(options.Spaces || options.Returns || options.AllReturns),
          webbots_(options.Webbots && (options.Returns || options.AllReturns))
    {
        for (const char c : {' ', '\t', '\r', '\n'})
            stop_[static_cast<unsigned char>(c)] = whitespace_;
        stop_['<'] = true;
    }

    std::string Run()
    {
        out_.reserve(text_.size());
        std::size_t pos = 0;
        while (pos < text_.size()) {
            const char c = text_[pos];
            if (c == '<') {
                pos = Markup(pos);
            } else if (stop_[static_cast<unsigned char>(c)]) {
                pos = Whitespace(pos);
            } else {
                const std::size_t end = TextEnd(pos + 1);
                out_.append(text_, pos, end - pos);
                pos = end;
                afterBoundary_ = false;
            }
        }
        return std::move(out_);
    }

private:
    bool Stop(std::size_t pos) const { return stop_[static_cast<unsigned char>(text_[pos])]; }

    // The end of the text from pos that stays as it is: up to a stop, passing
    // over single blanks between words, which no rule changes.
    std::size_t TextEnd(std::size_t pos) const
    {
        for (;;) {
            while (pos < text_.size() && !Stop(pos))
                ++pos;
            if (pos + 1 < text_.size() && text_[pos] == ' ' && !Stop(pos + 1)) {
                pos += 2;
                continue;
            }
            return pos;
        }
    }

    // What opens at pos, with its element's name and flags (for tags).
    struct TScanned {
        TMarkup Kind;
        TTagName Name;
        unsigned Flags;
    };

    const TScanned& Scan(std::size_t pos)
    {
        if (pos != scannedAt_) {
            scannedAt_ = pos;
            const TMarkup kind = MarkupKind(text_, pos);
            const bool tag = kind == TMarkup::StartTag || kind == TMarkup::EndTag;
            scanned_.Kind = kind;
            scanned_.Name = tag ? TTagName(text_, pos) : TTagName();
            scanned_.Flags = tag ? ElementFlags(scanned_.Name.View()) : 0;
        }
        return scanned_;
    }

    // A webbot comment reaches through the next ">"; npos when none is to be removed here.
    std::size_t WebbotEnd(std::size_t pos) const
    {
        if (!webbots_ || !StartsNoCase(text_, pos, "<!--webbot"))
            return std::string_view::npos;
        const std::size_t close = text_.find('>', pos);
        return close == std::string_view::npos ? close : close + 1;
    }

    // Whether white space before the construct at pos is shown nowhere.
    bool BoundaryAt(std::size_t pos)
    {
        if (pos >= text_.size())
            return true;
        if (text_[pos] != '<')
            return false;
        const TScanned& scanned = Scan(pos);
        return IsDocumentDeclaration(pos, scanned.Kind) || (scanned.Flags & ElementBlock) != 0;
    }

    // "<!DOCTYPE ...>" and the like stand outside the shown page; the "<![if]>"
    // markers of conditional content do not part what is around them.
    bool IsDocumentDeclaration(std::size_t pos, TMarkup kind) const
    {
        return kind == TMarkup::Declaration && text_.compare(pos, 3, "<![") != 0;
    }

    TNeighbour Before() const { return {!out_.empty(), out_.empty() ? '\0' : out_.back()}; }
    TNeighbour At(std::size_t pos) const { return {pos < text_.size(), pos < text_.size() ? text_[pos] : '\0'}; }

    // A run of white space between text and markup; removed webbot comments join the runs around them.
    std::size_t Whitespace(std::size_t pos)
    {
        // Most runs are one blank between two words.
        if (text_[pos] == ' ' && pos + 1 < text_.size() && !stop_[static_cast<unsigned char>(text_[pos + 1])]) {
            out_ += ' ';
            return pos + 1;
        }
        run_.clear();
        for (;;) {
            const std::size_t start = pos;
            while (pos < text_.size() && IsRunChar(text_[pos]))
                ++pos;
            run_.append(text_, start, pos - start);
            const std::size_t webbot = pos < text_.size() ? WebbotEnd(pos) : std::string_view::npos;
            if (webbot == std::string_view::npos)
                break;
            pos = webbot;
        }
        if (run_ == " ") {
            out_ += ' ';
            return pos;
        }
        const char kept = KeptCharacter(run_);
        rules_.Apply(run_, Before(), At(pos), false);
        if (run_.empty() && !afterBoundary_ && !BoundaryAt(pos))
            run_ = kept;
        out_ += run_;
        return pos;
    }

    // White space a browser shows, as one character of the run (which is not empty).
    static char KeptCharacter(std::string_view run)
    {
        for (const char c : {'\n', ' ', '\t'})
            if (run.find(c) != std::string_view::npos)
                return c;
        return run.front();
    }

    // White space inside a tag, comment or declaration: never removed whole,
    // as it may part two words.
    void MarkupWhitespace(std::string_view run, std::size_t after)
    {
        if (run == " ") {
            out_ += ' ';
            return;
        }
        run_.assign(run);
        rules_.Apply(run_, Before(), At(after), true);
        if (run_.empty())
            run_ = KeptCharacter(run);
        out_ += run_;
    }

    // The markup's white space through the rules, everything else as it stands.
    void CopyMarkup(std::size_t from, std::size_t to)
    {
        while (from < to) {
            std::size_t blank = from;
            while (blank < to && !IsRunChar(text_[blank]))
                ++blank;
            out_.append(text_, from, blank - from);
            std::size_t end = blank;
            while (end < to && IsRunChar(text_[end]))
                ++end;
            if (end > blank)
                MarkupWhitespace(text_.substr(blank, end - blank), end);
            from = end;
        }
    }

    std::size_t Markup(std::size_t pos)
    {
        const TScanned& scanned = Scan(pos);
        const TMarkup kind = scanned.Kind;
        if (kind == TMarkup::Text) {
            out_ += '<';
            afterBoundary_ = false;
            return pos + 1;
        }
        if (kind != TMarkup::StartTag && kind != TMarkup::EndTag)
            return Construct(pos, kind);
        const TTagName name = scanned.Name;
        const unsigned flags = scanned.Flags;
        const bool start = kind == TMarkup::StartTag;
        afterBoundary_ = (flags & ElementBlock) != 0;
        if (start && (flags & ElementRaw)) {
            const std::size_t end = RawElementEnd(text_, TagEnd(text_, pos), name.View());
            out_.append(text_, pos, end - pos);
            if (flags & ElementClosesParagraph)
                centred_ = false;
            return end;
        }
        const std::size_t tagStart = out_.size();
        std::size_t end;
        if (options_.InvCommas || whitespace_) {
            end = Tag(pos);
        } else {
            end = TagEnd(text_, pos);
            out_.append(text_, pos, end - pos);
        }
        const std::string_view tag = std::string_view(out_).substr(tagStart);
        if (options_.SimpleTags && tag.size() <= 13)
            for (const TShortTag& shortTag : ShortTags)
                if (EqualsNoCase(tag, shortTag.Long)) {
                    out_.replace(tagStart, tag.size(), shortTag.Short);
                    break;
                }
        if (options_.Center)
            Centre(tagStart, start, flags);
        return end;
    }

    // Comments, declarations, server blocks and conditional comments.
    std::size_t Construct(std::size_t pos, TMarkup kind)
    {
        const std::size_t end = ScanMarkup(text_, pos).End;
        if (kind == TMarkup::Comment) {
            const std::size_t webbot = WebbotEnd(pos);
            if (webbot != std::string_view::npos)
                return webbot;
            // Server directives ("<!--#include") are the server's; other comments show nothing.
            if (text_.compare(pos, 5, "<!--#") == 0 || !whitespace_)
                out_.append(text_, pos, end - pos);
            else
                CopyMarkup(pos, end);
            return end;
        }
        if (kind == TMarkup::Declaration && IsDocumentDeclaration(pos, kind)) {
            if (whitespace_)
                CopyMarkup(pos, end);
            else
                out_.append(text_, pos, end - pos);
            afterBoundary_ = true;
            return end;
        }
        out_.append(text_, pos, end - pos);
        if (kind != TMarkup::Declaration)
            afterBoundary_ = false;
        return end;
    }

    // The tag's parts: quotes off the safe values, blank runs collapsed, no
    // blank before ">". Returns where the tag ends.
    std::size_t Tag(std::size_t pos)
    {
        const std::size_t tagStart = out_.size();
        const std::size_t end = WalkTag(pos, options_.InvCommas);
        if (end != std::string_view::npos)
            return end;
        // A tag holding an apostrophe keeps all its quotes.
        out_.resize(tagStart);
        return WalkTag(pos, false);
    }

    // npos when quotes were to come off but the tag holds an apostrophe. The
    // parts that stay as they are are written in one piece.
    std::size_t WalkTag(std::size_t pos, bool strip)
    {
        TTagWalker walker(text_, pos);
        std::size_t written = pos;
        const auto writeTo = [&](std::size_t to) {
            out_.append(text_, written, to - written);
            written = to;
        };
        bool afterBlank = false;
        while (walker.Next()) {
            const std::size_t begin = walker.Begin();
            const std::size_t end = walker.End();
            const std::string_view part = text_.substr(begin, end - begin);
            switch (walker.Part()) {
            case TTagPart::Blank:
                if (whitespace_ && part != " ") {
                    writeTo(begin);
                    MarkupWhitespace(part, end);
                    written = end;
                }
                break;
            case TTagPart::Quoted:
                if (strip && part.front() == '"' && part.size() >= 2 && part.back() == '"' &&
                    SafeUnquoted(part.substr(1, part.size() - 2))) {
                    writeTo(begin);
                    out_ += part.substr(1, part.size() - 2);
                    written = end;
                }
                break;
            case TTagPart::Close:
                writeTo(begin);
                if (options_.Spaces && afterBlank && out_.back() == ' ')
                    out_.pop_back();
                break;
            default:
                break;
            }
            afterBlank = walker.Part() == TTagPart::Blank;
        }
        writeTo(walker.End());
        if (strip && text_.substr(pos, walker.End() - pos).find('\'') != std::string_view::npos)
            return std::string_view::npos;
        return walker.End();
    }

    // A centred paragraph becomes a center element only when its own "</p>"
    // closes it; a paragraph that HTML ends earlier keeps its tag.
    void Centre(std::size_t tagStart, bool start, unsigned flags)
    {
        const std::string_view tag = std::string_view(out_).substr(tagStart);
        if (start && (EqualsNoCase(tag, "<p align=center>") || EqualsNoCase(tag, "<p align=\"center\">"))) {
            centred_ = true;
            opener_ = tagStart;
            openerSize_ = tag.size();
            return;
        }
        if (!start && centred_ && EqualsNoCase(tag, "</p>")) {
            out_.replace(tagStart, tag.size(), "</center>");
            out_.replace(opener_, openerSize_, "<center>");
            centred_ = false;
            return;
        }
        if (start ? (flags & ElementClosesParagraph) != 0 : (flags & ElementBlock) != 0)
            centred_ = false;
    }

    std::string_view text_;
    const TCompressOptions& options_;
    TRunRules rules_;
    const bool whitespace_;
    const bool webbots_;
    std::array<bool, 256> stop_{};
    std::string out_;
    std::string run_;
    // The last markup scanned, as white space ahead of it asks for it first.
    std::size_t scannedAt_ = std::string_view::npos;
    TScanned scanned_{TMarkup::Text, TTagName(), 0};
    // No shown content since the last block tag (or the page's start).
    bool afterBoundary_ = true;
    // An open centred paragraph and where its opener stands in the output.
    bool centred_ = false;
    std::size_t opener_ = 0;
    std::size_t openerSize_ = 0;
};

} // namespace

std::string CompressPage(std::string_view text, const TCompressOptions& options)
{
    return TPageCompressor(text, options).Run();
}

} // namespace vx::tools
