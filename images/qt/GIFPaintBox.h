// A control that shows a GIF library image, animated by a painter: on its own
// thread when threaded drawing is asked for, else stepped by a timer.
#pragma once

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <utility>

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
    std::uint16_t DrawOptions = 0x060F;
    int AnimationSpeed = 100;
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
    void StartPainter();
    void DrawFrame(int index);
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
    QRgb background_ = 0;
    int lastFrame_ = -1;
    int framesDrawn_ = 0;
};
