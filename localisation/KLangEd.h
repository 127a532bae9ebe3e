// Editing and writing of language files: the native file that the window
// texts are collected into, and the base of a new language.
#pragma once

#include "localisation/KLngFile.h"

// A key whose ident has no string record.
VX_DECLARE_EXCEPTION(ELangStrNotFound, ELangFileError);

class TkLangFileEdit : public TKLangFile {
public:
    // Writes everything in the "3.10" layout to FileName, atomically; the
    // file is then no longer empty. ELangFileError when a name, key or table
    // does not fit its field (nothing is written then).
    virtual void WriteFile();
    // path becomes the file name (nothing is read from it) and WriteFile runs.
    void SaveAs(const std::string& path);
    // The process-wide format settings become the locale block (texts cut to their widths).
    void CaptureLocale();
    // The locale block becomes settings (texts cut to their widths).
    void SetLocale(const vx::TFormatSettings& settings);
    void SetHasLocale(bool on) { hasLocale_ = on; }
    void SetCharset(std::uint8_t charset) { charset_ = charset; }
    void SetBiDiMode(std::uint8_t mode) { biDiMode_ = mode; }

    // The index of an equal font entry, else of a new one appended.
    int AddFont(const std::string& name, std::uint16_t size, std::uint8_t style);
    // A new record (flags 0) before the first record whose ident is not smaller.
    int InsertString(std::uint16_t ident, const std::string& text, std::uint16_t font);
    void AddString(std::uint16_t ident, std::string_view section, std::string_view key, std::uint16_t font,
                   const std::string& text);
    // Exception "No such Ident number (<ident>)" when no record has the ident.
    void SetString(std::uint16_t ident, const std::string& text, std::uint16_t font);
    // Deletes the key and its record; ELangStrNotFound when the key's ident
    // has no record; nothing for a missing key.
    void DeleteString(std::string_view section, std::string_view key);
    // Deletes the record and the key that carries its ident.
    void DeleteStringAt(int index);
    // Deletes every record whose key begins with prefix (case-insensitive),
    // only within section when one is given.
    void DeleteComponentStrings(std::string_view section, std::string_view prefix);
};
