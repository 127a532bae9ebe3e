// The image-drawn slider: its built-in images, ruler building, value and
// offset arithmetic, keyboard, dragging, click-repeat and painting.
#include "controls/slider/RXSlider.h"

#include "controls/common/SysColors.h"
#include "controls/common/RXConst.h"
#include "controls/common/VCLUtils.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

namespace {

// Nearest integer, halves to even.
int RoundHalfEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

constexpr int TrackIndent = 6;
constexpr int RepeatInterval = 400;
constexpr QRgb KeyColor = qRgb(255, 0, 255);

// A thumb face: raised edges, a point at the far end; pressed swaps the edges.
void DrawThumbFace(QImage& image, int left, int width, int height, bool vertical, bool pressed)
{
    QPainter p(&image);
    const QColor face = vx::ToQColor(pressed ? clBtnShadow : clBtnFace);
    const QColor light = vx::ToQColor(pressed ? clBtnShadow : clBtnHighlight);
    const QColor dark = vx::ToQColor(pressed ? clBtnHighlight : clWindowFrame);
    const int point = vertical ? width / 3 : height / 3;
    QPolygon shape;
    if (vertical)
        shape << QPoint(left, 0) << QPoint(left + width - 1 - point, 0) << QPoint(left + width - 1, height / 2)
              << QPoint(left + width - 1 - point, height - 1) << QPoint(left, height - 1);
    else
        shape << QPoint(left, 0) << QPoint(left + width - 1, 0) << QPoint(left + width - 1, height - 1 - point)
              << QPoint(left + width / 2, height - 1) << QPoint(left, height - 1 - point);
    p.setBrush(face);
    p.setPen(dark);
    p.drawPolygon(shape);
    p.setPen(light);
    p.drawLine(left + 1, 1, vertical ? left + width - 2 - point : left + width - 2, 1);
    p.drawLine(left + 1, 1, left + 1, vertical ? height - 2 : height - 2 - point);
}

} // namespace

namespace vx {

QImage DefaultSliderImage(TSliderImage index)
{
    const bool vertical = index == siVThumb || index == siVRuler;
    if (index == siHThumb || index == siVThumb) {
        const int width = vertical ? 21 : 11, height = vertical ? 11 : 21;
        QImage image(width * 2, height, QImage::Format_RGB32);
        image.fill(KeyColor);
        DrawThumbFace(image, 0, width, height, vertical, false);
        DrawThumbFace(image, width, width, height, vertical, true);
        return image;
    }
    // A sunken groove with cut corners, so that the bottom-left pixel is the key.
    const int length = 20, thick = 6;
    QImage image(vertical ? thick : length, vertical ? length : thick, QImage::Format_RGB32);
    image.fill(KeyColor);
    QPainter p(&image);
    auto line = [&](int along0, int along1, int across, TColor color) {
        p.setPen(ToQColor(color));
        if (vertical)
            p.drawLine(across, along0, across, along1);
        else
            p.drawLine(along0, across, along1, across);
    };
    line(1, length - 2, 0, clBtnShadow);
    line(0, length - 1, 1, clWindowFrame);
    for (int i = 2; i < thick - 1; ++i)
        line(0, length - 1, i, clBtnFace);
    line(1, length - 2, thick - 1, clBtnHighlight);
    return image;
}

QImage BuildRuler(const QImage& image, int edge, int length, bool vertical)
{
    const int size = vertical ? image.height() : image.width();
    const int thick = vertical ? image.width() : image.height();
    QImage ruler(vertical ? thick : std::max(length, 0), vertical ? std::max(length, 0) : thick, image.format());
    if (ruler.isNull() || size <= 0)
        return ruler;
    ruler.fill(KeyColor);
    const int middle = std::max(1, size - 2 * edge);
    QPainter p(&ruler);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    // Copies image pixels [from, from + count) to position `at` along the ruler.
    auto copy = [&](int at, int from, int count) {
        count = std::min(count, length - at);
        if (count <= 0)
            return;
        if (vertical)
            p.drawImage(QPoint(0, at), image, QRect(0, from, thick, count));
        else
            p.drawImage(QPoint(at, 0), image, QRect(from, 0, count, thick));
    };
    copy(0, 0, size - edge);
    int at = size - edge;
    while (length - at > edge + middle) {
        copy(at, edge, middle);
        at += middle;
    }
    if (at < length) {
        const int last = length - at; // the edge and what is left of a middle
        copy(at, size - last, last);
    }
    return ruler;
}

} // namespace vx

TRxCustomSlider::TRxCustomSlider(QWidget* parent) : QWidget(parent), repeat_(new QTimer(this))
{
    for (int i = 0; i < 4; ++i)
        images_[i] = vx::DefaultSliderImage(static_cast<TSliderImage>(i));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    repeat_->setInterval(RepeatInterval);
    connect(repeat_, &QTimer::timeout, this, [this] { RepeatStep(); });
    resize(150, 40);
    AdjustElements();
}

TRxCustomSlider::~TRxCustomSlider()
{
    OnChange = nullptr;
    OnChanged = nullptr;
    OnDrawPoints = nullptr;
}

// ------------------------------------------------------------- properties

void TRxCustomSlider::SetImages(TSliderImage index, const QImage* value)
{
    if (value && !value->isNull()) {
        images_[index] = value->copy();
        userImages_ |= 1u << index;
    } else {
        images_[index] = vx::DefaultSliderImage(index);
        userImages_ &= ~(1u << index);
    }
    AdjustElements();
}

void TRxCustomSlider::SetNumThumbStates(int value)
{
    value = std::clamp(value, 1, 2);
    if (numThumbStates_ == value)
        return;
    numThumbStates_ = value;
    AdjustElements();
}

void TRxCustomSlider::SetOrientation(TSliderOrientation value)
{
    if (orientation_ == value)
        return;
    orientation_ = value;
    // A hidden widget gets its resize event only when shown.
    resize(height(), width());
    AdjustElements();
}

void TRxCustomSlider::SetEdgeSize(int value)
{
    const int length = Vertical() ? RulerImage().height() : RulerImage().width();
    if (value < 0 || 2 * value >= length || value == edgeSize_)
        return;
    edgeSize_ = value;
    AdjustElements();
}

void TRxCustomSlider::SetOptions(TSliderOptions value)
{
    if (options_ == value)
        return;
    options_ = value;
    update();
}

void TRxCustomSlider::SetBevelStyle(TBevelCut value)
{
    if (bevelStyle_ == value)
        return;
    bevelStyle_ = value;
    // Child widgets sit inside the bevel too.
    const int bevel = value == TBevelCut::bvNone ? 0 : 1;
    setContentsMargins(bevel, bevel, bevel, bevel);
    AdjustElements();
}

void TRxCustomSlider::SetMinValue(int value)
{
    if (value != minValue_)
        SetRange(value, maxValue_);
}

void TRxCustomSlider::SetMaxValue(int value)
{
    if (value != maxValue_)
        SetRange(minValue_, value);
}

void TRxCustomSlider::SetRange(int minValue, int maxValue)
{
    if (maxValue <= minValue)
        return;
    minValue_ = minValue;
    maxValue_ = maxValue;
    if (maxValue_ < minValue_ + increment_)
        increment_ = maxValue_ - minValue_;
    if (options_ & soShowPoints)
        update();
    SetValue(value_);
}

void TRxCustomSlider::SetIncrement(int value)
{
    const int range = maxValue_ - minValue_;
    if (value > range || value < 1)
        throw Exception("Value must be between 1 and " + std::to_string(range));
    increment_ = value;
    SetValue(value_);
    update();
}

void TRxCustomSlider::SetValue(int value)
{
    value = std::clamp(value, minValue_, maxValue_);
    const bool changed = value != value_;
    value_ = value;
    PlaceThumb(OffsetOfValue(value));
    if (changed && OnChange)
        OnChange(this);
}

void TRxCustomSlider::SetColor(TColor value)
{
    if (color_ == value)
        return;
    color_ = value;
    update();
}

// ---------------------------------------------------------------- geometry

QRect TRxCustomSlider::GetInnerRect() const
{
    QRect inner = rect();
    if (bevelStyle_ != TBevelCut::bvNone)
        inner.adjust(1, 1, -1, -1);
    return inner;
}

QSize TRxCustomSlider::ThumbSize() const
{
    return {ThumbImage().width() / numThumbStates_, ThumbImage().height()};
}

int TRxCustomSlider::TrackStart() const
{
    const QRect inner = GetInnerRect();
    return (Vertical() ? inner.top() : inner.left()) + TrackIndent;
}

int TRxCustomSlider::TrackLength() const
{
    const int ruler = Vertical() ? ruler_.height() : ruler_.width();
    const int thumb = Vertical() ? ThumbSize().height() : ThumbSize().width();
    return std::max(0, ruler - thumb);
}

int TRxCustomSlider::OffsetOfValue(int value) const
{
    const int start = TrackStart();
    const int range = maxValue_ - minValue_;
    int offset = RoundHalfEven(double(TrackLength()) * (value - minValue_) / range) + start;
    if (Vertical()) {
        const QRect inner = GetInnerRect();
        offset = inner.top() + inner.top() + inner.height() - offset - ThumbSize().height();
    }
    return std::max(offset, start);
}

int TRxCustomSlider::ValueOfOffset(int offset) const
{
    if (Vertical())
        offset = height() - offset - ThumbSize().height();
    const int track = TrackLength();
    const int range = maxValue_ - minValue_;
    // A track too short to move on holds only the minimum.
    int v = track > 0 ? RoundHalfEven(double(offset - TrackStart()) * range / track) : 0;
    if (!(options_ & soSmooth))
        v = RoundHalfEven(double(v) / increment_) * increment_;
    return std::min(std::max(v, 0) + minValue_, maxValue_);
}

void TRxCustomSlider::AdjustElements()
{
    const QRect inner = GetInnerRect();
    const int length = std::max(0, (Vertical() ? height() : width()) - 2 * TrackIndent);
    ruler_ = vx::BuildRuler(RulerImage(), edgeSize_, length, Vertical());
    const QSize thumb = ThumbSize();
    const int rulerThick = Vertical() ? ruler_.width() : ruler_.height();
    const int thumbThick = Vertical() ? thumb.width() : thumb.height();
    const int across = (Vertical() ? inner.left() : inner.top()) + TrackIndent;
    const int rulerAcross = thumbThick <= rulerThick ? across : across + (thumbThick - rulerThick) / 2;
    const int thumbAcross = thumbThick <= rulerThick ? across + (rulerThick - thumbThick) / 2 : across;
    rulerOrigin_ = Vertical() ? QPoint(rulerAcross, TrackStart()) : QPoint(TrackStart(), rulerAcross);
    thumbRect_ = Vertical() ? QRect(QPoint(thumbAcross, 0), thumb) : QRect(QPoint(0, thumbAcross), thumb);
    PlaceThumb(OffsetOfValue(value_));
    update();
}

void TRxCustomSlider::PlaceThumb(int offset)
{
    update(thumbRect_);
    if (Vertical())
        thumbRect_.moveTop(offset);
    else
        thumbRect_.moveLeft(offset);
    update(thumbRect_);
}

void TRxCustomSlider::MoveThumb(int offset)
{
    const int value = ValueOfOffset(offset);
    const int start = TrackStart();
    PlaceThumb(std::clamp(OffsetOfValue(value), start, start + TrackLength()));
    if (dragging_ && value != value_) {
        value_ = value;
        if (OnChange)
            OnChange(this);
    }
}

// ---------------------------------------------------------------- stepping

void TRxCustomSlider::Step(TSliderStep step)
{
    int value = value_;
    switch (step) {
    case TSliderStep::Minimum:
        value = minValue_;
        break;
    case TSliderStep::Maximum:
        value = maxValue_;
        break;
    case TSliderStep::Increase:
    case TSliderStep::Decrease: {
        const int base = RoundHalfEven(double(value_) / increment_) * increment_;
        value = std::clamp(base + (step == TSliderStep::Increase ? increment_ : -increment_), minValue_, maxValue_);
        break;
    }
    }
    if (value != value_)
        SetValue(value);
}

void TRxCustomSlider::Changed()
{
    if (OnChanged)
        OnChanged(this);
}

void TRxCustomSlider::keyPressEvent(QKeyEvent* e)
{
    if (e->modifiers() == Qt::NoModifier || e->modifiers() == Qt::KeypadModifier) {
        std::optional<TSliderStep> step;
        switch (e->key()) {
        case Qt::Key_Home:
            step = TSliderStep::Minimum;
            break;
        case Qt::Key_End:
            step = TSliderStep::Maximum;
            break;
        case Qt::Key_Right:
        case Qt::Key_Left:
            if (!Vertical())
                step = e->key() == Qt::Key_Right ? TSliderStep::Increase : TSliderStep::Decrease;
            break;
        case Qt::Key_Up:
        case Qt::Key_Down:
            if (Vertical())
                step = e->key() == Qt::Key_Up ? TSliderStep::Increase : TSliderStep::Decrease;
            break;
        default:
            break;
        }
        if (step && CanModify()) {
            e->accept();
            Step(*step);
            Changed();
            return;
        }
    }
    QWidget::keyPressEvent(e);
}

// ------------------------------------------------------------------- mouse

void TRxCustomSlider::ThumbMouseDown(int x, int y)
{
    dragging_ = true;
    pressed_ = true;
    grab_ = Vertical() ? y - thumbRect_.top() : x - thumbRect_.left();
    repaint(thumbRect_);
}

void TRxCustomSlider::ThumbMouseMove(int x, int y)
{
    MoveThumb((Vertical() ? y : x) - grab_);
}

void TRxCustomSlider::ThumbMouseUp()
{
    dragging_ = false;
    pressed_ = false;
    repaint(thumbRect_);
    if (CanModify())
        Changed();
}

void TRxCustomSlider::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(e);
        return;
    }
    if (focusPolicy() & Qt::ClickFocus)
        setFocus(Qt::MouseFocusReason);
    const QPoint pos = e->position().toPoint();
    if (thumbRect_.contains(pos)) {
        ThumbMouseDown(pos.x(), pos.y());
        return;
    }
    QRect rulerRect(rulerOrigin_, ruler_.size());
    rulerRect = Vertical() ? rulerRect.adjusted(-3, 0, 3, 0) : rulerRect.adjusted(0, -3, 0, 3);
    if (!rulerRect.contains(pos) || !CanModify())
        return;
    tracking_ = true;
    lastMouse_ = pos;
    if (Vertical())
        repeatStep_ = pos.y() < thumbRect_.top() ? TSliderStep::Increase : TSliderStep::Decrease;
    else
        repeatStep_ = pos.x() < thumbRect_.left() ? TSliderStep::Decrease : TSliderStep::Increase;
    Step(repeatStep_);
    repeat_->start();
}

void TRxCustomSlider::RepeatStep()
{
    // Keep stepping while the mouse stays on the side of the thumb it started on.
    bool sameSide;
    if (Vertical())
        sameSide = repeatStep_ == TSliderStep::Increase ? lastMouse_.y() < thumbRect_.top()
                                                        : lastMouse_.y() > thumbRect_.bottom();
    else
        sameSide = repeatStep_ == TSliderStep::Increase ? lastMouse_.x() > thumbRect_.right()
                                                        : lastMouse_.x() < thumbRect_.left();
    if (sameSide)
        Step(repeatStep_);
    else
        repeat_->stop();
}

void TRxCustomSlider::StopRepeat()
{
    repeat_->stop();
    tracking_ = false;
    Changed();
}

void TRxCustomSlider::mouseMoveEvent(QMouseEvent* e)
{
    const QPoint pos = e->position().toPoint();
    if (dragging_)
        ThumbMouseMove(pos.x(), pos.y());
    else if (tracking_)
        lastMouse_ = pos;
    setCursor(thumbRect_.contains(pos) ? vx::ScreenCursor(vx::crHand) : QCursor(Qt::ArrowCursor));
    QWidget::mouseMoveEvent(e);
}

void TRxCustomSlider::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton) {
        if (tracking_)
            StopRepeat();
        else if (dragging_)
            ThumbMouseUp();
    }
    QWidget::mouseReleaseEvent(e);
}

// ---------------------------------------------------------- other events

void TRxCustomSlider::focusInEvent(QFocusEvent* e)
{
    if (options_ & soShowFocus)
        update();
    QWidget::focusInEvent(e);
}

void TRxCustomSlider::focusOutEvent(QFocusEvent* e)
{
    if (options_ & soShowFocus)
        update();
    QWidget::focusOutEvent(e);
}

void TRxCustomSlider::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::EnabledChange)
        update(thumbRect_);
    QWidget::changeEvent(e);
}

void TRxCustomSlider::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    AdjustElements();
}

// ---------------------------------------------------------------- painting

void TRxCustomSlider::DefaultDrawPoints(QPainter& canvas)
{
    const int range = maxValue_ - minValue_;
    const int track = TrackLength();
    int k = 1, count = 0;
    for (;; ++k) {
        count = std::max(1, RoundHalfEven(double(range) / (double(k) * increment_)));
        if (track / count >= 4 || k * increment_ >= range || k >= track)
            break;
    }
    const QRect inner = GetInnerRect();
    const QSize thumb = ThumbSize();
    const QPoint rulerEnd = rulerOrigin_ + QPoint(ruler_.width(), ruler_.height());
    canvas.setPen(vx::ToQColor(clWindowText));
    for (int i = 0; i <= count; ++i) {
        const int value = i == count ? maxValue_ : std::min(maxValue_, minValue_ + i * k * increment_);
        const int offset = OffsetOfValue(value);
        if (Vertical()) {
            const int strip = std::max(rulerEnd.x(), thumbRect_.right() + 1) + 1;
            const int y = offset + thumb.height() / 2;
            canvas.drawLine(strip, y, std::min(strip + 2, inner.right()), y);
        } else {
            const int strip = std::max(rulerEnd.y(), thumbRect_.bottom() + 1) + 1;
            const int x = offset + thumb.width() / 2;
            canvas.drawLine(x, strip, x, std::min(strip + 2, inner.bottom()));
        }
    }
}

void TRxCustomSlider::DrawThumb(QPainter& canvas)
{
    const QImage& image = ThumbImage();
    const QSize size = ThumbSize();
    const int state = numThumbStates_ == 2 && pressed_ ? 1 : 0;
    QImage buffer(size, QImage::Format_RGB32);
    buffer.fill(vx::ToQColor(color_));
    {
        QPainter p(&buffer);
        const TColor key = vx::FromQColor(QColor(image.pixel(0, image.height() - 1)));
        vx::DrawTransparentBitmapRect(p, 0, 0, size.width(), size.height(),
                                      QRect(QPoint(state * size.width(), 0), size), image, key);
    }
    canvas.drawImage(thumbRect_.topLeft(), buffer);
}

void TRxCustomSlider::paintEvent(QPaintEvent*)
{
    QPainter canvas(this);
    QRect frame = rect();
    if (bevelStyle_ != TBevelCut::bvNone) {
        const bool lowered = bevelStyle_ == TBevelCut::bvLowered;
        vx::Frame3D(canvas, frame, lowered ? clBtnShadow : clBtnHighlight, lowered ? clBtnHighlight : clBtnShadow);
    }
    canvas.fillRect(frame, vx::ToQColor(color_));
    if (!ruler_.isNull()) {
        const TColor key = vx::FromQColor(QColor(ruler_.pixel(0, ruler_.height() - 1)));
        vx::DrawTransparentBitmap(canvas, rulerOrigin_.x(), rulerOrigin_.y(), ruler_, key);
    }
    if ((options_ & soShowFocus) && hasFocus()) {
        canvas.setPen(QPen(vx::ToQColor(clWindowText), 1, Qt::DotLine));
        canvas.drawRect(GetInnerRect().adjusted(1, 1, -2, -2));
    }
    if (options_ & soShowPoints) {
        if (OnDrawPoints)
            OnDrawPoints(this, canvas);
        else
            DefaultDrawPoints(canvas);
    }
    DrawThumb(canvas);
}
