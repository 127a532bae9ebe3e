// The machine's IPv4 addresses, as the IP watcher reads them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vx::net {

class IAddressSource {
public:
    virtual ~IAddressSource() = default;
    // Dotted addresses of the interfaces that are up, in the system's order.
    virtual std::vector<std::string> Addresses() = 0;
};

// Interfaces enumerated through getifaddrs.
class TSystemAddressSource : public IAddressSource {
public:
    std::vector<std::string> Addresses() override;
};

// Any address of 127.0.0.0/8.
bool IsLoopbackAddress(std::string_view address);
// The address the machine is online with: the last one outside the loopback
// network, else the last loopback one, else "".
std::string PickLocalAddress(const std::vector<std::string>& addresses);

} // namespace vx::net
