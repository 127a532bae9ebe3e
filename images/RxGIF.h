// The animator's GIF image: a GIF file held as a flat list of frames whose
// compressed data is kept as read and decoded into a bitmap only on demand.
#pragma once

#include "images/GIFBitmap.h"
#include "images/Graphic.h"
#include "images/RxGIFTypes.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TAnimatedCursorImage;

namespace RxGIF {

class TGIFImage;

class TGIFFrame {
public:
    explicit TGIFFrame(TGIFImage* owner);
    TGIFFrame(const TGIFFrame&) = delete;
    TGIFFrame& operator=(const TGIFFrame&) = delete;

    TGIFImage* Owner() const { return owner_; }

    // The decoded picture, built from the compressed data when missing. A frame
    // that cannot be held raises "GIF image is too large".
    TGIFBitmap& Bitmap();
    bool HasBitmap() const { return bitmap_ && !bitmap_->Empty(); }
    void FreeBitmap() { bitmap_.reset(); }

    const std::shared_ptr<TGIFItem>& FrameData() const { return data_; }
    void SetFrameData(std::shared_ptr<TGIFItem> data) { data_ = std::move(data); }
    std::vector<TExtension>& Extensions() { return extensions_; }
    const std::vector<TExtension>& Extensions() const { return extensions_; }

    int Left() const { return left_; }
    int Top() const { return top_; }
    void SetLeft(int value);
    void SetTop(int value);
    int Width() const;
    int Height() const;

    std::int32_t Delay() const { return delay_; }
    void SetDelay(std::int32_t milliseconds);
    int Disposal() const { return disposal_; }
    void SetDisposal(int value);
    TColor TransparentColor() const { return transparentColor_; }
    void SetTransparentColor(TColor color);
    // The table index transparency was read with or made for; -1 when none is known.
    int TransparentIndex() const { return transparentIndex_; }

    bool Interlaced = false;
    bool Corrupted = false;
    bool GrayScale = false;
    bool LocalColors = false;

    // The data of the last comment extension; empty when there is none.
    TStringList Comment() const;
    // Makes a comment extension at the end when there is none.
    void SetComment(const TStringList& lines);

    // Another frame (its data shared), or a bitmap with a transparent colour (clNone: opaque).
    void Assign(const TGIFFrame& source);
    void Assign(const TGIFBitmap& bitmap, TColor transparent = clNone);
    // Back to an empty frame without bitmap.
    void Reset();

private:
    friend class TGIFImage;
    friend class TGIFReader;

    void Changed();
    void SetVersion89();
    void MoveTo(int left, int top);
    void Encode(bool redecode);
    void RebuildGraphicControl();

    TGIFImage* owner_;
    std::unique_ptr<TGIFBitmap> bitmap_;
    std::shared_ptr<TGIFItem> data_;
    std::vector<TExtension> extensions_;
    int left_ = 0;
    int top_ = 0;
    std::int32_t delay_ = 0;
    int disposal_ = 0;
    TColor transparentColor_ = clNone;
    int transparentIndex_ = -1;
};

class TGIFImage : public TGraphic {
public:
    TGIFImage();
    ~TGIFImage() override;

    // --- reading
    void LoadFromStream(TByteStream& stream) override;
    // A 32-bit little-endian byte count, then that many bytes.
    void ReadData(TByteStream& stream);
    // Clears the image and reads size bytes from the stream; an error leaves the
    // image with the frames read so far and goes on.
    void ReadStream(std::int64_t size, TByteStream& stream, bool decodeFirst);

    // --- writing
    void SaveToStream(TByteStream& stream) override;
    // The byte count first, then the file.
    void WriteData(TByteStream& stream);
    void WriteStream(TByteStream& stream, bool writeSize);

    // --- frames
    int Count() const { return static_cast<int>(frames_.size()); }
    TGIFFrame& Frame(int index) const;
    int FrameIndex() const { return frameIndex_; }
    void SetFrameIndex(int index);
    // The current frame's bitmap; an image without frames gets one empty frame first.
    TGIFBitmap& Bitmap();
    int AddFrame(const TGIFBitmap& bitmap, TColor transparent = clNone);
    int AddFrame(const TGIFFrame& frame);
    void DeleteFrame(int index);
    void MoveFrame(int curIndex, int newIndex);
    void EncodeAllFrames();
    void MakeGrayScale(bool forceEncoding);

    // --- properties
    int Version() const { return version_; }
    void SetVersion(int version) { version_ = version; }
    const std::shared_ptr<TGIFData>& ImageData() const { return imageData_; }
    // The image comment; changing it first takes a private copy of shared data.
    const TStringList& Comment() const { return imageData_->CommentLines; }
    void SetComment(const TStringList& lines);
    int ScreenWidth() const { return frames_.empty() ? 0 : screenWidth_; }
    int ScreenHeight() const { return frames_.empty() ? 0 : screenHeight_; }
    // The system window colour frames made from icons are laid on.
    static constexpr TColor WindowColor = 0xFFFFFF;
    TColor BackgroundColor() const { return backgroundColor_; }
    void SetBackgroundColor(TColor color);
    bool Looping() const { return looping_; }
    void SetLooping(bool value);
    int RepeatCount() const { return repeatCount_; }
    void SetRepeatCount(int value);

    bool Empty() const override;
    int Width() const override;
    int Height() const override;
    void SetWidth(int);
    void SetHeight(int);
    // The transparent flag and at least one frame with a transparent colour.
    bool Transparent() const;
    // Only images sharing one image data are equal.
    bool Equals(const TGraphic& other) const;

    void Clear();
    void Assign(const TGIFImage& source);
    // An image of one frame on the frame's owner's colours.
    void Assign(const TGIFFrame& source);
    void Assign(const TGIFBitmap& bitmap);
    // One frame per icon over the window colour, the icon's transparent pixels in
    // a colour of their own; each frame shows for its rate in jiffies.
    void Assign(const TAnimatedCursorImage& cursor);
    // The current frame's bitmap into the destination (cleared for an empty image);
    // its transparent colour comes along.
    void AssignTo(TGIFBitmap& destination, TColor* transparent = nullptr) const;

    // The "GIF Image" clipboard payload, when every frame has compressed data.
    std::optional<std::string> ClipboardPayload();
    // Reads a payload without decoding; false, the image untouched, when it holds no GIF.
    bool LoadFromClipboardPayload(std::string_view payload);

    // Recomputes the screen size from every frame's edges; builds the bitmaps.
    void UpdateScreenSize();
    // Widens the screen to hold every frame, keeping the size it has (the one
    // of the file opened): adding or saving frames never shrinks the picture.
    void GrowScreenSize();

private:
    friend class TGIFFrame;
    friend class TGIFReader;

    void FrameChanged() { Changed(); }
    void ReportProgress(TProgressStage stage, int percent) { Progress(stage, percent); }
    void EncodeFrames(bool redecode);
    void UniqueImageData();
    // Appends a frame, makes it current and lets assign fill it.
    int AppendFrame(const std::function<void(TGIFFrame&)>& assign);

    int version_ = 0;
    std::shared_ptr<TGIFData> imageData_;
    std::vector<std::unique_ptr<TGIFFrame>> frames_;
    int frameIndex_ = -1;
    int screenWidth_ = 0;
    int screenHeight_ = 0;
    TColor backgroundColor_ = clNone;
    bool looping_ = false;
    int repeatCount_ = 1;
};

} // namespace RxGIF
