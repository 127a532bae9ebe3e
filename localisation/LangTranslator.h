// Makes a language file from the native one and a translation table: the same
// windows, keys and idents, each text in the table's wording. A list (texts of
// several CR LF lines: items, memo lines) is translated line by line; a line
// without a translatable character stays as it is.
#pragma once

#include "localisation/FormatSettings.h"

#include <string>
#include <vector>

class TKLangFile;
class TkLangFileEdit;
class TTranslationTable;

// A line of a native text that the table has no translation for.
struct TUntranslatedText {
    std::string Section;
    std::string Key;
    std::string Text;
};

// Fills out (an empty file) from native: every key with its text translated,
// a line without translation kept in the native wording; the windows keep
// their designed fonts (no font entries); the locale is the table's
// (TableLocale). Answers the untranslated lines in the order of the keys.
std::vector<TUntranslatedText> TranslateLanguage(const TKLangFile& native, const TTranslationTable& table,
                                                 TkLangFileEdit& out);

// The untranslated lines as table entries with empty translations, ready to be
// pasted into the table: each distinct text once, with every place it stands.
std::string UntranslatedEntries(const std::vector<TUntranslatedText>& missing);

// The number, date and time formats of the table's language: the built-in
// settings with each header field "X-Locale-<setting>" (a member name of
// TFormatSettings) put in; a list of names is separated by commas.
// ETranslationTableError for a field that is unknown or does not fit.
vx::TFormatSettings TableLocale(const TTranslationTable& table);

// Reads the native file and the table (UTF-8) and writes the translated
// language file to outPath; answers the untranslated lines. ELangFileError,
// ETranslationTableError or a file error when one cannot be read or written.
std::vector<TUntranslatedText> TranslateLanguageFile(const std::string& nativePath, const std::string& tablePath,
                                                     const std::string& outPath);
