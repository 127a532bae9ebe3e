// Reader of the binary language files (".lng", signature "LF"): the texts of
// every window in one language, filed by section (window) and key (property
// path), with the language's fonts, character set, reading order and locale.
// Every read is checked against the size of the data; a truncated or damaged
// file raises ELangFileError and leaves the object as it was. Texts are UTF-8;
// a file whose texts are not all UTF-8 was written by an earlier version in
// Windows-1252 and reads as such. Text widths count characters.
#pragma once

#include "localisation/FormatSettings.h"
#include "platform/Exception.h"
#include "platform/TStringList.h"

#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

VX_DECLARE_EXCEPTION(ELangFileError, Exception);

namespace vx {
class TFileTexts;
}

// File flag: the file holds the designed (native) texts.
constexpr std::uint8_t lfNative = 1;
// Record flag: the text is kept in the native file only and never applied.
constexpr std::uint8_t lsNativeOnly = 1;

struct TkFontItem {
    std::string Name;
    std::uint16_t Size = 0;
    std::uint8_t Style = 0; // 1 bold, 2 italic, 4 underline, 8 strike-out
};

// One string record: the text joined to keys by its ident.
struct TkLangRecord {
    std::uint8_t Flags = 0;
    std::uint16_t Ident = 0;
    std::string Text; // may hold CR LF line breaks
    std::uint16_t FontNo = 0; // 1-based into the font entries, 0 = none
};

// The index of sections and keys: both sorted and compared case-insensitively,
// each key carrying the ident of its record; a cursor (section, key) that is
// -1 when not positioned.
class TkLangProps {
public:
    void Clear();
    // Creates the section when missing; an existing key takes the new ident.
    // Positions the cursor on the key.
    void Add(std::string_view section, std::string_view key, std::uint16_t ident);
    // Positions the cursor; a missing section sets both indices to -1.
    bool Find(std::string_view section, std::string_view key);
    // Positions on the first key (sections in sorted order) carrying the ident.
    bool FindIdent(std::uint16_t ident);
    // ELangFileError "No current property" when the cursor is not on a key.
    std::uint16_t CurrentIdent() const;
    std::string CurrentSection() const;
    std::string CurrentKey() const;
    // Renames the current section (merging into an existing one of that name);
    // an empty name deletes the current key and, when that leaves the section
    // without keys, the section.
    void RenameSection(std::string_view newName);
    // Renames the current key; an empty name deletes it.
    void RenameKey(std::string_view newName);
    void DeleteCurrent();
    // In the positioned section, every key beginning with old + "." becomes
    // new + "." + the rest.
    void RenamePrefix(std::string_view oldPrefix, std::string_view newPrefix);

    int SectionIndex() const { return section_; }
    int KeyIndex() const { return key_; }
    int SectionCount() const { return static_cast<int>(sections_.size()); }
    const std::string& SectionName(int section) const;
    int KeyCount(int section) const;
    const std::string& KeyName(int section, int key) const;
    std::uint16_t KeyIdent(int section, int key) const;

private:
    struct Key {
        std::string name;
        std::uint16_t ident = 0;
    };
    struct Section {
        std::string name;
        std::vector<Key> keys;
    };
    int findSection(std::string_view name, bool& found) const;
    static int findKey(const Section& section, std::string_view name, bool& found);
    void requireKey() const;
    void deleteKey(bool dropEmptySection);
    void insertKey(Section& section, Key key);

    std::vector<Section> sections_;
    int section_ = -1;
    int key_ = -1;
};

class TKLangFile;

// A cursor on one string record of a language file.
class TKLangStr {
public:
    TKLangStr(TKLangFile& file, int index) : file_(&file), index_(index) {}
    int Index() const { return index_; }
    std::uint16_t Ident() const;
    const std::string& Text() const;
    std::uint16_t FontNo() const;
    // True when every bit of mask is set in the record's flags.
    bool HasFlags(std::uint8_t mask) const;
    bool IsMultiLine() const;
    // Section and key of the first key carrying this record's ident ("" when none).
    std::string Section() const;
    std::string Key() const;
    // Renames that key; an empty name deletes it.
    void RenameKey(std::string_view newName);

private:
    TKLangFile* file_;
    int index_;
};

class TKLangFile {
public:
    TKLangFile() = default;
    virtual ~TKLangFile() = default;
    TKLangFile(const TKLangFile&) = delete;
    TKLangFile& operator=(const TKLangFile&) = delete;

    const std::string& FileName() const { return fileName_; }
    // Closes the current data, stores the name and, when OpenFile succeeds, reads it.
    void SetFileName(const std::string& name);
    // Loads the named file's bytes; false (and nothing raised) when it cannot be read.
    virtual bool OpenFile();
    // Parses the loaded bytes. Zero bytes leave the file empty; a damaged file
    // raises ELangFileError and changes nothing.
    virtual void ReadFile();
    // Reads a language file held by the caller (a stored language).
    void LoadFromStream(std::istream& stream);
    void LoadFromBytes(std::string_view bytes);
    void Close();

    bool IsEmpty() const { return empty_; }
    bool HasLocale() const { return hasLocale_; }
    std::uint8_t Charset() const { return charset_; }
    std::uint8_t BiDiMode() const { return biDiMode_; }
    double Version() const { return version_; }
    bool HasFlag(std::uint8_t mask) const { return (fileFlags_ & mask) == mask; }
    void SetFlag(std::uint8_t mask, bool on);
    const vx::TFormatSettings& Locale() const { return locale_; }
    const TStringList& Names() const { return names_; }

    int StringCount() const { return static_cast<int>(records_.size()); }
    // ELangFileError for an index outside the records.
    TKLangStr* StringAt(int index);
    std::uint16_t LastIdent() const { return records_.empty() ? 0 : records_.back().Ident; }
    const TkLangRecord& Record(int index) const;

    int FontCount() const { return static_cast<int>(fonts_.size()); }
    const TkFontItem& FontAt(int index) const;
    // Name compared case-sensitively, size and style exactly; -1 when absent.
    int FindFont(std::string_view name, std::uint16_t size, std::uint8_t style) const;

    TKLangStr* FindString(std::string_view section, std::string_view key);
    TKLangStr* StringByIdent(std::uint16_t ident);

    // Copies the 22 locale items into the process-wide format settings.
    void ApplyLocale() const;

    TkLangProps& Props() { return props_; }
    const TkLangProps& Props() const { return props_; }

    // Clears list and adds the name of every "*.lng" file of the folder (any
    // case) without that extension; the names are sorted case-insensitively.
    static void ListLanguageFiles(const std::string& directory, TStringList& list);

protected:
    friend class TKLangStr;

    void ForgetContents();

    // What reading the file gives: its texts are UTF-8, or Windows-1252 as
    // earlier versions wrote them (vx::ReadFileTexts).
    struct TContents {
        double Version = 0;
        int OffsetWidth = 4;
        std::uint8_t FileFlags = 0;
        bool HasLocale = false;
        vx::TFormatSettings Locale;
        std::uint8_t BiDiMode = 0;
        std::uint8_t Charset = 0;
        std::vector<TkFontItem> Fonts;
        TStringList Names;
        TkLangProps Props;
        std::vector<TkLangRecord> Records;
    };
    TContents ParseContents(vx::TFileTexts& texts) const;

    std::string fileName_;
    std::string data_;
    double version_ = 0;
    int offsetWidth_ = 4;
    bool empty_ = true;
    std::uint8_t fileFlags_ = 0;
    bool hasLocale_ = false;
    vx::TFormatSettings locale_;
    std::uint8_t charset_ = 0;
    std::uint8_t biDiMode_ = 0;
    TStringList names_;
    TkLangProps props_;
    std::vector<TkLangRecord> records_;
    std::vector<TkFontItem> fonts_;
    TKLangStr cursor_{*this, -1};
};

// The widths of the locale block's texts, shared by the reader and the writer.
namespace vx::locale_width {
constexpr size_t Currency = 10, ShortDate = 12, LongDate = 30, TimeSuffix = 6, TimeFormat = 20, ShortName = 6,
                 LongName = 20, Era = 10;
}

// Cuts every text of the settings to its width in the locale block.
namespace vx {
void CutLocaleToWidths(TFormatSettings& settings);
}
