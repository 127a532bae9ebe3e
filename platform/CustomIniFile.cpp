#include "platform/CustomIniFile.h"

#include "platform/AnsiText.h"

#include <cstdint>

int IniStrToIntDef(std::string_view text, int def)
{
    std::string s = vx::Trim(text);
    size_t pos = 0;
    bool negative = false;
    if (pos < s.size() && (s[pos] == '-' || s[pos] == '+'))
        negative = s[pos++] == '-';
    unsigned base = 10;
    if (pos < s.size() && s[pos] == '$') {
        base = 16;
        ++pos;
    } else if (s.size() - pos > 2 && s[pos] == '0' && (s[pos + 1] == 'x' || s[pos + 1] == 'X')) {
        base = 16;
        pos += 2;
    }
    if (pos >= s.size())
        return def;
    std::int64_t n = 0;
    for (; pos < s.size(); ++pos) {
        int digit = vx::DigitValue(s[pos], base);
        if (digit < 0)
            return def;
        n = n * base + digit;
        if (n > 0xFFFFFFFFLL)
            return def;
    }
    // Hexadecimal covers the whole 32 bits ($FFFFFFFF is -1); decimal must fit an int.
    if (base == 16 && !negative)
        return static_cast<int>(static_cast<std::uint32_t>(n));
    if (negative)
        n = -n;
    if (n < INT32_MIN || n > INT32_MAX)
        return def;
    return static_cast<int>(n);
}

int TCustomIniFile::ReadInteger(const std::string& section, const std::string& ident, int def)
{
    return IniStrToIntDef(ReadString(section, ident, ""), def);
}

void TCustomIniFile::WriteInteger(const std::string& section, const std::string& ident, int value)
{
    WriteString(section, ident, std::to_string(value));
}

bool TCustomIniFile::ReadBool(const std::string& section, const std::string& ident, bool def)
{
    return ReadInteger(section, ident, def ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const std::string& section, const std::string& ident, bool value)
{
    WriteString(section, ident, value ? "1" : "0");
}

void TCustomIniFile::ReadSectionValues(const std::string& section, TStrings& values)
{
    TStringList idents;
    ReadSection(section, idents);
    values.BeginUpdate();
    values.Clear();
    for (int i = 0; i < idents.Count(); ++i)
        values.Add(idents[i] + "=" + ReadString(section, idents[i], ""));
    values.EndUpdate();
}

bool TCustomIniFile::SectionExists(const std::string& section)
{
    TStringList idents;
    ReadSection(section, idents);
    return idents.Count() > 0;
}

bool TCustomIniFile::ValueExists(const std::string& section, const std::string& ident)
{
    TStringList idents;
    ReadSection(section, idents);
    return idents.IndexOf(ident) >= 0;
}
