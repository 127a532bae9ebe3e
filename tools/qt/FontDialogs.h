// The font face and font colour pickers, the web-safe colour picker and the
// character entity map.
#pragma once

#include "tools/qt/framework/GeneratorDialog.h"

#include <cstdint>

class QLineEdit;
class QListWidget;
class TColorComboBox;
class TFontComboBox;
class TWebColourImage;

class Tfrm_font : public vx::tools::GeneratorDialog {
public:
    explicit Tfrm_font(QWidget* parent = nullptr);

    TFontComboBox* FontComboBox1;
    QLineEdit* label2; // the preview, in the chosen font
};

class Tfrm_fontcolor : public vx::tools::GeneratorDialog {
public:
    explicit Tfrm_fontcolor(QWidget* parent = nullptr);

    TColorComboBox* ColorComboBox1;
};

// A click on a colour closes the dialog with "#RRGGBB" as its result;
// closing it any other way leaves no result.
class Tfrm_colorpicker : public vx::tools::GeneratorDialog {
public:
    explicit Tfrm_colorpicker(QWidget* parent = nullptr);

    static constexpr std::uint32_t NoColour = 0x1FFFFFFF;

    TWebColourImage* img216Colors;
    QLabel* pnlUserColor;
    std::uint32_t UserColour() const { return colour_; }

protected:
    void Activated() override;

private:
    void Show(std::uint32_t colour);

    std::uint32_t colour_ = NoColour;
};

// "Insert" closes with the selected entity ("&name;") as the result.
class Tfrm_charmap : public vx::tools::GeneratorDialog {
public:
    explicit Tfrm_charmap(QWidget* parent = nullptr);

    QListWidget* lvCharacters;
    TFlatSpeedButton* sbtnPaste;

protected:
    void Activated() override;
};
