#include "tools/PageBeautifier.h"

#include "tools/BeautifierKeys.h"
#include "tools/HtmlNesting.h"
#include "tools/PageScanner.h"
#include "tools/ScriptTidy.h"
#include "tools/TextLines.h"
#include "tools/TextScan.h"

#include <algorithm>
#include <cstring>

namespace vx::tools {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::size_t NextLine(std::string_view text, std::size_t end)
{
    return end + (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n' ? 2 : 1);
}

// The first "<" in [from, to), or to.
std::size_t NextOpen(std::string_view text, std::size_t from, std::size_t to)
{
    const void* hit = from < to ? std::memchr(text.data() + from, '<', to - from) : nullptr;
    return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text.data()) : to;
}

// A page whose server blocks are JScript is no VBScript.
bool IsVBScriptPage(std::string_view text)
{
    const std::size_t directive = text.find("<%@");
    if (directive == std::string_view::npos)
        return true;
    const std::string_view rest = text.substr(directive, text.find("%>", directive) - directive);
    return FindNoCase(rest, "jscript", 0) == std::string_view::npos &&
           FindNoCase(rest, "javascript", 0) == std::string_view::npos;
}

class TPageBeautifier {
public:
    TPageBeautifier(std::string_view text, const TBeautifyOptions& options, std::string& out)
        : text_(text), options_(options), out_(out), html_(options.IndentHtml, options.OutdentHtml),
          vbscriptPage_(IsVBScriptPage(text)), vbscript_(options.Script && vbscriptPage_)
    {
    }

    void Run()
    {
        for (std::size_t pos = 0; pos < text_.size();) {
            std::size_t end = LineEnd(text_, pos);
            if (pos < openUntil_) {
                VerbatimLine(pos, end);
            } else if (const std::size_t block = ScriptBlockAlone(pos, end); block != std::string_view::npos) {
                end = LineEnd(text_, ScriptBlock(block));
            } else {
                FormattedLine(pos, end);
            }
            pos = NextLine(text_, end);
        }
    }

private:
    // What the item at pos (a "<") does to the levels, and where it ends.
    struct TItem {
        TMarkup Kind;
        std::size_t End;
        // For a start tag: the HTML level once the elements it ends are closed.
        int LevelBefore;
        // For an end tag: its line stands at the outer level.
        bool Hangs;
        // For a server block: the lowest script level its first line reaches.
        int ScriptBefore;
        // A start tag with the content and end tag of its raw element.
        bool Raw;
    };

    TItem Item(std::size_t pos)
    {
        const TMarkupSpan span = ScanMarkup(text_, pos);
        TItem item{span.Kind, span.End, html_.Level(), false, script_, false};
        if (span.Kind == TMarkup::StartTag || span.Kind == TMarkup::EndTag) {
            const TTagName name(text_, pos);
            const unsigned flags = ElementFlags(name.View());
            const std::string_view tag = text_.substr(pos, span.End - pos);
            if (span.Kind == TMarkup::StartTag) {
                if (options_.Html)
                    item.LevelBefore = html_.Start(tag, name, flags);
                item.Raw = (flags & ElementRaw) != 0;
                if (item.Raw)
                    item.End = RawElementEnd(text_, span.End, name.View());
            } else if (options_.Html) {
                item.Hangs = html_.End(tag, name, flags);
            }
        } else if (span.Kind == TMarkup::Server) {
            item.ScriptBefore = ServerBlock(pos, span.End);
        }
        return item;
    }

    // A line that starts inside a construct is copied as it stands; what
    // follows the construct on it still opens and closes elements.
    void VerbatimLine(std::size_t pos, std::size_t end)
    {
        out_.append(text_, pos, end - pos);
        out_ += '\n';
        for (std::size_t at = NextOpen(text_, openUntil_, end); at < end; at = NextOpen(text_, at, end)) {
            const TItem item = Item(at);
            at = item.Kind == TMarkup::Text ? at + 1 : item.End;
            if (at > end)
                openUntil_ = at;
        }
    }

    void FormattedLine(std::size_t pos, std::size_t end)
    {
        while (pos < end && IsBlank(text_[pos]))
            ++pos;
        // Lines of white space only are left out.
        if (pos == end)
            return;
        line_.clear();
        int level = html_.Level();
        int scriptLevel = script_;
        // Tags that open the line may move it out; comments between them do not end the run.
        bool leading = true;
        bool first = true;
        bool endsInText = false;
        while (pos < end) {
            if (text_[pos] != '<') {
                const std::size_t open = NextOpen(text_, pos, end);
                AppendText(pos, open);
                pos = open;
                leading = first = false;
                endsInText = true;
                continue;
            }
            const TItem item = Item(pos);
            endsInText = item.Kind == TMarkup::Text;
            if (item.Kind == TMarkup::Text) {
                line_ += '<';
                ++pos;
                leading = first = false;
                continue;
            }
            if (leading && item.Kind == TMarkup::StartTag)
                level = std::min(level, item.LevelBefore);
            else if (leading && item.Kind == TMarkup::EndTag && item.Hangs)
                level = std::min(level, html_.Level());
            else if (item.Kind != TMarkup::Comment && item.Kind != TMarkup::EndTag)
                leading = false;
            if (first && item.Kind == TMarkup::Server)
                scriptLevel = std::min(scriptLevel, item.ScriptBefore);
            first = false;
            if (item.End > end) {
                // The construct runs on over the next lines: the rest of this one is its.
                line_.append(text_, pos, end - pos);
                openUntil_ = item.End;
                break;
            }
            if ((item.Kind == TMarkup::StartTag && !item.Raw) || item.Kind == TMarkup::EndTag)
                AppendTag(pos, item.End);
            else
                line_.append(text_, pos, item.End - pos);
            pos = item.End;
        }
        if (endsInText)
            while (!line_.empty() && line_.back() == ' ')
                line_.pop_back();
        const auto [htmlCount, fill] = IndentRun(level, options_.Unit);
        out_.append(htmlCount, fill);
        out_.append(IndentRun(scriptLevel, options_.Unit).first, fill);
        out_ += line_;
        out_ += '\n';
    }

    // Where a block of VBScript statements starts that stands alone on its
    // line (and on the lines it runs over): only blanks before "<%" and after
    // "%>". Such a block is rewritten; one that shares its line with markup
    // is not, as a line break beside it would be a blank on the page. npos
    // when the line holds none.
    std::size_t ScriptBlockAlone(std::size_t pos, std::size_t end) const
    {
        while (pos < end && IsBlank(text_[pos]))
            ++pos;
        if (!vbscriptPage_ || end - pos < 2 || text_[pos] != '<' || text_[pos + 1] != '%' ||
            (pos + 2 < text_.size() && (text_[pos + 2] == '=' || text_[pos + 2] == '@')))
            return std::string_view::npos;
        std::size_t after = ServerBlockEnd(text_, pos);
        while (after < text_.size() && IsBlank(text_[after]))
            ++after;
        return after == text_.size() || text_[after] == '\r' || text_[after] == '\n' ? pos : std::string_view::npos;
    }

    // The block of statements at pos written with its delimiters on lines of
    // their own, each statement line indented by its script level; both
    // delimiters stand at the lowest level a statement of the block stands
    // at. Answers where the block ends.
    std::size_t ScriptBlock(std::size_t pos)
    {
        const std::size_t end = ServerBlockEnd(text_, pos);
        const bool closed = end - pos >= 4 && text_.substr(end - 2, 2) == "%>";
        const std::string_view code = text_.substr(pos + 2, end - (closed ? 2 : 0) - pos - 2);
        block_.clear();
        statement_.clear();
        int lowest = script_;
        for (std::size_t at = 0; at < code.size();) {
            const std::size_t lineEnd = LineEnd(code, at);
            const std::size_t start = statement_.size();
            const std::size_t codeEnd = AppendTidyScriptLine(statement_, code.substr(at, lineEnd - at));
            // Lines of white space only are left out; a statement continued
            // over the next line is written once it is whole.
            if (statement_.size() > start) {
                if (codeEnd == statement_.size() && EndsWithContinuation(statement_))
                    statement_ += '\n';
                else
                    lowest = std::min(lowest, WriteStatement(codeEnd));
            }
            at = lineEnd < code.size() ? NextLine(code, lineEnd) : code.size();
        }
        if (!statement_.empty())
            lowest = std::min(lowest, WriteStatement(statement_.size() - 1));
        const auto [htmlCount, fill] = IndentRun(html_.Level(), options_.Unit);
        const std::size_t indent = htmlCount + IndentRun(lowest, options_.Unit).first;
        out_.append(indent, fill);
        out_ += "<%\n";
        out_ += block_;
        if (closed) {
            out_.append(indent, fill);
            out_ += "%>\n";
        }
        return end;
    }

    // The statement in statement_ (its lines parted by LF, its code ending at
    // codeEnd) moves the script level and is written into block_ at the
    // level it stands at, which it answers; a one-line If gets the End If it
    // lacks.
    int WriteStatement(std::size_t codeEnd)
    {
        joined_.clear();
        for (std::size_t at = 0; at < codeEnd; ++at) {
            if (statement_[at] == '\n')
                joined_.pop_back(); // the continuation mark
            else
                joined_ += statement_[at];
        }
        int stands = script_;
        // After a string that is never closed an End If would be part of it.
        if (Statements(joined_, &stands) && std::count(joined_.begin(), joined_.end(), '"') % 2 == 0)
            statement_.insert(codeEnd, " end if");
        const auto [htmlCount, fill] = IndentRun(html_.Level(), options_.Unit);
        const std::size_t indent = htmlCount + IndentRun(stands, options_.Unit).first;
        for (std::size_t at = 0; at < statement_.size();) {
            const std::size_t lineEnd = std::min(statement_.find('\n', at), statement_.size());
            if (lineEnd > at) {
                block_.append(indent, fill);
                block_.append(statement_, at, lineEnd - at);
                block_ += '\n';
            }
            at = lineEnd + 1;
        }
        statement_.clear();
        return stands;
    }

    // Text with each run of blanks and tabs as one blank.
    void AppendText(std::size_t from, std::size_t to)
    {
        while (from < to) {
            std::size_t blank = from;
            while (blank < to && !IsBlank(text_[blank]))
                ++blank;
            line_.append(text_, from, blank - from);
            if (blank == to)
                break;
            line_ += ' ';
            from = blank;
            while (from < to && IsBlank(text_[from]))
                ++from;
        }
    }

    // A tag on one line, its blank runs outside quoted values as one blank.
    void AppendTag(std::size_t from, std::size_t to)
    {
        const std::string_view tag = text_.substr(from, to - from);
        if (tag.find('\t') == std::string_view::npos && tag.find("  ") == std::string_view::npos) {
            line_ += tag;
            return;
        }
        TTagWalker walker(text_, from);
        while (walker.Next() && walker.Begin() < to) {
            if (walker.Part() == TTagPart::Blank)
                line_ += ' ';
            else
                line_.append(text_, walker.Begin(), walker.End() - walker.Begin());
        }
    }

    // The VBScript statements of a server block move the script level; the
    // result is the lowest level the statements on its first line reach.
    int ServerBlock(std::size_t pos, std::size_t end)
    {
        int first = script_;
        if (!vbscript_ || text_[pos + 1] != '%' || pos + 2 >= end || text_[pos + 2] == '=' || text_[pos + 2] == '@')
            return first;
        std::string_view code = text_.substr(pos + 2, end - pos - 2);
        if (code.ends_with("%>"))
            code.remove_suffix(2);
        for (std::size_t at = 0; at < code.size();) {
            std::size_t lineEnd = LineEnd(code, at);
            std::string_view line = code.substr(at, lineEnd - at);
            // A statement continued over several lines is one statement.
            if (EndsWithContinuation(line)) {
                joined_.assign(line);
                while (EndsWithContinuation(joined_) && lineEnd < code.size()) {
                    joined_.pop_back();
                    const std::size_t next = NextLine(code, lineEnd);
                    lineEnd = LineEnd(code, next);
                    joined_.append(code.substr(next, lineEnd - next));
                }
                line = joined_;
            }
            Statements(line, at == 0 ? &first : nullptr);
            at = lineEnd < code.size() ? NextLine(code, lineEnd) : code.size();
        }
        return first;
    }

    // The statements of one line, parted at colons outside strings; a one-line
    // If takes the rest of the line. lowest, when given, is lowered to each
    // level a statement's outdent reaches. Answers whether the line holds a
    // one-line If whose rest holds no End If.
    bool Statements(std::string_view line, int* lowest)
    {
        line = line.substr(0, CommentStart(line));
        bool inString = false;
        std::size_t start = 0;
        for (std::size_t i = 0; i <= line.size(); ++i) {
            if (i < line.size() && line[i] == '"')
                inString = !inString;
            if (i < line.size() && (inString || line[i] != ':'))
                continue;
            const std::string_view rest = line.substr(start);
            const std::string_view statement = Trimmed(line.substr(start, i - start));
            start = i + 1;
            if (statement.empty())
                continue;
            const TStatementStep step = ClassifyCode(key_, statement, options_);
            if (step.Outdents)
                script_ = std::max(0, script_ - 1);
            if (lowest)
                *lowest = std::min(*lowest, script_);
            if (step.Indents)
                ++script_;
            if (step.OneLineIf)
                return !ClassifyCode(key_, rest, options_).HoldsEndIf;
        }
        return false;
    }

    static std::string_view Trimmed(std::string_view text)
    {
        while (!text.empty() && IsBlank(text.front()))
            text.remove_prefix(1);
        while (!text.empty() && IsBlank(text.back()))
            text.remove_suffix(1);
        return text;
    }

    std::string_view text_;
    const TBeautifyOptions& options_;
    std::string& out_;
    THtmlNesting html_;
    const bool vbscriptPage_;
    // The statements move the script level.
    const bool vbscript_;
    int script_ = 0;
    // The end of the construct the next line starts inside, if it does.
    std::size_t openUntil_ = 0;
    std::string line_;
    std::string key_;
    std::string joined_;
    // A rewritten server block, and the tidy lines of its statement being read.
    std::string block_;
    std::string statement_;
};

} // namespace

void BeautifyPage(std::string_view text, const TBeautifyOptions& options, std::string& out)
{
    TPageBeautifier(text, options, out).Run();
}

} // namespace vx::tools
