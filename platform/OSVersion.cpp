// The operating-system description record.
#include "platform/OSVersion.h"

#include <sys/utsname.h>

#include <cctype>
#include <cstdio>

namespace vx {

namespace {

std::string Trim(const std::string& text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string PlatformName(TOSPlatform platform, int major, int minor, const std::string& kernelName)
{
    switch (platform) {
    case TOSPlatform::Win32s:
        return "32s";
    case TOSPlatform::Windows:
        return major == 4 && minor < 10 ? "95" : "98";
    case TOSPlatform::NT:
        return major < 5 ? "NT" : "2000";
    default:
        return kernelName;
    }
}

// Reads a run of digits at pos (0 when there are none) and moves past it.
int Number(const std::string& text, std::size_t& pos)
{
    long value = 0;
    while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos])) && value < 100000000)
        value = value * 10 + (text[pos++] - '0');
    return static_cast<int>(value);
}

} // namespace

TOSVersion MakeOSVersion(TOSPlatform platform, int major, int minor, int build, const std::string& extra,
                         const std::string& kernelName)
{
    TOSVersion v;
    v.Platform = platform;
    v.Major = major;
    v.Minor = minor;
    v.Build = platform == TOSPlatform::Windows ? build & 0xFFFF : build;
    char text[64];
    std::snprintf(text, sizeof text, minor == 0 ? "%d.%d" : "%d.%.2d", major, minor);
    v.Version = text;
    v.Name = PlatformName(platform, major, minor, kernelName);
    const std::string prefix = platform == TOSPlatform::Unix ? "" : "Windows ";
    char build4[16];
    std::snprintf(build4, sizeof build4, "%.4d", v.Build);
    v.Description = Trim(prefix + v.Name + " " + v.Version + "." + build4 + " " + extra);
    return v;
}

TOSVersion OSVersionFromRelease(const std::string& kernelName, const std::string& release)
{
    std::size_t pos = 0;
    const int major = Number(release, pos);
    int minor = 0, build = 0;
    if (pos < release.size() && release[pos] == '.')
        minor = Number(release, ++pos);
    if (pos < release.size() && release[pos] == '.')
        build = Number(release, ++pos);
    std::string extra = release.substr(pos);
    while (!extra.empty() && (extra[0] == '-' || extra[0] == '+' || extra[0] == '.'))
        extra.erase(0, 1);
    return MakeOSVersion(TOSPlatform::Unix, major, minor, build, extra, kernelName);
}

TOSVersion ReadOSVersion()
{
    utsname names{};
    if (uname(&names) != 0)
        return OSVersionFromRelease("Unix", "");
    return OSVersionFromRelease(names.sysname, names.release);
}

} // namespace vx
