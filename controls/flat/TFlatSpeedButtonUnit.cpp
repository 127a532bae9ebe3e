// The flat speed button: states, groups, glyph and painting.
#include "controls/flat/TFlatSpeedButtonUnit.h"

#include "platform/qt/QtText.h"
#include "controls/common/SysColors.h"
#include "controls/common/VCLUtils.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {

// Image of a multi-image glyph to show, by NumGlyphs - 1 and state.
constexpr int kGlyphIndex[4][4] = {{0, 0, 0, 0}, {0, 1, 0, 0}, {0, 1, 2, 2}, {0, 1, 2, 3}};

} // namespace

TFlatSpeedButton::TFlatSpeedButton(QWidget* parent) : TFlatHoverControl(parent, vx::clFlatBackground, vx::clFlatBackground)
{
    resize(25, 25);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TFlatSpeedButton::SetDown(bool value)
{
    const bool wasUp = state_ == bsUp;
    if (!Latch(value))
        return;
    if (!down_)
        repaint();
    else if (wasUp)
        update();
}

void TFlatSpeedButton::SetGlyph(const QImage& value)
{
    glyph_ = value;
    if (!glyph_.isNull() && glyph_.height() > 0 && glyph_.width() % glyph_.height() == 0) {
        int n = glyph_.width() / glyph_.height();
        numGlyphs_ = n > 4 || n < 1 ? 1 : n;
    }
    updateGeometry();
    update();
}

void TFlatSpeedButton::SetNumGlyphs(int value)
{
    numGlyphs_ = value < 1 ? 1 : value > 4 ? 4 : value;
    updateGeometry();
    update();
}

void TFlatSpeedButton::SetLayout(vx::TButtonLayout value)
{
    layout_ = value;
    updateGeometry();
    update();
}

void TFlatSpeedButton::SetMargin(int value)
{
    if (value < -1 || value == margin_)
        return;
    margin_ = value;
    update();
}

void TFlatSpeedButton::SetSpacing(int value)
{
    spacing_ = value;
    updateGeometry();
    update();
}

void TFlatSpeedButton::SetCaption(const std::string& value)
{
    caption_ = value;
    shortcutId_ = vx::GrabMnemonic(*this, shortcutId_, value);
    updateGeometry();
    update();
}

QSize TFlatSpeedButton::minimumSizeHint() const
{
    // The frame and a little air on either side of the face's contents.
    constexpr int Padding = 8;
    const QSize text = caption_.empty() ? QSize() : fontMetrics().size(Qt::TextShowMnemonic, vx::ToQString(caption_));
    const QSize glyph = glyph_.isNull() ? QSize() : QSize(glyph_.width() / numGlyphs_, glyph_.height());
    const int gap = text.isEmpty() || glyph.isEmpty() ? 0 : std::max(spacing_, 0);
    const bool across = layout_ == vx::TButtonLayout::blGlyphLeft || layout_ == vx::TButtonLayout::blGlyphRight;
    const QSize contents = across ? QSize(glyph.width() + gap + text.width(), std::max(glyph.height(), text.height()))
                                  : QSize(std::max(glyph.width(), text.width()), glyph.height() + gap + text.height());
    return contents + QSize(2 * Padding, Padding);
}

QSize TFlatSpeedButton::sizeHint() const
{
    constexpr int StandardWidth = 75;
    const QSize least = minimumSizeHint();
    return {std::max(least.width(), StandardWidth), least.height()};
}

void TFlatSpeedButton::Click()
{
    vx::EndModal(*this, modalResult_);
    if (OnClick)
        OnClick(this);
}

void TFlatSpeedButton::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || !isEnabled())
        return;
    if (BeginDrag())
        update();
}

void TFlatSpeedButton::mouseMoveEvent(QMouseEvent* e)
{
    HoverMove(e->position().toPoint());
    if (dragging_)
        DragTo(PressArea(e->position().toPoint()));
}

void TFlatSpeedButton::mouseReleaseEvent(QMouseEvent* e)
{
    if (!dragging_)
        return;
    dragging_ = false;
    const bool inside = PressArea(e->position().toPoint());
    if (groupIndex_ == 0) {
        state_ = bsUp;
        mouseIn_ = false;
        if (inside)
            update();
    } else if (inside) {
        SetDown(!down_);
        if (down_)
            repaint();
    } else {
        if (down_)
            state_ = bsExclusive;
        repaint();
    }
    if (inside)
        Click();
    else
        MouseLeave();
    mouseIn_ = inside && isEnabled();
    update();
}

void TFlatSpeedButton::mouseDoubleClickEvent(QMouseEvent* e)
{
    if (down_ && OnDblClick)
        OnDblClick(this);
    mousePressEvent(e);
}

void TFlatSpeedButton::changeEvent(QEvent* e)
{
    TFlatHoverControl::changeEvent(e);
    if (e->type() == QEvent::EnabledChange) {
        if (!isEnabled())
            HoverClear();
        CorrectState();
        update();
    } else if (e->type() == QEvent::FontChange) {
        update();
    }
}

bool TFlatSpeedButton::event(QEvent* e)
{
    if (vx::IsMnemonic(e, shortcutId_)) {
        if (isEnabled())
            Click();
        return true;
    }
    return TFlatHoverControl::event(e);
}

void TFlatSpeedButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRgb transparent = glyph_.isNull() ? 0 : glyph_.pixel(0, glyph_.height() - 1);
    const QPoint offset = state_ == bsDown || state_ == bsExclusive ? QPoint(1, 1) : QPoint(0, 0);
    QPoint glyphPos;
    QRect textBounds;
    vx::CalcButtonLayout(QFontMetrics(font()), rect(), offset, caption_, layout_, margin_, spacing_, glyphPos,
                         textBounds, numGlyphs_, glyph_);
    CorrectState();

    TColor topLeft = colorBorder_, bottomRight = colorBorder_;
    TColor face = Color();
    switch (state_) {
    case bsUp:
        if (mouseIn_) {
            topLeft = colorHighLight_;
            bottomRight = colorShadow_;
            face = colorFocused_;
        }
        break;
    case bsDisabled:
        break;
    case bsDown:
        topLeft = colorShadow_;
        bottomRight = colorHighLight_;
        face = colorDown_;
        break;
    case bsExclusive:
        topLeft = colorShadow_;
        bottomRight = colorHighLight_;
        face = mouseIn_ ? colorFocused_ : colorDown_;
        break;
    }
    QRect r = rect();
    vx::Frame3D(p, r, topLeft, bottomRight);
    p.fillRect(r, vx::ToQColor(face));

    if (!glyph_.isNull() && glyph_.height() > 0) {
        const int imageWidth = glyph_.width() / numGlyphs_;
        const int index = kGlyphIndex[numGlyphs_ - 1][state_];
        QImage image = glyph_.copy(index * imageWidth, 0, imageWidth, glyph_.height());
        TColor imageTransparent = vx::FromQColor(QColor(transparent));
        if (numGlyphs_ == 1 && state_ == bsDisabled) {
            image = vx::CreateDisabledBitmap(image, clBlack, clBtnFace, true, clBtnShadow, clBtnHighlight);
            imageTransparent = clDefault;
        }
        vx::DrawTransparentBitmap(p, glyphPos.x(), glyphPos.y(), image, imageTransparent);
    }

    p.setFont(font());
    vx::DrawCaption(p, textBounds, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, vx::ToQString(caption_),
                    state_ != bsDisabled, palette().color(QPalette::ButtonText));
}
