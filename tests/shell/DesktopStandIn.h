// Stand-ins for the desktop that opens addresses for the program: the
// program's web links, help files and previews reach no real browser.
#pragma once

#include <QDesktopServices>
#include <QObject>

namespace vx::test {

// The desktop the program asks to open addresses: the addresses go to a method of this object.
class DesktopStandIn : public QObject {
public:
    explicit DesktopStandIn(const char* method)
    {
        for (const char* scheme : {"file", "http", "https"})
            QDesktopServices::setUrlHandler(scheme, this, method);
    }
    ~DesktopStandIn() override
    {
        for (const char* scheme : {"file", "http", "https"})
            QDesktopServices::unsetUrlHandler(scheme);
    }
    DesktopStandIn(const DesktopStandIn&) = delete;
    DesktopStandIn& operator=(const DesktopStandIn&) = delete;
};

// A desktop that starts no program at all: there is no method to take the
// addresses, so every open fails.
class NoDesktopPrograms : public DesktopStandIn {
public:
    NoDesktopPrograms() : DesktopStandIn("NoSuchMethod") {}
};

} // namespace vx::test
