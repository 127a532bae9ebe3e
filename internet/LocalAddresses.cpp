// Enumerating the machine's addresses.
#include "internet/LocalAddresses.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

namespace vx::net {

std::vector<std::string> TSystemAddressSource::Addresses()
{
    std::vector<std::string> result;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return result;
    for (ifaddrs* a = list; a; a = a->ifa_next) {
        if (!a->ifa_addr || a->ifa_addr->sa_family != AF_INET || !(a->ifa_flags & IFF_UP))
            continue;
        char text[INET_ADDRSTRLEN] = {};
        auto* in = reinterpret_cast<const sockaddr_in*>(a->ifa_addr);
        if (inet_ntop(AF_INET, &in->sin_addr, text, sizeof text))
            result.emplace_back(text);
    }
    freeifaddrs(list);
    return result;
}

bool IsLoopbackAddress(std::string_view address)
{
    return address.substr(0, 4) == "127.";
}

std::string PickLocalAddress(const std::vector<std::string>& addresses)
{
    std::string loopback;
    for (auto it = addresses.rbegin(); it != addresses.rend(); ++it) {
        if (it->empty())
            continue;
        if (!IsLoopbackAddress(*it))
            return *it;
        if (loopback.empty())
            loopback = *it;
    }
    return loopback;
}

} // namespace vx::net
