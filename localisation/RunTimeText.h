// Texts the program shows while it runs: a status-bar word, a dialog's title
// and file filter, a line it writes into a window. They belong to no window's
// layout, so each is declared once where it is used, as an object at
// namespace scope; declaring it files it for the language tool, which writes
// every filed text into the language files, and calling it gives the text in
// the current language.
//
//   const TRunTimeText NoColour{"No color selected."};
//   label->setText(ToQString(NoColour()));
//   const TRunTimeText NotFound{"%1 was not found."};
//   ShowMessage(NotFound({path}));
//
// The sentences the code below the windows writes (platform/Wording.h) are
// filed with them, and a message made of them, an error's above all, is
// shown in the current language through InCurrentLanguage and ErrorText.
#pragma once

#include "platform/Wording.h"

#include <exception>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

class TRunTimeText : public TWording {
public:
    explicit TRunTimeText(const char* english) : TWording(english) {}
    // In the current language.
    std::string operator()() const;
    // In the current language, "%1", "%2", ... replaced by the values in
    // turn: a sentence that names a file or an address keeps the word order
    // of its language. A value is put in as it is, "%" in it included.
    std::string operator()(std::initializer_list<std::string_view> values) const;
};

// A file dialog's filter, "Description|*.ext;*.ext2|...": every description
// is filed; calling it gives the filter with its descriptions in the current
// language.
class TRunTimeFilter {
public:
    explicit TRunTimeFilter(std::string english);
    const std::string& English() const { return english_; }
    std::string operator()() const;

private:
    std::string english_;
};

// The title most open dialogs carry.
extern const TRunTimeText OpenTitle;

// Every text filed so far, each once, in the order they were filed.
const std::vector<std::string>& FiledRunTimeTexts();

// The current language's wording of an English text; the language component
// sets it. Without one every text shows in English. Answers the lookup before.
using TRunTimeLookup = std::string (*)(std::string_view english);
TRunTimeLookup SetRunTimeLookup(TRunTimeLookup lookup);
std::string LookUpRunTimeText(std::string_view english);

// The message in the current language: its wordings of ours in the
// language's words, the texts it took as they came.
std::string InCurrentLanguage(const TMessage& message);
// What an error says, in the current language where it was raised with a
// message of ours; a library's error as it was raised.
std::string ErrorText(const std::exception& error);

// The descriptions of a filter, "Description|*.ext|..." (every other part).
std::vector<std::string> FilterDescriptions(std::string_view filter);
