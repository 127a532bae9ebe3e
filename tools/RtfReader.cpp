#include "tools/RtfReader.h"

#include "platform/Utf8.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <tuple>

namespace vx::tools {

namespace {

// Groups whose text is not part of the document.
constexpr std::array<std::string_view, 14> Destinations = {
    "stylesheet", "info", "pict", "listtable", "listoverridetable", "rsidtbl", "themedata",
    "colorschememapping", "datastore", "latentstyles", "header", "footer", "fldinst", "pgdsctbl",
};

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

int HexDigit(char c)
{
    if (IsDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 0;
}

// The byte an escape "\\'hh" gives, hh at at (missing digits read as 0).
char EscapedByte(std::string_view rtf, std::size_t at)
{
    const char high = at < rtf.size() ? rtf[at] : '0';
    const char low = at + 1 < rtf.size() ? rtf[at + 1] : '0';
    return static_cast<char>(HexDigit(high) * 16 + HexDigit(low));
}

bool IsEscapedByte(std::string_view rtf, std::size_t at)
{
    return rtf[at] == '\\' && at + 1 < rtf.size() && rtf[at + 1] == '\'';
}

int SizeOf(int halfPoints)
{
    const int points = halfPoints / 2;
    if (points >= 6 && points <= 8)
        return 1;
    if (points == 9 || points == 10)
        return 2;
    if (points == 11 || points == 12)
        return 3;
    if (points == 13 || points == 14)
        return 4;
    if (points == 15 || points == 16)
        return 5;
    return 6;
}

} // namespace

void TRtfReader::Run()
{
    for (std::size_t pos = 0; pos < rtf_.size(); ++pos) {
        const char c = rtf_[pos];
        if (static_cast<unsigned char>(c) < 32)
            continue;
        if (fallbackLeft_ > 0 && c != '{' && c != '}') {
            // Characters, escaped bytes and control symbols count one each.
            --fallbackLeft_;
            if (c == '\\')
                pos = SkipControl(pos);
            continue;
        }
        fallbackLeft_ = 0;
        // Bytes gather, so that a character of a double-byte code page is read whole.
        if (IsEscapedByte(rtf_, pos)) {
            bytes_ += EscapedByte(rtf_, pos + 2);
            pos = std::min(pos + 3, rtf_.size() - 1);
            continue;
        }
        if (static_cast<unsigned char>(c) >= 0x80) {
            bytes_ += c;
            continue;
        }
        FlushBytes();
        if (c == '\\')
            pos = ControlSequence(pos);
        else if (c == '{')
            OpenGroup();
        else if (c == '}')
            CloseGroup();
        else
            Emit(c);
    }
    FlushBytes();
}

void TRtfReader::FlushBytes()
{
    if (bytes_.empty())
        return;
    const std::string text = codePage_->ToUtf8(bytes_);
    bytes_.clear();
    Emit(text);
}

void TRtfReader::Unicode(int parameter)
{
    // Values above 32767 are written negative.
    const int value = parameter < 0 ? parameter + 65536 : parameter;
    fallbackLeft_ = want_.FallbackLength;
    const bool high = value >= 0xD800 && value <= 0xDBFF;
    const bool low = value >= 0xDC00 && value <= 0xDFFF;
    if (high) {
        highSurrogate_ = static_cast<char16_t>(value);
        return;
    }
    char32_t c = value < 0 || value > 0xFFFF || low ? vx::utf8::kReplacement : static_cast<char32_t>(value);
    if (low && highSurrogate_ != 0)
        c = 0x10000 + ((char32_t(highSurrogate_) - 0xD800) << 10) + (char32_t(value) - 0xDC00);
    highSurrogate_ = 0;
    Emit(vx::utf8::Encode(c));
}

std::size_t TRtfReader::SkipControl(std::size_t at) const
{
    if (at + 1 >= rtf_.size())
        return at;
    if (IsEscapedByte(rtf_, at))
        return std::min(at + 3, rtf_.size() - 1);
    if (!IsLetter(rtf_[at + 1]))
        return at + 1;
    std::size_t pos = at + 1;
    ReadWord(pos);
    return pos - 1;
}

void TRtfReader::OpenGroup()
{
    groups_.push_back(want_);
}

void TRtfReader::CloseGroup()
{
    if (groups_.empty())
        return;
    const TFormat outer = groups_.back();
    groups_.pop_back();
    const bool fontChanged = outer.Font != want_.Font || outer.Colour != want_.Colour || outer.Size != want_.Size;
    const bool styleChanged =
        outer.Bold != want_.Bold || outer.Italic != want_.Italic || outer.Underline != want_.Underline;
    want_ = outer;
    if (fontChanged || styleChanged)
        Changed(fontChanged);
}

void TRtfReader::Changed(bool font)
{
    current_ = false;
    fontChanged_ = fontChanged_ || font;
}

std::size_t TRtfReader::SkipGroup(std::size_t from) const
{
    // From inside a group to its closing brace; escaped braces do not count.
    int depth = 1;
    for (std::size_t pos = from; pos < rtf_.size(); ++pos) {
        const char c = rtf_[pos];
        if (c == '\\')
            ++pos;
        else if (c == '{')
            ++depth;
        else if (c == '}' && --depth == 0)
            return pos;
    }
    return rtf_.size();
}

std::size_t TRtfReader::SkipRestOfGroup(std::size_t from)
{
    const std::size_t close = SkipGroup(from);
    if (close < rtf_.size())
        CloseGroup();
    return std::min(close + 1, rtf_.size());
}

TRtfReader::TWord TRtfReader::ReadWord(std::size_t& pos) const
{
    TWord word;
    const std::size_t start = pos;
    while (pos < rtf_.size() && IsLetter(rtf_[pos]))
        ++pos;
    word.Name = rtf_.substr(start, pos - start);
    const bool negative = pos < rtf_.size() && rtf_[pos] == '-' && pos + 1 < rtf_.size() && IsDigit(rtf_[pos + 1]);
    if (negative)
        ++pos;
    long long value = 0;
    while (pos < rtf_.size() && IsDigit(rtf_[pos])) {
        word.HasParameter = true;
        value = std::min<long long>(value * 10 + (rtf_[pos] - '0'), 1'000'000'000);
        ++pos;
    }
    word.Parameter = static_cast<int>(negative ? -value : value);
    if (pos < rtf_.size() && rtf_[pos] == ' ')
        ++pos;
    return word;
}

std::size_t TRtfReader::ControlSequence(std::size_t at)
{
    if (at + 1 >= rtf_.size())
        return at;
    const char next = rtf_[at + 1];
    if (next == '\\' || next == '{' || next == '}') {
        Emit(next);
        return at + 1;
    }
    if (next == '*') {
        const std::size_t close = SkipGroup(at + 2);
        CloseGroup();
        return close;
    }
    if (!IsLetter(next))
        return at + 1;
    std::size_t pos = at + 1;
    const TWord word = ReadWord(pos);
    Word(word, pos);
    // Separators right after a word are not text.
    while (pos < rtf_.size() && rtf_[pos] == ';')
        ++pos;
    return pos - 1;
}

void TRtfReader::Word(const TWord& word, std::size_t& pos)
{
    const std::string_view name = word.Name;
    const bool off = word.HasParameter && word.Parameter == 0;
    if (std::find(Destinations.begin(), Destinations.end(), name) != Destinations.end()) {
        pos = SkipRestOfGroup(pos);
    } else if (name == "par") {
        if (kind_ == TKind::ListItem)
            kind_ = TKind::ItemEnd;
        paragraphOpen_ = false;
    } else if (name == "pard") {
        align_ = TAlign::Left;
        if (kind_ != TKind::Normal)
            kind_ = TKind::ListEnd;
        paragraphOpen_ = false;
    } else if (name == "qc" || name == "qr") {
        align_ = name == "qc" ? TAlign::Center : TAlign::Right;
        paragraphOpen_ = false;
    } else if (name == "fi") {
        kind_ = TKind::ListStart;
        paragraphOpen_ = false;
        Emit(0);
    } else if (name == "pntext") {
        kind_ = TKind::ListItem;
        paragraphOpen_ = false;
        pos = SkipRestOfGroup(pos);
    } else if (name == "b" || name == "i" || name == "ul" || name == "ulnone") {
        bool& style = name == "b" ? want_.Bold : name == "i" ? want_.Italic : want_.Underline;
        const bool on = !off && name != "ulnone";
        if (style != on) {
            style = on;
            Changed(false);
        }
    } else if (name == "plain") {
        if (want_.Bold || want_.Italic || want_.Underline || want_.Colour != 0) {
            const bool colour = want_.Colour != 0;
            want_.Bold = want_.Italic = want_.Underline = false;
            want_.Colour = 0;
            Changed(colour);
            Emit(0);
        }
    } else if (name == "f") {
        const int font = word.HasParameter ? word.Parameter : 0;
        if (font != want_.Font) {
            want_.Font = font;
            Changed(true);
        }
    } else if (name == "fs") {
        const int size = SizeOf(word.HasParameter ? word.Parameter : 11);
        if (size != want_.Size) {
            want_.Size = size;
            Changed(true);
        }
    } else if (name == "cf") {
        const int colour = word.HasParameter ? word.Parameter : 0;
        if (colour != want_.Colour) {
            want_.Colour = colour;
            Changed(true);
        }
    } else if (name == "tab") {
        Emit('\t');
    } else if (name == "u" && word.HasParameter) {
        Unicode(word.Parameter);
    } else if (name == "uc") {
        want_.FallbackLength = std::clamp(word.HasParameter ? word.Parameter : 1, 0, 16);
    } else if (name == "ansicpg" && word.HasParameter) {
        codePage_ = std::make_unique<vx::TCodePageDecoder>(word.Parameter);
    } else if (name == "deff") {
        defaultFont_ = word.HasParameter ? word.Parameter : 0;
    } else if (name == "fonttbl") {
        pos = ReadFontTable(pos);
    } else if (name == "colortbl") {
        pos = ReadColourTable(pos);
    } else if (name == "deflang") {
        align_ = TAlign::Left;
        paragraphOpen_ = false;
        kind_ = TKind::Normal;
        want_ = TFormat{};
        want_.Font = defaultFont_;
        want_.Size = 3;
        Changed(true);
    }
}

std::size_t TRtfReader::ReadFontTable(std::size_t from)
{
    // Entries "{\fN ... Name;}" up to the table's closing brace.
    const std::size_t end = SkipGroup(from);
    std::size_t pos = from;
    while (pos < end) {
        const std::size_t entry = rtf_.find("\\f", pos);
        if (entry == std::string_view::npos || entry >= end)
            break;
        std::size_t after = entry + 2;
        if (after >= end || !IsDigit(rtf_[after])) {
            pos = after;
            continue;
        }
        int number = 0;
        while (after < end && IsDigit(rtf_[after]) && number < 1'000'000)
            number = number * 10 + (rtf_[after++] - '0');
        // The entry's own text up to its ";", without nested groups such as {\*\falt ...}.
        std::string entryText;
        std::size_t semicolon = after;
        for (int depth = 0; semicolon < end && (depth > 0 || rtf_[semicolon] != ';'); ++semicolon) {
            const char c = rtf_[semicolon];
            if (c == '{')
                ++depth;
            else if (c == '}')
                depth = std::max(depth - 1, 0);
            else if (depth == 0)
                entryText.push_back(c);
        }
        // The name follows the blank that ends the entry's last control word
        // (its escaped bytes are no control words).
        std::size_t start = 0;
        for (std::size_t i = 0; i + 1 < entryText.size(); ++i)
            if (entryText[i] == '\\' && IsLetter(entryText[i + 1])) {
                const std::size_t blank = entryText.find(' ', i);
                start = blank == std::string::npos ? entryText.size() : blank + 1;
            }
        while (start < entryText.size() && entryText[start] == ' ')
            ++start;
        fonts_[number] = FontName(std::string_view(entryText).substr(start));
        pos = semicolon + 1;
    }
    if (end < rtf_.size())
        CloseGroup();
    return std::min(end + 1, rtf_.size());
}

std::string TRtfReader::FontName(std::string_view written)
{
    std::string bytes;
    for (std::size_t i = 0; i < written.size(); ++i) {
        if (IsEscapedByte(written, i)) {
            bytes += EscapedByte(written, i + 2);
            i += 3;
        } else {
            bytes += written[i];
        }
    }
    const std::string name = codePage_->ToUtf8(bytes);
    return name.substr(0, vx::utf8::OffsetOfChar(name, 63));
}

std::size_t TRtfReader::ReadColourTable(std::size_t from)
{
    const std::size_t end = SkipGroup(from);
    int rgb[3] = {-1, -1, -1};
    for (std::size_t pos = from; pos < end; ++pos) {
        if (rtf_[pos] == ';') {
            std::string colour;
            if (rgb[0] >= 0 || rgb[1] >= 0 || rgb[2] >= 0) {
                char text[8];
                std::snprintf(text, sizeof text, "#%02X%02X%02X", std::max(rgb[0], 0), std::max(rgb[1], 0),
                              std::max(rgb[2], 0));
                colour = text;
            }
            colours_.push_back(colour);
            rgb[0] = rgb[1] = rgb[2] = -1;
        } else if (rtf_[pos] == '\\') {
            std::size_t p = pos + 1;
            const TWord word = ReadWord(p);
            const int value = std::clamp(word.HasParameter ? word.Parameter : 255, 0, 255);
            if (word.Name == "red")
                rgb[0] = value;
            else if (word.Name == "green")
                rgb[1] = value;
            else if (word.Name == "blue")
                rgb[2] = value;
            pos = p - 1;
        }
    }
    if (end < rtf_.size())
        CloseGroup();
    return std::min(end + 1, rtf_.size());
}

void TRtfReader::WriteStyles(TStyleStep step)
{
    const std::array<std::pair<bool*, bool>, 3> styles = {
        {{&shownBold_, want_.Bold}, {&shownItalic_, want_.Italic}, {&shownUnderline_, want_.Underline}}};
    constexpr std::array<const char*, 3> open = {"<B>", "<I>", "<U>"};
    constexpr std::array<const char*, 3> close = {"</B>", "</I>", "</U>"};
    for (std::size_t i = 0; i < styles.size(); ++i) {
        bool& shown = *styles[i].first;
        const bool wanted = styles[i].second;
        if (shown && (step == TStyleStep::CloseAll || (step == TStyleStep::CloseUnwanted && !wanted))) {
            out_ += close[i];
            shown = false;
        } else if (!shown && wanted && step == TStyleStep::OpenWanted) {
            out_ += open[i];
            shown = true;
        }
    }
}

void TRtfReader::OpenParagraph()
{
    // Styles close and reopen around the paragraph tag, so tags nest.
    const bool bold = shownBold_ && want_.Bold, italic = shownItalic_ && want_.Italic,
               underline = shownUnderline_ && want_.Underline;
    WriteStyles(TStyleStep::CloseAll);
    switch (kind_) {
    case TKind::Normal:
        out_ += align_ == TAlign::Right ? "\r\n<P ALIGN=RIGHT>" : align_ == TAlign::Center ? "\r\n<P ALIGN=CENTER>"
                                                                                           : "\r\n<P>";
        break;
    case TKind::ListStart:
        out_ += "\r\n<UL>";
        break;
    case TKind::ListItem:
        out_ += "\r\n<LI>";
        break;
    case TKind::ItemEnd:
        out_ += "</LI>";
        break;
    case TKind::ListEnd:
        out_ += "\r\n</UL>";
        kind_ = TKind::Normal;
        break;
    }
    for (const auto& [shown, wanted, tag] : {std::tuple{&shownBold_, bold, "<B>"}, {&shownItalic_, italic, "<I>"},
                                             {&shownUnderline_, underline, "<U>"}})
        if (wanted) {
            out_ += tag;
            *shown = true;
        }
    paragraphOpen_ = true;
}

void TRtfReader::Emit(std::string_view text)
{
    if (highSurrogate_ != 0) {
        // The first half of a pair whose second half never came.
        highSurrogate_ = 0;
        Emit(vx::utf8::Encode(vx::utf8::kReplacement));
    }
    if (!paragraphOpen_)
        OpenParagraph();
    if (!current_) {
        WriteStyles(TStyleStep::CloseUnwanted);
        if (fontChanged_) {
            const auto font = fonts_.find(want_.Font);
            const bool hasColour = want_.Colour >= 0 && static_cast<std::size_t>(want_.Colour) < colours_.size();
            out_ += "<FONT FACE=\"";
            // A face name is text of the file: it cannot end the attribute or open a tag.
            attribute_ = true;
            if (font != fonts_.end())
                for (const char f : font->second)
                    Text(f);
            attribute_ = false;
            out_ += "\" COLOR=\"" + (hasColour ? colours_[want_.Colour] : std::string()) + "\" SIZE=\"" +
                    std::to_string(want_.Size) + "\">";
            fontChanged_ = false;
        }
        WriteStyles(TStyleStep::OpenWanted);
        current_ = true;
    }
    for (const char c : text)
        Text(c);
}

void TRtfReader::Text(char c)
{
    switch (c) {
    case 0:
        break;
    case '"':
        out_ += attribute_ ? "&quot;" : "\"";
        break;
    case '<':
        out_ += "&lt;";
        break;
    case '>':
        out_ += "&gt;";
        break;
    case '&':
        out_ += "&amp;";
        break;
    default:
        out_.push_back(c);
    }
}

} // namespace vx::tools
