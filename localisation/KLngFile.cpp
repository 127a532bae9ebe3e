// Reader of the binary language files.
#include "localisation/KLngFile.h"

#include "platform/AnsiText.h"
#include "platform/FileIO.h"
#include "platform/FileTexts.h"
#include "platform/ProgramPaths.h"
#include "platform/Utf8.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

namespace {

const char kDamaged[] = "Language file is damaged or incomplete";

// Reads little-endian fields from the bytes of a file, never past their end;
// its texts pass through texts.
class Reader {
public:
    Reader(std::string_view data, vx::TFileTexts& texts) : data_(data), texts_(texts) {}

    size_t Remaining() const { return data_.size() - pos_; }
    void Require(size_t n) const
    {
        if (n > Remaining())
            throw ELangFileError(kDamaged);
    }
    void Skip(size_t n)
    {
        Require(n);
        pos_ += n;
    }
    std::string_view Bytes(size_t n)
    {
        Require(n);
        std::string_view s = data_.substr(pos_, n);
        pos_ += n;
        return s;
    }
    std::uint8_t U8() { return static_cast<std::uint8_t>(Bytes(1)[0]); }
    // A one-byte separator of the locale block: an ASCII character. A byte
    // above 127, which only a file of an earlier version holds (a no-break
    // space, say), is no character of UTF-8 text and reads as a blank.
    char Separator()
    {
        const char c = Bytes(1)[0];
        return static_cast<unsigned char>(c) < 0x80 ? c : ' ';
    }
    std::uint16_t U16()
    {
        std::string_view b = Bytes(2);
        return static_cast<std::uint16_t>(static_cast<std::uint8_t>(b[0]) | (static_cast<std::uint8_t>(b[1]) << 8));
    }
    std::int32_t I32()
    {
        std::string_view b = Bytes(4);
        std::uint32_t v = 0;
        for (int i = 3; i >= 0; --i)
            v = (v << 8) | static_cast<std::uint8_t>(b[static_cast<size_t>(i)]);
        return static_cast<std::int32_t>(v);
    }
    std::string ShortString() { return texts_(Bytes(U8())); }
    // A short string of at most width characters once read: the rest is cut.
    std::string Text(size_t width)
    {
        std::string text = ShortString();
        text.resize(vx::utf8::OffsetOfChar(text, width));
        return text;
    }
    std::string PoolText(std::string_view bytes) { return texts_(bytes); }
    // Section and key names end at their first NUL.
    std::string Name()
    {
        std::string s = ShortString();
        size_t nul = s.find('\0');
        return nul == std::string::npos ? s : s.substr(0, nul);
    }
    std::string_view Rest() { return Bytes(Remaining()); }

private:
    std::string_view data_;
    vx::TFileTexts& texts_;
    size_t pos_ = 0;
};

double parseVersion(std::string_view text)
{
    double value = 0;
    std::string trimmed = vx::Trim(text);
    auto [end, ec] = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), value,
                                     std::chars_format::fixed);
    if (ec != std::errc() || end != trimmed.data() + trimmed.size() || trimmed.empty())
        throw EConvertError(TMessage(NotAFloatingPointValue, {std::string(text)}));
    return value;
}

template <size_t N>
void readTexts(Reader& in, std::array<std::string, N>& texts, size_t width)
{
    for (std::string& t : texts)
        t = in.Text(width);
}

vx::TFormatSettings readLocale(Reader& in)
{
    namespace w = vx::locale_width;
    vx::TFormatSettings l;
    l.CurrencyString = in.Text(w::Currency);
    l.CurrencyFormat = in.U8();
    l.NegCurrFormat = in.U8();
    l.ThousandSeparator = in.Separator();
    l.DecimalSeparator = in.Separator();
    l.CurrencyDecimals = in.U8();
    l.DateSeparator = in.Separator();
    l.ShortDateFormat = in.Text(w::ShortDate);
    l.LongDateFormat = in.Text(w::LongDate);
    l.TimeSeparator = in.Separator();
    l.TimeAMString = in.Text(w::TimeSuffix);
    l.TimePMString = in.Text(w::TimeSuffix);
    l.ShortTimeFormat = in.Text(w::TimeFormat);
    l.LongTimeFormat = in.Text(w::TimeFormat);
    readTexts(in, l.ShortMonthNames, w::ShortName);
    readTexts(in, l.LongMonthNames, w::LongName);
    readTexts(in, l.ShortDayNames, w::ShortName);
    readTexts(in, l.LongDayNames, w::LongName);
    readTexts(in, l.EraNames, w::Era);
    for (std::int32_t& offset : l.EraYearOffsets)
        offset = in.I32();
    l.TwoDigitYearCenturyWindow = in.U16();
    l.ListSeparator = in.Separator();
    return l;
}

std::string baseName(const std::string& path)
{
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool hasLngExtension(std::string_view name)
{
    return name.size() > 4 && SameText(name.substr(name.size() - 4), ".lng");
}

} // namespace

void vx::CutLocaleToWidths(vx::TFormatSettings& l)
{
    namespace w = vx::locale_width;
    auto cut = [](std::string& s, size_t width) { s.resize(vx::utf8::OffsetOfChar(s, width)); };
    cut(l.CurrencyString, w::Currency);
    cut(l.ShortDateFormat, w::ShortDate);
    cut(l.LongDateFormat, w::LongDate);
    cut(l.TimeAMString, w::TimeSuffix);
    cut(l.TimePMString, w::TimeSuffix);
    cut(l.ShortTimeFormat, w::TimeFormat);
    cut(l.LongTimeFormat, w::TimeFormat);
    for (auto& s : l.ShortMonthNames)
        cut(s, w::ShortName);
    for (auto& s : l.LongMonthNames)
        cut(s, w::LongName);
    for (auto& s : l.ShortDayNames)
        cut(s, w::ShortName);
    for (auto& s : l.LongDayNames)
        cut(s, w::LongName);
    for (auto& s : l.EraNames)
        cut(s, w::Era);
}

// ---------------------------------------------------------------- TkLangProps

void TkLangProps::Clear()
{
    sections_.clear();
    section_ = key_ = -1;
}

int TkLangProps::findSection(std::string_view name, bool& found) const
{
    auto it = std::lower_bound(sections_.begin(), sections_.end(), name,
                               [](const Section& s, std::string_view n) { return CompareText(s.name, n) < 0; });
    found = it != sections_.end() && SameText(it->name, name);
    return static_cast<int>(it - sections_.begin());
}

int TkLangProps::findKey(const Section& section, std::string_view name, bool& found)
{
    auto it = std::lower_bound(section.keys.begin(), section.keys.end(), name,
                               [](const Key& k, std::string_view n) { return CompareText(k.name, n) < 0; });
    found = it != section.keys.end() && SameText(it->name, name);
    return static_cast<int>(it - section.keys.begin());
}

void TkLangProps::insertKey(Section& section, Key key)
{
    bool found = false;
    int at = findKey(section, key.name, found);
    if (found)
        section.keys[static_cast<size_t>(at)].ident = key.ident;
    else
        section.keys.insert(section.keys.begin() + at, std::move(key));
    key_ = at;
}

void TkLangProps::Add(std::string_view section, std::string_view key, std::uint16_t ident)
{
    bool found = false;
    int s = findSection(section, found);
    if (!found)
        sections_.insert(sections_.begin() + s, Section{std::string(section), {}});
    section_ = s;
    insertKey(sections_[static_cast<size_t>(s)], Key{std::string(key), ident});
}

bool TkLangProps::Find(std::string_view section, std::string_view key)
{
    bool found = false;
    if (section_ < 0 || section_ >= SectionCount() || !SameText(sections_[static_cast<size_t>(section_)].name, section)) {
        int s = findSection(section, found);
        if (!found) {
            section_ = key_ = -1;
            return false;
        }
        section_ = s;
    }
    int k = findKey(sections_[static_cast<size_t>(section_)], key, found);
    key_ = found ? k : -1;
    return found;
}

bool TkLangProps::FindIdent(std::uint16_t ident)
{
    for (size_t s = 0; s < sections_.size(); ++s)
        for (size_t k = 0; k < sections_[s].keys.size(); ++k)
            if (sections_[s].keys[k].ident == ident) {
                section_ = static_cast<int>(s);
                key_ = static_cast<int>(k);
                return true;
            }
    section_ = key_ = -1;
    return false;
}

void TkLangProps::requireKey() const
{
    if (section_ < 0 || section_ >= SectionCount() || key_ < 0 || key_ >= KeyCount(section_))
        throw ELangFileError("No current property");
}

std::uint16_t TkLangProps::CurrentIdent() const
{
    requireKey();
    return KeyIdent(section_, key_);
}

std::string TkLangProps::CurrentSection() const
{
    return section_ >= 0 && section_ < SectionCount() ? SectionName(section_) : std::string();
}

std::string TkLangProps::CurrentKey() const
{
    requireKey();
    return KeyName(section_, key_);
}

void TkLangProps::deleteKey(bool dropEmptySection)
{
    requireKey();
    auto& keys = sections_[static_cast<size_t>(section_)].keys;
    keys.erase(keys.begin() + key_);
    key_ = -1;
    if (dropEmptySection && keys.empty()) {
        sections_.erase(sections_.begin() + section_);
        section_ = -1;
    }
}

void TkLangProps::RenameSection(std::string_view newName)
{
    if (newName.empty()) {
        deleteKey(true);
        return;
    }
    if (section_ < 0 || section_ >= SectionCount())
        throw ELangFileError("No current property");
    Section moved = std::move(sections_[static_cast<size_t>(section_)]);
    sections_.erase(sections_.begin() + section_);
    bool found = false;
    int s = findSection(newName, found);
    if (!found)
        sections_.insert(sections_.begin() + s, Section{std::string(newName), {}});
    section_ = s;
    for (Key& key : moved.keys)
        insertKey(sections_[static_cast<size_t>(s)], std::move(key));
    key_ = -1;
}

void TkLangProps::RenameKey(std::string_view newName)
{
    if (newName.empty()) {
        deleteKey(false);
        return;
    }
    requireKey();
    Section& section = sections_[static_cast<size_t>(section_)];
    Key key{std::string(newName), section.keys[static_cast<size_t>(key_)].ident};
    section.keys.erase(section.keys.begin() + key_);
    insertKey(section, std::move(key));
}

void TkLangProps::DeleteCurrent()
{
    deleteKey(false);
}

void TkLangProps::RenamePrefix(std::string_view oldPrefix, std::string_view newPrefix)
{
    if (section_ < 0 || section_ >= SectionCount())
        return;
    Section& section = sections_[static_cast<size_t>(section_)];
    const std::string from = std::string(oldPrefix) + ".";
    for (Key& key : section.keys)
        if (key.name.size() >= from.size() && SameText(std::string_view(key.name).substr(0, from.size()), from))
            key.name = std::string(newPrefix) + "." + key.name.substr(from.size());
    std::stable_sort(section.keys.begin(), section.keys.end(),
                     [](const Key& a, const Key& b) { return CompareText(a.name, b.name) < 0; });
    key_ = -1;
}

const std::string& TkLangProps::SectionName(int section) const
{
    return sections_.at(static_cast<size_t>(section)).name;
}

int TkLangProps::KeyCount(int section) const
{
    return static_cast<int>(sections_.at(static_cast<size_t>(section)).keys.size());
}

const std::string& TkLangProps::KeyName(int section, int key) const
{
    return sections_.at(static_cast<size_t>(section)).keys.at(static_cast<size_t>(key)).name;
}

std::uint16_t TkLangProps::KeyIdent(int section, int key) const
{
    return sections_.at(static_cast<size_t>(section)).keys.at(static_cast<size_t>(key)).ident;
}

// ---------------------------------------------------------------- TKLangStr

std::uint16_t TKLangStr::Ident() const
{
    return file_->Record(index_).Ident;
}

const std::string& TKLangStr::Text() const
{
    return file_->Record(index_).Text;
}

std::uint16_t TKLangStr::FontNo() const
{
    return file_->Record(index_).FontNo;
}

bool TKLangStr::HasFlags(std::uint8_t mask) const
{
    return (file_->Record(index_).Flags & mask) == mask;
}

bool TKLangStr::IsMultiLine() const
{
    return Text().find('\r') != std::string::npos;
}

std::string TKLangStr::Section() const
{
    return file_->props_.FindIdent(Ident()) ? file_->props_.CurrentSection() : std::string();
}

std::string TKLangStr::Key() const
{
    return file_->props_.FindIdent(Ident()) ? file_->props_.CurrentKey() : std::string();
}

void TKLangStr::RenameKey(std::string_view newName)
{
    if (file_->props_.FindIdent(Ident()))
        file_->props_.RenameKey(newName);
}

// ---------------------------------------------------------------- TKLangFile

void TKLangFile::SetFileName(const std::string& name)
{
    Close();
    fileName_ = name;
    if (OpenFile())
        ReadFile();
}

bool TKLangFile::OpenFile()
{
    std::ifstream in(fileName_, std::ios::binary);
    if (!in)
        return false;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return false;
    data_ = std::move(bytes);
    return true;
}

void TKLangFile::LoadFromStream(std::istream& stream)
{
    std::ostringstream bytes;
    bytes << stream.rdbuf();
    LoadFromBytes(bytes.str());
}

void TKLangFile::LoadFromBytes(std::string_view bytes)
{
    Close();
    data_.assign(bytes);
    ReadFile();
}

void TKLangFile::Close()
{
    data_.clear();
    data_.shrink_to_fit();
}

void TKLangFile::ForgetContents()
{
    version_ = 0;
    offsetWidth_ = 4;
    empty_ = true;
    fileFlags_ = 0;
    hasLocale_ = false;
    locale_ = vx::TFormatSettings{};
    charset_ = 0;
    biDiMode_ = 0;
    names_.Clear();
    props_ = TkLangProps{};
    records_.clear();
    fonts_.clear();
    cursor_ = TKLangStr(*this, -1);
}

void TKLangFile::ReadFile()
{
    // A file of no bytes answers every lookup with nothing: what an earlier
    // file held must not show through. (A file that cannot be opened keeps the
    // contents, so an edited file can be written under a new name.)
    if (data_.empty()) {
        ForgetContents();
        return;
    }
    TContents read = vx::ReadFileTexts([this](vx::TFileTexts& texts) { return ParseContents(texts); });
    version_ = read.Version;
    offsetWidth_ = read.OffsetWidth;
    fileFlags_ = read.FileFlags;
    hasLocale_ = read.HasLocale;
    if (read.HasLocale)
        locale_ = std::move(read.Locale);
    biDiMode_ = read.BiDiMode;
    charset_ = read.Charset;
    fonts_ = std::move(read.Fonts);
    names_ = std::move(read.Names);
    props_ = std::move(read.Props);
    records_ = std::move(read.Records);
    cursor_ = TKLangStr(*this, -1);
    empty_ = false;
}

TKLangFile::TContents TKLangFile::ParseContents(vx::TFileTexts& texts) const
{
    Reader in(data_, texts);
    TContents c;
    if (in.Bytes(2) != "LF")
        throw ELangFileError("Not a language file or old version (1.1)");
    const double version = parseVersion(in.Bytes(4));
    c.Version = version;
    c.OffsetWidth = version <= 1.5 ? 2 : 4;
    if (version > 3.0)
        c.FileFlags = in.U8();
    else if (SameText(baseName(fileName_), "native.lng"))
        c.FileFlags = lfNative;
    c.HasLocale = version > 2.0 ? in.U8() != 0 : true;
    if (c.HasLocale)
        c.Locale = readLocale(in);
    c.BiDiMode = in.U8();
    if (version <= 2.0)
        c.BiDiMode = 0;
    in.Skip(10);
    c.Charset = in.U8();
    const std::int32_t fontCount = in.I32();
    // Each entry takes at least four bytes; a count beyond that is a damaged file.
    if (fontCount < 0 || static_cast<size_t>(fontCount) > in.Remaining() / 4)
        throw ELangFileError(kDamaged);
    c.Fonts.resize(static_cast<size_t>(fontCount));
    for (TkFontItem& font : c.Fonts) {
        font.Name = in.ShortString();
        font.Size = in.U16();
        font.Style = in.U8();
    }
    in.Skip(20);
    for (int n = in.U16(); n > 0; --n)
        c.Names.Add(in.ShortString());
    for (int s = in.U16(); s > 0; --s) {
        std::string section = in.Name();
        for (int k = in.U16(); k > 0; --k) {
            std::string key = in.Name();
            c.Props.Add(section, key, in.U16());
        }
    }
    const size_t recordSize = (version > 3.0 ? 1u : 0u) + 2u + static_cast<size_t>(c.OffsetWidth) + 2u;
    const std::uint16_t stringCount = in.U16();
    in.Require(recordSize * stringCount);
    c.Records.resize(stringCount);
    std::vector<std::int32_t> offsets(stringCount);
    for (size_t i = 0; i < c.Records.size(); ++i) {
        TkLangRecord& r = c.Records[i];
        r.Flags = version > 3.0 ? in.U8() : 0;
        r.Ident = in.U16();
        offsets[i] = c.OffsetWidth == 2 ? static_cast<std::int16_t>(in.U16()) : in.I32();
        r.FontNo = in.U16();
    }
    const std::string_view pool = in.Rest();
    for (size_t i = 0; i < c.Records.size(); ++i) {
        if (offsets[i] == -1)
            continue;
        if (offsets[i] < 0 || static_cast<size_t>(offsets[i]) >= pool.size())
            throw ELangFileError(kDamaged);
        size_t end = pool.find('\0', static_cast<size_t>(offsets[i]));
        if (end == std::string_view::npos)
            throw ELangFileError(kDamaged);
        c.Records[i].Text = in.PoolText(pool.substr(static_cast<size_t>(offsets[i]), end - static_cast<size_t>(offsets[i])));
    }
    // Before 3.0 a multi-line text was filed under "<path>.Text"; it is now the list property itself.
    if (version < 3.0) {
        for (const TkLangRecord& r : c.Records) {
            if (r.Text.find('\r') == std::string::npos || !c.Props.FindIdent(r.Ident))
                continue;
            std::string key = c.Props.CurrentKey();
            size_t dot = key.rfind('.');
            if (dot != std::string::npos && SameText(std::string_view(key).substr(dot + 1), "Text"))
                c.Props.RenameKey(key.substr(0, dot));
        }
    }
    return c;
}

void TKLangFile::SetFlag(std::uint8_t mask, bool on)
{
    fileFlags_ = on ? (fileFlags_ | mask) : (fileFlags_ & ~mask);
}

const TkLangRecord& TKLangFile::Record(int index) const
{
    if (index < 0 || index >= StringCount())
        throw ELangFileError("Language string index out of bounds (" + std::to_string(index) + ")");
    return records_[static_cast<size_t>(index)];
}

TKLangStr* TKLangFile::StringAt(int index)
{
    Record(index);
    cursor_ = TKLangStr(*this, index);
    return &cursor_;
}

const TkFontItem& TKLangFile::FontAt(int index) const
{
    if (index < 0 || index >= FontCount())
        throw ELangFileError("Font index out of bounds (" + std::to_string(index) + ")");
    return fonts_[static_cast<size_t>(index)];
}

int TKLangFile::FindFont(std::string_view name, std::uint16_t size, std::uint8_t style) const
{
    for (size_t i = 0; i < fonts_.size(); ++i)
        if (fonts_[i].Name == name && fonts_[i].Size == size && fonts_[i].Style == style)
            return static_cast<int>(i);
    return -1;
}

TKLangStr* TKLangFile::FindString(std::string_view section, std::string_view key)
{
    if (!props_.Find(section, key))
        return nullptr;
    return StringByIdent(props_.CurrentIdent());
}

TKLangStr* TKLangFile::StringByIdent(std::uint16_t ident)
{
    int current = cursor_.Index();
    if (current >= 0 && current < StringCount() && records_[static_cast<size_t>(current)].Ident == ident)
        return &cursor_;
    int low = 0, high = StringCount() - 1;
    while (low <= high) {
        int mid = (low + high) / 2;
        std::uint16_t at = records_[static_cast<size_t>(mid)].Ident;
        if (at > ident)
            high = mid - 1;
        else if (at == ident) {
            cursor_ = TKLangStr(*this, mid);
            return &cursor_;
        } else
            low = mid + 1;
    }
    return nullptr;
}

void TKLangFile::ApplyLocale() const
{
    vx::FormatSettings() = locale_;
}

void TKLangFile::ListLanguageFiles(const std::string& directory, TStringList& list)
{
    list.Clear();
    std::error_code ec;
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(vx::NativePath(directory), ec)) {
        std::string name = entry.path().filename().string();
        if (hasLngExtension(name) && !entry.is_directory(ec))
            found.push_back(name.substr(0, name.size() - 4));
    }
    std::sort(found.begin(), found.end(), [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
    for (const std::string& name : found)
        list.Add(name);
}
