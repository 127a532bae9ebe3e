// The operating-system description filled in at start-up: version numbers,
// a short platform name and one line of text saying it all.
#pragma once

#include <string>

namespace vx {

enum class TOSPlatform { Win32s, Windows, NT, Unix };

struct TOSVersion {
    TOSPlatform Platform = TOSPlatform::Unix;
    int Major = 0;
    int Minor = 0;
    int Build = 0;
    std::string Version;     // "5.0", "4.10": the minor number takes two digits unless 0
    std::string Name;        // "32s", "95", "98", "NT", "2000", or the kernel's name
    std::string Description; // name, version, four-digit build and the extra text
};

// Builds the record from the numbers the system reports. Windows 4.x keeps
// only the low word of its build number; extra is the service-pack text (or
// the kernel release's suffix).
TOSVersion MakeOSVersion(TOSPlatform platform, int major, int minor, int build, const std::string& extra,
                         const std::string& kernelName = {});
// The running system's record: the kernel's name and release ("6.1.12-amd64"
// gives version 6.1, build 12 and the extra text "amd64").
TOSVersion ReadOSVersion();
// Reads a kernel release text; split out so that odd releases can be tested.
TOSVersion OSVersionFromRelease(const std::string& kernelName, const std::string& release);

} // namespace vx
