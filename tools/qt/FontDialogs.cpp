// The font, colour and character dialogs.
#include "tools/qt/FontDialogs.h"

#include "controls/edits/RXCombos.h"
#include "controls/flat/TFlatSpeedButtonUnit.h"
#include "localisation/RunTimeText.h"
#include "platform/qt/QtText.h"
#include "tools/qt/ColourPicker.h"
#include "tools/EntityTable.h"
#include "tools/TextTemplates.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

using namespace vx::tools;

namespace {

const TRunTimeText NoColourSelected{"No color selected."};

} // namespace

Tfrm_font::Tfrm_font(QWidget* parent) : GeneratorDialog("frm_font", "Font picker", parent)
{
    FontComboBox1 = new TFontComboBox(this);
    FontComboBox1->setObjectName("FontComboBox1");
    AddRow("Font", FontComboBox1);
    label2 = new QLineEdit("This is how the font looks like", this);
    label2->setObjectName("label2");
    label2->setReadOnly(true);
    AddRow({}, label2);
    FontComboBox1->OnChange = [this](QObject*) {
        QFont font = label2->font();
        font.setFamily(vx::ToQString(FontComboBox1->FontName()));
        label2->setFont(font);
    };
    AddGenerateButton("SpeedButton1", "&Ok", [this] { return TLines{FontLine(FontComboBox1->FontName())}; });
    AddCancelButton("SpeedButton2", "&Cancel");
    Loaded();
}

Tfrm_fontcolor::Tfrm_fontcolor(QWidget* parent) : GeneratorDialog("frm_fontcolor", "Font color", parent)
{
    ColorComboBox1 = new TColorComboBox(this);
    ColorComboBox1->setObjectName("ColorComboBox1");
    AddRow("Color", ColorComboBox1);
    AddGenerateButton("SpeedButton1", "&Ok",
                      [this] { return TLines{FontColourLine(static_cast<std::uint32_t>(ColorComboBox1->ColorValue()))}; });
    AddCancelButton("SpeedButton2", "&Cancel");
    Loaded();
}

Tfrm_colorpicker::Tfrm_colorpicker(QWidget* parent)
    : GeneratorDialog("frm_colorpicker", "Safe Browser Colors", parent, {.SidePicture = false})
{
    img216Colors = new TWebColourImage(this);
    AddRow({}, img216Colors);
    pnlUserColor = new QLabel(this);
    pnlUserColor->setObjectName("pnlUserColor");
    pnlUserColor->setAlignment(Qt::AlignCenter);
    pnlUserColor->setAutoFillBackground(true);
    pnlUserColor->setMinimumHeight(24);
    AddRow({}, pnlUserColor);
    img216Colors->OnMove = [this](std::uint32_t colour) { Show(colour); };
    // The picked colour is the result; the generate path closes the dialog.
    TFlatSpeedButton* pick = AddGenerateButton("SpeedButton1", "Pick", [this] { return TLines{ColourText(colour_)}; });
    pick->hide();
    img216Colors->OnPick = [this, pick](std::uint32_t colour) {
        Show(colour);
        pick->Click();
    };
    AddCancelButton("SpeedButton2", "&Cancel");
    Loaded();
}

void Tfrm_colorpicker::Show(std::uint32_t colour)
{
    colour_ = colour;
    QPalette palette = pnlUserColor->palette();
    palette.setColor(QPalette::Window, QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF));
    palette.setColor(QPalette::WindowText, ((colour >> 8) & 0xFF) > 0x80 ? Qt::black : Qt::white);
    pnlUserColor->setPalette(palette);
    pnlUserColor->setText(vx::ToQString(ColourText(colour)));
}

void Tfrm_colorpicker::Activated()
{
    colour_ = NoColour;
    pnlUserColor->setPalette(palette());
    pnlUserColor->setText(vx::ToQString(NoColourSelected()));
}

Tfrm_charmap::Tfrm_charmap(QWidget* parent)
    : GeneratorDialog("frm_charmap", "Extended characters", parent, {.SidePicture = false})
{
    lvCharacters = new QListWidget(this);
    lvCharacters->setObjectName("lvCharacters");
    for (const TEntity& entity : Entities) {
        auto* item = new QListWidgetItem(vx::ToQString(entity.Caption), lvCharacters);
        item->setData(Qt::UserRole, vx::ToQString(EntityText(entity)));
    }
    lvCharacters->sortItems();
    lvCharacters->setMinimumSize(320, 240);
    AddRow({}, lvCharacters);
    AddCommandButton("sbtnLarge", "Large", [this] { lvCharacters->setViewMode(QListView::IconMode); });
    AddCommandButton("sbtnSmall", "Small", [this] { lvCharacters->setViewMode(QListView::ListMode); });
    sbtnPaste = AddGenerateButton("sbtnPaste", "Insert", [this] {
        const QListWidgetItem* item = lvCharacters->currentItem();
        return item ? TLines{vx::FromQString(item->data(Qt::UserRole).toString())} : TLines{};
    });
    connect(lvCharacters, &QListWidget::itemSelectionChanged, this,
            [this] { sbtnPaste->setEnabled(!lvCharacters->selectedItems().isEmpty()); });
    AddCancelButton("sbtnClose", "Close");
    Loaded();
}

void Tfrm_charmap::Activated()
{
    lvCharacters->clearSelection();
    sbtnPaste->setEnabled(false);
}
