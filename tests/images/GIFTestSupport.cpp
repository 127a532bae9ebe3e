// Helpers shared by the GIF tests.
#include "tests/images/GIFTestSupport.h"

#include "images/GIFAppExtension.h"
#include "images/GIFTextExtension.h"
#include "images/GIFGraphicControl.h"
#include "images/GIFImage.h"
#include "images/GIFStream.h"
#include "images/RxGIF.h"
#include "images/RxGIFCompose.h"
#include "tests/support/TempDir.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>

namespace giftest {

namespace {

TGIFPalette Padded(TGIFPalette palette)
{
    palette.resize(256);
    return palette;
}

struct MemoryReader {
    const std::string* bytes;
    size_t position = 0;
};

int ReadMemory(GifFileType* gif, GifByteType* buffer, int count)
{
    auto* reader = static_cast<MemoryReader*>(gif->UserData);
    const size_t n = std::min<size_t>(static_cast<size_t>(count), reader->bytes->size() - reader->position);
    std::memcpy(buffer, reader->bytes->data() + reader->position, n);
    reader->position += n;
    return static_cast<int>(n);
}

TGIFPalette FromGiflib(const ColorMapObject* map)
{
    TGIFPalette palette;
    if (map)
        for (int i = 0; i < map->ColorCount; ++i)
            palette.push_back(TGIFColor{map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue});
    return Padded(palette);
}

} // namespace

Picture Describe(TGIFImage& image)
{
    Picture picture;
    picture.width = image.Width();
    picture.height = image.Height();
    for (int i = 0; i < image.Images().Count(); ++i) {
        TGIFSubImage& sub = image.Images().SubImage(i);
        for (int e = 0; e < sub.Extensions().Count() && picture.loops < 0; ++e)
            if (auto* loop = dynamic_cast<TGIFAppExtNSLoop*>(&sub.Extensions().Extension(e)))
                picture.loops = loop->Loops;
        if (sub.Empty())
            continue;
        Frame frame;
        frame.left = sub.Left();
        frame.top = sub.Top();
        frame.width = sub.Width();
        frame.height = sub.Height();
        frame.pixels = sub.Data();
        frame.palette = Padded(sub.ActiveColorMap().ExportPalette());
        if (const TGIFGraphicControlExtension* gce = sub.GraphicControlExtension()) {
            frame.delay = gce->Delay();
            frame.disposal = gce->Disposal();
            frame.transparent = gce->Transparent() ? gce->TransparentColorIndex() : -1;
        }
        picture.frames.push_back(std::move(frame));
    }
    return picture;
}

Picture Describe(RxGIF::TGIFImage& image)
{
    Picture picture;
    picture.width = image.ScreenWidth();
    picture.height = image.ScreenHeight();
    picture.loops = image.Looping() ? image.RepeatCount() : -1;
    for (int i = 0; i < image.Count(); ++i) {
        RxGIF::TGIFFrame& source = image.Frame(i);
        const TGIFBitmap& bitmap = source.Bitmap();
        Frame frame;
        frame.left = source.Left();
        frame.top = source.Top();
        frame.width = bitmap.Width();
        frame.height = bitmap.Height();
        for (int y = 0; y < bitmap.Height(); ++y)
            for (int x = 0; x < bitmap.Width(); ++x)
                frame.pixels.push_back(bitmap.PixelFormat() == TPixelFormat::pf1bit
                                           ? (bitmap.ScanLine(y)[x >> 3] >> (7 - (x & 7))) & 1
                                           : bitmap.ScanLine(y)[x]);
        const RxGIF::TGIFColorTable& table = source.FrameData()->ColorTable;
        frame.palette.assign(table.Colors.begin(), table.Colors.begin() + table.Count);
        frame.palette = Padded(frame.palette);
        frame.delay = source.Delay() / 10;
        frame.disposal = source.Disposal();
        frame.transparent = source.TransparentColor() == RxGIF::clNone ? -1 : source.TransparentIndex();
        picture.frames.push_back(std::move(frame));
    }
    return picture;
}

Picture DescribeWithGiflib(const std::string& bytes)
{
    Picture picture;
    MemoryReader reader{&bytes};
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, ReadMemory, &error);
    if (!gif) {
        ADD_FAILURE() << "giflib cannot open the file: " << GifErrorString(error);
        return picture;
    }
    if (DGifSlurp(gif) != GIF_OK) {
        ADD_FAILURE() << "giflib cannot read the file: " << GifErrorString(gif->Error);
        DGifCloseFile(gif, &error);
        return picture;
    }
    picture.width = gif->SWidth;
    picture.height = gif->SHeight;
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& saved = gif->SavedImages[i];
        for (int e = 0; e + 1 < saved.ExtensionBlockCount && picture.loops < 0; ++e) {
            const ExtensionBlock& block = saved.ExtensionBlocks[e];
            const ExtensionBlock& data = saved.ExtensionBlocks[e + 1];
            if (block.Function == APPLICATION_EXT_FUNC_CODE && block.ByteCount == 11 &&
                (std::memcmp(block.Bytes, "NETSCAPE2.0", 11) == 0 || std::memcmp(block.Bytes, "ANIMEXTS1.0", 11) == 0) &&
                data.ByteCount >= 3 && (data.Bytes[0] & 7) == 1)
                picture.loops = data.Bytes[1] | data.Bytes[2] << 8;
        }
        Frame frame;
        frame.left = saved.ImageDesc.Left;
        frame.top = saved.ImageDesc.Top;
        frame.width = saved.ImageDesc.Width;
        frame.height = saved.ImageDesc.Height;
        frame.pixels.assign(saved.RasterBits, saved.RasterBits + static_cast<size_t>(frame.width) * frame.height);
        frame.palette = FromGiflib(saved.ImageDesc.ColorMap ? saved.ImageDesc.ColorMap : gif->SColorMap);
        GraphicsControlBlock gcb;
        if (DGifSavedExtensionToGCB(gif, i, &gcb) == GIF_OK) {
            frame.delay = gcb.DelayTime;
            frame.disposal = gcb.DisposalMode;
            frame.transparent = gcb.TransparentColor;
        }
        picture.frames.push_back(std::move(frame));
    }
    DGifCloseFile(gif, &error);
    return picture;
}

std::string SaveToString(TGIFImage& image)
{
    TMemoryByteStream stream;
    image.SaveToStream(stream);
    return stream.Data();
}

void LoadFromString(TGIFImage& image, const std::string& bytes)
{
    TMemoryByteStream stream(bytes);
    image.LoadFromStream(stream);
}

std::string Optimized(const std::string& bytes, std::uint8_t options)
{
    TGIFImage image;
    LoadFromString(image, bytes);
    image.Optimize(options, 0, 0, 8);
    return SaveToString(image);
}

bool HaveTool(const std::string& name)
{
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

std::vector<ToolFile> MakeToolCorpus(const std::string& folder)
{
    struct Recipe {
        const char* tool;
        const char* name;
        const char* command; // %s stands for the folder
    };
    static const Recipe recipes[] = {
        {"convert", "rose256.gif", "convert rose: -colors 256 %s/rose256.gif"},
        {"convert", "two87a.gif", "convert rose: -colors 2 GIF87:%s/two87a.gif"},
        {"convert", "gradient16i.gif", "convert -size 40x30 gradient:red-blue -colors 16 -interlace GIF %s/gradient16i.gif"},
        {"convert", "anim.gif",
         "convert -delay 20 -loop 3 -size 30x20 xc:red xc:green xc:blue -dispose Background %s/anim.gif"},
        {"convert", "transparent.gif",
         "convert -size 30x30 xc:none -fill red -draw 'circle 15,15 15,5' %s/transparent.gif"},
        {"convert", "wizard.gif", "convert wizard: -resize 50% -colors 200 %s/wizard.gif"},
        {"convert", "small4.gif", "convert -size 1x4 gradient:black-white -colors 4 -interlace GIF %s/small4.gif"},
        {"gifsicle", "anim-opt.gif", "gifsicle -O3 --loopcount=5 %s/anim.gif -o %s/anim-opt.gif"},
        {"gifsicle", "rose-interlaced.gif", "gifsicle -i %s/rose256.gif -o %s/rose-interlaced.gif"},
        {"gifsicle", "rose8.gif", "gifsicle --colors 8 %s/rose256.gif -o %s/rose8.gif"},
        {"gifsicle", "merged.gif",
         "gifsicle --delay 7 --disposal previous --loopcount=forever %s/two87a.gif %s/rose8.gif -o %s/merged.gif"},
    };
    std::vector<ToolFile> files;
    for (const Recipe& r : recipes) {
        if (!HaveTool(r.tool))
            continue;
        std::string command = r.command;
        for (size_t at; (at = command.find("%s")) != std::string::npos;)
            command.replace(at, 2, folder);
        const std::string path = folder + "/" + r.name;
        if (std::system((command + " 2>/dev/null").c_str()) != 0 || !std::filesystem::exists(path))
            continue;
        files.push_back({r.name, vx::test::readFile(path)});
    }
    return files;
}

void BitPacker::Put(int code, int bits)
{
    accumulator_ |= static_cast<std::uint32_t>(code) << count_;
    count_ += bits;
    while (count_ >= 8) {
        bytes_.push_back(static_cast<char>(accumulator_ & 0xFF));
        accumulator_ >>= 8;
        count_ -= 8;
    }
}

std::string BitPacker::Flushed() const
{
    std::string bytes = bytes_;
    if (count_ > 0)
        bytes.push_back(static_cast<char>(accumulator_ & 0xFF));
    return bytes;
}

std::string BitPacker::ImageData(int minCodeSize, int blockSize) const
{
    const std::string bytes = Flushed();
    std::string data(1, static_cast<char>(minCodeSize));
    for (size_t at = 0; at < bytes.size(); at += static_cast<size_t>(blockSize)) {
        const size_t n = std::min(bytes.size() - at, static_cast<size_t>(blockSize));
        data.push_back(static_cast<char>(n));
        data.append(bytes, at, n);
    }
    data.push_back('\0');
    return data;
}

std::string MakeGif(int width, int height, const std::string& imageData, bool trailer, bool interlaced)
{
    std::string gif = "GIF89a";
    auto put16 = [&](int v) {
        gif.push_back(static_cast<char>(v & 0xFF));
        gif.push_back(static_cast<char>(v >> 8));
    };
    put16(width);
    put16(height);
    gif += std::string("\x81\x00\x00", 3);
    gif += std::string("\x00\x00\x00\xFF\x00\x00\x00\xFF\x00\x00\x00\xFF", 12);
    gif.push_back(',');
    put16(0);
    put16(0);
    put16(width);
    put16(height);
    gif.push_back(interlaced ? '\x40' : '\x00');
    gif += imageData;
    if (trailer)
        gif.push_back(';');
    return gif;
}

TGIFSubImage& AddFrame(TGIFImage& image, int width, int height)
{
    TGIFSubImage& frame = image.Add(std::make_unique<TGIFSubImage>(&image));
    frame.SetBounds(0, 0, width, height);
    return frame;
}

std::vector<Shown> Timeline(const std::string& bytes)
{
    RxGIF::TGIFImage image;
    TMemoryByteStream stream(bytes);
    image.LoadFromStream(stream);
    std::vector<Shown> shown;
    for (int i = 0; i < image.Count(); ++i) {
        const RxGIF::TComposedFrame composed = RxGIF::ComposeFrame(image, i, 0x123456, false);
        std::vector<std::uint8_t> pixels;
        for (int y = 0; y < composed.Bitmap.Height(); ++y)
            pixels.insert(pixels.end(), composed.Bitmap.ScanLine(y),
                          composed.Bitmap.ScanLine(y) + composed.Bitmap.Width() * 3);
        const int delay = image.Frame(i).Delay() / 10;
        if (!shown.empty() && shown.back().pixels == pixels)
            shown.back().hundredths += delay;
        else
            shown.push_back(Shown{std::move(pixels), delay});
    }
    return shown;
}

namespace {

std::uint32_t ColourOf(const ColorMapObject* map, int index)
{
    if (!map || index >= map->ColorCount)
        return kPastTable;
    const GifColorType& c = map->Colors[index];
    return static_cast<std::uint32_t>(c.Red) << 16 | static_cast<std::uint32_t>(c.Green) << 8 | c.Blue;
}

} // namespace

Animation ComposeWithGiflib(const std::string& bytes)
{
    Animation animation;
    animation.loops = DescribeWithGiflib(bytes).loops;
    MemoryReader reader{&bytes};
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, ReadMemory, &error);
    if (!gif || DGifSlurp(gif) != GIF_OK) {
        ADD_FAILURE() << "giflib cannot read the file";
        if (gif)
            DGifCloseFile(gif, &error);
        return animation;
    }
    const int width = gif->SWidth, height = gif->SHeight;
    const std::uint32_t background =
        gif->SColorMap && gif->SBackGroundColor < gif->SColorMap->ColorCount
            ? kBackground | ColourOf(gif->SColorMap, gif->SBackGroundColor)
            : kUnnamedBackground;
    std::vector<std::uint32_t> canvas(static_cast<size_t>(width) * static_cast<size_t>(height), background);
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& image = gif->SavedImages[i];
        const GifImageDesc& d = image.ImageDesc;
        GraphicsControlBlock gcb{};
        gcb.TransparentColor = NO_TRANSPARENT_COLOR;
        DGifSavedExtensionToGCB(gif, i, &gcb);
        const ColorMapObject* map = d.ColorMap ? d.ColorMap : gif->SColorMap;
        const std::vector<std::uint32_t> before = canvas;
        const int right = std::min(d.Left + d.Width, width), bottom = std::min(d.Top + d.Height, height);
        for (int y = d.Top; y < bottom; ++y)
            for (int x = d.Left; x < right; ++x) {
                const int index = image.RasterBits[static_cast<size_t>(y - d.Top) * d.Width + (x - d.Left)];
                if (index != gcb.TransparentColor)
                    canvas[static_cast<size_t>(y) * width + x] = ColourOf(map, index);
            }
        // Browsers show a delay below 2 for 10.
        const int delay = gcb.DelayTime < 2 ? 10 : gcb.DelayTime;
        if (!animation.pictures.empty() && animation.pictures.back().pixels == canvas)
            animation.pictures.back().hundredths += delay;
        else
            animation.pictures.push_back(Composed{canvas, delay});
        if (gcb.DisposalMode == DISPOSE_BACKGROUND || gcb.DisposalMode == DISPOSE_PREVIOUS)
            for (int y = d.Top; y < bottom; ++y)
                for (int x = d.Left; x < right; ++x) {
                    const size_t at = static_cast<size_t>(y) * width + x;
                    canvas[at] = gcb.DisposalMode == DISPOSE_BACKGROUND ? background : before[at];
                }
    }
    DGifCloseFile(gif, &error);
    return animation;
}

TGIFPalette Colours(int n)
{
    TGIFPalette palette;
    for (int i = 0; i < n; ++i)
        palette.push_back(TGIFColor{static_cast<std::uint8_t>(i * 37), static_cast<std::uint8_t>(255 - i * 11),
                                    static_cast<std::uint8_t>(i * 5)});
    return palette;
}

TGIFSubImage& AddControlledFrame(TGIFImage& image, int left, int top, int width, int height, int delay, int disposal,
                                 int transparent)
{
    TGIFSubImage& frame = AddFrame(image, width, height);
    frame.SetBounds(left, top, width, height);
    auto& control = AddExtension<TGIFGraphicControlExtension>(frame);
    control.SetDelay(static_cast<std::uint16_t>(delay));
    control.SetDisposal(disposal);
    if (transparent >= 0) {
        control.SetTransparent(true);
        control.SetTransparentColorIndexUnchecked(static_cast<std::uint8_t>(transparent));
    }
    return frame;
}

std::string OptimizableAnimation(unsigned seed)
{
    TGIFImage image;
    for (const TGIFColor& c : Colours(32))
        image.Header().ColorMap().Add(c);
    std::mt19937 random(seed);
    auto fill = [&](TGIFSubImage& f, int colours) {
        for (auto& p : f.MutableData())
            p = static_cast<std::uint8_t>(random() % static_cast<unsigned>(colours));
    };
    TGIFSubImage& first = AddControlledFrame(image, 0, 0, 24, 16, 10, 1);
    fill(first, 12);
    auto loop = std::make_unique<TGIFAppExtNSLoop>(first);
    loop->Loops = 3;
    first.Extensions().Add(std::move(loop));
    AddExtension<TGIFCommentExtension>(first).Text.Add("made by the test");
    // Mostly the first frame again, a block changed.
    TGIFSubImage& second = AddControlledFrame(image, 0, 0, 24, 16, 20, 1);
    second.MutableData() = first.Data();
    for (int y = 4; y < 9; ++y)
        for (int x = 5; x < 13; ++x)
            second.ScanLine(y)[x] = 13;
    // A transparent frame with wide transparent margins, restoring the previous picture.
    TGIFSubImage& third = AddControlledFrame(image, 2, 2, 20, 12, 15, 3, 31);
    std::fill(third.MutableData().begin(), third.MutableData().end(), 31);
    for (int y = 3; y < 7; ++y)
        for (int x = 6; x < 11; ++x)
            third.ScanLine(y)[x] = static_cast<std::uint8_t>(14 + (x + y) % 3);
    // Nothing visible at all.
    TGIFSubImage& invisible = AddControlledFrame(image, 0, 0, 10, 10, 30, 1, 30);
    std::fill(invisible.MutableData().begin(), invisible.MutableData().end(), 30);
    // A frame with its own table that repeats part of what is below, then clears.
    TGIFSubImage& local = AddControlledFrame(image, 8, 4, 8, 8, 12, 2);
    for (const TGIFColor& c : Colours(16))
        local.ColorMap().Add(c);
    fill(local, 10);
    TGIFSubImage& last = AddControlledFrame(image, 0, 0, 24, 16, 40, 0);
    fill(last, 20);
    return SaveToString(image);
}

namespace block {

std::string Word(int value)
{
    return std::string{static_cast<char>(value & 0xFF), static_cast<char>(value >> 8 & 0xFF)};
}

namespace {

std::string Table(const TGIFPalette& colours, int bits)
{
    std::string out;
    for (int i = 0; i < 1 << bits; ++i) {
        const TGIFColor c = i < static_cast<int>(colours.size()) ? colours[static_cast<size_t>(i)] : TGIFColor{};
        out += {static_cast<char>(c.Red), static_cast<char>(c.Green), static_cast<char>(c.Blue)};
    }
    return out;
}

int BitsFor(size_t count)
{
    int bits = 1;
    while ((size_t{1} << bits) < count)
        ++bits;
    return bits;
}

std::string SubBlocks(const std::vector<std::string>& blocks)
{
    std::string out;
    for (const std::string& b : blocks)
        out += static_cast<char>(b.size()) + b;
    return out + '\0';
}

} // namespace

std::string Header(int width, int height, const TGIFPalette& colours, const std::string& signature)
{
    std::string out = signature + Word(width) + Word(height);
    if (colours.empty())
        return out + std::string(3, '\0');
    const int bits = BitsFor(colours.size());
    out += static_cast<char>(0x80 | (bits - 1) << 4 | (bits - 1));
    out += std::string(2, '\0');
    return out + Table(colours, bits);
}

std::string GraphicControl(int flags, int delay, int transparent)
{
    return std::string("\x21\xF9\x04", 3) + static_cast<char>(flags) + Word(delay) + static_cast<char>(transparent) +
           '\0';
}

std::string Comment(const std::vector<std::string>& blocks)
{
    return std::string("\x21\xFE", 2) + SubBlocks(blocks);
}

std::string Application(const std::string& fixed, const std::vector<std::string>& blocks)
{
    return std::string("\x21\xFF", 2) + static_cast<char>(fixed.size()) + fixed + SubBlocks(blocks);
}

std::string Loop(int count)
{
    return Application("NETSCAPE2.0", {std::string("\x01", 1) + Word(count)});
}

std::string Image(int left, int top, int width, int height, const std::string& imageData, const TGIFPalette& local,
                  bool interlaced)
{
    std::string out = "," + Word(left) + Word(top) + Word(width) + Word(height);
    int flags = interlaced ? 0x40 : 0;
    if (!local.empty())
        flags |= 0x80 | (BitsFor(local.size()) - 1);
    out += static_cast<char>(flags);
    if (!local.empty())
        out += Table(local, BitsFor(local.size()));
    return out + imageData;
}

std::string Literals(const std::vector<int>& pixels, int minCodeSize)
{
    // A clear code before every pixel keeps the code width fixed.
    BitPacker packer;
    const int clear = 1 << minCodeSize;
    for (int p : pixels) {
        packer.Put(clear, minCodeSize + 1);
        packer.Put(p, minCodeSize + 1);
    }
    packer.Put(clear + 1, minCodeSize + 1);
    return packer.ImageData(minCodeSize);
}

} // namespace block

} // namespace giftest
