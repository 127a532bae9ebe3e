// A translation of the program's texts kept as a text table that people edit
// and merge: the gettext layout (msgctxt, msgid, msgstr; C escapes; "#"
// comments; a string may go on in quoted lines below it), in UTF-8.
//
// A text is translated by its original wording, so a text that several windows
// share is translated once, and a text no entry has shows up as missing. An
// entry with a context "<window>.<component>.<property>" (a section and key of
// the language files) translates that one place only, for a wording whose
// translation depends on where it stands. An empty msgstr is an entry not
// translated yet. The header entry (empty msgid) carries "Name: value" lines.
#pragma once

#include "platform/Exception.h"

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

VX_DECLARE_EXCEPTION(ETranslationTableError, Exception);

class TTranslationTable {
public:
    // ETranslationTableError "line <n>: <reason>" for a line that is no part of
    // an entry, a bad escape, text that is not UTF-8, or a second entry for the
    // same text and context.
    static TTranslationTable Parse(std::string_view utf8);

    // The translation of text where it stands (a context's own entry first,
    // then the text's general one); nothing when neither is translated.
    const std::string* Find(std::string_view context, std::string_view text) const;
    // The header's value of the field (names compared case-insensitively), "" when absent.
    std::string HeaderField(std::string_view name) const;
    const std::vector<std::pair<std::string, std::string>>& Header() const { return header_; }
    // Entries, translated or not, the header not counted.
    int Count() const { return static_cast<int>(entries_.size()); }

private:
    // (lower-cased context, text) -> translation, "" when not translated yet.
    std::map<std::pair<std::string, std::string>, std::string> entries_;
    std::vector<std::pair<std::string, std::string>> header_;
};

// An entry for text (UTF-8) with an empty translation, in the table's layout, with a
// "#:" comment line naming each place the text stands; ends in a blank line.
std::string FormatTableEntry(std::string_view text, const std::vector<std::string>& places);
