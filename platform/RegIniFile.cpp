#include "platform/RegIniFile.h"

TRegIniFile::TRegIniFile(const std::string& keyPath) : TCustomIniFile(keyPath) {}

void TRegIniFile::SetRootKey(HKEY root)
{
    TRegistry check;
    check.SetRootKey(root);
    root_ = root;
}

std::string TRegIniFile::sectionPath(const std::string& section) const
{
    if (!section.empty() && section.front() == '\\')
        return section;
    std::string path = "\\" + FileName();
    if (!section.empty())
        path += "\\" + section;
    return path;
}

bool TRegIniFile::openSection(TRegistry& reg, const std::string& section) const
{
    reg.SetRootKey(root_);
    return reg.OpenKeyReadOnly(sectionPath(section));
}

std::string TRegIniFile::ReadString(const std::string& section, const std::string& ident, const std::string& def)
{
    TRegistry reg;
    if (!openSection(reg, section))
        return def;
    TRegDataType type = reg.GetDataType(ident);
    if (type != TRegDataType::rdString && type != TRegDataType::rdExpandString)
        return def;
    return reg.ReadString(ident);
}

int TRegIniFile::ReadInteger(const std::string& section, const std::string& ident, int def)
{
    TRegistry reg;
    if (!openSection(reg, section))
        return def;
    switch (reg.GetDataType(ident)) {
    case TRegDataType::rdString:
    case TRegDataType::rdExpandString:
        return IniStrToIntDef(reg.ReadString(ident), def);
    case TRegDataType::rdInteger:
        return reg.ReadInteger(ident);
    default:
        return def;
    }
}

void TRegIniFile::WriteString(const std::string& section, const std::string& ident, const std::string& value)
{
    TRegistry reg;
    reg.SetRootKey(root_);
    reg.OpenKey(sectionPath(section), true);
    reg.WriteString(ident, value);
    reg.CloseKey();
}

void TRegIniFile::ReadSection(const std::string& section, TStrings& idents)
{
    TRegistry reg;
    if (openSection(reg, section))
        reg.GetValueNames(idents);
    else
        idents.Clear();
}

void TRegIniFile::ReadSections(TStrings& sections)
{
    TRegistry reg;
    if (openSection(reg, ""))
        reg.GetKeyNames(sections);
    else
        sections.Clear();
}

void TRegIniFile::EraseSection(const std::string& section)
{
    TRegistry reg;
    reg.SetRootKey(root_);
    if (!section.empty()) {
        reg.DeleteKey(sectionPath(section));
        return;
    }
    if (!reg.OpenKey(sectionPath(section), false))
        return;
    TStringList names;
    reg.GetValueNames(names);
    for (int i = 0; i < names.Count(); ++i)
        reg.DeleteValue(names[i]);
    reg.CloseKey();
}

void TRegIniFile::DeleteKey(const std::string& section, const std::string& ident)
{
    TRegistry reg;
    reg.SetRootKey(root_);
    if (reg.OpenKey(sectionPath(section), false)) {
        reg.DeleteValue(ident);
        reg.CloseKey();
    }
}
