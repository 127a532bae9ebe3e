// The style-sheet editor link: where it looks for the hook library, that a
// failed load is not retried, which lite versions take part, and that no text
// crosses the block buffer's bounds either way.
#include "shell/TopStyleHook.h"

#include "platform/Registry.h"
#include "tests/platform/RegistrySandbox.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

using vx::shell::TTopStyleHook;
using vx::shell::TTopStyleLibrary;

namespace {

// A hook library that answers what the test sets and remembers what it got.
struct TFakeLibrary : TTopStyleLibrary {
    int Installed = 1;
    int VersionResult = 1;
    std::string Version = "2.5.0.0";
    int EditResult = 1;
    // Written into the block buffer; FillWithoutZero writes the whole buffer instead.
    std::string Edited = "edited";
    bool FillWithoutZero = false;
    int SheetResult = 1;

    std::string BlockSeen;
    int BlockSizeSeen = 0;
    void* OwnerSeen = nullptr;
    std::string ApplicationSeen;
    std::vector<std::string> SheetSeen;
    int Calls = 0;

    int IsTSLiteInstalled() override { return ++Calls, Installed; }
    int GetTSLiteVersion(char* buffer, int* size) override
    {
        ++Calls;
        std::memcpy(buffer, Version.data(), std::min<std::size_t>(Version.size(), static_cast<std::size_t>(*size)));
        return VersionResult;
    }
    int EditStyleBlock(char* buffer, int* size, void* owner, const char* application) override
    {
        ++Calls;
        BlockSeen = buffer;
        BlockSizeSeen = *size;
        OwnerSeen = owner;
        ApplicationSeen = application;
        if (FillWithoutZero)
            std::memset(buffer, 'x', static_cast<std::size_t>(*size));
        else
            std::memcpy(buffer, Edited.c_str(), Edited.size() + 1);
        return EditResult;
    }
    int EditStyleSheet(const char* fileName, const char* text) override
    {
        ++Calls;
        SheetSeen = {fileName, text};
        return SheetResult;
    }
};

// The hook over one fake library, counting the loads and their paths.
class TopStyleHookTest : public ::testing::Test {
protected:
    TTopStyleHook MakeHook(bool loads = true)
    {
        return TTopStyleHook([this, loads](const std::string& path) -> std::unique_ptr<TTopStyleLibrary> {
            paths.push_back(path);
            if (!loads)
                return nullptr;
            auto made = std::make_unique<TFakeLibrary>(settings);
            library = made.get();
            return made;
        });
    }
    static void SetAppPath(const std::string& value)
    {
        TRegistry reg;
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        reg.OpenKey(TTopStyleHook::AppPathsKey, true);
        reg.WriteString("", value);
        reg.CloseKey();
    }

    vx::test::RegistrySandbox registry;
    vx::test::TempDir dir{"vellumix-hook"};
    // What the next library made answers.
    TFakeLibrary settings;
    TFakeLibrary* library = nullptr;
    std::vector<std::string> paths;
};

} // namespace

TEST_F(TopStyleHookTest, TheLibraryIsFoundThroughAppPathsOnlyWhenItNamesAFile)
{
    const std::string existing = dir.file("ts hook.so");
    vx::test::writeFile(existing, "library");
    struct Row {
        const char* Case;
        bool Write;
        std::string Value;
        std::string Expected;
    };
    const Row rows[] = {
        {"no App Paths entry", false, "", "tshook.dll"},
        {"an existing file, blanks around it", true, "  " + existing + " ", existing},
        {"a missing file", true, dir.file("gone.so"), "tshook.dll"},
        {"an empty value", true, "", "tshook.dll"},
    };
    for (const Row& row : rows) {
        if (row.Write)
            SetAppPath(row.Value);
        paths.clear();
        TTopStyleHook hook = MakeHook();
        EXPECT_TRUE(hook.LoadTopStyleHook()) << row.Case;
        ASSERT_EQ(paths.size(), 1u) << row.Case;
        EXPECT_EQ(paths[0], row.Expected) << row.Case;
    }
}

TEST_F(TopStyleHookTest, AFailedLoadIsNotTriedAgainUntilUnloaded)
{
    TTopStyleHook hook = MakeHook(false);
    std::string text = "body { color: red }";
    EXPECT_FALSE(hook.Register("Vellumix"));
    EXPECT_FALSE(hook.LoadTopStyleHook());
    EXPECT_FALSE(hook.EditStyleBlock(text, nullptr));
    EXPECT_FALSE(hook.EditStyleSheet("a.css", ""));
    EXPECT_EQ(paths.size(), 1u);
    EXPECT_EQ(text, "body { color: red }");
    EXPECT_FALSE(hook.Registered());
    hook.Unload();
    EXPECT_FALSE(hook.LoadTopStyleHook());
    EXPECT_EQ(paths.size(), 2u);
}

TEST_F(TopStyleHookTest, ALoadedLibraryIsLoadedOnce)
{
    TTopStyleHook hook = MakeHook();
    EXPECT_TRUE(hook.LoadTopStyleHook());
    EXPECT_TRUE(hook.Register("Vellumix"));
    EXPECT_TRUE(hook.EditStyleSheet("a.css", ""));
    EXPECT_EQ(paths.size(), 1u);
}

TEST_F(TopStyleHookTest, OnlyLiteVersionsPastTheEarlyOnesRegister)
{
    struct Row {
        int Installed;
        int VersionResult;
        std::string Version;
        bool Registers;
    };
    const Row rows[] = {
        {1, 1, "2.0.0.1", true},
        {1, 1, "1.5.0.1", true},
        {1, 1, "10.0", true},
        {1, 1, "1.5.0.0", false},
        {1, 1, "1.0", false},
        {1, 1, "1.0.3.7", false},
        {1, 1, "", false},
        {1, 0, "2.0.0.1", false},                // the call failed: no version
        {0, 1, "2.0.0.1", false},                // not installed
        {7, 1, "3.0", true},                     // any non-zero is installed
        {1, 1, std::string(20, '9'), true},      // fills the buffer, no zero
        {1, 1, "1.0" + std::string(30, 'x'), false},
    };
    for (const Row& row : rows) {
        settings.Installed = row.Installed;
        settings.VersionResult = row.VersionResult;
        settings.Version = row.Version;
        TTopStyleHook hook = MakeHook();
        EXPECT_EQ(hook.Register("Vellumix"), row.Registers) << '"' << row.Version << '"';
        EXPECT_EQ(hook.Registered(), row.Registers) << '"' << row.Version << '"';
        EXPECT_EQ(hook.ApplicationName(), row.Registers ? "Vellumix" : "") << '"' << row.Version << '"';
    }
}

TEST_F(TopStyleHookTest, AStyleBlockTravelsInTheBoundedBufferBothWays)
{
    TTopStyleHook hook = MakeHook();
    ASSERT_TRUE(hook.Register("Vellumix"));
    int owner = 0;
    std::string text = "p { margin: 0 }";
    EXPECT_TRUE(hook.EditStyleBlock(text, &owner));
    EXPECT_EQ(library->BlockSeen, "p { margin: 0 }");
    EXPECT_EQ(library->BlockSizeSeen, 65536);
    EXPECT_EQ(library->OwnerSeen, &owner);
    EXPECT_EQ(library->ApplicationSeen, "Vellumix");
    EXPECT_EQ(text, "edited");

    library->EditResult = 0;
    library->Edited = "ignored";
    text = "kept";
    EXPECT_FALSE(hook.EditStyleBlock(text, nullptr));
    EXPECT_EQ(text, "kept");

    library->EditResult = 1;
    library->FillWithoutZero = true;
    EXPECT_TRUE(hook.EditStyleBlock(text, nullptr));
    EXPECT_EQ(text, std::string(TTopStyleHook::BlockBufferSize, 'x')) << "read up to the buffer's end, no further";
}

TEST_F(TopStyleHookTest, ATextThatDoesNotFitTheBufferIsRefused)
{
    TTopStyleHook hook = MakeHook();
    ASSERT_TRUE(hook.LoadTopStyleHook());
    std::string fits(TTopStyleHook::BlockBufferSize - 1, 'a');
    EXPECT_TRUE(hook.EditStyleBlock(fits, nullptr));
    EXPECT_EQ(library->BlockSeen.size(), TTopStyleHook::BlockBufferSize - 1);

    const int calls = library->Calls;
    const std::string tooLong(TTopStyleHook::BlockBufferSize, 'b');
    std::string text = tooLong;
    EXPECT_FALSE(hook.EditStyleBlock(text, nullptr));
    EXPECT_EQ(text, tooLong);
    EXPECT_EQ(library->Calls, calls) << "the library never sees it";
}

TEST_F(TopStyleHookTest, AStyleSheetGoesWithTheCallersTextAndTheResultComesBack)
{
    TTopStyleHook hook = MakeHook();
    EXPECT_TRUE(hook.EditStyleSheet("c:\\site\\main.css", ""));
    EXPECT_EQ(library->SheetSeen, (std::vector<std::string>{"c:\\site\\main.css", ""}));
    library->SheetResult = 0;
    EXPECT_FALSE(hook.EditStyleSheet("main.css", "h1"));
    EXPECT_EQ(library->SheetSeen, (std::vector<std::string>{"main.css", "h1"}));
}

TEST_F(TopStyleHookTest, TheDynamicLoaderFindsNoHookLibraryHere)
{
    TTopStyleHook missing;
    EXPECT_FALSE(missing.Register("Vellumix"));
    EXPECT_FALSE(missing.LoadTopStyleHook());

    // A file that is no library, named by App Paths, fails to load too.
    const std::string notALibrary = dir.file("tshook.dll");
    vx::test::writeFile(notALibrary, "MZ not an ELF file");
    SetAppPath(notALibrary);
    TTopStyleHook named;
    EXPECT_FALSE(named.LoadTopStyleHook());
    EXPECT_EQ(vx::shell::LoadTopStyleLibrary(notALibrary), nullptr);
}

TEST_F(TopStyleHookTest, AHookLibraryNamedByAppPathsIsLoadedAndCalled)
{
    SetAppPath(VX_TSHOOK_OLD_LIBRARY);
    TTopStyleHook hook;
    ASSERT_TRUE(hook.LoadTopStyleHook());
    EXPECT_TRUE(hook.Register("Vellumix"));
    std::string text = "h1 { color: red }";
    EXPECT_TRUE(hook.EditStyleBlock(text, nullptr));
    EXPECT_EQ(text, "H1 { COLOR: RED }");
    EXPECT_FALSE(hook.EditStyleSheet("main.css", "")) << "an entry the library lacks answers 0";
    hook.Unload();
    EXPECT_FALSE(hook.Registered());
}

TEST(StyleElementBody, DropsTheFirstOpeningAndClosingTagsInAnyCase)
{
    using vx::shell::StyleElementBody;
    EXPECT_EQ(StyleElementBody("<style>\r\nh1 {}\r\n</style>"), "\r\nh1 {}\r\n");
    EXPECT_EQ(StyleElementBody("<STYLE>p {}</Style> <style>b {}</style>"), "p {} <style>b {}</style>");
    EXPECT_EQ(StyleElementBody("p {}</style>"), "p {}") << "no opening tag";
    EXPECT_EQ(StyleElementBody("<style type=\"text/css\">p {}</style>"), "<style type=\"text/css\">p {}")
        << "only the bare opening tag goes";
    EXPECT_EQ(StyleElementBody("<style>p {}"), std::nullopt) << "no closing tag";
    EXPECT_EQ(StyleElementBody(""), std::nullopt);
}
