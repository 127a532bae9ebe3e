// Loading shared libraries: only the file named, never one found elsewhere.
// (Libraries that load are the plug-in tests' business.)
#include "platform/SharedLibrary.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

TEST(SharedLibraryTest, WhatIsNoLibraryAtThatPathFailsWithAReason)
{
    vx::test::TempDir dir;
    vx::test::writeFile(dir.file("text.so"), "not a library");
    std::filesystem::create_directories(dir.path() / "folder.so");
    // The C library is in the loader's search path, not in the current folder.
    ASSERT_FALSE(std::filesystem::exists("libc.so.6"));
    for (const std::string& path : {dir.file("text.so"), dir.file("missing.so"), dir.file("folder.so"),
                                   std::string("libc.so.6"), std::string()}) {
        std::string error;
        EXPECT_EQ(vx::SharedLibrary::Open(path, &error), nullptr) << path;
        EXPECT_FALSE(error.empty()) << path;
    }
}

} // namespace
