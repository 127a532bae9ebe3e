// Whether a text is worth translating: texts of digits, blanks and
// punctuation alone are neither stored in a language file nor translated.
#pragma once

#include <string_view>

// True when the text has a character above '9' other than : ; < = > ? [ \ ] ^.
bool HasTranslatableChars(std::string_view text);
