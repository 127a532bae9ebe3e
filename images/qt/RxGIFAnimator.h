// A control that shows the animator's GIF image and plays it on a timer, each
// frame composed from the ones before it by their disposal methods.
#pragma once

#include <QWidget>

#include <functional>
#include <memory>

class QTimer;

namespace RxGIF {
class TGIFImage;
}

// The common ground of picture-showing controls: paints through DoPaintImage.
class TRxImageControl : public QWidget {
public:
    explicit TRxImageControl(QWidget* parent = nullptr);

protected:
    virtual void DoPaintImage(QPainter& painter) = 0;
    void paintEvent(QPaintEvent* event) override;
    // True while the control paints itself.
    bool Drawing() const { return drawing_; }

private:
    bool drawing_ = false;
};

class TRxGIFAnimator : public TRxImageControl {
public:
    using TNotifyEvent = std::function<void(TRxGIFAnimator* sender)>;

    explicit TRxGIFAnimator(QWidget* parent = nullptr);
    ~TRxGIFAnimator() override;

    RxGIF::TGIFImage& Image() { return *image_; }
    // The control shows a copy of the image.
    void SetImage(const RxGIF::TGIFImage& image);

    bool Animate() const { return animate_; }
    void SetAnimate(bool value);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    bool Loop() const { return loop_; }
    void SetLoop(bool value) { loop_ = value; }
    bool Stretch() const { return stretch_; }
    void SetStretch(bool value);
    bool Center() const { return center_; }
    void SetCenter(bool value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    int FrameIndex() const { return frameIndex_; }
    // An index outside the frames is ignored.
    void SetFrameIndex(int index);
    // The timer interval of the current frame: its delay (at least 1 ms) when the
    // image has two frames or more, 0 (no ticking) otherwise.
    int FrameDelay() const;
    // True while the timer steps a frame.
    bool Changing() const { return changing_; }

    TNotifyEvent OnChange;
    TNotifyEvent OnFrameChanged;
    TNotifyEvent OnStart;
    TNotifyEvent OnStop;

protected:
    virtual void Change();
    virtual void FrameChanged();
    virtual void Start();
    virtual void Stop();
    void DoPaintImage(QPainter& painter) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ImageChanged();
    void TimerStep();
    void AdjustSize();
    void UpdateTimer();

    std::unique_ptr<RxGIF::TGIFImage> image_;
    QTimer* timer_;
    bool animate_ = false;
    bool autoSize_ = true;
    bool loop_ = true;
    bool stretch_ = false;
    bool center_ = false;
    bool transparent_ = true;
    bool changing_ = false;
    int frameIndex_ = 0;
};
