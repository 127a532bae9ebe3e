#include "tools/core/CompressPasses.h"

#include "tools/core/TextScan.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <cstring>
#include <vector>

namespace vx::tools {

namespace {

// The current text is the written part s[0, w) followed by the unread part
// s[r, end). Every pass only shrinks the text, so writing never overtakes
// reading and the whole pass runs in place in linear time.
class TCompactor {
public:
    explicit TCompactor(std::string& s) : s_(s) {}
    ~TCompactor()
    {
        CopyTo(s_.size());
        s_.resize(w_);
    }

    std::string_view Text() const { return s_; }
    std::size_t Read() const { return r_; }
    bool AtEnd() const { return r_ >= s_.size(); }
    char Current() const { return s_[r_]; }
    bool HasBefore() const { return w_ > 0; }
    char Before() const { return s_[w_ - 1]; }

    // Keeps the unread text up to (not including) pos.
    void CopyTo(std::size_t pos)
    {
        const std::size_t count = pos - r_;
        if (w_ != r_ && count)
            std::memmove(&s_[w_], &s_[r_], count);
        w_ += count;
        r_ = pos;
    }
    void Skip(std::size_t count) { r_ += count; }
    // Puts replacement in place of the next length unread characters and
    // leaves it unread, so it is looked at again.
    void Replace(std::size_t length, std::string_view replacement)
    {
        r_ += length - replacement.size();
        std::copy(replacement.begin(), replacement.end(), s_.begin() + static_cast<std::ptrdiff_t>(r_));
    }

private:
    std::string& s_;
    std::size_t w_ = 0;
    std::size_t r_ = 0;
};

// The characters a scan must stop at; everything between them is copied in bulk.
class TStops {
public:
    TStops() = default;
    TStops(std::initializer_list<char> stops)
    {
        for (const char c : stops)
            Add(c);
    }
    void Add(char c)
    {
        for (const char each : {c, c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c}) {
            if (!At(each) && count_ < static_cast<int>(bytes_.size()))
                bytes_[count_] = Repeated(each);
            if (!At(each))
                ++count_;
            stop_[static_cast<unsigned char>(each)] = true;
        }
    }
    bool At(char c) const { return stop_[static_cast<unsigned char>(c)]; }
    // The first stop at or after from, or the end.
    std::size_t Next(std::string_view text, std::size_t from) const
    {
        // Eight bytes at a time while no stop is among them.
        if (count_ <= static_cast<int>(bytes_.size()))
            while (from + 8 <= text.size() && !AnyStop(text.data() + from))
                from += 8;
        while (from < text.size() && !At(text[from]))
            ++from;
        return from;
    }

private:
    static std::uint64_t Repeated(char c) { return 0x0101010101010101ULL * static_cast<unsigned char>(c); }
    bool AnyStop(const char* at) const
    {
        std::uint64_t word;
        std::memcpy(&word, at, sizeof word);
        std::uint64_t found = 0;
        for (int i = 0; i < count_; ++i) {
            const std::uint64_t x = word ^ bytes_[i];
            found |= (x - 0x0101010101010101ULL) & ~x & 0x8080808080808080ULL;
        }
        return found != 0;
    }

    std::array<bool, 256> stop_{};
    std::array<std::uint64_t, 4> bytes_{};
    int count_ = 0;
};

bool IsBreakOrBlank(char c)
{
    return c == ' ' || c == '\r' || c == '\n';
}

// Moves over a protected block that opens here; false when it never closes (the pass stops).
bool StepToBlockEnd(TCompactor& scan, std::string_view open, std::string_view close)
{
    if (!StartsNoCase(scan.Text(), scan.Read(), open))
        return true;
    const std::size_t end = FindNoCase(scan.Text(), close, scan.Read());
    if (end == std::string_view::npos)
        return false;
    scan.CopyTo(end);
    return true;
}

bool MayDelete(const TCompactor& scan, std::size_t length)
{
    if (scan.HasBefore() && (scan.Before() == '>' || scan.Before() == ' '))
        return true;
    const std::size_t after = scan.Read() + length;
    if (after >= scan.Text().size())
        return false;
    const char next = scan.Text()[after];
    return next == '<' || IsBreakOrBlank(next);
}

} // namespace

namespace {

enum class TRuleResult { Changed, NoMatch };

// Step 3 of the engine: the first rule that matches here replaces, or deletes
// where its neighbours allow it.
TRuleResult ApplyRules(TCompactor& scan, std::span<const TReplaceRule> rules)
{
    for (const TReplaceRule& rule : rules) {
        if (!StartsNoCase(scan.Text(), scan.Read(), rule.Search))
            continue;
        if (!rule.Replacement.empty()) {
            scan.Replace(rule.Search.size(), rule.Replacement);
            return TRuleResult::Changed;
        }
        if (MayDelete(scan, rule.Search.size())) {
            scan.Skip(rule.Search.size());
            return TRuleResult::Changed;
        }
    }
    return TRuleResult::NoMatch;
}

} // namespace

void ReplacePass(std::string& text, const TReplacePass& pass, bool webbots)
{
    TCompactor scan(text);
    const bool stepsOverTags = !pass.Rules.empty() && pass.Rules.front().Search.starts_with('\r');
    TStops stops;
    if (pass.KeepPre || pass.KeepScript || stepsOverTags)
        stops.Add('<');
    for (const TReplaceRule& rule : pass.Rules)
        if (!rule.Search.empty())
            stops.Add(rule.Search.front());
    // The second characters of the searches: most stops are followed by none
    // of them, and there no rule needs trying.
    TStops seconds;
    bool anyShort = false;
    for (const TReplaceRule& rule : pass.Rules) {
        if (rule.Search.size() < 2)
            anyShort = true;
        else
            seconds.Add(rule.Search[1]);
    }
    const auto mayMatch = [&](std::size_t pos) {
        return anyShort || (pos + 1 < scan.Text().size() && seconds.At(scan.Text()[pos + 1]));
    };
    while (!scan.AtEnd()) {
        if (!stops.At(scan.Current())) {
            scan.CopyTo(stops.Next(scan.Text(), scan.Read() + 1));
            continue;
        }
        if (scan.Current() == '<') {
            // Every protected block opens with one of these letters after its "<".
            const char second = AsciiLower(scan.Read() + 1 < scan.Text().size() ? scan.Text()[scan.Read() + 1] : 0);
            const bool opener = second == 't' || second == 'p' || second == 's';
            if (opener && pass.KeepPre &&
                (!StepToBlockEnd(scan, "<textarea", "</textarea>") || !StepToBlockEnd(scan, "<pre", "</pre>")))
                return;
            if (opener && pass.KeepScript && !StepToBlockEnd(scan, "<script", "</script>"))
                return;
        }
        if (mayMatch(scan.Read()) && ApplyRules(scan, pass.Rules) == TRuleResult::Changed)
            continue;
        if (stepsOverTags && scan.Current() == '<') {
            const std::size_t close = scan.Text().find('>', scan.Read());
            if (close == std::string_view::npos)
                return;
            if (webbots && StartsNoCase(scan.Text(), scan.Read(), "<!--webbot")) {
                // What followed the comment is scanned from the removal point on.
                scan.Skip(close + 1 - scan.Read());
                continue;
            }
            scan.CopyTo(close);
        }
        scan.CopyTo(scan.Read() + 1);
    }
}

namespace {

// Values of these characters alone read the same to a browser without quotes.
bool SafeUnquoted(std::string_view value)
{
    return !value.empty() && std::all_of(value.begin(), value.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
               c == '.' || c == '_' || c == ':';
    });
}

// Walks one tag from its "<" through its first ">" outside quoted values,
// taking the quotes off the values that are safe without them; false when the
// text ended inside the tag.
bool StripTag(TCompactor& scan)
{
    static const TStops stops{'"', '>'};
    const std::string_view text = scan.Text();
    while (!scan.AtEnd()) {
        if (!stops.At(scan.Current())) {
            scan.CopyTo(stops.Next(text, scan.Read() + 1));
            continue;
        }
        const std::size_t pos = scan.Read();
        if (scan.Current() == '>') {
            scan.CopyTo(pos + 1);
            return true;
        }
        const std::size_t close = text.find('"', pos + 1);
        if (close == std::string_view::npos) {
            scan.CopyTo(text.size());
            return false;
        }
        if (SafeUnquoted(text.substr(pos + 1, close - pos - 1))) {
            scan.Skip(1);
            scan.CopyTo(close);
            scan.Skip(1);
        } else {
            scan.CopyTo(close + 1);
        }
    }
    return false;
}

} // namespace

void StripQuotes(std::string& text)
{
    TCompactor scan(text);
    while (!scan.AtEnd()) {
        const std::string_view view = scan.Text();
        const std::size_t pos = scan.Read();
        if (StartsNoCase(view, pos, "<script")) {
            const std::size_t end = FindNoCase(view, "</script", pos + 1);
            if (end == std::string_view::npos)
                return;
            scan.CopyTo(end + 1);
            continue;
        }
        if (scan.Current() == '<' && (pos + 1 >= view.size() || view[pos + 1] != '!')) {
            const std::size_t close = view.find('>', pos);
            if (close != std::string_view::npos &&
                view.substr(pos, close - pos).find('\'') != std::string_view::npos) {
                scan.CopyTo(close + 1);
                continue;
            }
            if (!StripTag(scan))
                return;
            continue;
        }
        const std::size_t next = view.find('<', pos + 1);
        scan.CopyTo(next == std::string_view::npos ? view.size() : next);
    }
}

void PairRules(std::string& text, std::span<const TPairRule> rules)
{
    TStops stops;
    for (const TPairRule& rule : rules)
        for (const std::string_view wanted : {rule.Opener, rule.Closer})
            if (!wanted.empty())
                stops.Add(wanted.front());
    // Whether each rule looks for its closer.
    std::vector<bool> closing(rules.size(), false);
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t stop = stops.Next(text, pos);
        out.append(text, pos, stop - pos);
        pos = stop;
        if (pos == text.size())
            break;
        bool replaced = false;
        for (std::size_t i = 0; i < rules.size() && !replaced; ++i) {
            const std::string_view wanted = closing[i] ? rules[i].Closer : rules[i].Opener;
            if (wanted.empty() || !StartsNoCase(text, pos, wanted))
                continue;
            out.append(closing[i] ? rules[i].LongCloser : rules[i].ShortOpener);
            pos += wanted.size();
            closing[i] = !closing[i];
            replaced = true;
        }
        if (!replaced)
            out.push_back(text[pos++]);
    }
    text = std::move(out);
}

} // namespace vx::tools
