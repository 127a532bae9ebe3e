// A control that shows a GIF library image, animated by a painter: on its own
// thread when threaded drawing is asked for, else stepped by a timer. The
// image's draw options, animation speed, painter priority and background
// colour say how.
#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <utility>

class QPainter;
class QTimer;
class TGIFImage;
class TGIFPainter;

class TGIFPaintBox : public QWidget {
    Q_OBJECT

public:
    explicit TGIFPaintBox(QWidget* parent = nullptr);
    // Stops the painter and waits for its thread before anything is freed.
    ~TGIFPaintBox() override;

    // Shows the image from its first frame; a painter still running is stopped first.
    void SetImage(std::shared_ptr<TGIFImage> image);
    // Also paints the picture onto an image of the caller's, scaled into the
    // rectangle: at once, and with goDirectDraw every frame as it is drawn
    // (widgets take paint only when they repaint; images take it at any time).
    // With goValidateCanvas the box holds the image only while its owner does,
    // and painting stops once it is gone; otherwise the box keeps it.
    void DrawTo(const std::shared_ptr<QImage>& canvas, const QRect& rect);
    void StopDrawing();
    bool Painting() const;
    // Frames drawn since the image was set, and the last one drawn (-1: none).
    int FramesDrawn() const { return framesDrawn_; }
    int LastFrame() const { return lastFrame_; }
    const QImage& Picture() const { return buffer_; }

    // After each frame is drawn, on the user-interface thread.
    std::function<void()> OnFrameDrawn;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::uint16_t Options() const;
    void StartPainter();
    void DrawFrame(int index);
    // The picture into the rectangle, tiled at its own size with goTile, else scaled.
    void PaintPicture(QPainter& painter, const QRect& rect) const;
    void PaintCanvas();
    void TimerStep();
    // Runs the steps the painter's thread handed over, on this thread.
    Q_INVOKABLE void RunPostedSteps();

    std::shared_ptr<TGIFImage> image_;
    std::unique_ptr<TGIFPainter> painter_;
    QTimer* timer_;
    int generation_ = 0;
    // Steps cross from the painter's thread under this lock, each with the
    // generation it was posted for; the queued call that runs them carries
    // nothing of its own.
    std::mutex postedMutex_;
    std::deque<std::pair<int, std::function<void()>>> posted_;
    QImage buffer_;
    QImage saved_;
    // The caller's image: held here unless goValidateCanvas leaves it to its owner.
    std::shared_ptr<QImage> canvasHeld_;
    std::weak_ptr<QImage> canvas_;
    bool hasCanvas_ = false;
    QRect canvasRect_;
    QRgb background_ = 0;
    int lastFrame_ = -1;
    int framesDrawn_ = 0;
};
