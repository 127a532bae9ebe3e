// TRxLabel: a label with a drop shadow, vertical layout, auto size, an
// accelerator that focuses another control, and mouse-enter and -leave events.
// TButtonImage draws a button face with glyph and caption for the speed bar's setup.
#pragma once

#include "controls/common/Events.h"
#include "controls/buttons/RxButtonGlyph.h"
#include "controls/common/RxMouseTracking.h"
#include "editor/Colors.h"

#include <QPointer>
#include <QWidget>

#include <string>

enum class TTextLayout { tlTop, tlCenter, tlBottom };
enum class TShadowPosition { spLeftTop, spLeftBottom, spRightBottom, spRightTop };

namespace vx {

// Where the shadow lies relative to the text.
QPoint ShadowOffset(TShadowPosition position, int size);

} // namespace vx

class TRxLabel : public QWidget, public TRxMouseTracking {
public:
    explicit TRxLabel(QWidget* parent = nullptr);

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value);
    TRxAlignment Alignment() const { return alignment_; }
    void SetAlignment(TRxAlignment value);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    QWidget* FocusControl() const { return focusControl_; }
    void SetFocusControl(QWidget* value);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout value);
    TColor ShadowColor() const { return shadowColor_; }
    void SetShadowColor(TColor value);
    int ShadowSize() const { return shadowSize_; }
    void SetShadowSize(int value);
    TShadowPosition ShadowPos() const { return shadowPos_; }
    void SetShadowPos(TShadowPosition value);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool value);
    bool ShowFocus() const { return showFocus_; }
    void SetShowFocus(bool value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    // The label's colour; ParentColor (the default) paints in the parent's.
    TColor Color() const;
    void SetColor(TColor value);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool value);

    // Size of the caption as drawn, shadow included, in a box of the given width.
    QSize TextExtent(int width) const;
    void AdjustBounds();

    vx::TNotifyEvent OnMouseDown;
    vx::TNotifyEvent OnClick;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void changeEvent(QEvent* e) override;
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    int TextFlags() const;
    QString DisplayText(bool measuring) const;
    // Shadow size and position in effect (a disabled label always shows one).
    void EffectiveShadow(int& size, TShadowPosition& position) const;
    void UpdateTracking(bool inside);
    void UpdateShortcut();

    std::string caption_;
    TRxAlignment alignment_ = TRxAlignment::taLeftJustify;
    bool autoSize_ = true;
    QPointer<QWidget> focusControl_;
    TTextLayout layout_ = TTextLayout::tlTop;
    TColor shadowColor_ = clBtnHighlight;
    int shadowSize_ = 1;
    TShadowPosition shadowPos_ = TShadowPosition::spLeftTop;
    bool showAccelChar_ = true;
    bool showFocus_ = false;
    bool transparent_ = false;
    bool wordWrap_ = false;
    TColor color_ = clBtnFace;
    bool parentColor_ = true;
    bool pressed_ = false;
    int shortcutId_ = 0;
};

// A button face with glyph and caption, drawn where the speed bar's setup window needs one.
class TButtonImage {
public:
    TButtonImage() = default;
    const QImage& Glyph() const { return glyph_.Glyph(); }
    void SetGlyph(const QImage& value) { glyph_.SetGlyph(value); }
    int NumGlyphs() const { return glyph_.NumGlyphs(); }
    void SetNumGlyphs(int value) { glyph_.SetNumGlyphs(value); }
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value) { caption_ = value; }
    QSize ButtonSize() const { return size_; }
    void SetButtonSize(QSize value) { size_ = value; }

    void Draw(QPainter& canvas, QPoint pos, TRxButtonState state, const QFont& font);

private:
    TRxButtonGlyph glyph_;
    std::string caption_;
    QSize size_{24, 23};
};
