// Scrolling titles: the text is drawn off-screen, entering at the bottom.
#include "controls/display/Titler.h"

#include "controls/common/VCLUtils.h"
#include "editor/qt/SysColors.h"
#include "platform/qt/QtText.h"

#include <QPainter>
#include <QPixmap>
#include <QTimer>

#include <algorithm>

TTitler::TTitler(QWidget* parent) : QFrame(parent), timer_(new QTimer(this))
{
    resize(50, 50);
    setAttribute(Qt::WA_OpaquePaintEvent);
    SetBorderStyle(bsSingle);
    titles_.OnChange = [this](TStringList*) { update(); };
    timer_->setInterval(50);
    connect(timer_, &QTimer::timeout, this, [this] { Tick(); });
    timer_->start();
}

void TTitler::SetTitles(const TStringList& value) { titles_.Assign(value); }

int TTitler::Interval() const { return timer_->interval(); }

void TTitler::SetInterval(int value) { timer_->setInterval(value); }

void TTitler::SetStep(int value)
{
    if (value >= 1 && value != step_) {
        step_ = value;
        update();
    }
}

void TTitler::SetAlignment(Qt::Alignment value)
{
    if (value != alignment_) {
        alignment_ = value;
        update();
    }
}

void TTitler::SetColor(TColor value)
{
    if (value != color_) {
        color_ = value;
        update();
    }
}

void TTitler::SetFontColor(TColor value)
{
    if (value != fontColor_) {
        fontColor_ = value;
        update();
    }
}

void TTitler::SetBorderStyle(TTitlerBorderStyle value)
{
    borderStyle_ = value;
    setFrameStyle(value == bsSingle ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
    UpdateFrame();
}

void TTitler::UpdateFrame()
{
    const int inset = (bevelOuter_ != bvNone ? bevelWidth_ : 0) + borderWidth_ + (bevelInner_ != bvNone ? bevelWidth_ : 0);
    // The frame line's width counts in the margins as well.
    const int margin = inset + frameWidth();
    setContentsMargins(margin, margin, margin, margin);
    update();
}

void TTitler::PaintBevels(QPainter& painter) const
{
    QRect area = rect().adjusted(frameWidth(), frameWidth(), -frameWidth(), -frameWidth());
    const auto bevel = [&](TPanelBevel kind) {
        if (kind == bvNone)
            return;
        const bool raised = kind == bvRaised;
        for (int i = 0; i < bevelWidth_; ++i)
            vx::Frame3D(painter, area, raised ? clBtnHighlight : clBtnShadow, raised ? clBtnShadow : clBtnHighlight);
    };
    bevel(bevelOuter_);
    for (int i = 0; i < borderWidth_; ++i)
        vx::Frame3D(painter, area, color_, color_);
    bevel(bevelInner_);
}

void TTitler::Tick()
{
    offset_ += step_;
    update();
}

void TTitler::paintEvent(QPaintEvent*)
{
    const QRect client = contentsRect();
    QPixmap canvas(client.width() + 1, client.height() + 1);
    canvas.fill(vx::ToQColor(color_));
    {
        QPainter painter(&canvas);
        painter.setFont(font());
        painter.setPen(vx::ToQColor(fontColor_));
        painter.setBackgroundMode(Qt::OpaqueMode);
        painter.setBackground(vx::ToQColor(color_));
        if (OnPaintBefore) {
            OnPaintBefore(this, painter);
            painter.setBackgroundMode(Qt::TransparentMode);
        }
        const int lineHeight = painter.fontMetrics().height();
        if (lineHeight * titles_.Count() + height() < offset_)
            offset_ = 0;
        std::string text;
        for (int i = 0; i < titles_.Count(); ++i)
            text += (i ? "\n" : "") + titles_[i];
        const int top = height() - offset_;
        const int bottom = std::max(client.height() - 1, top + lineHeight * titles_.Count());
        painter.drawText(QRect(QPoint(2, top), QPoint(width() - 3, bottom)),
                         int(alignment_ & Qt::AlignHorizontal_Mask) | Qt::AlignTop | Qt::TextExpandTabs,
                         vx::ToQString(text));
        if (OnPaintAfter)
            OnPaintAfter(this, painter);
    }
    QPainter painter(this);
    painter.drawPixmap(client.topLeft(), canvas);
    drawFrame(&painter);
    PaintBevels(painter);
}
