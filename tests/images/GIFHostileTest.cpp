// Damaged and hostile GIF input: errors or warnings, never a crash, a hang or a read past the data.
#include "tests/images/GIFTestSupport.h"

#include "images/GIFGraphicControl.h"
#include "images/GIFImage.h"
#include "images/GIFStream.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <random>

using namespace giftest;

namespace {

// Loads the bytes from a buffer of exactly their size (the sanitizer catches any
// read past it); a successful load is written again, and when asked optimised
// and written. Only GIFException may escape.
void Survive(const std::string& bytes, const std::string& what, bool optimize = true)
{
    TGIFImage image;
    image.OnWarning = [](TGIFItem*, TGIFSeverity, const std::string&) {};
    try {
        LoadFromString(image, bytes);
        SaveToString(image);
        if (optimize) {
            image.Optimize(ooAll, 0, 0, 8);
            SaveToString(image);
        }
    } catch (const GIFException&) {
    } catch (const std::exception& e) {
        ADD_FAILURE() << what << ": unexpected " << typeid(e).name() << " " << e.what();
    }
}

// Frames made by our own writer, so the corpus exists even without outside tools.
std::vector<std::string> OwnCorpus()
{
    std::vector<std::string> corpus;
    for (int compression : {0, 1})
        for (bool interlaced : {false, true}) {
            TGIFImage image;
            image.Compression = static_cast<std::uint8_t>(compression);
            for (int i = 0; i < 16; ++i)
                image.Header().ColorMap().Add(TGIFColor{static_cast<std::uint8_t>(i * 16), 0, 0});
            for (int f = 0; f < 2; ++f) {
                TGIFSubImage& frame = image.Add(std::make_unique<TGIFSubImage>(&image));
                frame.SetBounds(f, f, 23, 9);
                frame.SetInterlaced(interlaced);
                for (size_t i = 0; i < frame.Data().size(); ++i)
                    frame.MutableData()[i] = static_cast<std::uint8_t>((i * i / 7 + f) % 16);
            }
            corpus.push_back(SaveToString(image));
        }
    return corpus;
}

std::string Put16(int v)
{
    return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
}

} // namespace

TEST(GIFHostile, HugeDimensionsAreRefusedBeforeAllocation)
{
    BitPacker codes;
    codes.Put(4, 3);
    codes.Put(5, 3);
    const std::string data = codes.ImageData(2);
    for (auto [w, h] : {std::pair{65535, 65535}, {40000, 1}, {1, 40000}, {32768, 32768}, {20000, 20000}}) {
        std::string gif = MakeGif(1, 1, data);
        gif.replace(13 + 12 + 5, 4, Put16(w) + Put16(h));
        TGIFImage image;
        try {
            LoadFromString(image, gif);
            ADD_FAILURE() << w << "x" << h << " was accepted";
        } catch (const GIFException& e) {
            EXPECT_STREQ(e.what(), "Invalid image dimensions");
        }
    }
    // A large frame is fine when its data could fill it.
    std::string gif = MakeGif(1, 1, data);
    gif.replace(13 + 12 + 5, 4, Put16(1000) + Put16(1000));
    TGIFImage image;
    LoadFromString(image, gif);
    EXPECT_EQ(image.Images().SubImage(0).Data().size(), 1000000u);
}

TEST(GIFHostile, FramesFarApartAreOptimisedWithoutAScreenSizedCanvas)
{
    // Two pixels at opposite corners of a 65535 x 65535 screen: composing them
    // would take 16 GB; the frames are left as they are instead.
    TGIFImage image;
    for (const TGIFColor& c : Colours(2))
        image.Header().ColorMap().Add(c);
    for (int corner : {0, 65534}) {
        TGIFSubImage& frame = AddControlledFrame(image, corner, corner, 1, 1, 10, 1);
        frame.MutableData() = {1};
    }
    const Picture before = Describe(image);
    image.Optimize(ooAll, 0, 0, 8);
    const Picture after = DescribeWithGiflib(SaveToString(image));
    ASSERT_EQ(after.frames.size(), 2u);
    for (size_t f = 0; f < 2; ++f) {
        EXPECT_EQ(after.frames[f].left, before.frames[f].left);
        EXPECT_EQ(after.frames[f].pixels.size(), 1u);
        EXPECT_EQ(after.frames[f].palette[after.frames[f].pixels[0]], before.frames[f].palette[1]);
    }
}

TEST(GIFHostile, EveryTruncationLoadsOrFailsCleanly)
{
    for (const std::string& gif : OwnCorpus())
        for (size_t n = 0; n < gif.size(); ++n)
            Survive(gif.substr(0, n), "truncated at " + std::to_string(n));
}

TEST(GIFHostile, SeededMutationFuzzOfRealFiles)
{
    std::vector<std::string> corpus = OwnCorpus();
    vx::test::TempDir dir;
    for (ToolFile& file : MakeToolCorpus(dir.path().string()))
        corpus.push_back(std::move(file.bytes));
    std::mt19937 random(20261207);
    constexpr int kRounds = 4000;
    for (int round = 0; round < kRounds; ++round) {
        std::string bytes = corpus[random() % corpus.size()];
        const int edits = 1 + static_cast<int>(random() % 8);
        for (int e = 0; e < edits && !bytes.empty(); ++e) {
            const size_t at = random() % bytes.size();
            switch (random() % 5) {
            case 0: bytes[at] = static_cast<char>(random()); break;
            case 1: bytes[at] = static_cast<char>(bytes[at] ^ (1 << (random() % 8))); break;
            case 2: bytes.erase(at, 1 + random() % 16); break;
            case 3: bytes.insert(at, std::string(1 + random() % 4, static_cast<char>(random()))); break;
            default: bytes.resize(at); break;
            }
        }
        // The optimiser takes longer than reading: it runs on every tenth file.
        Survive(bytes, "round " + std::to_string(round), round % 10 == 0);
    }
}
