// TColorComboBox and TFontComboBox: owner-drawn drop-down lists of the 16
// basic colours (swatch and name) and of the installed fonts.
#pragma once

#include "controls/common/Events.h"
#include "editor/Colors.h"
#include "platform/TStringList.h"

#include <QComboBox>

#include <functional>
#include <string>
#include <vector>

namespace vx {

// "#RRGGBB" of an RGB colour (system colours resolved first).
std::string ColorToHtml(TColor color);
// Reads "#RRGGBB" (or "RRGGBB"); false for anything else.
bool HtmlToColor(std::string_view text, TColor& color);

} // namespace vx

// The base of both: every item, in the list and in the closed field alike, is
// painted by DrawItem at an item height that follows the font.
class TOwnerDrawComboBox : public QComboBox {
public:
    int ItemHeight() const { return itemHeight_; }
    // Paints one item the way the list shows it.
    virtual void DrawItem(QPainter& painter, const QRect& rect, int index, bool selected) const = 0;
    // Where DrawItem writes the item's text within rect; empty when it writes none.
    virtual QRect TextRect(const QRect& rect, int index) const = 0;
    // Room for the widest item as DrawItem writes it.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    vx::TNotifyEvent OnChange;
    vx::TNotifyEvent OnClick;

protected:
    explicit TOwnerDrawComboBox(QWidget* parent);
    // The height one item needs in the current font.
    virtual int MeasureItemHeight() const = 0;
    // Derived constructors call it once they can measure.
    void UpdateItemHeight() { itemHeight_ = MeasureItemHeight(); }
    void changeEvent(QEvent* e) override;

private:
    int itemHeight_ = 9;
};

class TColorComboBox;

// The colour names; a change rebuilds the list.
class TColorNames : public TStringList {
public:
    explicit TColorNames(TColorComboBox& combo) : combo_(combo) {}

protected:
    void Changed() override;

private:
    TColorComboBox& combo_;
};

class TColorComboBox : public TOwnerDrawComboBox {
public:
    static constexpr int ColorCount = 16;

    explicit TColorComboBox(QWidget* parent = nullptr);

    TColor ColorValue() const { return colorValue_; }
    // Selects the first item of that colour; a colour not in the list changes nothing.
    void SetColorValue(TColor value);
    // Line i, when not empty, replaces the name of colour i.
    TStrings& ColorNames() { return names_; }
    bool DisplayNames() const { return displayNames_; }
    void SetDisplayNames(bool value);
    // The i-th colour of the list and its default name.
    static TColor ListColor(int index);
    static std::string DefaultName(int index);
    std::string ItemName(int index) const;

    void DrawItem(QPainter& painter, const QRect& rect, int index, bool selected) const override;
    QRect TextRect(const QRect& rect, int index) const override;

protected:
    int MeasureItemHeight() const override;
    void paintEvent(QPaintEvent* e) override;

private:
    friend class TColorNames;
    void BuildList();

    TColor colorValue_ = clBlack;
    TColorNames names_{*this};
    bool displayNames_ = true;
};

enum class TFontDevice { fdScreen, fdPrinter, fdBoth };
enum TFontListOption {
    foAnsiOnly = 1,
    foTrueTypeOnly = 2,
    foFixedPitchOnly = 4,
    foNoOEMFonts = 8,
    foOEMFontsOnly = 16,
    foScalableOnly = 32
};

// One face a device offers, with what the list's filters look at.
struct TFontFace {
    std::string Name;
    int Type = 0; // TFontComboBox's font-type bits
    bool Ansi = true;
    bool FixedPitch = false;
};

class TFontComboBox : public TOwnerDrawComboBox {
public:
    // Font-type bits of an item.
    static constexpr int RasterFont = 1, DeviceFont = 2, TrueTypeFont = 4;

    explicit TFontComboBox(QWidget* parent = nullptr);

    TFontDevice Device() const { return device_; }
    void SetDevice(TFontDevice value);
    // The chosen face in the list's spelling; empty when no listed face matches.
    std::string FontName() const { return fontName_; }
    void SetFontName(const std::string& value);
    int Options() const { return options_; }
    void SetOptions(int value);
    bool TrueTypeOnly() const { return options_ & foTrueTypeOnly; }
    void SetTrueTypeOnly(bool value);
    int FontType(int index) const;

    void DrawItem(QPainter& painter, const QRect& rect, int index, bool selected) const override;
    QRect TextRect(const QRect& rect, int index) const override;

    // The faces of the screen, from the font database.
    static std::vector<TFontFace> ScreenFonts();
    // The faces of the printer, through the print support: none without a
    // printer. Faces only the printer has come with the device bit.
    static std::vector<TFontFace> SystemPrinterFonts();
    // Replaces the printer's faces (special hosts and tests); unset, the system's.
    std::function<std::vector<TFontFace>()> PrinterFonts;
    // Reads the list again, as a change of the installed fonts does.
    void Rebuild();

protected:
    int MeasureItemHeight() const override;

private:
    void SelectName();
    void Changed();
    // The picture that marks the item's kind of font; none for a raster font.
    const QImage* Picture(int index) const;

    TFontDevice device_ = TFontDevice::fdScreen;
    std::string fontName_;
    int options_ = 0;
};
