// Bounded random-input runs of the settings readers: seeded mutations of valid
// files must be either read or refused with the reader's error, and whatever
// is read must write back to a file that reads the same.
#include "platform/IniDocument.h"
#include "platform/RegFile.h"
#include "platform/RegStore.h"
#include "platform/Registry.h"
#include "tests/platform/RegistrySandbox.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace {

const std::string kRegSeed =
    "REGEDIT4\r\n\r\n"
    "[HKEY_CURRENT_USER\\Software\\Vellumix]\r\n"
    "@=\"default\"\r\n"
    "\"Name\"=\"say \\\"hi\\\" C:\\\\x \xE9\"\r\n"
    "\"Count\"=dword:0000002a\r\n"
    "\"Bin\"=hex:00,01,02,ff,\\\r\n  10,20\r\n"
    "\"Exp\"=hex(2):25,54,25,00\r\n"
    "\"Multi\"=hex(7):61,00,00,62,00,00\r\n"
    "\"Lines\"=hex(1):61,0d,0a,00\r\n\r\n"
    "[HKEY_CURRENT_USER\\Software\\Vellumix\\Sub]\r\n\r\n";

const std::string kIniSeed =
    "; comment\r\n[Section one]\r\nKey=Value\r\n  spaced = x \r\nquoted=\"q\"\r\n\r\n[Two]\nn=12\rflag=1\n";

const char* const kTokens[] = {"\\\r\n", "hex(", "):", "dword:", "\"", "\\\\", "\\\"", "[", "]", "=", "@",
                               ",", "\r", "\n", "\0", ";", "[HKEY_CURRENT_USER\\", "hex:ff,"};

std::string mutate(std::string s, std::mt19937& rng)
{
    auto pick = [&rng](size_t n) { return n == 0 ? size_t(0) : std::uniform_int_distribution<size_t>(0, n - 1)(rng); };
    int steps = 1 + static_cast<int>(pick(4));
    for (int i = 0; i < steps; ++i) {
        switch (pick(6)) {
        case 0: // flip a byte
            if (!s.empty())
                s[pick(s.size())] = static_cast<char>(pick(256));
            break;
        case 1: { // insert a syntax token
            std::string token = kTokens[pick(std::size(kTokens))];
            if (token.empty())
                token = std::string(1, '\0');
            s.insert(pick(s.size() + 1), token);
            break;
        }
        case 2: // delete a range
            if (!s.empty()) {
                size_t at = pick(s.size());
                s.erase(at, pick(16) + 1);
            }
            break;
        case 3: // truncate
            s.resize(pick(s.size() + 1));
            break;
        case 4: { // duplicate a chunk elsewhere
            size_t at = pick(s.size() + 1);
            std::string chunk = s.substr(at, pick(40) + 1);
            s.insert(pick(s.size() + 1), chunk);
            break;
        }
        default: // random bytes
            for (size_t n = pick(8) + 1; n > 0; --n)
                s.insert(pick(s.size() + 1), 1, static_cast<char>(pick(256)));
        }
    }
    return s;
}

} // namespace

TEST(RandomInput, RegFileReaderReadsOrRefusesAndRoundTrips)
{
    std::mt19937 rng(20261207);
    int accepted = 0;
    for (int i = 0; i < 4000; ++i) {
        std::string input = mutate(kRegSeed, rng);
        std::unique_ptr<vx::reg::Key> tree;
        try {
            tree = vx::reg::ParseRegFile(input, "HKEY_CURRENT_USER");
        } catch (const vx::reg::ERegFileError&) {
            continue;
        }
        ++accepted;
        std::string written = vx::reg::FormatRegFile(*tree, "HKEY_CURRENT_USER");
        std::unique_ptr<vx::reg::Key> again;
        ASSERT_NO_THROW(again = vx::reg::ParseRegFile(written, "HKEY_CURRENT_USER")) << "written from:\n" << input;
        ASSERT_EQ(vx::reg::FormatRegFile(*again, "HKEY_CURRENT_USER"), written) << "written from:\n" << input;
    }
    // Both outcomes must have been exercised for the run to mean anything.
    EXPECT_GT(accepted, 100);
    EXPECT_LT(accepted, 3900);
}

TEST(RandomInput, IniReaderReadsAnythingAndRoundTrips)
{
    std::mt19937 rng(7);
    for (int i = 0; i < 4000; ++i) {
        std::string input = mutate(kIniSeed, rng);
        vx::ini::Document doc;
        doc.Parse(input);
        std::string written = doc.Format();
        vx::ini::Document again;
        again.Parse(written);
        ASSERT_EQ(again.Format(), written) << "written from:\n" << input;
        TStringList sections, keys, keysAgain;
        doc.SectionNames(sections);
        for (int s = 0; s < sections.Count(); ++s) {
            doc.KeyNames(sections[s], keys);
            again.KeyNames(sections[s], keysAgain);
            ASSERT_EQ(keys.Text(), keysAgain.Text());
            for (int k = 0; k < keys.Count(); ++k)
                ASSERT_EQ(*doc.Find(sections[s], keys[k]), *again.Find(sections[s], keys[k]));
        }
    }
}

TEST(RandomInput, TheStoreSetsEveryBadFileAsideWithAReport)
{
    vx::test::RegistrySandbox sandbox;
    std::vector<std::string> reports;
    vx::reg::SetDamageReporter([&](const TMessage& message) { reports.push_back(message.English()); });
    std::mt19937 rng(99);
    int reported = 0;
    for (int i = 0; i < 150; ++i) {
        std::string input = mutate(kRegSeed, rng);
        vx::test::writeFile(sandbox.File(), input);
        TRegistry::ResetStoreForTests();
        TRegistry reg;
        reports.clear();
        ASSERT_NO_THROW(reg.KeyExists("Software"));
        const bool ok = reports.empty();
        if (!ok) {
            ++reported;
            ASSERT_EQ(reports.size(), 1u);
            ASSERT_NE(reports[0].find(sandbox.File()), std::string::npos);
        }
        // Either the file is still there, read, or it was set aside; never lost.
        ASSERT_EQ(std::filesystem::exists(sandbox.File()), ok);
        ASSERT_NO_THROW(reg.KeyExists("Software"));
        ASSERT_EQ(reports.size(), ok ? 0u : 1u) << "reported once";
    }
    vx::reg::SetDamageReporter({});
    size_t aside = 0;
    for (const auto& entry : std::filesystem::directory_iterator(sandbox.Dir().path()))
        aside += entry.path().filename().string().find(".corrupt-") != std::string::npos;
    EXPECT_EQ(aside, static_cast<size_t>(reported));
    EXPECT_GT(reported, 0);
}
