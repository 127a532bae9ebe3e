#include "tools/SourceBeautifier.h"

#include "platform/AnsiText.h"
#include "tools/BeautifierKeys.h"
#include "tools/Banner.h"
#include "tools/DateTimeText.h"
#include "tools/PageBeautifier.h"
#include "tools/ScriptTidy.h"
#include "tools/TextLines.h"
#include "tools/TextScan.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace vx::tools {

namespace {

const std::string Mark(1, WordMark);
constexpr std::string_view ShownMark = ShownWordMark;
constexpr std::string_view CrLf = "\r\n";
constexpr std::string_view OpenOutput = "<%=";
constexpr std::string_view MaskedOpen = "%%<<<<=";
constexpr std::string_view MaskedClose = ">>>>%%";

// The next match of the lower-case search at or after from; with
// outsideQuotes, matches inside double-quoted strings are passed over. Calls
// come with growing positions, and the text after the last match stays as it
// was, so the next opening quote is found once.
class TMatcher {
public:
    TMatcher(std::string_view search, bool outsideQuotes) : search_(search), outsideQuotes_(outsideQuotes) {}

    std::size_t Next(std::string_view text, std::size_t from)
    {
        for (;;) {
            const std::size_t hit = FindNoCase(text, search_, from);
            if (!outsideQuotes_ || hit == std::string_view::npos)
                return hit;
            if (!quoteKnown_) {
                openQuote_ = Find(text, '"', from);
                quoteKnown_ = true;
            }
            if (openQuote_ == std::string_view::npos || openQuote_ > hit)
                return hit;
            const std::size_t close = Find(text, '"', openQuote_ + 1);
            if (close == std::string_view::npos)
                return close;
            openQuote_ = Find(text, '"', close + 1);
            from = std::max(from, close + 1);
        }
    }

private:
    static std::size_t Find(std::string_view text, char c, std::size_t from)
    {
        return from >= text.size() ? std::string_view::npos : text.find(c, from);
    }

    std::string_view search_;
    bool outsideQuotes_;
    bool quoteKnown_ = false;
    std::size_t openQuote_ = std::string_view::npos;
};

// Every match replaced, in place. A replacement shorter than the search is
// written into the unread text and read again, so runs collapse; a longer one
// is not, and needs a new text.
void ReplaceWithin(std::string& text, std::string_view lowerSearch, std::string_view replacement, bool outsideQuotes)
{
    if (lowerSearch.empty())
        return;
    TMatcher matcher(lowerSearch, outsideQuotes);
    if (replacement.size() >= lowerSearch.size()) {
        std::string out;
        // Room for growth, so a text with many matches is not copied again as it grows.
        out.reserve(text.size() + text.size() / 4);
        std::size_t pos = 0;
        for (std::size_t hit; (hit = matcher.Next(text, pos)) != std::string_view::npos;
             pos = hit + lowerSearch.size()) {
            out.append(text, pos, hit - pos);
            out.append(replacement);
        }
        if (pos == 0)
            return;
        out.append(text, pos);
        text = std::move(out);
        return;
    }
    std::size_t written = 0;
    std::size_t read = 0;
    // Until the first match, the text stays where it is.
    for (std::size_t hit; (hit = matcher.Next(text, read)) != std::string::npos;) {
        if (written != read)
            std::memmove(&text[written], &text[read], hit - read);
        written += hit - read;
        read = hit + lowerSearch.size() - replacement.size();
        std::copy(replacement.begin(), replacement.end(), text.begin() + static_cast<std::ptrdiff_t>(read));
    }
    if (written == read)
        return;
    std::memmove(&text[written], &text[read], text.size() - read);
    text.resize(written + text.size() - read);
}

// Runs of blanks and tabs outside quotes become one blank, in place.
void CollapseBlanks(std::string& text)
{
    bool inside = false;
    const auto end = CollapseBlanksTo(text, text.begin(), inside);
    text.resize(static_cast<std::size_t>(end - text.begin()));
}

// Every line trimmed and ended by CR LF, the last one too; a text that ends
// in a line break gains no empty line.
std::string TrimmedLines(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 16 + 2);
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t end = LineEnd(text, pos);
        std::size_t first = pos;
        std::size_t last = end;
        while (first < last && blank(text[first]))
            ++first;
        while (last > first && blank(text[last - 1]))
            --last;
        out.append(text, first, last - first);
        out += CrLf;
        pos = end + (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
    return out;
}

// Every "<% " and "<%" at a line end becomes a line "<% " of its own, every
// "%>" a line "%>", in one pass; the three replacements in turn would give the
// same, as a "<%" that meets a following "<% " forms one more line end delimiter.
std::string DelimitersOnOwnLines(std::string_view text)
{
    constexpr std::string_view OpenLine = "\r\n<% \r\n";
    constexpr std::string_view CloseLine = "\r\n%>\r\n";
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    std::size_t copied = 0;
    // Each delimiter holds a percent sign; it is the rare byte to look for.
    for (std::size_t at = text.find('%'); at != std::string_view::npos; at = text.find('%', at + 1)) {
        const std::string_view after = text.substr(at + 1);
        const bool open = at > copied && text[at - 1] == '<';
        if (open && (after.starts_with(' ') || after.starts_with(CrLf))) {
            out.append(text, copied, at - 1 - copied);
            if (out.ends_with("<%") && after.starts_with(' ')) {
                // "<%" and the line end opening the new line make one more delimiter line.
                out.resize(out.size() - 2);
                out.append(OpenLine);
                out.append(OpenLine.substr(CrLf.size()));
            } else {
                out.append(OpenLine);
            }
            copied = at + 1 + (after.starts_with(' ') ? 1 : CrLf.size());
            at = copied - 1;
        } else if (after.starts_with('>')) {
            out.append(text, copied, at - copied);
            out.append(CloseLine);
            copied = at + 2;
            at = copied - 1;
        }
    }
    out.append(text, copied);
    return out;
}

// The lines of a text whose every line ends in CR LF, as the script delimiter
// lines leave it: empty lines and lines of one blank dropped, a blank at either
// end of a line taken off, but none inside a string (strings run across lines).
std::vector<std::string_view> TidyLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    bool inside = false;
    bool first = true;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t end = LineEnd(text, pos);
        std::string_view line = text.substr(pos, end - pos);
        pos = end + CrLf.size();
        const bool startsInside = inside;
        std::size_t quotes = 0;
        for (const char c : line)
            quotes += c == '"';
        inside = inside != (quotes % 2 != 0);
        const bool wasFirst = std::exchange(first, false);
        if (!wasFirst && (line.empty() || (line == " " && !startsInside)))
            continue;
        if (!wasFirst && !startsInside && line.starts_with(' '))
            line.remove_prefix(1);
        // The state at a last blank is the state at the line's end.
        if (!inside && line.ends_with(' '))
            line.remove_suffix(1);
        if (wasFirst && line.empty())
            continue;
        lines.push_back(line);
    }
    return lines;
}

// Each "<%=" and the first "%>" after it are masked, so an output expression
// stays inside its HTML line.
std::string MaskOutputExpressions(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    std::size_t pos = 0;
    for (std::size_t open; (open = text.find(OpenOutput, pos)) != std::string_view::npos;) {
        const std::size_t close = text.find("%>", open + OpenOutput.size());
        if (close == std::string_view::npos)
            break;
        out.append(text, pos, open - pos);
        out.append(MaskedOpen);
        out.append(text, open + OpenOutput.size(), close - open - OpenOutput.size());
        out.append(MaskedClose);
        pos = close + 2;
    }
    out.append(text.substr(pos));
    return out;
}

std::string WithoutStrings(std::string_view line)
{
    std::string out;
    out.reserve(line.size());
    bool inString = false;
    for (const char c : line) {
        if (c == '"')
            inString = !inString;
        else if (!inString)
            out.push_back(c);
    }
    return out;
}

// "endif" split outside strings and the output expressions unmasked, in
// place. Neither crosses a line end, so lines are done one by one; inside
// carries whether a string runs on from the line before.
void FinishLine(std::string& line, bool& inside)
{
    const bool startsInside = inside;
    if (std::count(line.begin(), line.end(), '"') % 2 != 0)
        inside = !inside;
    if (FindNoCase(line, "endif", 0) != std::string_view::npos) {
        std::string out;
        out.reserve(line.size() + 8);
        ForEachQuotePiece(
            line,
            [&out](std::string_view piece, bool quoted) {
                if (quoted)
                    out.append(piece);
                else
                    AppendSplitEndIf(out, piece);
            },
            startsInside);
        line = std::move(out);
    }
    if (line.find('%') != std::string::npos)
        line = ReplaceAllText(ReplaceAllText(line, MaskedOpen, OpenOutput), MaskedClose, "%>");
}

// Reads the lines of the text and writes each out indented and finished,
// ended by LF, into one text: a line of its own for each costs an allocation.
class TIndenter {
public:
    TIndenter(const TBeautifyOptions& options, bool startsInScript, std::string& out)
        : options_(options), inScript_(startsInScript), out_(out)
    {
    }

    void Line(const std::vector<std::string_view>& lines, std::size_t& i)
    {
        const std::string_view line = lines[i];
        // Both delimiters hold a percent sign; most lines have none.
        const bool maybeDelimiter = line.find('%') != std::string_view::npos;
        if (maybeDelimiter && FindExact(line, "<%") != std::string_view::npos) {
            inScript_ = true;
            Write(line);
        } else if (maybeDelimiter && FindExact(line, "%>") != std::string_view::npos) {
            inScript_ = false;
            Write(line);
        } else if (inScript_) {
            Statement(lines, i);
        } else {
            TKeyBytes present;
            if (options_.Html) {
                MakeLineKeyIn(key_, line);
                present = KeyBytes(key_);
                html_ -= CountMatches(key_, present, options_.OutdentHtml);
            }
            Write(line);
            if (options_.Html)
                html_ += CountMatches(key_, present, options_.IndentHtml);
        }
    }

private:
    // A statement may run over continuation lines; those follow it at its level.
    void Statement(const std::vector<std::string_view>& lines, std::size_t& i)
    {
        std::size_t last = i;
        std::string joined;
        while (EndsWithContinuation(lines[last]) && last + 1 < lines.size()) {
            if (last == i)
                joined = lines[i];
            joined.resize(joined.size() - 1);
            joined += lines[++last];
        }
        const TStatementStep step = ClassifyStatement(key_, last == i ? lines[i] : std::string_view(joined), options_);
        if (step.Outdents)
            --script_;
        for (std::size_t k = i; k < last; ++k)
            Write(lines[k]);
        Write(lines[last], step.OneLineIf && !step.HoldsEndIf ? " end if" : "");
        if (step.Indents)
            ++script_;
        if (script_ < -2)
            script_ = 0;
        i = last;
    }

    void Write(std::string_view line, std::string_view suffix = {})
    {
        const auto [htmlCount, fill] = IndentRun(html_, options_.Unit);
        const std::size_t scriptCount = IndentRun(script_, options_.Unit).first;
        line_.assign(htmlCount + scriptCount, fill);
        line_.append(line);
        line_.append(suffix);
        FinishLine(line_, inString_);
        out_.append(line_);
        out_.push_back('\n');
    }

    const TBeautifyOptions& options_;
    bool inScript_;
    std::string& out_;
    int html_ = 0;
    int script_ = 0;
    // Whether a string runs on from the line written before.
    bool inString_ = false;
    std::string key_;
    std::string line_;
};

void ReportStep(const TBeautifyProgress& progress, int number)
{
    if (progress)
        progress(number);
}

} // namespace

const TShippedLists& ShippedWordLists()
{
    const auto marked = [](std::initializer_list<const char*> words) {
        std::vector<std::string> lines;
        for (const char* word : words) {
            std::string line(word);
            std::replace(line.begin(), line.end(), '|', WordMark);
            lines.push_back(line);
        }
        return lines;
    };
    static const TShippedLists lists{
        marked({"|<html", "|<body", "|<table", "|<tr", "|<td", "|<font"}),
        marked({"|</html", "|</body", "|</table", "|</tr", "|</td", "|</font"}),
        marked({"|for|", "|if|", "|else|", "|REPEAT|", "|DO|", "|FUNCTION|", "|SELECT|", "|SUB|", "|WHILE|"}),
        marked({"|next|", "|else|", "|WEND|", "|UNTIL|", "|LOOP|", "|end|", "|loop|while|"}),
    };
    return lists;
}

std::vector<std::string> WordKeys(const std::vector<std::string>& lines)
{
    std::vector<std::string> keys;
    keys.reserve(lines.size());
    for (const std::string& line : lines)
        keys.push_back(MakeWordKey(Trim(line)));
    return keys;
}

std::string ReplaceAllText(std::string_view text, std::string_view search, std::string_view replacement)
{
    std::string out(text);
    ReplaceWithin(out, LowerCase(search), replacement, false);
    return out;
}

std::string ReplaceOutsideQuotes(std::string_view text, std::string_view search, std::string_view replacement)
{
    std::string out(text);
    ReplaceWithin(out, LowerCase(search), replacement, true);
    return out;
}

namespace {

std::string ReplaceEvery(std::string_view text, std::string_view what, std::string_view by)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0;;) {
        const std::size_t at = text.find(what, pos);
        out.append(text.substr(pos, at - pos));
        if (at == std::string_view::npos)
            return out;
        out.append(by);
        pos = at + what.size();
    }
}

} // namespace

std::string ShownKey(std::string_view key) { return ReplaceEvery(key, std::string_view(&WordMark, 1), ShownMark); }

std::string MakeWordKey(std::string_view line)
{
    std::string key = WithoutStrings(ReplaceEvery(line.substr(0, CommentStart(line)), ShownMark,
                                                  std::string_view(&WordMark, 1)));
    std::replace(key.begin(), key.end(), ' ', WordMark);
    return AnsiUpperCase(key);
}

std::string MakeLineKey(std::string_view line)
{
    std::string key;
    MakeLineKeyIn(key, line);
    return key;
}

std::string IndentOf(int level, TIndentUnit unit)
{
    const auto [count, fill] = IndentRun(level, unit);
    return std::string(count, fill);
}

bool IsPage(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && text[first] == '<';
}

bool HasScriptBlocks(std::string_view text)
{
    return text.find("<%") != std::string_view::npos;
}

std::string BeautifyBanner(const TClockReading& when)
{
    const std::string dateTime = ShortDateLongTime(when, vx::BuiltInFormatSettings());
    return "<!--code beautified " + dateTime + " by Vellumix Professional " + VersionTag + "-->";
}

std::string BeautifyText(std::string_view input, const TBeautifyOptions& options, const TBeautifyProgress& progress)
{
    if (!IsPage(input))
        return BeautifyScript(input, options, progress);
    // The page is read once; its steps are reported as the script's are.
    for (const int number : {1, 2, 3})
        ReportStep(progress, number);
    std::string out;
    out.reserve(input.size() + input.size() / 4);
    BeautifyPage(input, options, out);
    ReportStep(progress, 6);
    return out;
}

std::string BeautifyScript(std::string_view input, const TBeautifyOptions& options, const TBeautifyProgress& progress)
{
    const auto step = [&progress](int number) { ReportStep(progress, number); };

    step(1);
    std::string text = MaskOutputExpressions(TrimmedLines(input));
    // A document writes the mark as the character the user sees.
    ReplaceWithin(text, std::string(ShownMark) + std::string(ShownMark), ShownMark, true);
    CollapseBlanks(text);

    step(2);
    text = DelimitersOnOwnLines(text);

    step(3);
    const std::vector<std::string_view> lines = TidyLines(text);
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    TIndenter indenter(options, !HasScriptBlocks(input), out);
    for (std::size_t i = 0; i < lines.size(); ++i)
        indenter.Line(lines, i);
    step(6);
    return out;
}

} // namespace vx::tools
