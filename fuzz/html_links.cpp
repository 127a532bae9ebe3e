// Fuzz target: the structure builder and the link resolution over any page.
// Every node's parent comes before it, the document root stays the only
// root, and a queued address is normalised for good: normalising it again
// changes nothing and leaves no ".." segment in its path.
#include "fuzz/FuzzCheck.h"
#include "internet/HTMLParser.h"
#include "internet/LinkAddress.h"
#include "internet/StructureBuilder.h"

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>

namespace {

void CheckTree(const std::vector<TStructureNode>& nodes)
{
    VX_FUZZ_CHECK(!nodes.empty() && nodes[0].Parent == -1);
    for (std::size_t i = 1; i < nodes.size(); ++i)
        VX_FUZZ_CHECK(nodes[i].Parent >= 0 && static_cast<std::size_t>(nodes[i].Parent) < i);
}

void CheckAddress(const std::string& value)
{
    const std::string address = vx::net::NormalizeAddress(vx::net::ResolveLink(value, "http://h/d/p.htm", "http://h/d/"));
    VX_FUZZ_CHECK(vx::net::NormalizeAddress(address) == address);
    // The path is what follows the host; the host itself may be any text.
    std::string path = address.substr(0, address.find('?'));
    if (auto sep = path.find("://"); sep != std::string::npos)
        path.erase(0, std::min(path.size(), path.find('/', sep + 3)));
    VX_FUZZ_CHECK(path.find("/../") == std::string::npos);
    VX_FUZZ_CHECK(address.find('#') == std::string::npos);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string page(reinterpret_cast<const char*>(data), size);
    std::istringstream stream(page);
    TStructureBuilder builder("root");
    try {
        THTMLParser parser(stream);
        builder.Build(parser);
    } catch (const EParserError&) {
    }
    CheckTree(builder.Structure());
    CheckTree(builder.Links());
    for (std::size_t i = 1; i < builder.Links().size(); ++i)
        CheckAddress(builder.Links()[i].Text);
    return 0;
}
