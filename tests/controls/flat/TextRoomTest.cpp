// Controls that ask a layout for room for their whole text: a flat button, a
// flat check box, the colour box with its swatch and the box as wide as its
// item get room for a longer text set after they were laid out, as a
// language switch sets one.
#include "controls/edits/ItemWideComboBox.h"
#include "controls/edits/RXCombos.h"
#include "controls/flat/TFlatCheckBoxUnit.h"
#include "controls/flat/TFlatSpeedButtonUnit.h"
#include "tests/controls/FlatTestSupport.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QStyleOptionComboBox>

#include <gtest/gtest.h>

#include <functional>

namespace {

struct TCase {
    const char* Name;
    std::function<QWidget*(QWidget&)> Make;
    std::function<void(QWidget&, const std::string&)> SetText;
    // Pixels across the control draws its text in.
    std::function<int(QWidget&)> Room;
};

int Across(const QWidget& control, const std::string& text)
{
    return control.fontMetrics().size(Qt::TextShowMnemonic, QString::fromStdString(text)).width();
}

QRect EditField(const QComboBox& box)
{
    QStyleOptionComboBox option;
    option.initFrom(&box);
    return box.style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, &box);
}

const TCase Cases[] = {
    {"flat button", [](QWidget& w) { return new TFlatSpeedButton(&w); },
     [](QWidget& c, const std::string& text) { static_cast<TFlatSpeedButton&>(c).SetCaption(text); },
     [](QWidget& c) { return c.width() - 2; }}, // less the 3-D frame
    {"flat check box", [](QWidget& w) { return new TFlatCheckBox(&w); },
     [](QWidget& c, const std::string& text) { static_cast<TFlatCheckBox&>(c).SetCaption(text); },
     [](QWidget& c) { return static_cast<TFlatCheckBox&>(c).TextRect().width(); }},
    {"colour box", [](QWidget& w) { return new TColorComboBox(&w); },
     [](QWidget& c, const std::string& text) {
         auto& colours = static_cast<TColorComboBox&>(c);
         colours.ColorNames().Clear();
         colours.ColorNames().Add(text);
         colours.setCurrentIndex(0);
     },
     [](QWidget& c) {
         auto& colours = static_cast<TColorComboBox&>(c);
         return colours.TextRect(EditField(colours), 0).width();
     }},
    {"item-wide box", [](QWidget& w) { return new TItemWideComboBox(&w); },
     [](QWidget& c, const std::string& text) {
         auto& box = static_cast<TItemWideComboBox&>(c);
         box.addItem(QString::fromStdString(text));
         box.setCurrentIndex(box.count() - 1);
     },
     [](QWidget& c) { return EditField(static_cast<QComboBox&>(c)).width(); }},
};

TEST(TextRoom, AControlLaidOutInANarrowWindowGetsRoomForItsWholeTextAndFollowsANewOne)
{
    for (const TCase& c : Cases) {
        QWidget window;
        auto* row = new QHBoxLayout(&window);
        QWidget* control = c.Make(window);
        row->addWidget(control);
        row->addStretch();
        window.resize(600, 30); // a row with room to spare
        vx::test::Activate(window);
        for (const std::string text : {"Add", "Bestand aan lijst toevoegen", "Opvulling & uitlijning van de tabel"}) {
            c.SetText(*control, text);
            QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
            EXPECT_GE(c.Room(*control), Across(*control, text)) << c.Name << ": " << text;
        }
    }
}

} // namespace
