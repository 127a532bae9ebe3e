// Test entry point: every suite runs with a QApplication on the offscreen platform
// and with its own temporary program folder, settings store and user data folder, so no test ever
// touches the user's settings.
#include "tests/support/TempDir.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    vx::test::TempDir home("vellumix-home");
    vx::test::TempDir config("vellumix-config");
    vx::test::TempDir data("vellumix-data");
    setenv("VELLUMIX_HOME", home.path().c_str(), 1);
    setenv("VELLUMIX_CONFIG", config.path().c_str(), 1);
    setenv("VELLUMIX_DATA", data.path().c_str(), 1);

    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
