// The animator window showing the image: frame selection, thumbnails, the
// pages' controls, button states, progress, and the edits made in the controls.
#include "images/qt/AnimatorForm.h"

#include "controls/speedbar/SpeedBar.h"
#include "images/ReducedDIB.h"
#include "images/RxGIF.h"
#include "images/qt/AnimatorFormParts.h"
#include "images/qt/BitmapImage.h"
#include "images/qt/PaletteForm.h"
#include "images/qt/RxGIFPicture.h"
#include "platform/Exception.h"
#include "platform/qt/Application.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>

#include <filesystem>

namespace {

constexpr int kThumbnails = 4;

void ShowColor(QLineEdit* edit, RxGIF::TColor color)
{
    if (color == RxGIF::clNone) {
        edit->setText("");
        edit->setStyleSheet("");
        return;
    }
    const TGIFColor c = RxGIF::GIFColorOf(color);
    const QColor shown(c.Red, c.Green, c.Blue);
    edit->setText(shown.name(QColor::HexRgb).toUpper());
    edit->setStyleSheet(QString("background: %1; color: %2").arg(shown.name(), shown.lightness() < 128 ? "white" : "black"));
}

TStringList LinesOf(const QPlainTextEdit* edit)
{
    TStringList lines;
    lines.SetText(edit->toPlainText().toStdString());
    return lines;
}

QString TextOf(const TStringList& lines)
{
    return QString::fromStdString(lines.JoinedText("\n"));
}

void SetText(QPlainTextEdit* edit, const QString& text)
{
    if (edit->toPlainText() != text)
        edit->setPlainText(text);
}

} // namespace

bool TAnimatorForm::HasCurrentFrame() const
{
    return !image_->Empty() && image_->FrameIndex() >= 0;
}

void TAnimatorForm::BindEdits()
{
    connect(loopBox_, &QCheckBox::toggled, this, [this] { LoopEdited(); });
    connect(repeatForever_, &QCheckBox::toggled, this, [this] { LoopEdited(); });
    connect(repeatCnt_, &QSpinBox::valueChanged, this, [this] { LoopEdited(); });
    connect(trailingComment_, &QPlainTextEdit::textChanged, this, [this] {
        if (!Editing())
            return;
        image_->SetComment(LinesOf(trailingComment_));
        SetModified();
    });
    connect(frameComment_, &QPlainTextEdit::textChanged, this, [this] {
        if (!Editing() || !HasCurrentFrame())
            return;
        image_->Frame(image_->FrameIndex()).SetComment(LinesOf(frameComment_));
        SetModified();
    });
    connect(imageLeft_, &QSpinBox::valueChanged, this, [this] { PositionEdited(); });
    connect(imageTop_, &QSpinBox::valueChanged, this, [this] { PositionEdited(); });
    connect(delayTime_, &QSpinBox::valueChanged, this, [this](int hundredths) {
        if (!Editing() || !HasCurrentFrame())
            return;
        image_->Frame(image_->FrameIndex()).SetDelay(hundredths * 10);
        SetModified();
    });
    connect(disposalCombo_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!Editing() || !HasCurrentFrame() || index < 0)
            return;
        image_->Frame(image_->FrameIndex()).SetDisposal(index);
        SetModified();
    });
    connect(transBox_, &QCheckBox::toggled, this, [this] { TransparencyEdited(); });
    connect(backColorBtn_, &QToolButton::clicked, this, [this] { Run([this] { PickBackColor(); }); });
    connect(transColorBtn_, &QToolButton::clicked, this, [this] { Run([this] { PickTransColor(); }); });
    connect(colorDepthCombo_, &QComboBox::currentIndexChanged, this, [](int index) {
        if (index >= 0)
            DefaultMappingMethod = static_cast<TMappingMethod>(index);
    });
    connect(thumbnailsBox_, &QCheckBox::toggled, this, [this] {
        for (QWidget* box : paintBoxes_)
            box->update();
    });
    connect(flatBtns_, &QCheckBox::toggled, this, [this](bool flat) {
        speedBar_->SetOptions(flat ? speedBar_->Options() | sbFlatBtns : speedBar_->Options() & ~sbFlatBtns);
    });
    connect(alwaysOnTop_, &QCheckBox::toggled, this, [this](bool onTop) {
        const bool shown = isVisible();
        setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
        if (shown)
            show();
    });
    connect(imageScroll_, &QScrollBar::valueChanged, this, [this](int value) { SelectFrame(value, false); });
}

void TAnimatorForm::ImageChanged()
{
    const int count = image_->Count();
    {
        const QSignalBlocker block(imageScroll_);
        imageScroll_->setRange(0, std::max(0, count - 1));
    }
    const bool scrollable = count > 1 && !image_->Empty();
    if (!scrollable && imageScroll_->hasFocus())
        pages_->setFocus();
    imageScroll_->setEnabled(scrollable);
    SelectFrame(image_->FrameIndex(), true);
    UpdatePages();
    if (!loading_) {
        RefreshControls();
        UpdateButtons();
    }
}

void TAnimatorForm::SelectFrame(int index, bool forced)
{
    if (!forced && index == image_->FrameIndex())
        return;
    const int count = image_->Count();
    index = std::clamp(index, -1, count - 1);
    if (count > 0) {
        topIndex_ = std::max(topIndex_, 0);
        while (index > topIndex_ + kThumbnails - 1)
            ++topIndex_;
        if (index >= 0 && index < topIndex_)
            topIndex_ = index;
    }
    // The image reports the change; this window shows it below, once.
    auto onChange = std::move(image_->OnChange);
    image_->SetFrameIndex(index);
    image_->OnChange = std::move(onChange);
    {
        const QSignalBlocker block(imageScroll_);
        imageScroll_->setValue(std::max(0, index));
    }
    for (int n = 0; n < kThumbnails; ++n) {
        const int shown = topIndex_ + n;
        const bool visible = shown >= 0 && shown < count;
        frameLabels_[static_cast<size_t>(n)]->setVisible(visible);
        numbers_[static_cast<size_t>(n)]->setVisible(visible);
        numbers_[static_cast<size_t>(n)]->setText(QString::number(shown + 1));
        paintBoxes_[static_cast<size_t>(n)]->update();
    }
    if (!forced && !loading_) {
        RefreshControls();
        UpdateButtons();
    }
}

void TAnimatorForm::UpdatePages()
{
    const bool shown = !image_->Empty();
    pages_->setTabEnabled(pages_->indexOf(animationTab_), shown);
    pages_->setTabEnabled(pages_->indexOf(imageTab_), shown);
    pages_->setTabVisible(pages_->indexOf(animationTab_), shown);
    pages_->setTabVisible(pages_->indexOf(imageTab_), shown);
    if (!shown)
        pages_->setCurrentWidget(optionsTab_);
}

void TAnimatorForm::RefreshControls()
{
    updating_ = true;
    const RxGIF::TGIFImage& image = *image_;
    screenW_->setText(QString::number(image.ScreenWidth()));
    screenH_->setText(QString::number(image.ScreenHeight()));
    imageCount_->setText(QString::number(image.Count()));
    ShowColor(backColor_, image.BackgroundColor());
    loopBox_->setChecked(image.Looping());
    repeatForever_->setChecked(image.RepeatCount() == 0);
    repeatCnt_->setValue(image.RepeatCount());
    repeatForever_->setEnabled(loopBox_->isChecked());
    loopLbl_->setEnabled(repeatForever_->isEnabled() && !repeatForever_->isChecked());
    repeatCnt_->setEnabled(loopLbl_->isEnabled());
    SetText(trailingComment_, TextOf(image.Comment()));
    gifVersion_->setText(image.Version() == 1 ? "87a" : image.Version() == 2 ? "89a" : "");
    if (!HasCurrentFrame()) {
        SetText(frameComment_, "");
        frameW_->setText("");
        frameH_->setText("");
    } else {
        const RxGIF::TGIFFrame& frame = image.Frame(image.FrameIndex());
        SetText(frameComment_, TextOf(frame.Comment()));
        frameW_->setText(QString::number(frame.Width()));
        frameH_->setText(QString::number(frame.Height()));
        imageLeft_->setValue(frame.Left());
        imageTop_->setValue(frame.Top());
        delayTime_->setValue(std::min(frame.Delay() / 10, delayTime_->maximum()));
        disposalCombo_->setCurrentIndex(frame.Disposal() <= 3 ? frame.Disposal() : 0);
        transBox_->setChecked(frame.TransparentColor() != RxGIF::clNone);
        ShowColor(transColor_, frame.TransparentColor());
    }
    transColor_->setEnabled(transBox_->isChecked());
    transColorLbl_->setEnabled(transBox_->isChecked());
    transColorBtn_->setEnabled(transBox_->isChecked());
    updating_ = false;
}

void TAnimatorForm::UpdateButtons()
{
    const bool current = HasCurrentFrame();
    const int index = image_->FrameIndex();
    const bool states[] = {true,
                           true,
                           !fileName_.empty() && current,
                           current,
                           true,
                           current,
                           current,
                           ClipboardHasGIFImage(),
                           current,
                           current && index > 0,
                           current && index < image_->Count() - 1,
                           !image_->Empty(),
                           current,
                           true};
    for (size_t i = 0; i < buttons_.size(); ++i)
        buttons_[i]->SetEnabled(states[i] && !working_);
}

void TAnimatorForm::UpdateCaption()
{
    QString caption = kAnimatorCaption;
    if (!fileName_.empty())
        caption += " - " + QString::fromStdString(std::filesystem::path(fileName_).filename().string());
    setWindowTitle(caption);
}

void TAnimatorForm::SetStatus(const std::string& text)
{
    statusBar_->showMessage(QString::fromStdString(text));
}

void TAnimatorForm::Progress(TProgressStage stage, int percent)
{
    if (stage == TProgressStage::psRunning) {
        if (percent >= lastProgress_ + 10) {
            lastProgress_ = percent;
            progress_->setValue(std::clamp(percent, 0, 100));
        }
    } else {
        lastProgress_ = 0;
        progress_->setValue(0);
    }
    QApplication::processEvents();
    if (loading_ && aborted_) {
        aborted_ = false;
        throw EAbort("");
    }
}

void TAnimatorForm::PaintThumbnail(int tag, QPainter& painter, const QRect& whole)
{
    painter.fillRect(whole, palette().color(QPalette::Window));
    const int index = topIndex_ + tag;
    if (index < 0 || index >= image_->Count())
        return;
    if (index == image_->FrameIndex()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 3));
        painter.drawRect(whole.adjusted(1, 1, -2, -2));
    }
    const QRect box = whole.adjusted(3, 3, -3, -3);
    RxGIF::TGIFFrame& frame = image_->Frame(index);
    const QImage picture = BitmapToQImage(frame.Bitmap());
    const bool reflect = thumbnailsBox_->isChecked();
    const int refW = reflect ? std::max(1, image_->ScreenWidth()) : std::max(1, frame.Width());
    const int refH = reflect ? std::max(1, image_->ScreenHeight()) : std::max(1, frame.Height());
    QRect target(reflect ? frame.Left() : 0, reflect ? frame.Top() : 0, picture.width(), picture.height());
    if (refW > box.width() || refH > box.height()) {
        // Scaled by height when scaling by width would overrun the box's height.
        const bool byHeight = refH * box.width() / refW > box.height();
        const int num = byHeight ? box.height() : box.width();
        const int den = byHeight ? refH : refW;
        target = QRect(target.left() * num / den, target.top() * num / den, target.width() * num / den,
                       target.height() * num / den);
    }
    target.translate(box.topLeft());
    painter.setClipRect(box);
    painter.drawImage(target, picture);
}

void TAnimatorForm::LoopEdited()
{
    if (!Editing())
        return;
    repeatForever_->setEnabled(loopBox_->isChecked());
    loopLbl_->setEnabled(repeatForever_->isEnabled() && !repeatForever_->isChecked());
    repeatCnt_->setEnabled(loopLbl_->isEnabled());
    image_->SetRepeatCount(repeatForever_->isChecked() ? 0 : repeatCnt_->value());
    image_->SetLooping(loopBox_->isChecked());
    SetModified();
}

void TAnimatorForm::PositionEdited()
{
    if (!Editing() || !HasCurrentFrame())
        return;
    RxGIF::TGIFFrame& frame = image_->Frame(image_->FrameIndex());
    frame.SetLeft(imageLeft_->value());
    frame.SetTop(imageTop_->value());
    SetModified();
}

void TAnimatorForm::TransparencyEdited()
{
    if (!Editing())
        return;
    const bool on = transBox_->isChecked();
    transColor_->setEnabled(on);
    transColorLbl_->setEnabled(on);
    transColorBtn_->setEnabled(on);
    if (!on && HasCurrentFrame()) {
        image_->Frame(image_->FrameIndex()).SetTransparentColor(RxGIF::clNone);
        SetModified();
    }
}

void TAnimatorForm::PickBackColor()
{
    const TGIFPalette palette = image_->Count() > 0 ? image_->Bitmap().Palette : TGIFPalette{};
    const RxGIF::TColor chosen = SelectPaletteColor(this, palette, image_->BackgroundColor());
    if (chosen != image_->BackgroundColor()) {
        image_->SetBackgroundColor(chosen);
        SetModified();
    }
}

void TAnimatorForm::PickTransColor()
{
    if (!HasCurrentFrame()) {
        QApplication::beep();
        return;
    }
    RxGIF::TGIFFrame& frame = image_->Frame(image_->FrameIndex());
    const RxGIF::TColor chosen = SelectPaletteColor(this, image_->Bitmap().Palette, frame.TransparentColor());
    if (chosen != frame.TransparentColor()) {
        frame.SetTransparentColor(chosen);
        SetModified();
    }
}

void TAnimatorForm::reject()
{
    bool goOn = false;
    vx::DeliverShowingExceptions([&] {
        goOn = SaveQuestion();
        return true;
    });
    if (goOn)
        QDialog::reject();
}

void TAnimatorForm::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && loading_) {
        aborted_ = true;
        return;
    }
    QDialog::keyPressEvent(event);
}

void TAnimatorForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    move(20, 20);
    UpdateButtons();
}

void TAnimatorForm::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        UpdateButtons();
}
