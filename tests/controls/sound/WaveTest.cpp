#include "controls/sound/WWave32.h"
#include "controls/sound/WaveOutput.h"

#include "platform/qt/Dialogs.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <QLibraryInfo>
#include <QProcess>
#include <QResource>

#include <cstdint>
#include <random>
#include <vector>

using vx::test::TempDir;
using vx::test::writeFile;

namespace {

void Put32(std::string& s, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        s += static_cast<char>((v >> (8 * i)) & 0xFF);
}

void Put16(std::string& s, std::uint16_t v)
{
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>(v >> 8);
}

// A mono 8 kHz 16-bit PCM image with dataBytes bytes of silence.
std::string MakeWave(std::uint32_t dataBytes = 1600, std::uint16_t tag = 1, std::uint16_t bits = 16)
{
    std::string fmt;
    Put16(fmt, tag);
    Put16(fmt, 1);
    Put32(fmt, 8000);
    Put32(fmt, 8000 * bits / 8);
    Put16(fmt, bits / 8);
    Put16(fmt, bits);
    std::string body = "WAVEfmt ";
    Put32(body, static_cast<std::uint32_t>(fmt.size()));
    body += fmt + "data";
    Put32(body, dataBytes);
    body += std::string(dataBytes, '\0');
    std::string riff = "RIFF";
    Put32(riff, static_cast<std::uint32_t>(body.size()));
    return riff + body;
}

struct FakeOutput : vx::TWaveOutput {
    bool device = true;
    bool playing = false;
    bool startResult = true;
    std::vector<QByteArray> started;
    std::vector<bool> loops;
    int waits = 0;

    bool HasDevice() const override { return device; }
    bool Playing() const override { return playing; }
    bool Start(const QByteArray& wav, const vx::TWaveFormat&, bool loop) override
    {
        started.push_back(wav);
        loops.push_back(loop);
        playing = startResult;
        return startResult;
    }
    void WaitFinished() override
    {
        ++waits;
        playing = false;
    }
    void Stop() override { playing = false; }
};

class WaveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto owned = std::make_unique<FakeOutput>();
        out = owned.get();
        vx::SetWaveOutput(std::move(owned));
        vx::dialogs::SetAnswerer([this](const vx::dialogs::Request& r) {
            messages.push_back(r);
            vx::dialogs::Answer answer;
            answer.result = mrOk;
            return answer;
        });
    }
    void TearDown() override
    {
        vx::dialogs::SetAnswerer({});
        vx::SetWaveOutput(nullptr);
    }

    FakeOutput* out = nullptr;
    std::vector<vx::dialogs::Request> messages;
    TempDir dir;
};

} // namespace

TEST(ParseWave, AcceptsPcmAndFloatAndMeasuresLength)
{
    vx::TWaveFormat format;
    const std::string wav = MakeWave(16000);
    ASSERT_TRUE(vx::ParseWave(QByteArray::fromStdString(wav), format));
    EXPECT_EQ(format.channels, 1);
    EXPECT_EQ(format.sampleRate, 8000);
    EXPECT_EQ(format.bitsPerSample, 16);
    EXPECT_EQ(format.DurationMs(), 1000);
    EXPECT_TRUE(vx::ParseWave(QByteArray::fromStdString(MakeWave(8, 3, 32)), format));
}

TEST(ParseWave, RejectsMalformedImages)
{
    vx::TWaveFormat format;
    const std::string good = MakeWave(100);
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"empty", ""},
        {"not RIFF", "RIFX" + good.substr(4)},
        {"not WAVE", good.substr(0, 8) + "AVI " + good.substr(12)},
        {"data chunk runs past the end", good.substr(0, good.size() - 1)},
        {"compressed format", MakeWave(100, 2)},
        {"odd sample size", MakeWave(100, 1, 12)},
        {"no data chunk", good.substr(0, 36)},
    };
    for (const auto& [what, bytes] : rows)
        EXPECT_FALSE(vx::ParseWave(QByteArray::fromStdString(bytes), format)) << what;
    std::string huge = good;
    huge[40] = huge[41] = huge[42] = huge[43] = '\xFF';
    EXPECT_FALSE(vx::ParseWave(QByteArray::fromStdString(huge), format)) << "chunk size near 4 GiB";
}

// Random damage to a good image: the reader stays inside the bytes (the
// sanitizer would tell) and anything it accepts is a sound it can measure.
TEST(ParseWave, SurvivesRandomDamage)
{
    std::mt19937 random(1234);
    const std::string good = MakeWave(64);
    for (int round = 0; round < 3000; ++round) {
        std::string bytes = good;
        const int flips = 1 + static_cast<int>(random() % 6);
        for (int i = 0; i < flips; ++i)
            bytes[random() % bytes.size()] = static_cast<char>(random());
        if (random() % 3 == 0)
            bytes.resize(random() % bytes.size());
        vx::TWaveFormat format;
        if (vx::ParseWave(QByteArray::fromStdString(bytes), format)) {
            EXPECT_LE(format.dataBytes, static_cast<long long>(bytes.size()));
            EXPECT_GE(format.DurationMs(), 0);
        }
    }
}

TEST_F(WaveTest, DefaultsAndPlayingAFile)
{
    TWave wave;
    EXPECT_EQ(wave.WhereWave(), wwInFile);
    EXPECT_EQ(wave.ResourceType(), "WAVE");
    EXPECT_EQ(wave.Options(), unsigned(woSync | woNoDefault | woNoStop));
    EXPECT_FALSE(wave.Play()) << "nothing plays for an empty name";

    const std::string path = dir.file("ding.wav");
    writeFile(path, MakeWave());
    wave.SetWaveName(path);
    EXPECT_TRUE(wave.Play());
    ASSERT_EQ(out->started.size(), 1u);
    EXPECT_EQ(out->started[0].toStdString(), MakeWave());
    EXPECT_EQ(out->waits, 1) << "woSync waits for the end";
    EXPECT_FALSE(out->loops[0]);
    EXPECT_TRUE(messages.empty());
}

TEST_F(WaveTest, FailsQuietlyWithoutDeviceOrSound)
{
    TWave wave;
    const std::string path = dir.file("ding.wav");
    writeFile(path, MakeWave());
    wave.SetWaveName(path);
    out->device = false;
    EXPECT_FALSE(wave.Play());
    out->device = true;
    wave.SetWaveName(dir.file("missing.wav"));
    EXPECT_FALSE(wave.Play());
    writeFile(path, "RIFF junk");
    wave.SetWaveName(path);
    EXPECT_FALSE(wave.Play());
    out->startResult = false;
    writeFile(path, MakeWave());
    EXPECT_FALSE(wave.Play()) << "an output that cannot start reports failure";
    EXPECT_EQ(out->started.size(), 1u);
    EXPECT_TRUE(messages.empty());
}

TEST_F(WaveTest, AsyncLoopAndNoStop)
{
    TWave wave;
    const std::string path = dir.file("ding.wav");
    writeFile(path, MakeWave());
    wave.SetWaveName(path);
    wave.SetOptions(woLoop | woNoStop);
    EXPECT_TRUE(wave.Play());
    EXPECT_EQ(out->waits, 0) << "asynchronous play returns at once";
    EXPECT_TRUE(out->loops.back());
    EXPECT_FALSE(wave.Play()) << "woNoStop leaves the playing sound alone";
    EXPECT_EQ(out->started.size(), 1u);

    wave.SetOptions(0);
    EXPECT_TRUE(wave.Play()) << "without woNoStop the new sound replaces it";
    EXPECT_EQ(out->started.size(), 2u);
    wave.SetOptions(woSync | woLoop);
    EXPECT_TRUE(wave.Play());
    EXPECT_FALSE(out->loops.back()) << "a synchronous sound never loops";
}

TEST_F(WaveTest, ResourcesAndTheMissingResourceMessage)
{
    const std::string wav = MakeWave(320);
    writeFile(dir.file("chime.wav"), wav);
    writeFile(dir.file("res.qrc"),
              "<RCC><qresource prefix=\"/WAVE\"><file alias=\"CHIME\">chime.wav</file></qresource></RCC>");
    const QString rcc = QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath) + "/rcc";
    const QString qrc = QString::fromStdString(dir.file("res.qrc"));
    const QString bin = QString::fromStdString(dir.file("res.rcc"));
    ASSERT_EQ(QProcess::execute(rcc, {"--binary", qrc, "-o", bin}), 0);
    ASSERT_TRUE(QResource::registerResource(bin));

    TWave wave;
    wave.SetWhereWave(wwInExe);
    wave.SetWaveName("chime");
    EXPECT_TRUE(wave.Play()) << "resource names match in capitals too";
    ASSERT_EQ(out->started.size(), 1u);
    EXPECT_EQ(out->started[0].toStdString(), wav);
    EXPECT_TRUE(messages.empty());

    wave.SetWaveName("GONG");
    EXPECT_FALSE(wave.Play());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "WAVE resource not found!");
    EXPECT_EQ(messages[0].caption, "Error");
    EXPECT_EQ(messages[0].type, mtError);

    wave.SetResourceType("SOUND");
    wave.SetWaveName("CHIME");
    EXPECT_FALSE(wave.Play()) << "the lookup uses ResourceType";
    EXPECT_EQ(messages.size(), 2u);
    QResource::unregisterResource(bin);
}

TEST(WaveSystemOutput, NoDeviceMeansNoPlayAndNoHang)
{
    vx::SetWaveOutput(nullptr);
    TWave wave;
    TempDir dir;
    writeFile(dir.file("a.wav"), MakeWave());
    wave.SetWaveName(dir.file("a.wav"));
    // Whatever the machine has, Play returns; without a device it reports False.
    const bool played = wave.Play();
    if (!vx::WaveOutput().HasDevice()) {
        EXPECT_FALSE(played);
    }
    vx::WaveOutput().Stop();
}
