// The web server's ASP parameters.
#include "shell/AspSettings.h"

#include "localisation/RunTimeText.h"
#include "platform/Registry.h"

namespace vx::shell {

namespace {

const TRunTimeText NotADword{"%1: '%2' is not a valid integer value (a whole number from 0 to 4294967295)"};
// Filed for the language files: a message names the field it is about in the user's language.
const TRunTimeText Labels[AspFieldCount] = {
    TRunTimeText{"Buffering on "},        TRunTimeText{"Log error requests"},    TRunTimeText{"Max. cpu threads"},
    TRunTimeText{"Errors to browser"},    TRunTimeText{"Script error message"},  TRunTimeText{"Scriptfile cache size"},
    TRunTimeText{"Scriptfile cache ttl"}, TRunTimeText{"Script timeout"},        TRunTimeText{"Session timeout"},
    TRunTimeText{"Scriptlanguage"},       TRunTimeText{"Connection pooling"},
};

} // namespace

const std::array<TAspField, AspFieldCount>& AspFields()
{
    using enum TAspValueKind;
    static const std::array<TAspField, AspFieldCount> fields{{
        {"buffering", Labels[0].English(), "bufferingon", Dword},
        {"logerrorrequests", Labels[1].English(), "logerrorrequests", Dword},
        {"cputhreads", Labels[2].English(), "processorthreadmax", Dword},
        {"errorstobrowser", Labels[3].English(), "Scripterrorssenttobrowser", Dword},
        {"errormsg", Labels[4].English(), "ScriptErrorMessage", String},
        {"scriptcache", Labels[5].English(), "Scriptfilecachesize", Dword},
        {"cachettl", Labels[6].English(), "Scriptfilecachettl", Dword},
        {"timeout", Labels[7].English(), "Scripttimeout", Dword},
        {"sessiontimeout", Labels[8].English(), "Sessiontimeout", Dword},
        {"scriptlanguage", Labels[9].English(), "DefaultScriptLanguage", String},
        {"pooling", Labels[10].English(), "Startconnectionpool", Dword},
    }};
    return fields;
}

namespace {

std::string DwordText(const TRegistry& reg, const std::string& name)
{
    return std::to_string(static_cast<std::uint32_t>(reg.ReadInteger(name)));
}

// A string field shows a DWORD stored under its name as its number.
std::string AnyText(const TRegistry& reg, const std::string& name)
{
    switch (reg.GetDataType(name)) {
    case TRegDataType::rdString:
    case TRegDataType::rdExpandString:
        return reg.ReadString(name);
    case TRegDataType::rdInteger:
        return DwordText(reg, name);
    default:
        return {};
    }
}

} // namespace

TAspSettings LoadAspSettings()
{
    TAspSettings settings;
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    if (!reg.KeyExists(AspParametersKey) || !reg.OpenKeyReadOnly(AspParametersKey))
        return settings;
    settings.KeyExists = true;
    for (int i = 0; i < AspFieldCount; ++i) {
        const TAspField& field = AspFields()[i];
        if (field.Kind == TAspValueKind::String)
            settings.Texts[i] = AnyText(reg, field.Value);
        else if (reg.GetDataType(field.Value) == TRegDataType::rdInteger)
            settings.Texts[i] = DwordText(reg, field.Value);
    }
    TStringList names;
    reg.GetValueNames(names);
    for (int i = 0; i < names.Count(); ++i)
        if (reg.GetDataType(names[i]) == TRegDataType::rdInteger)
            settings.DwordLines.push_back(std::to_string(i) + ") " + DwordText(reg, names[i]));
    reg.CloseKey();
    return settings;
}

std::optional<std::uint32_t> ParseDword(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::nullopt;
    const std::size_t last = text.find_last_not_of(' ');
    std::uint64_t value = 0;
    for (std::size_t i = first; i <= last; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > 0xFFFFFFFFull)
            return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

std::optional<std::string> CheckAspTexts(const std::array<std::string, AspFieldCount>& texts)
{
    for (int i = 0; i < AspFieldCount; ++i) {
        const TAspField& field = AspFields()[i];
        if (field.Kind == TAspValueKind::Dword && !texts[i].empty() && !ParseDword(texts[i]))
            return NotADword({Labels[i](), texts[i]});
    }
    return std::nullopt;
}

TAspSaveResult SaveAspSettings(const std::array<std::string, AspFieldCount>& texts)
{
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    if (!reg.KeyExists(AspParametersKey))
        return TAspSaveResult::NoKey;
    reg.OpenKey(AspParametersKey, false);
    for (int i = 0; i < AspFieldCount; ++i) {
        const TAspField& field = AspFields()[i];
        if (field.Kind == TAspValueKind::String)
            reg.WriteString(field.Value, texts[i]);
        else if (const std::optional<std::uint32_t> value = ParseDword(texts[i]))
            reg.WriteInteger(field.Value, static_cast<int>(*value));
    }
    reg.CloseKey();
    return TAspSaveResult::Written;
}

} // namespace vx::shell
