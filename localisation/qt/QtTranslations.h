// Qt's own texts (the buttons of message boxes, the file, colour and font
// dialogs, the context menus of fields) in the program's language: Qt's
// translations of the language whose own name the language carries
// ("Nederlands" is the Dutch name of Dutch), from the folder Qt's
// translations are installed in.
#pragma once

#include <string>

// Replaces the Qt translations in use by those of the language; the built-in
// language, or one Qt has no translations of, leaves Qt's texts in English.
// Behind Qt's stand the texts Qt's catalogues lack (localisation/qt/QtTextsOfOurs.h).
void UseQtTranslations(const std::string& language);
