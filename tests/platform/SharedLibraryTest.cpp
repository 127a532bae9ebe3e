// Loading shared libraries: by path only the file named, never one found
// elsewhere; by bare name only from the loader's search path.
// (Libraries that load by path are the plug-in tests' business.)
#include "platform/SharedLibrary.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
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

TEST(SharedLibraryTest, ABareNameIsLookedUpOnlyInTheLoadersSearchPath)
{
    std::string error;
    const std::unique_ptr<vx::SharedLibrary> c = vx::SharedLibrary::Find("libc.so.6", &error);
    ASSERT_NE(c, nullptr) << error;
    EXPECT_NE(c->Symbol("strlen"), nullptr);
    EXPECT_EQ(c->Symbol("NoSuchSymbolHere"), nullptr);

    // A library in the current folder is not on the search path.
    vx::test::TempDir dir;
    vx::test::writeFile(dir.file("text.so"), "not a library");
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    for (const std::string& name : {std::string("tshook.dll"), std::string("text.so"), std::string("./text.so"),
                                   dir.file("text.so"), std::string()}) {
        error.clear();
        EXPECT_EQ(vx::SharedLibrary::Find(name, &error), nullptr) << name;
        EXPECT_FALSE(error.empty()) << name;
    }
    std::filesystem::current_path(before);
}

} // namespace
