// Texts the program sets while it runs (status-bar words, hints, the titles
// and filters of file dialogs, why a command is disabled): they are no
// property of a window the translator walks, so each is filed in the language
// files by its English wording, under the section "RunTimeTexts", and looked
// up in the current language when it is shown (see localisation/RunTimeText.h
// for how they are declared).
#pragma once

#include "localisation/RunTimeText.h"

#include <QString>

#include <memory>
#include <span>
#include <string>
#include <string_view>

class QWidget;

// The section the texts are filed under.
inline constexpr const char* RunTimeTextsSection = "RunTimeTexts";

// The text in the current language; the English wording itself while the
// language is the built-in one or has no text for it.
std::string Tr(std::string_view english);
QString TrQ(std::string_view english);
QString TrQ(const TRunTimeText& text);

// The key a text is filed under (its letters and digits and a check sum of
// the whole wording), followed by ".Caption".
std::string RunTimeTextKey(std::string_view english);

// A window that is never shown and holds every text of the list, for the
// language tool to collect into "native.lng".
std::unique_ptr<QWidget> MakeRunTimeTextsWindow(std::span<const std::string> texts);
