// Fuzz target: the reader of a component's binary form from the clipboard.
// What it accepts writes back to the same bytes and has a text form.
#include "controls/clipboard/ComponentStream.h"
#include "fuzz/FuzzCheck.h"

#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    vx::TStreamedComponent component;
    if (!vx::ReadComponent(bytes, component))
        return 0;
    std::string written;
    VX_FUZZ_CHECK(vx::WriteComponent(component, written));
    VX_FUZZ_CHECK(written == bytes);
    VX_FUZZ_CHECK(vx::ComponentText(component).size() == component.Properties.size() + 2);
    return 0;
}
