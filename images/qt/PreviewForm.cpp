// The preview window.
#include "images/qt/PreviewForm.h"

#include "images/RxGIF.h"
#include "images/qt/RxGIFAnimator.h"
#include "localisation/qt/KMLang.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QToolButton* Button(QWidget* parent, QLayout* layout, const char* name, const char* text)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(text);
    button->setToolTip(text);
    layout->addWidget(button);
    return button;
}

} // namespace

TPreviewForm::TPreviewForm(QWidget* parent, const RxGIF::TGIFImage& image) : QDialog(parent)
{
    setObjectName("PreviewForm");
    setWindowTitle("Preview");
    setWindowFlag(Qt::Tool);
    auto* layout = new QVBoxLayout(this);
    animator_ = new TRxGIFAnimator(this);
    animator_->setObjectName("Image");
    animator_->SetCenter(true);
    animator_->SetAutoSize(false);
    animator_->SetImage(image);
    animator_->SetLoop(image.Looping());
    animator_->SetFrameIndex(0);
    layout->addWidget(animator_, 1);

    auto* bar = new QHBoxLayout;
    play_ = Button(this, bar, "PlayBtn", "Play");
    stop_ = Button(this, bar, "StopBtn", "Stop");
    rewind_ = Button(this, bar, "RewindBtn", "Rewind");
    back_ = Button(this, bar, "BackBtn", "Back One Frame");
    forward_ = Button(this, bar, "ForwardBtn", "Forward One Frame");
    fastForward_ = Button(this, bar, "FastForwardBtn", "Fast Forward");
    bar->addWidget(new QLabel("Frame:   ", this));
    frameNo_ = new QLabel(this);
    frameNo_->setObjectName("FrameNo");
    bar->addWidget(frameNo_);
    bar->addStretch();
    layout->addLayout(bar);
    slider_ = new QSlider(Qt::Horizontal, this);
    slider_->setObjectName("Slider");
    // Every frame can be reached, the first one too.
    slider_->setRange(0, std::max(0, animator_->Image().Count() - 1));
    layout->addWidget(slider_);

    const RxGIF::TGIFImage& shown = animator_->Image();
    QSize area(std::max(shown.ScreenWidth() + 4, 270), std::max(shown.ScreenHeight() + 4, 70));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        area = area.boundedTo(screen->availableSize());
    animator_->setMinimumSize(area);

    connect(play_, &QToolButton::clicked, this, [this] { animator_->SetAnimate(true); });
    connect(stop_, &QToolButton::clicked, this, [this] { animator_->SetAnimate(false); });
    connect(rewind_, &QToolButton::clicked, this, [this] { animator_->SetFrameIndex(0); });
    connect(back_, &QToolButton::clicked, this, [this] { Step(-1); });
    connect(forward_, &QToolButton::clicked, this, [this] { Step(1); });
    connect(fastForward_, &QToolButton::clicked, this,
            [this] { animator_->SetFrameIndex(animator_->Image().Count() - 1); });
    connect(slider_, &QSlider::valueChanged, this, [this](int value) {
        animator_->SetFrameIndex(value);
        FrameShown();
    });
    animator_->OnFrameChanged = [this](TRxGIFAnimator*) { FrameShown(); };
    animator_->OnStart = animator_->OnStop = [this](TRxGIFAnimator*) { UpdateButtons(); };
    FrameShown();
    TranslateWindow(this);
}

void TPreviewForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (play_->isEnabled())
        animator_->SetAnimate(true);
}

void TPreviewForm::Step(int by)
{
    const int count = animator_->Image().Count();
    int index = animator_->FrameIndex() + by;
    if (index < 0)
        index = animator_->Loop() ? count - 1 : 0;
    else if (index >= count)
        index = animator_->Loop() ? 0 : count - 1;
    animator_->SetFrameIndex(index);
}

void TPreviewForm::FrameShown()
{
    const QSignalBlocker block(slider_);
    slider_->setValue(animator_->FrameIndex());
    frameNo_->setText(QString::number(animator_->FrameIndex() + 1));
    UpdateButtons();
}

void TPreviewForm::UpdateButtons()
{
    const int count = animator_->Image().Count();
    const int index = animator_->FrameIndex();
    const bool playing = animator_->Animate();
    const bool loop = animator_->Loop();
    play_->setEnabled(!playing && count >= 2);
    stop_->setEnabled(playing);
    rewind_->setEnabled(index >= 1);
    back_->setEnabled(count >= 2 && (index > 0 || loop));
    forward_->setEnabled(count >= 2 && !(index == count - 1 && !loop));
    fastForward_->setEnabled(index < count - 1);
    slider_->setEnabled(count >= 2);
}

void TPreviewForm::keyPressEvent(QKeyEvent* event)
{
    const bool playing = animator_->Animate();
    if (!playing && (event->key() == Qt::Key_F9 || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        if (play_->isEnabled())
            animator_->SetAnimate(true);
        return;
    }
    if (event->key() == Qt::Key_Escape && playing) {
        animator_->SetAnimate(false);
        return;
    }
    QDialog::keyPressEvent(event);
}

void PreviewGIFImage(QWidget* parent, const RxGIF::TGIFImage& image)
{
    TPreviewForm form(parent, image);
    form.exec();
}
