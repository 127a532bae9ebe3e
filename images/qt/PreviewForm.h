// The animator's preview window: plays a copy of the animation with buttons to
// play, stop and step, and a slider over every frame.
#pragma once

#include <QDialog>

class QLabel;
class QSlider;
class QToolButton;
class TRxGIFAnimator;

namespace RxGIF {
class TGIFImage;
}

class TPreviewForm : public QDialog {
public:
    TPreviewForm(QWidget* parent, const RxGIF::TGIFImage& image);
    TRxGIFAnimator& Animator() { return *animator_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Step(int by);
    void FrameShown();
    void UpdateButtons();

    TRxGIFAnimator* animator_;
    QSlider* slider_;
    QLabel* frameNo_;
    QToolButton* play_;
    QToolButton* stop_;
    QToolButton* rewind_;
    QToolButton* back_;
    QToolButton* forward_;
    QToolButton* fastForward_;
};

// Plays the image in the preview window, modally.
void PreviewGIFImage(QWidget* parent, const RxGIF::TGIFImage& image);
