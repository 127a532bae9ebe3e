// Token attributes and their registry layout, the colour-scheme import, the
// highlighter base and the list of highlighter classes.
#include "editor/mwHighlighter.h"

#include "platform/AnsiText.h"

#include <algorithm>
#include <optional>

const std::array<TColor, 16> SchemePalette = {
    clBlack, clMaroon, clGreen, clOlive, clNavy, clPurple, clTeal, clSilver,
    clGray,  clRed,    clLime,  clYellow, clBlue, clFuchsia, clAqua, clWhite,
};

namespace {

// Puts the registry object back on the key it was on, however the scope is left.
class KeyRestorer {
public:
    KeyRestorer(TBetterRegistry& reg, bool readOnly) : reg_(reg), path_("\\" + reg.CurrentPath()), readOnly_(readOnly) {}
    ~KeyRestorer()
    {
        try {
            Restore();
        } catch (...) {
            // Already failing: the caller learns it from the result.
        }
    }
    // For when the key never moved.
    void Dismiss() { done_ = true; }
    // Raises what reopening raises, so that a write that did not reach the store is seen.
    void Restore()
    {
        if (done_)
            return;
        done_ = true;
        if (readOnly_)
            reg_.OpenKeyReadOnly(path_);
        else
            reg_.OpenKey(path_, false);
    }

private:
    TBetterRegistry& reg_;
    std::string path_;
    bool readOnly_;
    bool done_ = false;
};

std::optional<std::uint32_t> ReadDword(const TRegistry& reg, const std::string& name)
{
    if (reg.GetDataType(name) != TRegDataType::rdInteger)
        return std::nullopt;
    return static_cast<std::uint32_t>(reg.ReadInteger(name));
}

std::optional<std::string> ReadText(const TRegistry& reg, const std::string& name)
{
    auto type = reg.GetDataType(name);
    if (type != TRegDataType::rdString && type != TRegDataType::rdExpandString)
        return std::nullopt;
    return reg.ReadString(name);
}

std::optional<TColor> PaletteColor(std::optional<std::uint32_t> index)
{
    if (!index || *index >= SchemePalette.size())
        return std::nullopt;
    return SchemePalette[*index];
}

// A decimal palette index, or none.
std::optional<TColor> PaletteColor(const std::string& field)
{
    std::string digits = vx::Trim(field);
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    if (digits.empty() || digits.size() > 9 || !std::all_of(digits.begin(), digits.end(), isDigit))
        return std::nullopt;
    return PaletteColor(static_cast<std::uint32_t>(std::stoul(digits)));
}

bool SchemeFlag(const std::string& text) { return vx::UpperCase(text) != "FALSE" && text != "0"; }

// Takes the text before the first comma off the front of rest.
std::string TakeField(std::string& rest)
{
    auto comma = rest.find(',');
    std::string field = rest.substr(0, comma);
    rest = comma == std::string::npos ? std::string() : rest.substr(comma + 1);
    return field;
}

struct ImportedColors {
    TColor background;
    TColor foreground;
    TFontStyles style;
};

std::optional<ImportedColors> ReadNewScheme(TRegistry& reg, const std::string& key)
{
    if (!reg.OpenKeyReadOnly(key))
        return std::nullopt;
    auto fore = ReadDword(reg, "Foreground Color");
    auto back = ReadDword(reg, "Background Color");
    auto bold = ReadText(reg, "Bold");
    auto italic = ReadText(reg, "Italic");
    auto underline = ReadText(reg, "Underline");
    auto defaultFore = ReadText(reg, "Default Foreground");
    auto defaultBack = ReadText(reg, "Default Background");
    reg.CloseKey();
    if (!fore || !back || !bold || !italic || !underline || !defaultFore || !defaultBack)
        return std::nullopt;
    auto background = PaletteColor(back);
    auto foreground = PaletteColor(fore);
    if (!background || !foreground)
        return std::nullopt;
    ImportedColors colors{SchemeFlag(*defaultBack) ? clWindow : *background,
                          SchemeFlag(*defaultFore) ? clWindowText : *foreground, {}};
    if (SchemeFlag(*bold))
        colors.style |= fsBold;
    if (SchemeFlag(*italic))
        colors.style |= fsItalic;
    if (SchemeFlag(*underline))
        colors.style |= fsUnderline;
    return colors;
}

std::optional<ImportedColors> ReadOldScheme(TRegistry& reg, const std::string& key, const std::string& name)
{
    if (!reg.OpenKeyReadOnly(key))
        return std::nullopt;
    auto value = ReadText(reg, name);
    reg.CloseKey();
    if (!value)
        return std::nullopt;
    std::string rest = *value;
    std::string fields[7];
    for (auto& field : fields)
        field = TakeField(rest);
    auto background = PaletteColor(fields[6]);
    auto foreground = PaletteColor(fields[5]);
    if (!background || !foreground)
        return std::nullopt;
    ImportedColors colors{fields[4] == "1" ? clWindow : *background, fields[3] == "1" ? clWindowText : *foreground,
                          {}};
    const std::string& letters = fields[2];
    if (letters.find('B') != std::string::npos)
        colors.style |= fsBold;
    if (letters.find('I') != std::string::npos)
        colors.style |= fsItalic;
    if (letters.find('U') != std::string::npos)
        colors.style |= fsUnderline;
    return colors;
}

} // namespace

void TmwHighLightAttributes::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TmwHighLightAttributes::Assign(const TmwHighLightAttributes& source)
{
    if (&source == this)
        return;
    if (!owner_)
        name_ = source.name_;
    bool differs = background_ != source.background_ || foreground_ != source.foreground_ || style_ != source.style_;
    background_ = source.background_;
    foreground_ = source.foreground_;
    style_ = source.style_;
    if (differs)
        Changed();
}

void TmwHighLightAttributes::SetBackground(TColor value)
{
    if (background_ != value) {
        background_ = value;
        Changed();
    }
}

void TmwHighLightAttributes::SetForeground(TColor value)
{
    if (foreground_ != value) {
        foreground_ = value;
        Changed();
    }
}

void TmwHighLightAttributes::SetStyle(TFontStyles value)
{
    if (style_ != value) {
        style_ = value;
        Changed();
    }
}

bool TmwHighLightAttributes::LoadFromRegistry(TBetterRegistry& reg)
{
    KeyRestorer restorer(reg, true);
    if (!reg.OpenKeyReadOnly(name_)) {
        restorer.Dismiss();
        return false;
    }
    if (auto v = ReadDword(reg, "Background"))
        SetBackground(*v);
    if (auto v = ReadDword(reg, "Foreground"))
        SetForeground(*v);
    if (auto v = ReadDword(reg, "Style")) {
        SetStyle((*v & fsBold) ? TFontStyles(fsBold) : TFontStyles());
        for (TFontStyle s : {fsItalic, fsUnderline, fsStrikeOut})
            if (*v & s)
                SetStyle(style_ | s);
    }
    restorer.Restore();
    return true;
}

bool TmwHighLightAttributes::SaveToRegistry(TBetterRegistry& reg)
{
    KeyRestorer restorer(reg, false);
    if (!reg.OpenKey(name_, true)) {
        restorer.Dismiss();
        return false;
    }
    reg.WriteInteger("Background", static_cast<int>(background_));
    reg.WriteInteger("Foreground", static_cast<int>(foreground_));
    reg.WriteInteger("Style", static_cast<int>(style_.Bits()));
    restorer.Restore();
    return true;
}

bool TmwHighLightAttributes::ImportColorScheme(HKEY rootKey, const std::string& attrKey,
                                               const std::string& attrName, bool oldStyle)
{
    try {
        TBetterRegistry reg;
        reg.SetRootKey(rootKey);
        auto colors = oldStyle ? ReadOldScheme(reg, attrKey, attrName)
                               : ReadNewScheme(reg, attrKey + "\\" + attrName);
        if (!colors)
            return false;
        SetBackground(colors->background);
        SetForeground(colors->foreground);
        SetStyle(colors->style);
        return true;
    } catch (...) {
        return false;
    }
}

TmwCustomHighLighter::TmwCustomHighLighter() : changeChain_(this), destroyChain_(this) {}

TmwCustomHighLighter::~TmwCustomHighLighter()
{
    destroyChain_.Fire();
    while (!attributes_.empty())
        attributes_.pop_back();
}

TCharSet TmwCustomHighLighter::GetIdentChars() const { return CharRangeSet(33, 255); }

int TmwCustomHighLighter::GetAttribCount() const { return static_cast<int>(attributes_.size()); }

TmwHighLightAttributes* TmwCustomHighLighter::GetAttribute(int index) const
{
    if (index < 0 || index >= GetAttribCount())
        return nullptr;
    return attributes_[static_cast<size_t>(index)].get();
}

void TmwCustomHighLighter::SetDefaultFilter(const std::string& value)
{
    if (defaultFilter_ != value)
        defaultFilter_ = value;
}

bool TmwCustomHighLighter::UseUserSettings(int) { return false; }

void TmwCustomHighLighter::EnumUserSettings(TStrings& settings) { settings.Clear(); }

bool TmwCustomHighLighter::LoadFromRegistry(HKEY rootKey, const std::string& key)
{
    try {
        TBetterRegistry reg;
        reg.SetRootKey(rootKey);
        if (!reg.OpenKeyReadOnly(key))
            return false;
        for (auto& attribute : attributes_)
            if (!attribute->LoadFromRegistry(reg))
                return false;
        return true;
    } catch (const Exception&) {
        return false;
    }
}

bool TmwCustomHighLighter::SaveToRegistry(HKEY rootKey, const std::string& key)
{
    try {
        TBetterRegistry reg;
        reg.SetRootKey(rootKey);
        if (!reg.OpenKey(key, true))
            return false;
        for (auto& attribute : attributes_)
            if (!attribute->SaveToRegistry(reg))
                return false;
        reg.CloseKey(); // so that a failed write shows in the result
        return true;
    } catch (const Exception&) {
        return false;
    }
}

void TmwCustomHighLighter::NextToEol()
{
    while (!GetEol())
        Next();
}

void TmwCustomHighLighter::AttributeChanged(TmwHighLightAttributes*) { changeChain_.Fire(); }

void TmwCustomHighLighter::SetAttributesOnChange(const TmwHighLightAttributes::TChangeEvent& handler)
{
    for (auto i = attributes_.size(); i-- > 0;)
        attributes_[i]->OnChange = handler;
}

TmwChainHandle TmwCustomHighLighter::AddChangeHook(TmwNotifyEventChain::TNotifyEvent handler)
{
    return changeChain_.AddHandler(std::move(handler));
}

void TmwCustomHighLighter::RemoveChangeHook(TmwChainHandle handle) { changeChain_.RemoveHandler(handle); }

TmwChainHandle TmwCustomHighLighter::AddDestroyHook(TmwNotifyEventChain::TNotifyEvent handler)
{
    return destroyChain_.AddHandler(std::move(handler));
}

void TmwCustomHighLighter::RemoveDestroyHook(TmwChainHandle handle) { destroyChain_.RemoveHandler(handle); }

TmwHighLightAttributes* TmwCustomHighLighter::AddAttribute(std::unique_ptr<TmwHighLightAttributes> attribute)
{
    auto at = std::lower_bound(attributes_.begin(), attributes_.end(), attribute->Name(),
                               [](const auto& listed, const std::string& name) {
                                   return CompareText(listed->Name(), name) < 0;
                               });
    if (at != attributes_.end() && SameText((*at)->Name(), attribute->Name()))
        return at->get();
    attribute->owner_ = this;
    return attributes_.insert(at, std::move(attribute))->get();
}

TmwHighLightAttributes* TmwCustomHighLighter::AddAttribute(const std::string& name)
{
    return AddAttribute(std::make_unique<TmwHighLightAttributes>(name));
}

int THighlighterList::IndexOf(const TmwHighlighterClass* cls) const
{
    auto at = std::find(classes_.begin(), classes_.end(), cls);
    return at == classes_.end() ? -1 : static_cast<int>(at - classes_.begin());
}

int THighlighterList::Add(const TmwHighlighterClass* cls)
{
    int index = IndexOf(cls);
    if (index >= 0)
        return index;
    classes_.push_back(cls);
    return Count() - 1;
}

THighlighterList& HighlighterList()
{
    static THighlighterList list;
    return list;
}

int RegisterHighlighter(const TmwHighlighterClass& cls) { return HighlighterList().Add(&cls); }
