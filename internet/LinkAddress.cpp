// Link resolution and normalisation.
#include "internet/LinkAddress.h"

#include "internet/TextUtil.h"
#include "internet/URLHelpers.h"

#include <vector>

namespace vx::net {

bool HasScheme(std::string_view value)
{
    std::string scheme = GetURLProtocol(value);
    return value.size() > scheme.size() && StartsWithNoCase(value, scheme) && value[scheme.size()] == ':';
}

std::string ResolveLink(std::string_view value, std::string_view pageAddress, std::string_view pageBase)
{
    if (HasScheme(value))
        return std::string(value);
    if (!value.empty() && (value[0] == '/' || value[0] == '\\'))
        return GetURLRoot(pageAddress) + std::string(value);
    return std::string(pageBase) + std::string(value);
}

std::string NormalizeAddress(std::string_view address)
{
    address = address.substr(0, address.find('#'));
    // The part the dot segments may not climb out of: "scheme://host", or "scheme:".
    std::size_t pathStart = 0;
    bool authority = false;
    if (HasScheme(address)) {
        std::size_t colon = GetURLProtocol(address).size();
        authority = address.substr(colon, 3) == "://";
        if (authority) {
            auto slash = address.find('/', colon + 3);
            pathStart = slash == std::string_view::npos ? address.size() : slash;
        } else {
            pathStart = colon + 1;
        }
    }
    auto queryAt = address.find('?', pathStart);
    std::string_view path = address.substr(pathStart, queryAt == std::string_view::npos ? std::string_view::npos
                                                                                        : queryAt - pathStart);
    std::vector<std::string_view> segments;
    std::size_t start = 0;
    bool trailingSlash = false;
    while (start <= path.size()) {
        auto slash = path.find('/', start);
        std::string_view segment = path.substr(start, slash == std::string_view::npos ? std::string_view::npos
                                                                                       : slash - start);
        bool last = slash == std::string_view::npos;
        if (segment == ".") {
            trailingSlash = last;
        } else if (segment == "..") {
            if (segments.size() > 1)
                segments.pop_back();
            trailingSlash = last;
        } else {
            segments.push_back(segment);
            trailingSlash = false;
        }
        if (last)
            break;
        start = slash + 1;
    }
    std::string out(address.substr(0, pathStart));
    for (std::size_t i = 0; i < segments.size(); ++i) {
        if (i > 0)
            out += '/';
        out += segments[i];
    }
    if (trailingSlash)
        out += '/';
    // Without a host, a path that came to start with "//" would read as one.
    if (!authority && out.compare(pathStart, 2, "//") == 0)
        out.insert(pathStart, "/.");
    if (queryAt != std::string_view::npos)
        out += address.substr(queryAt);
    return out;
}

std::string LocalFilePart(std::string_view address)
{
    return std::string(address.substr(0, address.find_first_of("?#")));
}

bool IsHttpAddress(std::string_view address)
{
    return StartsWithNoCase(address, "http://") || StartsWithNoCase(address, "https://");
}

} // namespace vx::net
