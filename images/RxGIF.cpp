// The animator's GIF image: frames, their properties and the editing of the frame list.
#include "images/RxGIF.h"

#include "images/AnimatedCursorImage.h"
#include "images/GIFClipboard.h"
#include "images/GIFStream.h"
#include "images/KeyColor.h"
#include "images/GraphicException.h"
#include "images/RxLZW.h"

#include <algorithm>
#include <limits>

namespace RxGIF {

const TWording SNoGIFData{"No GIF Data to write"};
const TWording SWrongColors{"Wrong number of colors; must be a power of 2"};
const TWording SGIFEncodeError{"GIF image encoding error"};
const TWording SChangeGIFSize{"Cannot change the Size of a GIF image"};
const TWording SGIFVersion{"Unknown GIF version"};
const TWording SCodeSize{"GIF code size not in range 2 to 9"};
const TWording SGIFCorrupt{"GIF encoded data is corrupt"};
const TWording SGIFTooLarge{"GIF image is too large"};

int TGIFColorTable::IndexOf(TColor color) const
{
    for (int i = 0; i < Count && i < 256; ++i)
        if (ColorOf(Colors[static_cast<size_t>(i)]) == color)
            return i;
    return -1;
}

int ColorsToBits(int count)
{
    for (int bits = 1; bits <= 8; ++bits)
        if (count == 1 << bits)
            return bits;
    throw EInvalidGraphicOperation(TMessage(SWrongColors, {}));
}

std::uint8_t ExtensionLabel(TExtensionKind kind)
{
    static constexpr std::uint8_t kLabels[] = {0xF9, 0x01, 0xFF, 0xFE};
    return kLabels[static_cast<int>(kind)];
}

// --- TGIFFrame

TGIFFrame::TGIFFrame(TGIFImage* owner) : owner_(owner), data_(std::make_shared<TGIFItem>()) {}

TGIFBitmap& TGIFFrame::Bitmap()
{
    if (HasBitmap())
        return *bitmap_;
    auto bitmap = std::make_unique<TGIFBitmap>();
    if (data_->HasData()) {
        const int bits = data_->BitsPerPixel;
        if (bits < 1 || bits > 8)
            throw EInvalidGraphicOperation(TMessage(SWrongColors, {}));
        if (data_->Width < 0 || data_->Height < 0 ||
            static_cast<std::int64_t>(data_->Width) * data_->Height > kMaxFramePixels)
            throw EInvalidGraphicOperation(TMessage(SGIFTooLarge, {}));
        bitmap->SetPixelFormat(bits == 1 ? TPixelFormat::pf1bit : TPixelFormat::pf8bit);
        bitmap->SetSize(data_->Width, data_->Height);
        for (int i = 0; i < 1 << bits; ++i)
            bitmap->Palette.push_back(i < data_->ColorTable.Count ? data_->ColorTable.Colors[static_cast<size_t>(i)]
                                                                  : TGIFColor{128, 128, 128});
        TGIFImage* image = owner_;
        const TLZWProgress progress = [image](TProgressStage stage, int percent) {
            if (image)
                image->ReportProgress(stage, percent);
        };
        if (!RxLZWDecode(*data_->CompressedData, *bitmap, Interlaced, (1 << bits) - 1, true, progress))
            Corrupted = true;
    }
    bitmap_ = std::move(bitmap);
    return *bitmap_;
}

int TGIFFrame::Width() const
{
    return data_->HasData() ? data_->Width : bitmap_ ? bitmap_->Width() : 0;
}

int TGIFFrame::Height() const
{
    return data_->HasData() ? data_->Height : bitmap_ ? bitmap_->Height() : 0;
}

void TGIFFrame::Changed()
{
    if (owner_)
        owner_->FrameChanged();
}

void TGIFFrame::SetVersion89()
{
    if (owner_)
        owner_->version_ = 2;
}

void TGIFFrame::SetLeft(int value)
{
    MoveTo(value, top_);
}

void TGIFFrame::SetTop(int value)
{
    MoveTo(left_, value);
}

void TGIFFrame::MoveTo(int left, int top)
{
    if (left == left_ && top == top_)
        return;
    left_ = left;
    top_ = top;
    if (owner_) {
        owner_->screenWidth_ = std::max(owner_->screenWidth_, Width() + left_);
        owner_->screenHeight_ = std::max(owner_->screenHeight_, Height() + top_);
    }
    Changed();
}

void TGIFFrame::SetDelay(std::int32_t milliseconds)
{
    if (milliseconds == delay_)
        return;
    delay_ = std::max(0, milliseconds);
    if (delay_ != 0)
        SetVersion89();
    Changed();
}

void TGIFFrame::SetDisposal(int value)
{
    value &= 7;
    if (value == disposal_)
        return;
    disposal_ = value;
    if (disposal_ != 0)
        SetVersion89();
    Changed();
}

void TGIFFrame::SetTransparentColor(TColor color)
{
    if (color == transparentColor_)
        return;
    transparentColor_ = color;
    if (color != clNone)
        SetVersion89();
    Changed();
}

TStringList TGIFFrame::Comment() const
{
    TStringList lines;
    for (auto it = extensions_.rbegin(); it != extensions_.rend(); ++it)
        if (it->Kind == TExtensionKind::ekComment) {
            for (const std::string& line : it->Data)
                lines.Add(line);
            break;
        }
    return lines;
}

void TGIFFrame::SetComment(const TStringList& lines)
{
    auto last = std::find_if(extensions_.rbegin(), extensions_.rend(),
                             [](const TExtension& e) { return e.Kind == TExtensionKind::ekComment; });
    if (last == extensions_.rend()) {
        extensions_.push_back(TExtension{});
        last = extensions_.rbegin();
    }
    last->Data.clear();
    for (int i = 0; i < lines.Count(); ++i)
        last->Data.push_back(lines[i]);
}

void TGIFFrame::Reset()
{
    data_ = std::make_shared<TGIFItem>();
    GrayScale = Corrupted = Interlaced = LocalColors = false;
    transparentColor_ = clNone;
    transparentIndex_ = -1;
    left_ = top_ = 0;
    delay_ = 0;
    disposal_ = 0;
    bitmap_.reset();
}

void TGIFFrame::Assign(const TGIFFrame& source)
{
    if (&source == this)
        return;
    data_ = source.data_;
    LocalColors = source.owner_ == owner_ ? source.LocalColors : true;
    left_ = source.left_;
    top_ = source.top_;
    Interlaced = source.Interlaced;
    transparentColor_ = source.transparentColor_;
    transparentIndex_ = source.transparentIndex_;
    delay_ = source.delay_;
    disposal_ = source.disposal_;
    GrayScale = source.GrayScale;
    Corrupted = source.Corrupted;
    bitmap_ = source.bitmap_ ? std::make_unique<TGIFBitmap>(*source.bitmap_) : nullptr;
    const TStringList comment = source.Comment();
    if (!comment.Empty())
        SetComment(comment);
    if (owner_)
        owner_->GrowScreenSize();
}

void TGIFFrame::Assign(const TGIFBitmap& bitmap, TColor transparent)
{
    Reset();
    if (!bitmap.Empty()) {
        bitmap_ = std::make_unique<TGIFBitmap>(bitmap);
        transparentColor_ = transparent;
    }
    if (owner_)
        owner_->GrowScreenSize();
}

// --- TGIFImage

TGIFImage::TGIFImage() : imageData_(std::make_shared<TGIFData>()) {}

TGIFImage::~TGIFImage() = default;

void TGIFImage::Clear()
{
    version_ = 0;
    imageData_ = std::make_shared<TGIFData>();
    frames_.clear();
    frameIndex_ = -1;
    screenWidth_ = screenHeight_ = 0;
    backgroundColor_ = clNone;
    looping_ = false;
    repeatCount_ = 1;
}

TGIFFrame& TGIFImage::Frame(int index) const
{
    if (index < 0 || index >= Count())
        throw EInvalidGraphicOperation(TMessage(ListIndexOutOfBounds, {std::to_string(index)}));
    return *frames_[static_cast<size_t>(index)];
}

void TGIFImage::SetFrameIndex(int index)
{
    index = std::clamp(index, -1, Count() - 1);
    if (index == frameIndex_)
        return;
    frameIndex_ = index;
    PaletteModified = true;
    Changed();
}

TGIFBitmap& TGIFImage::Bitmap()
{
    if (frames_.empty())
        AddFrame(TGIFBitmap{});
    const int index = frameIndex_ >= 0 && frameIndex_ < Count() ? frameIndex_ : 0;
    return frames_[static_cast<size_t>(index)]->Bitmap();
}

int TGIFImage::AddFrame(const TGIFBitmap& bitmap, TColor transparent)
{
    return AppendFrame([&](TGIFFrame& frame) { frame.Assign(bitmap, transparent); });
}

int TGIFImage::AddFrame(const TGIFFrame& source)
{
    return AppendFrame([&](TGIFFrame& frame) { frame.Assign(source); });
}

int TGIFImage::AppendFrame(const std::function<void(TGIFFrame&)>& assign)
{
    frames_.push_back(std::make_unique<TGIFFrame>(this));
    frameIndex_ = Count() - 1;
    assign(*frames_.back());
    if (version_ == 0)
        version_ = 1;
    if (Count() > 1)
        version_ = 2;
    Changed();
    return frameIndex_;
}

void TGIFImage::DeleteFrame(int index)
{
    Frame(index);
    frames_.erase(frames_.begin() + index);
    UpdateScreenSize();
    if (frameIndex_ >= Count())
        --frameIndex_;
    Changed();
}

void TGIFImage::MoveFrame(int curIndex, int newIndex)
{
    Frame(curIndex);
    Frame(newIndex);
    auto frame = std::move(frames_[static_cast<size_t>(curIndex)]);
    frames_.erase(frames_.begin() + curIndex);
    frames_.insert(frames_.begin() + newIndex, std::move(frame));
    frameIndex_ = newIndex;
    Changed();
}

void TGIFImage::UpdateScreenSize()
{
    int width = 0, height = 0;
    for (const auto& frame : frames_) {
        width = std::max(width, frame->Left() + frame->Width());
        height = std::max(height, frame->Top() + frame->Height());
    }
    screenWidth_ = width;
    screenHeight_ = height;
}

void TGIFImage::GrowScreenSize()
{
    const int width = screenWidth_;
    const int height = screenHeight_;
    UpdateScreenSize();
    screenWidth_ = std::max(screenWidth_, width);
    screenHeight_ = std::max(screenHeight_, height);
}

void TGIFImage::UniqueImageData()
{
    if (imageData_.use_count() > 1)
        imageData_ = std::make_shared<TGIFData>(*imageData_);
}

void TGIFImage::SetComment(const TStringList& lines)
{
    UniqueImageData();
    imageData_->CommentLines.Assign(lines);
}

void TGIFImage::SetBackgroundColor(TColor color)
{
    if (color == backgroundColor_)
        return;
    backgroundColor_ = color;
    Changed();
}

void TGIFImage::SetLooping(bool value)
{
    if (value == looping_)
        return;
    looping_ = value;
    Changed();
}

void TGIFImage::SetRepeatCount(int value)
{
    value = std::clamp(value, 0, 30000);
    if (value == repeatCount_)
        return;
    repeatCount_ = value;
    Changed();
}

bool TGIFImage::Empty() const
{
    if (frames_.empty())
        return true;
    const TGIFFrame& frame = *frames_[frameIndex_ >= 0 && frameIndex_ < Count() ? static_cast<size_t>(frameIndex_) : 0];
    return !frame.HasBitmap() && !frame.FrameData()->HasData();
}

int TGIFImage::Width() const
{
    return frameIndex_ >= 0 && frameIndex_ < Count() ? frames_[static_cast<size_t>(frameIndex_)]->Width() : 0;
}

int TGIFImage::Height() const
{
    return frameIndex_ >= 0 && frameIndex_ < Count() ? frames_[static_cast<size_t>(frameIndex_)]->Height() : 0;
}

void TGIFImage::SetWidth(int)
{
    throw EInvalidGraphicOperation(TMessage(SChangeGIFSize, {}));
}

void TGIFImage::SetHeight(int)
{
    throw EInvalidGraphicOperation(TMessage(SChangeGIFSize, {}));
}

bool TGIFImage::Transparent() const
{
    return TransparentFlag && std::any_of(frames_.begin(), frames_.end(), [](const auto& frame) {
               return frame->TransparentColor() != clNone;
           });
}

bool TGIFImage::Equals(const TGraphic& other) const
{
    const auto* image = dynamic_cast<const TGIFImage*>(&other);
    return image && image->imageData_ == imageData_;
}

void TGIFImage::Assign(const TGIFImage& source)
{
    if (&source == this)
        return;
    imageData_ = source.imageData_;
    version_ = source.version_;
    backgroundColor_ = source.backgroundColor_;
    repeatCount_ = source.repeatCount_;
    looping_ = source.looping_;
    frames_.clear();
    for (const auto& from : source.frames_) {
        frames_.push_back(std::make_unique<TGIFFrame>(this));
        frames_.back()->Assign(*from);
        frames_.back()->LocalColors = from->LocalColors;
    }
    screenWidth_ = source.screenWidth_;
    screenHeight_ = source.screenHeight_;
    frameIndex_ = source.frameIndex_;
    Changed();
}

void TGIFImage::Assign(const TGIFFrame& source)
{
    Clear();
    if (const TGIFImage* owner = source.Owner()) {
        imageData_->AspectRatio = owner->imageData_->AspectRatio;
        imageData_->BitsPerPixel = owner->imageData_->BitsPerPixel;
        imageData_->ColorResolution = owner->imageData_->ColorResolution;
        imageData_->ColorTable = owner->imageData_->ColorTable;
    }
    AddFrame(source);
}

void TGIFImage::Assign(const TGIFBitmap& bitmap)
{
    Clear();
    AddFrame(bitmap);
}

void TGIFImage::Assign(const TAnimatedCursorImage& cursor)
{
    Clear();
    backgroundColor_ = WindowColor;
    for (int i = 0; i < cursor.Count(); ++i) {
        const TIconFrame& frame = cursor.Frame(i);
        const TColor key = UnusedColor(frame.Icon.Image(), [&](int x, int y) { return frame.Icon.Transparent(x, y); },
                                       WindowColor);
        AddFrame(frame.Icon.Composed(key), key);
        frames_.back()->SetDelay(static_cast<std::int32_t>(std::min<std::uint64_t>(
            std::uint64_t{frame.JiffRate} * 100 / 6, std::numeric_limits<std::int32_t>::max())));
    }
}

void TGIFImage::AssignTo(TGIFBitmap& destination, TColor* transparent) const
{
    if (transparent)
        *transparent = clNone;
    if (Empty()) {
        destination = TGIFBitmap{};
        return;
    }
    TGIFFrame& frame = *frames_[frameIndex_ >= 0 && frameIndex_ < Count() ? static_cast<size_t>(frameIndex_) : 0];
    destination = frame.Bitmap();
    if (transparent)
        *transparent = frame.TransparentColor();
}

void TGIFImage::LoadFromStream(TByteStream& stream)
{
    ReadStream(stream.Remaining(), stream, true);
}

void TGIFImage::ReadData(TByteStream& stream)
{
    std::uint8_t count[4];
    ReadCheck(stream, count, 4);
    const std::int64_t size = count[0] | count[1] << 8 | count[2] << 16 | static_cast<std::int64_t>(count[3]) << 24;
    if (size > stream.Remaining())
        throw EInvalidGraphicOperation(TMessage(StreamReadError, {}));
    ReadStream(size, stream, true);
}

void TGIFImage::SaveToStream(TByteStream& stream)
{
    WriteStream(stream, false);
}

void TGIFImage::WriteData(TByteStream& stream)
{
    WriteStream(stream, true);
}

std::optional<std::string> TGIFImage::ClipboardPayload()
{
    if (frames_.empty() ||
        !std::all_of(frames_.begin(), frames_.end(), [](const auto& f) { return f->FrameData()->HasData(); }))
        return std::nullopt;
    return GIFClipboardPayloadOf(*this);
}

bool TGIFImage::LoadFromClipboardPayload(std::string_view payload)
{
    return ReadGIFClipboardPayload(payload, [this](TByteStream& gif) {
        ReadStream(gif.Size(), gif, false);
        if (!frames_.empty())
            frameIndex_ = 0;
    });
}

} // namespace RxGIF
