// What a window shows in words: its title, captions, button, tab and list
// texts, hints, header texts and the values its fields hold, each with the
// place it is shown at, so two walks over the same windows can be compared.
#pragma once

#include <QString>

#include <map>
#include <string>

class QWidget;

namespace vx::test {

// Place ("Panel1/Button1.Caption", "ComboBox1.Items.3") -> text. Hidden
// controls do not count; the pages of a page control do, current or not.
using TShownTexts = std::map<std::string, QString>;
TShownTexts ShownTexts(QWidget& window);

// Where the control is, by the names of its parents from the window down
// (a control without a name goes by its class and place among its siblings).
std::string PlaceOf(const QWidget& window, const QWidget& control);

// Whether the control shows: it is not hidden, or hidden only as a page of a
// page control that shows another page.
bool Shows(const QWidget& window, const QWidget& control);

} // namespace vx::test
