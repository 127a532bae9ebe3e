// Fuzz target: the translation-table reader. A table is read whole or refused
// with ETranslationTableError; what is read translates, its locale header is
// used or refused the same way, and an entry written for a text found in it
// reads back as that text.
#include "fuzz/FuzzCheck.h"
#include "localisation/LangTranslator.h"
#include "localisation/TranslationTable.h"
#include "platform/Utf8.h"

#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    TTranslationTable table;
    try {
        table = TTranslationTable::Parse(input);
    } catch (const ETranslationTableError&) {
        return 0;
    }
    VX_FUZZ_CHECK(static_cast<std::size_t>(table.Count()) <= size);
    try {
        TableLocale(table);
    } catch (const ETranslationTableError&) {
    }
    // Any text, written as an entry, reads back untranslated.
    const std::string text = vx::TextFromFileBytes(input.substr(0, 40));
    const TTranslationTable back = TTranslationTable::Parse(FormatTableEntry(text, {"Form1.Caption"}));
    VX_FUZZ_CHECK(back.Count() == (text.empty() ? 0 : 1));
    VX_FUZZ_CHECK(back.Find("", text) == nullptr);
    return 0;
}
