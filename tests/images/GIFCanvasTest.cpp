// Whether the background shows at some time of an animation, as the colour
// tables must then name its colour: found without drawing the frames that
// cannot bring it back.
#include "tests/images/GIFTestSupport.h"

#include "images/GIFCanvas.h"
#include "images/GIFImage.h"

#include <gtest/gtest.h>

using namespace giftest;

namespace {

struct TFrameSpec {
    int left, top, width, height;
    int disposal;
    // Pixels at these offsets hold the transparent index 0; the rest index 1.
    std::vector<int> transparentAt = {};
};

struct TBackgroundCase {
    const char* what;
    int screenWidth, screenHeight;
    std::vector<TFrameSpec> frames;
    bool shows;
};

const TBackgroundCase kCases[] = {
    {"one opaque frame over the screen", 4, 4, {{0, 0, 4, 4, 1}}, false},
    {"a frame smaller than the screen", 6, 4, {{0, 0, 4, 4, 1}}, true},
    {"a transparent pixel in the only frame", 4, 4, {{0, 0, 4, 4, 1, {5}}}, true},
    {"a transparent pixel over an opaque frame", 4, 4, {{0, 0, 4, 4, 1}, {0, 0, 4, 4, 1, {5}}}, false},
    {"the background restored, then covered whole", 4, 4, {{0, 0, 4, 4, 2}, {0, 0, 4, 4, 1}}, false},
    {"the background restored, then covered in part", 4, 4, {{0, 0, 4, 4, 2}, {1, 1, 2, 2, 1}}, true},
    {"a corner restored after frames that changed nothing of it", 4, 4,
     {{0, 0, 4, 4, 1}, {0, 0, 4, 4, 1}, {0, 0, 2, 2, 2}, {2, 2, 2, 2, 1}}, true},
    {"the picture before restored over a drawn screen", 4, 4,
     {{0, 0, 4, 4, 0}, {0, 0, 2, 2, 3}, {3, 3, 1, 1, 1}}, false},
    {"the cleared screen restored by a frame that covered it", 4, 4,
     {{0, 0, 4, 4, 2}, {0, 0, 4, 4, 3}, {3, 3, 1, 1, 1}}, true},
    {"frames too far apart to walk", 65535, 65535, {{0, 0, 1, 1, 1}, {65534, 65534, 1, 1, 1}}, true},
};

} // namespace

TEST(GIFCanvas, BackgroundShowsWhereNoFrameHasDrawnOrARestoredOneIsLeftOpen)
{
    for (const TBackgroundCase& c : kCases) {
        TGIFImage image;
        for (const TGIFColor& colour : Colours(2))
            image.Header().ColorMap().Add(colour);
        for (const TFrameSpec& f : c.frames) {
            const int transparent = f.transparentAt.empty() ? -1 : 0;
            TGIFSubImage& frame = AddControlledFrame(image, f.left, f.top, f.width, f.height, 10, f.disposal, transparent);
            std::fill(frame.MutableData().begin(), frame.MutableData().end(), 1);
            for (int at : f.transparentAt)
                frame.MutableData()[static_cast<size_t>(at)] = 0;
        }
        image.Header().LogicalScreenWidth = static_cast<std::uint16_t>(c.screenWidth);
        image.Header().LogicalScreenHeight = static_cast<std::uint16_t>(c.screenHeight);
        EXPECT_EQ(BackgroundShows(image), c.shows) << c.what;
    }
}
