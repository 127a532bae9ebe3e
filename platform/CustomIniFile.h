// TCustomIniFile: the section/ident/value interface shared by profile files
// (TIniFile) and registry-backed settings (TRegIniFile), so that settings code
// can work with either.
#pragma once

#include "platform/Exception.h"
#include "platform/TStringList.h"

#include <string>
#include <string_view>

VX_DECLARE_EXCEPTION(EIniFileException, Exception);

class TCustomIniFile {
public:
    explicit TCustomIniFile(std::string fileName) : fileName_(std::move(fileName)) {}
    virtual ~TCustomIniFile() = default;
    TCustomIniFile(const TCustomIniFile&) = delete;
    TCustomIniFile& operator=(const TCustomIniFile&) = delete;

    // The file path, or the registry key path for TRegIniFile.
    const std::string& FileName() const { return fileName_; }

    virtual std::string ReadString(const std::string& section, const std::string& ident, const std::string& def) = 0;
    virtual void WriteString(const std::string& section, const std::string& ident, const std::string& value) = 0;
    // The value as a decimal (or "$"/"0x" hexadecimal) number; def when missing
    // or not a number.
    virtual int ReadInteger(const std::string& section, const std::string& ident, int def);
    virtual void WriteInteger(const std::string& section, const std::string& ident, int value);
    // "0" is false, any other number true; def when missing or not a number.
    bool ReadBool(const std::string& section, const std::string& ident, bool def);
    // Writes "1" or "0".
    void WriteBool(const std::string& section, const std::string& ident, bool value);

    // The idents of a section, in their order.
    virtual void ReadSection(const std::string& section, TStrings& idents) = 0;
    virtual void ReadSections(TStrings& sections) = 0;
    // "ident=value" for each ident of the section.
    virtual void ReadSectionValues(const std::string& section, TStrings& values);
    virtual void EraseSection(const std::string& section) = 0;
    virtual void DeleteKey(const std::string& section, const std::string& ident) = 0;
    // True when the section has at least one ident.
    bool SectionExists(const std::string& section);
    virtual bool ValueExists(const std::string& section, const std::string& ident);
    // Makes sure everything written has reached the file.
    virtual void UpdateFile() = 0;

private:
    std::string fileName_;
};

// The number a settings text stands for, as the class library's StrToIntDef
// reads it (surrounding blanks allowed, "$" or "0x" for hexadecimal), or def.
int IniStrToIntDef(std::string_view text, int def);
