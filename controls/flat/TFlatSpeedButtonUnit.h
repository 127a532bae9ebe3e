// TFlatSpeedButton: a flat button with glyph and caption that can latch down
// and work in exclusive groups with its siblings.
#pragma once

#include "controls/common/Events.h"
#include "controls/common/TSpeedButtonLatch.h"
#include "controls/flat/FlatUtilitys.h"
#include "controls/flat/TFlatHoverControl.h"

#include <QImage>

#include <string>

enum TButtonState { bsUp = 0, bsDisabled = 1, bsDown = 2, bsExclusive = 3 };
using TModalResult = int;

class TFlatSpeedButton : public TFlatHoverControl<TFlatSpeedButton>,
                         public TSpeedButtonLatch<TFlatSpeedButton, TButtonState> {
public:
    explicit TFlatSpeedButton(QWidget* parent = nullptr);

    TColor ColorHighLight() const { return colorHighLight_; }
    void SetColorHighLight(TColor value) { SetColors(colorHighLight_, value); }
    TColor ColorShadow() const { return colorShadow_; }
    void SetColorShadow(TColor value) { SetColors(colorShadow_, value); }

    // Ungrouped buttons never stay down; a down button of a group without
    // AllowAllUp is released only by another button of its group.
    void SetDown(bool value);
    const QImage& Glyph() const { return glyph_; }
    // A glyph whose width is 1 to 4 times its height sets NumGlyphs.
    void SetGlyph(const QImage& value);
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int value);
    vx::TButtonLayout Layout() const { return layout_; }
    void SetLayout(vx::TButtonLayout value);
    int Margin() const { return margin_; }
    // Values below -1 are ignored; -1 centres.
    void SetMargin(int value);
    int Spacing() const { return spacing_; }
    void SetSpacing(int value);
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult value) { modalResult_ = value; }
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value);

    // Sets the dialog's result first (a non-zero ModalResult closes it), then fires OnClick.
    virtual void Click();

    // Layouts give the button room for its glyph and its whole caption in
    // the current font (at least a standard button's 75 pixels when they
    // can), and follow a new caption or font.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    vx::TNotifyEvent OnClick;
    vx::TNotifyEvent OnDblClick;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void changeEvent(QEvent* e) override;
    bool event(QEvent* e) override;

private:
    bool MouseHeld() const override { return dragging_; }
    // Where a held button counts as pressed: the bottom row just below the
    // face, y = height, counts as inside.
    bool PressArea(QPoint point) const
    {
        return point.x() >= 0 && point.x() < width() && point.y() >= 0 && point.y() <= height();
    }

    TColor colorHighLight_ = clWhite;
    TColor colorShadow_ = clBlack;
    QImage glyph_;
    int numGlyphs_ = 1;
    vx::TButtonLayout layout_ = vx::TButtonLayout::blGlyphTop;
    int margin_ = -1;
    int spacing_ = 4;
    TModalResult modalResult_ = 0;
    std::string caption_;
    int shortcutId_ = 0;
};
