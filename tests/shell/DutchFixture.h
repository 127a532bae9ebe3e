// A started program whose language folder holds the Dutch language the build
// wrote; the built-in language comes back at the end of each test.
#pragma once

#include "tests/shell/ShellFixture.h"

#include "localisation/qt/KMLang.h"
#include "platform/ProgramPaths.h"

#include <filesystem>

namespace vx::test {

class DutchFixture : public ShellTest {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(home.File("languages"));
        std::filesystem::copy_file(VX_DUTCH_LNG, home.File("languages/Nederlands.lng"));
        TKAppLanguage::Instance().SetLangDir(ProgramPath("languages"));
    }
    void TearDown() override
    {
        if (!TKAppLanguage::Instance().IsNativeCurrent())
            TKAppLanguage::Instance().SetLanguage("Native");
        TKAppLanguage::Instance().SetLangDir("");
    }
};

} // namespace vx::test
