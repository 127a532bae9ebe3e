// Editing and writing of language files.
#include "localisation/KLangEd.h"

#include "platform/FileIO.h"
#include "platform/Utf8.h"

#include <algorithm>
#include <limits>
#include <set>

namespace {

class Writer {
public:
    void U8(std::uint8_t v) { out_ += static_cast<char>(v); }
    void Char(char c) { out_ += c; }
    void U16(std::uint16_t v)
    {
        U8(static_cast<std::uint8_t>(v & 0xFF));
        U8(static_cast<std::uint8_t>(v >> 8));
    }
    void I32(std::int32_t v)
    {
        std::uint32_t u = static_cast<std::uint32_t>(v);
        for (int i = 0; i < 4; ++i, u >>= 8)
            U8(static_cast<std::uint8_t>(u & 0xFF));
    }
    void Zeros(size_t n) { out_.append(n, '\0'); }
    void Bytes(std::string_view s) { out_ += s; }
    // One length byte and the text; a name too long for it is refused.
    void ShortString(std::string_view s)
    {
        if (s.size() > 255)
            throw ELangFileError("Name longer than 255 characters: " + std::string(s.substr(0, 40)) + "...");
        U8(static_cast<std::uint8_t>(s.size()));
        Bytes(s);
    }
    void Text(std::string_view s, size_t width) { ShortString(s.substr(0, vx::utf8::OffsetOfChar(s, width))); }
    void Count(size_t n)
    {
        if (n > 0xFFFF)
            throw ELangFileError("Too many entries for a language file table");
        U16(static_cast<std::uint16_t>(n));
    }
    const std::string& Data() const { return out_; }

private:
    std::string out_;
};

template <size_t N>
void writeTexts(Writer& out, const std::array<std::string, N>& texts, size_t width)
{
    for (const std::string& t : texts)
        out.Text(t, width);
}

void writeLocale(Writer& out, const vx::TFormatSettings& l)
{
    namespace w = vx::locale_width;
    out.Text(l.CurrencyString, w::Currency);
    out.U8(l.CurrencyFormat);
    out.U8(l.NegCurrFormat);
    out.Char(l.ThousandSeparator);
    out.Char(l.DecimalSeparator);
    out.U8(l.CurrencyDecimals);
    out.Char(l.DateSeparator);
    out.Text(l.ShortDateFormat, w::ShortDate);
    out.Text(l.LongDateFormat, w::LongDate);
    out.Char(l.TimeSeparator);
    out.Text(l.TimeAMString, w::TimeSuffix);
    out.Text(l.TimePMString, w::TimeSuffix);
    out.Text(l.ShortTimeFormat, w::TimeFormat);
    out.Text(l.LongTimeFormat, w::TimeFormat);
    writeTexts(out, l.ShortMonthNames, w::ShortName);
    writeTexts(out, l.LongMonthNames, w::LongName);
    writeTexts(out, l.ShortDayNames, w::ShortName);
    writeTexts(out, l.LongDayNames, w::LongName);
    writeTexts(out, l.EraNames, w::Era);
    for (std::int32_t offset : l.EraYearOffsets)
        out.I32(offset);
    out.U16(l.TwoDigitYearCenturyWindow);
    out.Char(l.ListSeparator);
}

bool startsWithText(std::string_view s, std::string_view prefix)
{
    return s.size() >= prefix.size() && SameText(s.substr(0, prefix.size()), prefix);
}

} // namespace

void TkLangFileEdit::WriteFile()
{
    Writer out;
    out.Bytes("LF");
    out.Bytes("3.10");
    out.U8(fileFlags_);
    out.U8(hasLocale_ ? 1 : 0);
    if (hasLocale_)
        writeLocale(out, locale_);
    out.U8(biDiMode_);
    out.Zeros(10);
    out.U8(charset_);
    out.I32(static_cast<std::int32_t>(fonts_.size()));
    for (const TkFontItem& font : fonts_) {
        out.ShortString(font.Name);
        out.U16(font.Size);
        out.U8(font.Style);
    }
    out.Zeros(20);
    out.Count(static_cast<size_t>(names_.Count()));
    for (int i = 0; i < names_.Count(); ++i)
        out.ShortString(names_[i]);
    out.Count(static_cast<size_t>(props_.SectionCount()));
    for (int s = 0; s < props_.SectionCount(); ++s) {
        out.ShortString(props_.SectionName(s));
        out.Count(static_cast<size_t>(props_.KeyCount(s)));
        for (int k = 0; k < props_.KeyCount(s); ++k) {
            out.ShortString(props_.KeyName(s, k));
            out.U16(props_.KeyIdent(s, k));
        }
    }
    out.Count(records_.size());
    std::string pool;
    const bool native = HasFlag(lfNative);
    for (const TkLangRecord& r : records_) {
        std::int32_t offset = -1;
        if (native || !(r.Flags & lsNativeOnly)) {
            if (pool.size() > static_cast<size_t>(std::numeric_limits<std::int32_t>::max()) - r.Text.size() - 1)
                throw ELangFileError("Language file texts exceed 2 GB");
            offset = static_cast<std::int32_t>(pool.size());
            pool.append(r.Text);
            pool += '\0';
        }
        out.U8(r.Flags);
        out.U16(r.Ident);
        out.I32(offset);
        out.U16(r.FontNo);
    }
    out.Bytes(pool);
    vx::WriteFileAtomic(fileName_, out.Data());
    Close();
    version_ = 3.10;
    offsetWidth_ = 4;
    empty_ = false;
}

void TkLangFileEdit::SaveAs(const std::string& path)
{
    fileName_ = path;
    WriteFile();
}

void TkLangFileEdit::CaptureLocale()
{
    SetLocale(vx::FormatSettings());
}

void TkLangFileEdit::SetLocale(const vx::TFormatSettings& settings)
{
    locale_ = settings;
    vx::CutLocaleToWidths(locale_);
}

int TkLangFileEdit::AddFont(const std::string& name, std::uint16_t size, std::uint8_t style)
{
    int found = FindFont(name, size, style);
    if (found >= 0)
        return found;
    fonts_.push_back(TkFontItem{name, size, style});
    return FontCount() - 1;
}

int TkLangFileEdit::InsertString(std::uint16_t ident, const std::string& text, std::uint16_t font)
{
    auto at = std::find_if(records_.begin(), records_.end(), [ident](const TkLangRecord& r) { return r.Ident >= ident; });
    at = records_.insert(at, TkLangRecord{0, ident, text, font});
    cursor_ = TKLangStr(*this, -1);
    return static_cast<int>(at - records_.begin());
}

void TkLangFileEdit::AddString(std::uint16_t ident, std::string_view section, std::string_view key,
                               std::uint16_t font, const std::string& text)
{
    InsertString(ident, text, font);
    props_.Add(section, key, ident);
}

void TkLangFileEdit::SetString(std::uint16_t ident, const std::string& text, std::uint16_t font)
{
    TKLangStr* s = StringByIdent(ident);
    if (!s)
        throw Exception("No such Ident number (" + std::to_string(ident) + ")");
    TkLangRecord& r = records_[static_cast<size_t>(s->Index())];
    r.Text = text;
    r.FontNo = font;
}

void TkLangFileEdit::DeleteString(std::string_view section, std::string_view key)
{
    if (!props_.Find(section, key))
        return;
    TKLangStr* s = StringByIdent(props_.CurrentIdent());
    if (!s)
        throw ELangStrNotFound("Can't find language string. [" + std::string(section) + "." + std::string(key) + "]");
    records_.erase(records_.begin() + s->Index());
    cursor_ = TKLangStr(*this, -1);
    props_.Find(section, key);
    props_.DeleteCurrent();
}

void TkLangFileEdit::DeleteStringAt(int index)
{
    std::uint16_t ident = Record(index).Ident;
    records_.erase(records_.begin() + index);
    cursor_ = TKLangStr(*this, -1);
    if (props_.FindIdent(ident))
        props_.DeleteCurrent();
}

void TkLangFileEdit::DeleteComponentStrings(std::string_view section, std::string_view prefix)
{
    std::set<std::uint16_t> idents;
    for (int s = 0; s < props_.SectionCount(); ++s) {
        if (!section.empty() && !SameText(props_.SectionName(s), section))
            continue;
        for (int k = 0; k < props_.KeyCount(s); ++k)
            if (startsWithText(props_.KeyName(s, k), prefix))
                idents.insert(props_.KeyIdent(s, k));
    }
    for (std::uint16_t ident : idents) {
        TKLangStr* str = StringByIdent(ident);
        if (str)
            DeleteStringAt(str->Index());
    }
}
