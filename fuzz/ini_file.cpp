// Fuzz target: the INI reader. It rejects nothing, so any exception is a fault;
// its text is stable once written, and every name it lists can be found and set.
#include "fuzz/FuzzCheck.h"
#include "platform/IniDocument.h"

#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    vx::ini::Document document;
    document.Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string written = document.Format();
    vx::ini::Document again;
    again.Parse(written);
    VX_FUZZ_CHECK(again.Format() == written);

    TStringList sections, keys;
    document.SectionNames(sections);
    for (int s = 0; s < sections.Count(); ++s) {
        document.KeyNames(sections[s], keys);
        for (int k = 0; k < keys.Count(); ++k)
            VX_FUZZ_CHECK(document.Find(sections[s], keys[k]) != nullptr);
        if (keys.Count() > 0) {
            document.Set(sections[s], keys[0], "fuzz");
            const std::string* value = document.Find(sections[s], keys[0]);
            VX_FUZZ_CHECK(value && *value == "fuzz");
        }
    }
    return 0;
}
