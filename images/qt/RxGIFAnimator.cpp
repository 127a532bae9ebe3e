// The GIF animation control.
#include "images/qt/RxGIFAnimator.h"

#include "images/RxGIF.h"
#include "images/RxGIFCompose.h"
#include "images/qt/BitmapImage.h"

#include <QPainter>
#include <QPalette>
#include <QTimer>

#include <algorithm>

namespace {

RxGIF::TColor ToTColor(const QColor& c)
{
    return static_cast<RxGIF::TColor>(c.red()) | static_cast<RxGIF::TColor>(c.green()) << 8 |
           static_cast<RxGIF::TColor>(c.blue()) << 16;
}

} // namespace

TRxImageControl::TRxImageControl(QWidget* parent) : QWidget(parent)
{
    resize(105, 105);
}

void TRxImageControl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    drawing_ = true;
    DoPaintImage(painter);
    drawing_ = false;
}

TRxGIFAnimator::TRxGIFAnimator(QWidget* parent)
    : TRxImageControl(parent), image_(std::make_unique<RxGIF::TGIFImage>()), timer_(new QTimer(this))
{
    image_->OnChange = [this](TGraphic*) { ImageChanged(); };
    QObject::connect(timer_, &QTimer::timeout, this, [this] { TimerStep(); });
}

TRxGIFAnimator::~TRxGIFAnimator()
{
    OnChange = OnFrameChanged = OnStart = OnStop = nullptr;
    timer_->stop();
    image_->OnChange = nullptr;
}

void TRxGIFAnimator::SetImage(const RxGIF::TGIFImage& image)
{
    image_->Assign(image);
}

void TRxGIFAnimator::ImageChanged()
{
    AdjustSize();
    frameIndex_ = std::max(0, image_->FrameIndex());
    UpdateTimer();
    Change();
    update();
}

void TRxGIFAnimator::AdjustSize()
{
    if (autoSize_ && !image_->Empty() && image_->ScreenWidth() > 0 && image_->ScreenHeight() > 0)
        setFixedSize(image_->ScreenWidth(), image_->ScreenHeight());
}

void TRxGIFAnimator::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    AdjustSize();
}

int TRxGIFAnimator::FrameDelay() const
{
    if (frameIndex_ < 0 || frameIndex_ >= image_->Count() || image_->Count() < 2)
        return 0;
    return std::max(1, image_->Frame(frameIndex_).Delay());
}

void TRxGIFAnimator::UpdateTimer()
{
    const int delay = FrameDelay();
    timer_->setInterval(delay);
    if (animate_ && delay > 0 && !timer_->isActive())
        timer_->start();
    else if (delay == 0)
        timer_->stop();
}

void TRxGIFAnimator::SetAnimate(bool value)
{
    if (value == animate_)
        return;
    animate_ = value;
    if (value) {
        UpdateTimer();
        Start();
    } else {
        timer_->stop();
        Stop();
        update();
    }
}

void TRxGIFAnimator::SetAutoSize(bool value)
{
    if (value == autoSize_)
        return;
    autoSize_ = value;
    if (!value) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    AdjustSize();
    update();
}

void TRxGIFAnimator::SetStretch(bool value)
{
    if (value != stretch_) {
        stretch_ = value;
        update();
    }
}

void TRxGIFAnimator::SetCenter(bool value)
{
    if (value != center_) {
        center_ = value;
        update();
    }
}

void TRxGIFAnimator::SetTransparent(bool value)
{
    if (value != transparent_) {
        transparent_ = value;
        update();
    }
}

void TRxGIFAnimator::SetFrameIndex(int index)
{
    if (index == frameIndex_ || index < 0 || index >= image_->Count())
        return;
    frameIndex_ = index;
    UpdateTimer();
    FrameChanged();
    update();
}

void TRxGIFAnimator::TimerStep()
{
    if (!isVisible() || image_->Count() < 2)
        return;
    frameIndex_ = frameIndex_ + 1 >= image_->Count() ? 0 : frameIndex_ + 1;
    changing_ = true;
    FrameChanged();
    update();
    changing_ = false;
    timer_->setInterval(FrameDelay());
    if (!loop_ && frameIndex_ == 0)
        SetAnimate(false);
}

void TRxGIFAnimator::Change()
{
    if (OnChange)
        OnChange(this);
}

void TRxGIFAnimator::FrameChanged()
{
    if (OnFrameChanged)
        OnFrameChanged(this);
}

void TRxGIFAnimator::Start()
{
    if (OnStart)
        OnStart(this);
}

void TRxGIFAnimator::Stop()
{
    if (OnStop)
        OnStop(this);
}

void TRxGIFAnimator::DoPaintImage(QPainter& painter)
{
    QImage offscreen(size(), QImage::Format_ARGB32_Premultiplied);
    offscreen.fill(palette().color(backgroundRole()));
    if (!image_->Empty() && image_->ScreenWidth() >= 1 && image_->ScreenHeight() >= 1) {
        const RxGIF::TComposedFrame composed =
            RxGIF::ComposeFrame(*image_, frameIndex_, ToTColor(palette().color(QPalette::Base)));
        const QImage frame = BitmapToQImage(composed.Bitmap);
        QRect target(0, 0, frame.width(), frame.height());
        if (stretch_)
            target = rect();
        else if (center_)
            target.moveTo((width() - frame.width()) / 2, (height() - frame.height()) / 2);
        QPainter offscreenPainter(&offscreen);
        DrawTransparentImage(offscreenPainter, target, frame, transparent_ ? composed.Transparent : RxGIF::clNone);
    }
    painter.drawImage(0, 0, offscreen);
}
