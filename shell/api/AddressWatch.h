// What the main window's status bar reads of the IP address watcher: the
// machine's current address and whether it is online. The watcher implements
// it and is handed to the main window (TForm1::ipwatcher); the status bar only
// reads, on the user-interface thread, and the watcher must outlive the window
// or be unplugged first.
#pragma once

#include <string>

namespace vx::shell {

class IAddressWatch {
public:
    virtual bool IsOnline() const = 0;
    virtual std::string CurrentIP() const = 0;

protected:
    ~IAddressWatch() = default;
};

} // namespace vx::shell
