// Reading a GIF file into the animator's image: blocks mapped onto frames, the
// graphic control and comment extensions kept with the frame that follows them.
#include "images/RxGIF.h"

#include "images/GIFStream.h"
#include "images/GraphicException.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

namespace RxGIF {

namespace {

const TWording UnrecognizedExtension{"Unrecognized extension block: %1"};

constexpr int kEnd = -1;

bool SameText(const char* data, const char* text)
{
    for (int i = 0; i < 3; ++i)
        if (std::tolower(static_cast<unsigned char>(data[i])) != text[i])
            return false;
    return true;
}

} // namespace

// Reads blocks from a private copy of the data; every count is checked against what remains.
class TGIFReader {
public:
    TGIFReader(TGIFImage& image, std::string data) : image_(image), data_(std::move(data)) {}

    void Read()
    {
        ReadHeader();
        int label = Byte();
        while (label != 0 && label != ';' && label != kEnd && !Exhausted()) {
            std::vector<TExtension> pending;
            if (label == '!')
                label = ReadExtensions(pending);
            if (label == ',') {
                label = ReadFrame(std::move(pending));
            } else if (image_.imageData_->CommentLines.Empty() && !pending.empty()) {
                TakeComments(pending);
            } else if (label != 0 && label != ';' && label != kEnd) {
                throw EInvalidGraphicOperation(TMessage(StreamReadError, {}));
            }
        }
    }

private:
    bool Exhausted() const { return at_ >= data_.size(); }

    int Byte() { return at_ < data_.size() ? static_cast<std::uint8_t>(data_[at_++]) : kEnd; }

    const char* Take(size_t count)
    {
        if (data_.size() - at_ < count)
            throw EInvalidGraphicOperation(TMessage(StreamReadError, {}));
        const char* p = data_.data() + at_;
        at_ += count;
        return p;
    }

    static int Word(const char* p) { return static_cast<std::uint8_t>(p[0]) | static_cast<std::uint8_t>(p[1]) << 8; }

    void ReadTable(TGIFColorTable& table, int count)
    {
        const char* p = Take(static_cast<size_t>(count) * 3);
        table = TGIFColorTable{};
        table.Count = count;
        std::memcpy(table.Colors.data(), p, static_cast<size_t>(count) * 3);
    }

    void ReadHeader()
    {
        if (data_.size() < 6 || !SameText(data_.data(), "gif"))
            throw EInvalidGraphicOperation(TMessage(SGIFVersion, {}));
        const char* version = data_.data() + 3;
        if (SameText(version, "87a"))
            image_.version_ = 1;
        else if (SameText(version, "89a"))
            image_.version_ = 2;
        else
            throw EInvalidGraphicOperation(TMessage(SGIFVersion, {}));
        at_ = 6;
        const char* screen = Take(7);
        image_.screenWidth_ = Word(screen);
        image_.screenHeight_ = Word(screen + 2);
        const auto flags = static_cast<std::uint8_t>(screen[4]);
        const int background = static_cast<std::uint8_t>(screen[5]);
        TGIFData& data = *image_.imageData_;
        data.AspectRatio = static_cast<std::uint8_t>(screen[6]);
        data.BitsPerPixel = static_cast<std::uint8_t>((flags & 7) + 1);
        data.ColorResolution = static_cast<std::uint8_t>(((flags & 0x70) >> 4) + 1);
        if (flags & 0x80) {
            ReadTable(data.ColorTable, 1 << data.BitsPerPixel);
            if (background < data.ColorTable.Count)
                image_.backgroundColor_ = ColorOf(data.ColorTable.Colors[static_cast<size_t>(background)]);
        }
    }

    // Data sub-blocks as strings; a block that runs past the end keeps what is there.
    std::vector<std::string> ReadSubBlocks()
    {
        std::vector<std::string> blocks;
        for (int count; (count = Byte()) > 0;) {
            const size_t n = std::min<size_t>(static_cast<size_t>(count), data_.size() - at_);
            blocks.emplace_back(data_, at_, n);
            at_ += n;
        }
        return blocks;
    }

    // The run of extensions starting at the current '!'; answers the label after it.
    int ReadExtensions(std::vector<TExtension>& pending)
    {
        int label = '!';
        while (label == '!') {
            const int kindLabel = Byte();
            TExtension extension;
            switch (kindLabel) {
            case 0xF9: extension.Kind = TExtensionKind::ekGraphicControl; break;
            case 0x01: extension.Kind = TExtensionKind::ekPlainText; break;
            case 0xFF: extension.Kind = TExtensionKind::ekApplication; break;
            case 0xFE: extension.Kind = TExtensionKind::ekComment; break;
            case kEnd: return ';';
            default: {
                char label[4];
                std::snprintf(label, sizeof label, "%.2x", kindLabel);
                throw EInvalidGraphicOperation(TMessage(UnrecognizedExtension, {std::string(label)}));
            }
            }
            if (extension.Kind != TExtensionKind::ekComment) {
                // The fixed part is skipped by its declared size, whatever that is.
                const int size = std::max(Byte(), 0);
                extension.Header[0] = static_cast<std::uint8_t>(size);
                const size_t n = std::min<size_t>(static_cast<size_t>(size), data_.size() - at_);
                std::memcpy(extension.Header.data() + 1, data_.data() + at_, std::min<size_t>(n, 13));
                at_ += n;
            }
            extension.Data = ReadSubBlocks();
            switch (extension.Kind) {
            case TExtensionKind::ekPlainText: pending.clear(); break;
            case TExtensionKind::ekApplication: TakeLoop(extension); break;
            default: pending.push_back(std::move(extension)); break;
            }
            label = at_ >= data_.size() ? ';' : Byte();
        }
        return label;
    }

    void TakeLoop(const TExtension& extension)
    {
        if (extension.Header[0] != 11 || std::memcmp(extension.Header.data() + 1, "NETSCAPE2.0", 11) != 0 ||
            extension.Data.empty() || extension.Data[0].size() < 3 || extension.Data[0][0] != 1)
            return;
        image_.looping_ = true;
        image_.repeatCount_ = std::min(30000, Word(extension.Data[0].data() + 1));
    }

    void TakeComments(const std::vector<TExtension>& pending)
    {
        TStringList& comment = image_.imageData_->CommentLines;
        for (const TExtension& extension : pending) {
            if (extension.Kind != TExtensionKind::ekComment)
                continue;
            if (!comment.Empty())
                comment.Add("\r\n\r\n");
            for (const std::string& line : extension.Data)
                comment.Add(line);
        }
    }

    // One image: descriptor, colour table, compressed data; answers the next label.
    int ReadFrame(std::vector<TExtension> pending)
    {
        auto frame = std::make_unique<TGIFFrame>(&image_);
        TGIFItem& item = *frame->data_;
        const TGIFColorTable& global = image_.imageData_->ColorTable;
        if (global.Count > 0)
            item.BitsPerPixel = static_cast<std::uint8_t>(ColorsToBits(global.Count));
        frame->extensions_ = std::move(pending);
        const char* descriptor = Take(9);
        const auto flags = static_cast<std::uint8_t>(descriptor[8]);
        frame->Interlaced = flags & 0x40;
        frame->LocalColors = flags & 0x80;
        if (frame->LocalColors) {
            item.BitsPerPixel = static_cast<std::uint8_t>((flags & 7) + 1);
            ReadTable(item.ColorTable, 1 << item.BitsPerPixel);
        } else {
            item.ColorTable = global;
        }
        item.CompressedData = ReadCompressed(frame->Corrupted);
        frame->left_ = Word(descriptor);
        frame->top_ = Word(descriptor + 2);
        item.Width = Word(descriptor + 4);
        item.Height = Word(descriptor + 6);
        item.Flags = flags;
        TakeGraphicControls(*frame);
        image_.frames_.push_back(std::move(frame));

        int label = Byte();
        while (label == 0)
            label = Byte();
        if (label == kEnd)
            return ';';
        return label == '!' || label == ',' || label == ';' ? label : 0;
    }

    // The code size byte and the sub-blocks as they stand. Data cut short keeps the
    // bytes there are as a last block of their own length, is marked corrupted and
    // is closed with an empty block, so that it decodes what is there and can be
    // written again as it is.
    std::string ReadCompressed(bool& corrupted)
    {
        std::string out;
        const int codeSize = Byte();
        if (codeSize == kEnd)
            return out;
        out.push_back(static_cast<char>(codeSize));
        for (;;) {
            const int count = Byte();
            if (count == kEnd) {
                out.push_back('\0');
                return out;
            }
            if (static_cast<size_t>(count) > data_.size() - at_) {
                corrupted = true;
                const size_t rest = data_.size() - at_;
                if (rest > 0) {
                    out.push_back(static_cast<char>(rest));
                    out.append(data_, at_, rest);
                    at_ = data_.size();
                }
                out.push_back('\0');
                return out;
            }
            out.push_back(static_cast<char>(count));
            if (count == 0)
                return out;
            out.append(data_, at_, static_cast<size_t>(count));
            at_ += static_cast<size_t>(count);
        }
    }

    static void TakeGraphicControls(TGIFFrame& frame)
    {
        const TGIFColorTable& table = frame.data_->ColorTable;
        for (const TExtension& e : frame.extensions_) {
            if (e.Kind != TExtensionKind::ekGraphicControl)
                continue;
            const std::uint8_t flags = e.Header[1];
            const int index = e.Header[4];
            if (!(flags & 1)) {
                frame.transparentColor_ = clNone;
                frame.transparentIndex_ = -1;
            } else if (index < table.Count) {
                frame.transparentColor_ = ColorOf(table.Colors[static_cast<size_t>(index)]);
                frame.transparentIndex_ = index;
            }
            frame.delay_ = std::max(frame.delay_, Word(reinterpret_cast<const char*>(e.Header.data() + 2)) * 10);
            frame.disposal_ = (flags & 0x1C) >> 2;
        }
    }

    TGIFImage& image_;
    std::string data_;
    size_t at_ = 0;
};

void TGIFImage::ReadStream(std::int64_t size, TByteStream& stream, bool decodeFirst)
{
    Clear();
    std::string data;
    if (size > 0) {
        data.resize(static_cast<size_t>(std::min(size, stream.Remaining())));
        ReadCheck(stream, data.data(), static_cast<std::int64_t>(data.size()));
    }
    auto finish = [this] {
        if (!frames_.empty())
            frameIndex_ = 0;
        PaletteModified = true;
        Changed();
    };
    try {
        if (!data.empty())
            TGIFReader(*this, std::move(data)).Read();
        if (!frames_.empty() && decodeFirst)
            frames_.front()->Bitmap();
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

} // namespace RxGIF
