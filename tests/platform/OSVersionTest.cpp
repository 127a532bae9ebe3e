// The operating-system record: names, version text and description per system.
#include "platform/OSVersion.h"

#include <gtest/gtest.h>

using namespace vx;

TEST(OSVersion, RecordPerSystem)
{
    struct Row {
        TOSPlatform platform;
        int major, minor, build;
        const char* extra;
        const char* version;
        const char* name;
        int keptBuild;
        const char* description;
    };
    const Row rows[] = {
        {TOSPlatform::Win32s, 3, 10, 7, "", "3.10", "32s", 7, "Windows 32s 3.10.0007"},
        {TOSPlatform::Windows, 4, 0, 0x040003B6, " A ", "4.0", "95", 950, "Windows 95 4.0.0950  A"},
        {TOSPlatform::Windows, 4, 10, 0x040A07CE, "", "4.10", "98", 1998, "Windows 98 4.10.1998"},
        {TOSPlatform::NT, 4, 0, 1381, "Service Pack 6", "4.0", "NT", 1381, "Windows NT 4.0.1381 Service Pack 6"},
        {TOSPlatform::NT, 5, 1, 2600, "", "5.01", "2000", 2600, "Windows 2000 5.01.2600"},
    };
    for (const Row& r : rows) {
        const TOSVersion v = MakeOSVersion(r.platform, r.major, r.minor, r.build, r.extra);
        EXPECT_EQ(v.Version, r.version) << r.description;
        EXPECT_EQ(v.Name, r.name) << r.description;
        EXPECT_EQ(v.Build, r.keptBuild) << r.description;
        EXPECT_EQ(v.Description, r.description);
    }
}

TEST(OSVersion, KernelReleases)
{
    struct Row {
        const char* release;
        int major, minor, build;
        const char* description;
    };
    const Row rows[] = {
        {"6.1.12-amd64", 6, 1, 12, "Linux 6.01.0012 amd64"},
        {"5.0.0", 5, 0, 0, "Linux 5.0.0000"},
        {"6.18.44-fc-v1300", 6, 18, 44, "Linux 6.18.0044 fc-v1300"},
        {"", 0, 0, 0, "Linux 0.0.0000"},
        {"weird", 0, 0, 0, "Linux 0.0.0000 weird"},
    };
    for (const Row& r : rows) {
        const TOSVersion v = OSVersionFromRelease("Linux", r.release);
        EXPECT_EQ(v.Name, "Linux");
        EXPECT_EQ(v.Major, r.major) << r.release;
        EXPECT_EQ(v.Minor, r.minor) << r.release;
        EXPECT_EQ(v.Build, r.build) << r.release;
        EXPECT_EQ(v.Description, r.description) << r.release;
    }
    EXPECT_FALSE(ReadOSVersion().Description.empty());
}
