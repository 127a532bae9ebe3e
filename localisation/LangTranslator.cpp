// Translation of a native language file through a translation table.
#include "localisation/LangTranslator.h"

#include "localisation/KLangEd.h"
#include "localisation/TranslatableChars.h"
#include "localisation/TranslationTable.h"
#include "platform/AnsiText.h"
#include "platform/FileIO.h"
#include "platform/Utf8.h"

#include <functional>
#include <map>
#include <set>

namespace {

// The lines of a text, split at CR LF; a list's closing CR LF leaves an empty last line.
std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
        lines.push_back(text.substr(start, at - start));
    lines.push_back(text.substr(start));
    return lines;
}

std::string translateText(const std::string& text, const std::string& section, const std::string& key,
                          const TTranslationTable& table, std::vector<TUntranslatedText>& missing)
{
    const std::string context = section + "." + key;
    std::string out;
    bool first = true;
    for (const std::string& line : splitLines(text)) {
        if (!first)
            out += "\r\n";
        first = false;
        if (!HasTranslatableChars(line)) {
            out += line;
        } else if (const std::string* translation = table.Find(context, line)) {
            out += *translation;
        } else {
            out += line;
            missing.push_back({section, key, line});
        }
    }
    return out;
}

using TSetter = std::function<void(vx::TFormatSettings&, const std::string&)>;

[[noreturn]] void badField(const std::string& field, const std::string& why)
{
    throw ETranslationTableError("header field " + field + ": " + why);
}

TSetter text(std::string vx::TFormatSettings::*member, std::size_t width)
{
    return [member, width](vx::TFormatSettings& s, const std::string& value) {
        if (vx::utf8::CountChars(value) > width)
            throw ETranslationTableError("longer than " + std::to_string(width) + " characters");
        s.*member = value;
    };
}

TSetter character(char vx::TFormatSettings::*member)
{
    return [member](vx::TFormatSettings& s, const std::string& value) {
        // The language file keeps a separator in one byte.
        if (value.size() != 1 || static_cast<unsigned char>(value[0]) >= 0x80)
            throw ETranslationTableError("must be one ASCII character");
        s.*member = value[0];
    };
}

template <class N> TSetter number(N vx::TFormatSettings::*member, int most)
{
    return [member, most](vx::TFormatSettings& s, const std::string& value) {
        if (value.empty() || value.size() > 5 || value.find_first_not_of("0123456789") != std::string::npos ||
            std::stoi(value) > most)
            throw ETranslationTableError("must be a number from 0 to " + std::to_string(most));
        s.*member = static_cast<N>(std::stoi(value));
    };
}

template <std::size_t Count>
TSetter names(std::array<std::string, Count> vx::TFormatSettings::*member, std::size_t width)
{
    return [member, width](vx::TFormatSettings& s, const std::string& value) {
        std::array<std::string, Count> list;
        std::size_t start = 0;
        for (std::size_t i = 0; i < Count; ++i) {
            const std::size_t comma = value.find(',', start);
            if ((comma == std::string::npos) != (i + 1 == Count))
                throw ETranslationTableError("must be " + std::to_string(Count) + " names separated by commas");
            list[i] = vx::Trim(value.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
            if (vx::utf8::CountChars(list[i]) > width)
                throw ETranslationTableError("a name is longer than " + std::to_string(width) + " characters");
            start = comma + 1;
        }
        s.*member = list;
    };
}

const std::map<std::string, TSetter>& localeFields()
{
    using S = vx::TFormatSettings;
    namespace w = vx::locale_width;
    static const std::map<std::string, TSetter> fields = {
        {"currencystring", text(&S::CurrencyString, w::Currency)},
        {"currencyformat", number(&S::CurrencyFormat, 3)},
        {"negcurrformat", number(&S::NegCurrFormat, 15)},
        {"thousandseparator", character(&S::ThousandSeparator)},
        {"decimalseparator", character(&S::DecimalSeparator)},
        {"currencydecimals", number(&S::CurrencyDecimals, 255)},
        {"dateseparator", character(&S::DateSeparator)},
        {"shortdateformat", text(&S::ShortDateFormat, w::ShortDate)},
        {"longdateformat", text(&S::LongDateFormat, w::LongDate)},
        {"timeseparator", character(&S::TimeSeparator)},
        {"timeamstring", text(&S::TimeAMString, w::TimeSuffix)},
        {"timepmstring", text(&S::TimePMString, w::TimeSuffix)},
        {"shorttimeformat", text(&S::ShortTimeFormat, w::TimeFormat)},
        {"longtimeformat", text(&S::LongTimeFormat, w::TimeFormat)},
        {"shortmonthnames", names(&S::ShortMonthNames, w::ShortName)},
        {"longmonthnames", names(&S::LongMonthNames, w::LongName)},
        {"shortdaynames", names(&S::ShortDayNames, w::ShortName)},
        {"longdaynames", names(&S::LongDayNames, w::LongName)},
        {"twodigityearcenturywindow", number(&S::TwoDigitYearCenturyWindow, 0xFFFF)},
        {"listseparator", character(&S::ListSeparator)},
    };
    return fields;
}

} // namespace

std::vector<TUntranslatedText> TranslateLanguage(const TKLangFile& native, const TTranslationTable& table,
                                                 TkLangFileEdit& out)
{
    std::map<std::uint16_t, const TkLangRecord*> records;
    for (int i = 0; i < native.StringCount(); ++i)
        if (!(native.Record(i).Flags & lsNativeOnly))
            records.emplace(native.Record(i).Ident, &native.Record(i));
    std::vector<TUntranslatedText> missing;
    std::set<std::uint16_t> written;
    const TkLangProps& props = native.Props();
    for (int s = 0; s < props.SectionCount(); ++s)
        for (int k = 0; k < props.KeyCount(s); ++k) {
            const std::uint16_t ident = props.KeyIdent(s, k);
            const auto record = records.find(ident);
            if (record == records.end())
                continue;
            const std::string& section = props.SectionName(s);
            const std::string& key = props.KeyName(s, k);
            // Keys sharing a record share its one translation.
            if (written.insert(ident).second)
                out.AddString(ident, section, key, 0, translateText(record->second->Text, section, key, table, missing));
            else
                out.Props().Add(section, key, ident);
        }
    out.SetHasLocale(true);
    out.SetLocale(TableLocale(table));
    return missing;
}

std::string UntranslatedEntries(const std::vector<TUntranslatedText>& missing)
{
    std::vector<std::string> order;
    std::map<std::string, std::vector<std::string>> places;
    for (const TUntranslatedText& m : missing) {
        auto& where = places[m.Text];
        if (where.empty())
            order.push_back(m.Text);
        where.push_back(m.Section + "." + m.Key);
    }
    std::string entries;
    for (const std::string& text : order)
        entries += FormatTableEntry(text, places[text]);
    return entries;
}

vx::TFormatSettings TableLocale(const TTranslationTable& table)
{
    static const std::string kPrefix = "x-locale-";
    vx::TFormatSettings settings;
    for (const auto& [field, value] : table.Header()) {
        const std::string name = vx::LowerCase(field);
        if (name.rfind(kPrefix, 0) != 0)
            continue;
        const auto setter = localeFields().find(name.substr(kPrefix.size()));
        if (setter == localeFields().end())
            badField(field, "no such setting");
        try {
            setter->second(settings, value);
        } catch (const ETranslationTableError& e) {
            badField(field, e.what());
        }
    }
    return settings;
}

std::vector<TUntranslatedText> TranslateLanguageFile(const std::string& nativePath, const std::string& tablePath,
                                                     const std::string& outPath)
{
    TKLangFile native;
    native.LoadFromBytes(vx::ReadWholeFile(nativePath));
    const TTranslationTable table = TTranslationTable::Parse(vx::ReadWholeFile(tablePath));
    TkLangFileEdit out;
    std::vector<TUntranslatedText> missing = TranslateLanguage(native, table, out);
    out.SaveAs(outPath);
    return missing;
}
