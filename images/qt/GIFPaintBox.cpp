// The painted GIF control: frames laid into a frame buffer by their disposal methods.
#include "images/qt/GIFPaintBox.h"

#include "images/GIFGraphicControl.h"
#include "images/GIFImage.h"
#include "images/GIFPainter.h"

#include <QPainter>
#include <QPixmap>
#include <QTimer>

TGIFPaintBox::TGIFPaintBox(QWidget* parent) : QWidget(parent), timer_(new QTimer(this))
{
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, [this] { TimerStep(); });
}

TGIFPaintBox::~TGIFPaintBox()
{
    StopDrawing();
}

void TGIFPaintBox::StopDrawing()
{
    timer_->stop();
    ++generation_;
    painter_.reset();
}

bool TGIFPaintBox::Painting() const
{
    return painter_ && !painter_->Ended();
}

void TGIFPaintBox::SetImage(std::shared_ptr<TGIFImage> image)
{
    StopDrawing();
    image_ = std::move(image);
    framesDrawn_ = 0;
    lastFrame_ = -1;
    buffer_ = QImage();
    saved_ = QImage();
    if (image_ && !image_->Empty() && image_->Width() > 0 && image_->Height() > 0)
        StartPainter();
    update();
}

std::uint16_t TGIFPaintBox::Options() const
{
    return image_ ? image_->DrawOptions : 0;
}

void TGIFPaintBox::DrawTo(const std::shared_ptr<QImage>& canvas, const QRect& rect)
{
    canvas_ = canvas;
    canvasHeld_ = Options() & goValidateCanvas ? nullptr : canvas;
    hasCanvas_ = canvas != nullptr;
    canvasRect_ = rect;
    PaintCanvas();
}

void TGIFPaintBox::PaintCanvas()
{
    const std::shared_ptr<QImage> canvas = canvas_.lock();
    if (!canvas || canvas->isNull() || buffer_.isNull())
        return;
    QPainter painter(canvas.get());
    PaintPicture(painter, canvasRect_);
}

void TGIFPaintBox::PaintPicture(QPainter& painter, const QRect& rect) const
{
    // Tiling repeats the picture at its own size; otherwise it is scaled to the rectangle.
    if (Options() & goTile)
        painter.drawTiledPixmap(rect, QPixmap::fromImage(buffer_));
    else
        painter.drawImage(rect, buffer_);
}

void TGIFPaintBox::StartPainter()
{
    TGIFHeader& header = image_->Header();
    TGIFColor back{255, 255, 255};
    if (image_->BackgroundColor != TGIFImage::kNoBackground) {
        const std::uint32_t c = image_->BackgroundColor;
        back = TGIFColor{static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8),
                         static_cast<std::uint8_t>(c >> 16)};
    } else if (header.ColorMap().Count() > 0 && header.BackgroundColorIndex < header.ColorMap().Count()) {
        back = header.ColorMap().Data()[header.BackgroundColorIndex];
    }
    background_ = qRgb(back.Red, back.Green, back.Blue);
    buffer_ = QImage(image_->Width(), image_->Height(), QImage::Format_RGB32);
    buffer_.fill(background_);
    const int generation = generation_;
    const bool threaded = (Options() & goThreaded) && image_->Images().Count() > 1;
    TGIFPainter::TPoster post;
    if (threaded)
        post = [this, generation](TGIFPainter::TStep step) {
            {
                const std::lock_guard lock(postedMutex_);
                posted_.emplace_back(generation, std::move(step));
            }
            QMetaObject::invokeMethod(this, "RunPostedSteps", Qt::QueuedConnection);
        };
    else
        post = [](TGIFPainter::TStep step) { step(); };
    painter_ = std::make_unique<TGIFPainter>(PaintPlan(*image_), Options(), image_->AnimationSpeed, std::move(post),
                                             [this](int index) { DrawFrame(index); }, image_->ThreadPriority);
    if (painter_->Threaded())
        painter_->Start();
    else
        TimerStep();
}

void TGIFPaintBox::RunPostedSteps()
{
    std::deque<std::pair<int, std::function<void()>>> steps;
    {
        const std::lock_guard lock(postedMutex_);
        steps.swap(posted_);
    }
    // Steps an old painter posted are dropped by their generation.
    for (auto& [generation, step] : steps)
        if (generation == generation_)
            step();
}

void TGIFPaintBox::TimerStep()
{
    if (!painter_)
        return;
    const int wait = painter_->Next();
    if (wait >= 0)
        timer_->start(wait);
}

void TGIFPaintBox::DrawFrame(int index)
{
    if (!image_ || index >= image_->Images().Count() || buffer_.isNull())
        return;
    // The image it paints onto is gone: painting ends, nothing more is drawn.
    if ((Options() & goValidateCanvas) && hasCanvas_ && canvas_.expired()) {
        painter_->Stop();
        return;
    }
    // The frame before is undrawn by its disposal first.
    if (lastFrame_ >= 0 && lastFrame_ < image_->Images().Count()) {
        TGIFSubImage& last = image_->Images().SubImage(lastFrame_);
        const int disposal = last.GraphicControlExtension() ? last.GraphicControlExtension()->Disposal() : 0;
        if (disposal == 2) {
            QPainter p(&buffer_);
            p.fillRect(last.Left(), last.Top(), last.Width(), last.Height(), QColor(background_));
        } else if (disposal == 3 && !saved_.isNull()) {
            buffer_ = saved_;
        }
    }
    if (index == 0 && (Options() & goClearOnLoop))
        buffer_.fill(background_);
    TGIFSubImage& frame = image_->Images().SubImage(index);
    const TGIFGraphicControlExtension* control = frame.GraphicControlExtension();
    if (control && control->Disposal() == 3)
        saved_ = buffer_;
    const TGIFColorMap& table = frame.ActiveColorMap();
    const int clear = control && control->Transparent() && (Options() & goTransparent)
                          ? control->TransparentColorIndex()
                          : -1;
    for (int y = 0; y < frame.Height(); ++y) {
        const int by = frame.Top() + y;
        if (by >= buffer_.height())
            break;
        auto* row = reinterpret_cast<QRgb*>(buffer_.scanLine(by));
        const std::uint8_t* pixels = frame.ScanLine(y);
        for (int x = 0; x < frame.Width() && frame.Left() + x < buffer_.width(); ++x) {
            const int pixel = pixels[x];
            if (pixel == clear)
                continue;
            const TGIFColor c = pixel < table.Count() ? table.Data()[pixel] : TGIFColor{};
            row[frame.Left() + x] = qRgb(c.Red, c.Green, c.Blue);
        }
    }
    lastFrame_ = index;
    ++framesDrawn_;
    if (Options() & goDirectDraw)
        PaintCanvas();
    update();
    if (OnFrameDrawn)
        OnFrameDrawn();
}

void TGIFPaintBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    if (!buffer_.isNull())
        PaintPicture(painter, rect());
}
