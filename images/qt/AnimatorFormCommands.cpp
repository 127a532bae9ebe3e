// The animator window's commands: files, the clipboard and the frame list.
#include "images/qt/AnimatorForm.h"

#include "images/AnimatedCursorImage.h"
#include "images/GraphicException.h"
#include "images/KeyColor.h"
#include "images/RxGIF.h"
#include "images/qt/AnimatorFormParts.h"
#include "images/qt/BitmapImage.h"
#include "images/qt/PreviewForm.h"
#include "images/qt/RxGIFPicture.h"
#include "platform/Exception.h"
#include "platform/qt/Application.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"

#include <QApplication>
#include <QCursor>
#include <QImageReader>

#include <filesystem>
#include <memory>

namespace {

const TRunTimeText CannotRead{"Could not read %1:\r\n%2"};

// A wait cursor for as long as it lives.
class TWaitCursor {
public:
    TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
};

std::string Extension(const std::string& path)
{
    std::string ext = std::filesystem::path(path).extension().string();
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

} // namespace

void TAnimatorForm::Run(const std::function<void()>& command)
{
    // Reading, encoding and greying let the window paint meanwhile; the other
    // commands wait until this one is done, or they would change the frames
    // under it.
    working_ = true;
    UpdateButtons();
    vx::DeliverShowingExceptions([&] {
        command();
        return true;
    });
    working_ = false;
    UpdateButtons();
}

bool TAnimatorForm::SaveQuestion()
{
    if (!modified_)
        return true;
    switch (MessageDlg(kSaveChanges(), mtWarning, mbYesNoCancel)) {
    case mrYes: return SaveCmd();
    case mrNo: return true;
    default: return false;
    }
}

void TAnimatorForm::NewCmd()
{
    if (!SaveQuestion())
        return;
    if (!image_->Empty())
        image_->Clear();
    fileName_.clear();
    ImageChanged();
    UpdateCaption();
    SetStatus(kReady());
    modified_ = false;
}

std::unique_ptr<RxGIF::TGIFImage> TAnimatorForm::ReadAnimation(const std::string& path)
{
    auto read = std::make_unique<RxGIF::TGIFImage>();
    read->OnProgress = image_->OnProgress;
    TWaitCursor wait;
    read->LoadFromFile(path);
    for (int i = 0; i < read->Count(); ++i)
        read->Frame(i).Bitmap();
    return read;
}

void TAnimatorForm::OpenCmd()
{
    if (!SaveQuestion())
        return;
    const std::string path = vx::dialogs::OpenFile("", kGIFFilter(), fileName_);
    if (path.empty())
        return;
    // The file is read into an image of its own, which takes the open one's
    // place only once read whole: a file that cannot be read, or a read
    // abandoned with Esc, leaves the animation open as it was, unsaved
    // changes and all.
    std::unique_ptr<RxGIF::TGIFImage> read;
    std::string failure;
    loading_ = true;
    SetStatus(kPressEsc());
    QApplication::processEvents();
    try {
        read = ReadAnimation(path);
    } catch (const EAbort&) {
        // Esc abandons the read without a message.
    } catch (const std::exception& e) {
        failure = CannotRead({vx::PathText(path), ErrorText(e)});
    }
    loading_ = aborted_ = false;
    SetStatus(kReady());
    if (!read) {
        if (!failure.empty())
            MessageDlg(failure, mtError, mbOK);
        return;
    }
    read->OnChange = std::move(image_->OnChange);
    image_ = std::move(read);
    fileName_ = path;
    modified_ = false;
    ImageChanged();
    UpdateCaption();
}

bool TAnimatorForm::SaveCmd()
{
    if (fileName_.empty())
        return SaveAsCmd();
    TWaitCursor wait;
    image_->SaveToFile(fileName_);
    modified_ = false;
    SetStatus(kReady());
    return true;
}

bool TAnimatorForm::SaveAsCmd()
{
    if (image_->Empty())
        return false;
    std::string path = vx::dialogs::SaveFile("", kGIFFilter(), fileName_);
    if (path.empty())
        return false;
    if (std::filesystem::path(path).extension().empty())
        path += ".gif";
    TWaitCursor wait;
    image_->SaveToFile(path);
    fileName_ = path;
    UpdateCaption();
    modified_ = false;
    SetStatus(kReady());
    return true;
}

void TAnimatorForm::LoadFramesFromFile(const std::string& path, RxGIF::TGIFImage& into)
{
    const std::string ext = Extension(path);
    if (ext == ".gif") {
        RxGIF::TGIFImage gif;
        gif.OnProgress = [this](TGraphic*, TProgressStage stage, int percent) { Progress(stage, percent); };
        gif.LoadFromFile(path);
        // A picture is one frame: the one the file has current.
        if (gif.Count() > 0)
            into.Assign(gif.Frame(std::max(0, gif.FrameIndex())));
        return;
    }
    if (ext == ".ani") {
        TAnimatedCursorImage cursor;
        cursor.LoadFromFile(path);
        into.Assign(cursor);
        return;
    }
    QImageReader reader(QString::fromStdString(path));
    const QImage picture = reader.read();
    if (picture.isNull())
        throw EInvalidGraphic(TMessage(BitmapNotValid, {}));
    if (!picture.hasAlphaChannel()) {
        into.Assign(QImageToBitmap(picture));
        return;
    }
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    const auto clear = [&](int x, int y) { return qAlpha(argb.pixel(x, y)) < 128; };
    const RxGIF::TColor key = RxGIF::UnusedColor(QImageToBitmap(argb), clear, RxGIF::TGIFImage::WindowColor);
    into.Clear();
    into.AddFrame(QImageToBitmap(argb, key), key);
}

void TAnimatorForm::AddFrames(const RxGIF::TGIFImage& frames)
{
    if (frames.Count() == 0 || frames.Empty())
        return;
    for (int i = 0; i < frames.Count(); ++i)
        image_->AddFrame(frames.Frame(i));
    SetModified();
    RefreshControls();
    {
        TWaitCursor wait;
        image_->EncodeAllFrames();
    }
    ImageChanged();
    SetStatus(kReady());
}

void TAnimatorForm::InsertCmd()
{
    const std::string path = vx::dialogs::OpenFile("", kPictureFilter(), fileName_);
    if (path.empty())
        return;
    RxGIF::TGIFImage frames;
    LoadFramesFromFile(path, frames);
    AddFrames(frames);
}

void TAnimatorForm::PasteCmd()
{
    if (!ClipboardHasGIFImage())
        return;
    const std::unique_ptr<RxGIF::TGIFImage> pasted = GIFImageFromClipboard();
    if (!pasted || pasted->Count() == 0)
        return;
    RxGIF::TGIFImage one;
    one.Assign(pasted->Frame(std::max(0, pasted->FrameIndex())));
    AddFrames(one);
}

void TAnimatorForm::CopyCmd()
{
    if (!HasCurrentFrame())
        return;
    RxGIF::TGIFImage one;
    one.Assign(image_->Frame(image_->FrameIndex()));
    one.EncodeAllFrames();
    CopyGIFImageToClipboard(one);
}

void TAnimatorForm::CutCmd()
{
    CopyCmd();
    DeleteCmd();
}

void TAnimatorForm::DeleteCmd()
{
    if (!HasCurrentFrame())
        return;
    image_->DeleteFrame(image_->FrameIndex());
    SetModified();
}

void TAnimatorForm::MoveCmd(int by)
{
    if (!HasCurrentFrame())
        return;
    const int index = image_->FrameIndex();
    if (index + by < 0 || index + by >= image_->Count())
        return;
    image_->MoveFrame(index, index + by);
    SetModified();
}

void TAnimatorForm::GrayscaleCmd()
{
    if (image_->Empty())
        return;
    image_->MakeGrayScale(true);
    SetModified();
}

void TAnimatorForm::PreviewCmd()
{
    if (HasCurrentFrame())
        PreviewGIFImage(this, *image_);
}
