// A corpus of 30 GIF files of the kinds web pages carry: the animator's own
// full-frame animations, sprites over still backgrounds, banners, spinners,
// counters, transparent sprites restoring the background or the previous
// picture, pause frames, slide shows and still pictures. The optimiser's
// benchmark measures it beside gifsicle; the optimiser's tests check that every
// file still shows the same.
#pragma once

#include "images/GIFAppExtension.h"
#include "images/GIFGraphicControl.h"
#include "images/GIFImage.h"
#include "images/GIFStream.h"
#include "images/GIFTextExtension.h"
#include "images/RxGIF.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace gifcorpus {

struct File {
    std::string name;
    std::string bytes;
};

using Paint = std::function<TGIFColor(int x, int y)>;

inline std::string Saved(TGIFImage& image)
{
    TMemoryByteStream out;
    image.SaveToStream(out);
    return out.Data();
}

inline std::uint8_t Byte(double v)
{
    return static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0));
}

// A palette of n colours spread over the colour cube.
inline TGIFPalette Spread(int n, unsigned seed)
{
    std::mt19937 random(seed);
    TGIFPalette palette;
    for (int i = 0; i < n; ++i)
        palette.push_back(TGIFColor{static_cast<std::uint8_t>(random()), static_cast<std::uint8_t>(random()),
                                    static_cast<std::uint8_t>(random())});
    return palette;
}

// A 24-bit bitmap filled by f(x, y) -> colour.
template <class F>
TGIFBitmap Make24(int width, int height, F f)
{
    TGIFBitmap bitmap(width, height, TPixelFormat::pf24bit);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const TGIFColor c = f(x, y);
            std::uint8_t* p = bitmap.ScanLine(y) + x * 3;
            p[0] = c.Blue;
            p[1] = c.Green;
            p[2] = c.Red;
        }
    return bitmap;
}

// Builds an animation frame by frame on the GIF library's model.
class Builder {
public:
    explicit Builder(const TGIFPalette& global = {})
    {
        for (const TGIFColor& c : global)
            image_.Header().ColorMap().Add(c);
    }
    // A frame of indices f(x, y) at the place; transparent -1 for none; a local table when given.
    TGIFSubImage& Frame(int left, int top, int width, int height, const std::function<int(int, int)>& f,
                        int delay, int disposal, int transparent = -1, const TGIFPalette& local = {})
    {
        TGIFSubImage& frame = image_.Add(std::make_unique<TGIFSubImage>(&image_));
        frame.SetBounds(left, top, width, height);
        for (const TGIFColor& c : local)
            frame.ColorMap().Add(c);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                frame.ScanLine(y)[x] = static_cast<std::uint8_t>(f(x, y));
        if (delay > 0 || disposal > 0 || transparent >= 0) {
            auto control = std::make_unique<TGIFGraphicControlExtension>(frame);
            control->SetDelay(static_cast<std::uint16_t>(delay));
            control->SetDisposal(disposal);
            if (transparent >= 0) {
                control->SetTransparent(true);
                control->SetTransparentColorIndexUnchecked(static_cast<std::uint8_t>(transparent));
            }
            frame.Extensions().Add(std::move(control));
        }
        return frame;
    }
    void Loop(int count)
    {
        TGIFSubImage& first = image_.Images().SubImage(0);
        auto loop = std::make_unique<TGIFAppExtNSLoop>(first);
        loop->Loops = static_cast<std::uint16_t>(count);
        first.Extensions().Add(std::move(loop));
    }
    void Comment(const std::string& text)
    {
        auto comment = std::make_unique<TGIFCommentExtension>(image_.Images().SubImage(0));
        comment->Text.Add(text);
        image_.Images().SubImage(0).Extensions().Add(std::move(comment));
    }
    void SetScreen(int width, int height)
    {
        image_.Header().LogicalScreenWidth = static_cast<std::uint16_t>(width);
        image_.Header().LogicalScreenHeight = static_cast<std::uint16_t>(height);
    }
    std::string Bytes() { return Saved(image_); }

private:
    TGIFImage image_;
};

// The animator's way: 24-bit pictures, each frame on a 256-entry table of its own.
inline std::string Animator(int width, int height, int frames, int delayMs, const std::function<Paint(int)>& picture,
                            RxGIF::TColor transparent = RxGIF::clNone)
{
    RxGIF::TGIFImage image;
    for (int i = 0; i < frames; ++i)
        image.Frame(image.AddFrame(Make24(width, height, picture(i)), transparent)).SetDelay(delayMs);
    image.SetLooping(true);
    image.SetRepeatCount(0);
    TMemoryByteStream out;
    image.SaveToStream(out);
    return out.Data();
}

// Three frames of one colour each, as the animator writes them.
inline std::string AnimatorColours(int width, int height, const std::vector<TGIFColor>& colours)
{
    return Animator(width, height, static_cast<int>(colours.size()), 500,
                    [&](int i) -> Paint { return [c = colours[static_cast<size_t>(i)]](int, int) { return c; }; });
}

// A sprite moving over a still, grainy background; every frame drawn whole.
inline std::string Sprite(int width, int height, int frames, unsigned seed)
{
    TGIFPalette palette;
    for (int i = 0; i < 256; ++i)
        palette.push_back(TGIFColor{static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i * 7),
                                    static_cast<std::uint8_t>(255 - i)});
    Builder b(palette);
    std::mt19937 random(seed);
    std::vector<int> background(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            background[static_cast<size_t>(y * width + x)] =
                static_cast<int>(100 + 60 * std::sin(x / 17.0) + 40 * std::cos(y / 11.0)) + static_cast<int>(random() % 3);
    for (int f = 0; f < frames; ++f) {
        const int sx = (f * 13) % (width - 32), sy = (f * 7) % (height - 24);
        b.Frame(0, 0, width, height, [&](int x, int y) {
            if (x >= sx && x < sx + 32 && y >= sy && y < sy + 24)
                return 250 + (x + y + f) % 5;
            return background[static_cast<size_t>(y * width + x)];
        }, 8, 1);
    }
    return b.Bytes();
}

// Text sliding through a banner of flat colours, each frame whole on the global table.
inline std::string Banner(int width, int height, int frames, int colours, unsigned seed)
{
    Builder b(Spread(colours, seed));
    for (int f = 0; f < frames; ++f)
        b.Frame(0, 0, width, height, [&](int x, int y) {
            const int u = x + f * 4;
            const bool glyph = y > height / 4 && y < height * 3 / 4 && (u / 6) % 3 != 2 && ((u % 6) < 2 || y % 7 < 2);
            return glyph ? 1 + (u / 18) % (colours - 2) : (y < 3 || y >= height - 3 ? colours - 1 : 0);
        }, 10, 1);
    b.Loop(0);
    return b.Bytes();
}

// A loading spinner: eight spokes, one lit after the other.
inline std::string Spinner(int size, int frames, bool transparent)
{
    Builder b({{255, 255, 255}, {200, 200, 200}, {120, 120, 120}, {30, 30, 30}});
    const double centre = (size - 1) / 2.0;
    for (int f = 0; f < frames; ++f)
        b.Frame(0, 0, size, size, [&](int x, int y) {
            const double dx = x - centre, dy = y - centre, r = std::hypot(dx, dy);
            if (r < size * 0.2 || r > size * 0.48)
                return 0;
            const int spoke = static_cast<int>(std::floor((std::atan2(dy, dx) + M_PI) / (2 * M_PI) * frames)) % frames;
            const int age = (f - spoke + frames) % frames;
            return age == 0 ? 3 : age < 3 ? 2 : 1;
        }, 6, 1, transparent ? 0 : -1);
    b.Loop(0);
    return b.Bytes();
}

// A counter: digits change in a small box of a larger still picture.
inline std::string Counter(int width, int height, int frames)
{
    Builder b(Spread(16, 7));
    b.Frame(0, 0, width, height, [&](int x, int y) { return (x / 8 + y / 8) % 4 + ((x * y) % 11 == 0 ? 5 : 0); }, 100, 1);
    for (int f = 1; f < frames; ++f)
        b.Frame(0, 0, width, height, [&](int x, int y) {
            if (x >= width - 30 && x < width - 4 && y >= 4 && y < 20)
                return 8 + ((x / 5 + y / 4 + f) % 3);
            return (x / 8 + y / 8) % 4 + ((x * y) % 11 == 0 ? 5 : 0);
        }, 100, 1);
    return b.Bytes();
}

// A ball bouncing over an empty screen: small transparent frames that clear
// their rectangle after showing.
inline std::string BouncingBall(int width, int height, int frames)
{
    Builder b({{0, 0, 0}, {220, 30, 30}, {250, 160, 160}, {90, 10, 10}});
    b.SetScreen(width, height);
    for (int f = 0; f < frames; ++f) {
        const int left = (f * 9) % (width - 16);
        const int top = static_cast<int>((height - 16) * std::fabs(std::sin(f * 0.4)));
        b.Frame(left, top, 16, 16, [](int x, int y) {
            const double r = std::hypot(x - 7.5, y - 7.5);
            return r > 7.5 ? 0 : r < 3 ? 2 : r > 6 ? 3 : 1;
        }, 5, 2, 0);
    }
    b.Loop(0);
    return b.Bytes();
}

// A blinking cursor in a still text: shown by frames that restore the picture before them.
inline std::string BlinkingCursor(int width, int height)
{
    Builder b({{250, 250, 240}, {20, 20, 20}, {0, 0, 200}, {128, 128, 128}});
    b.Frame(0, 0, width, height, [](int x, int y) { return (y % 12 > 2 && y % 12 < 9 && x % 7 < 5) ? 1 : 0; }, 50, 1);
    for (int f = 0; f < 6; ++f)
        b.Frame(20 + f * 7, 14, 3, 9, [](int, int) { return 2; }, 40, 3);
    b.Loop(0);
    return b.Bytes();
}

// A still picture shown with pauses: some frames repeat the one before exactly.
inline std::string Pauses(int width, int height)
{
    Builder b(Spread(32, 3));
    auto scene = [&](int phase) {
        return [=](int x, int y) { return (x * 3 + y * 5 + phase * 7) % 31 < 20 ? (x / 10 + phase) % 8 : 8 + y % 4; };
    };
    const int phases[] = {0, 0, 0, 1, 1, 2, 2, 2, 2, 3};
    for (int phase : phases)
        b.Frame(0, 0, width, height, scene(phase), 20, 1);
    return b.Bytes();
}

// Pictures that have nothing in common, on local tables of their own.
inline std::string SlideShow(int width, int height, int slides, unsigned seed)
{
    Builder b;
    for (int s = 0; s < slides; ++s) {
        const TGIFPalette palette = Spread(64, seed + static_cast<unsigned>(s));
        b.Frame(0, 0, width, height, [&](int x, int y) {
            return static_cast<int>(32 + 20 * std::sin((x + s * 9) / 9.0) + 11 * std::cos((y - s * 5) / 7.0)) & 63;
        }, 200, 1, -1, palette);
    }
    b.Loop(0);
    return b.Bytes();
}

// A banner whose frames each carry the same palette as a local table.
inline std::string SamePalettes(int width, int height, int frames)
{
    const TGIFPalette palette = Spread(16, 11);
    Builder b;
    for (int f = 0; f < frames; ++f)
        b.Frame(0, 0, width, height, [&](int x, int y) { return ((x + f * 3) / 6 + y / 6) % 5 + (y > height / 2 ? 5 : 0); },
                12, 1, -1, palette);
    b.Loop(0);
    return b.Bytes();
}

// A photograph-like still: smooth shades of many colours with grain.
inline std::string Photo(int width, int height, bool interlaced, unsigned seed)
{
    TGIFPalette palette;
    for (int i = 0; i < 256; ++i)
        palette.push_back(TGIFColor{static_cast<std::uint8_t>(i), Byte(128 + 100 * std::sin(i / 30.0)),
                                    static_cast<std::uint8_t>(255 - i)});
    Builder b(palette);
    std::mt19937 random(seed);
    TGIFSubImage& frame = b.Frame(0, 0, width, height, [&](int x, int y) {
        return static_cast<int>(Byte(128 + 90 * std::sin(x / 23.0) * std::cos(y / 17.0) + random() % 6));
    }, 0, 0);
    frame.SetInterlaced(interlaced);
    b.Comment("Scanned by the corpus");
    return b.Bytes();
}

// Line art of a few colours on a table of 64.
inline std::string LineArt(int width, int height)
{
    Builder b(Spread(64, 5));
    b.Frame(0, 0, width, height, [](int x, int y) {
        return (x % 20 == 0 || y % 15 == 0) ? 3 : ((x - y) % 33 == 0 ? 17 : ((x + y) % 47 == 0 ? 40 : 0));
    }, 0, 0);
    return b.Bytes();
}

// Two photograph-like frames with 256 different colours each.
inline std::string TwoPalettes(int width, int height)
{
    Builder b;
    for (int f = 0; f < 2; ++f) {
        TGIFPalette palette;
        for (int i = 0; i < 256; ++i)
            palette.push_back(TGIFColor{static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(f * 100 + i / 3),
                                        static_cast<std::uint8_t>(i ^ (f * 85))});
        b.Frame(0, 0, width, height, [&](int x, int y) {
            return static_cast<int>(Byte(128 + 120 * std::sin((x + f * 20) / 19.0) * std::cos(y / 13.0)));
        }, 100, 1, -1, palette);
    }
    b.Loop(0);
    return b.Bytes();
}

// Spacer frames: a picture, then frames of one transparent pixel holding the time.
inline std::string Spacers(int width, int height)
{
    Builder b(Spread(8, 13));
    b.Frame(0, 0, width, height, [](int x, int y) { return (x / 5 + y / 3) % 7; }, 30, 1);
    for (int f = 0; f < 3; ++f) {
        b.Frame(0, 0, 1, 1, [](int, int) { return 7; }, 30, 1, 7);
        b.Frame(f * 4, 2, 6, 6, [f](int x, int y) { return (x + y + f) % 6; }, 30, 1);
    }
    b.Loop(0);
    return b.Bytes();
}

// A transparent sprite walking over a still picture, restoring what it covered.
inline std::string Walker(int width, int height, int frames)
{
    Builder b(Spread(24, 17));
    b.Frame(0, 0, width, height, [](int x, int y) { return (x / 6 + (y / 4) * 3) % 12; }, 20, 1);
    for (int f = 0; f < frames; ++f)
        b.Frame(4 + f * 5, height / 2 - 6, 12, 12, [f](int x, int y) {
            return std::hypot(x - 5.5, y - 5.5) > 5.5 ? 23 : 12 + (x + y + f) % 6;
        }, 12, 3, 23);
    b.Loop(0);
    return b.Bytes();
}

inline std::vector<File> Files()
{
    std::vector<File> files;
    auto add = [&](std::string name, std::string bytes) { files.push_back({std::move(name), std::move(bytes)}); };
    add("animator-three.gif", AnimatorColours(40, 30, {{255, 0, 0}, {0, 128, 0}, {0, 0, 255}}));
    add("animator-blink.gif", AnimatorColours(64, 20, {{250, 250, 250}, {10, 10, 10}, {250, 250, 250}, {10, 10, 10}}));
    add("animator-light.gif", Animator(30, 70, 4, 700, [](int f) -> Paint {
            return [f](int x, int y) {
                const int lamp = y / 23;
                const bool lit = std::hypot(x - 15, y % 23 - 11) < 9 && lamp == f % 3;
                return lit ? TGIFColor{static_cast<std::uint8_t>(lamp == 2 ? 0 : 255),
                                       static_cast<std::uint8_t>(lamp == 0 ? 0 : 200), 0}
                           : TGIFColor{40, 40, 40};
            };
        }));
    add("animator-gradient.gif", Animator(80, 40, 5, 150, [](int f) -> Paint {
            return [f](int x, int y) { return TGIFColor{Byte(x * 3 + f * 10), Byte(y * 5), Byte(200 - x)}; };
        }));
    add("animator-transparent.gif", Animator(48, 48, 6, 90, [](int f) -> Paint {
            return [f](int x, int y) {
                return std::hypot(x - 24 - f * 2, y - 24) < 10 ? TGIFColor{0, 90, 200} : TGIFColor{255, 0, 255};
            };
        }, RxGIF::ColorOf(TGIFColor{255, 0, 255})));
    add("sprite-320x200.gif", Sprite(320, 200, 12, 1));
    add("sprite-468x60.gif", Sprite(468, 60, 20, 2));
    add("sprite-160x120.gif", Sprite(160, 120, 30, 3));
    add("sprite-120x90.gif", Sprite(120, 90, 40, 4));
    add("banner-468x60.gif", Banner(468, 60, 24, 8, 21));
    add("banner-234x60.gif", Banner(234, 60, 16, 16, 22));
    add("banner-120x240.gif", Banner(120, 240, 10, 5, 23));
    add("spinner-32.gif", Spinner(32, 8, false));
    add("spinner-48-transparent.gif", Spinner(48, 12, true));
    add("spinner-16-transparent.gif", Spinner(16, 8, true));
    add("counter-120x40.gif", Counter(120, 40, 10));
    add("counter-200x60.gif", Counter(200, 60, 6));
    add("ball-200x100.gif", BouncingBall(200, 100, 24));
    add("ball-120x120.gif", BouncingBall(120, 120, 16));
    add("cursor-160x40.gif", BlinkingCursor(160, 40));
    add("walker-100x40.gif", Walker(100, 40, 14));
    add("pauses-100x80.gif", Pauses(100, 80));
    add("slides-160x120.gif", SlideShow(160, 120, 5, 31));
    add("same-palettes-100x50.gif", SamePalettes(100, 50, 8));
    add("two-palettes-120x90.gif", TwoPalettes(120, 90));
    add("spacers-40x30.gif", Spacers(40, 30));
    add("photo-200x150.gif", Photo(200, 150, false, 41));
    add("photo-interlaced-160x120.gif", Photo(160, 120, true, 42));
    add("lineart-200x150.gif", LineArt(200, 150));
    add("lineart-80x60.gif", LineArt(80, 60));
    return files;
}

} // namespace gifcorpus
