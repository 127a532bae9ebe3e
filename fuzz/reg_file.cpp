// Fuzz target: the REGEDIT4 reader. A file is read whole or refused with
// ERegFileError; a tree read from a file is written and read back unchanged.
#include "fuzz/FuzzCheck.h"
#include "platform/RegFile.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace {

constexpr std::string_view kRoot = "HKEY_CURRENT_USER";

bool SameValue(const vx::reg::Value& a, const vx::reg::Value& b)
{
    return a.name == b.name && a.type == b.type && a.bytes == b.bytes && a.dword == b.dword && a.multi == b.multi;
}

bool SameTree(const vx::reg::Key& a, const vx::reg::Key& b)
{
    if (a.Name() != b.Name() || a.Keys().size() != b.Keys().size() || a.Values().size() != b.Values().size())
        return false;
    for (std::size_t i = 0; i < a.Values().size(); ++i)
        if (!SameValue(a.Values()[i], b.Values()[i]))
            return false;
    for (std::size_t i = 0; i < a.Keys().size(); ++i)
        if (!SameTree(*a.Keys()[i], *b.Keys()[i]))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::unique_ptr<vx::reg::Key> tree;
    try {
        tree = vx::reg::ParseRegFile(std::string_view(reinterpret_cast<const char*>(data), size), kRoot);
    } catch (const vx::reg::ERegFileError& e) {
        VX_FUZZ_CHECK(std::string_view(e.what()).starts_with("line "));
        return 0;
    }
    VX_FUZZ_CHECK(tree != nullptr);
    const std::string written = vx::reg::FormatRegFile(*tree, kRoot);
    const std::unique_ptr<vx::reg::Key> again = vx::reg::ParseRegFile(written, kRoot);
    VX_FUZZ_CHECK(SameTree(*tree, *again));
    return 0;
}
