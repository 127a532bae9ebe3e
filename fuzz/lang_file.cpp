// Fuzz target: the language-file reader. A file is read whole or refused with
// ELangFileError (EConvertError for a version that is not a number), and a
// refused file leaves the object as it was; what is read can be looked up.
#include "fuzz/FuzzCheck.h"
#include "localisation/KLngFile.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <tuple>

namespace {

// A small file of the current layout: one font, one name, one key, two records.
std::string SeedFile()
{
    using namespace std::literals;
    std::string b = "LF3.10";
    b += '\0';         // file flags
    b += '\0';         // no locale block
    b += '\0';         // reading order
    b.append(10, '\0');
    b += '\1';         // character set
    b += "\1\0\0\0"sv;
    b += "\5Arial";
    b += "\12\0\1"sv;
    b.append(20, '\0');
    b += "\1\0\3one"sv;
    b += "\1\0\5Form1\1\0\7Caption\1\0"sv;
    b += "\2\0"sv;
    b += "\0\1\0\0\0\0\0\1\0"sv;
    b += "\1\2\0\xFF\xFF\xFF\xFF\0\0"sv;
    b += "Title\0"sv;
    return b;
}

auto Shape(const TKLangFile& f)
{
    return std::tuple(f.IsEmpty(), f.Version(), f.StringCount(), f.FontCount(), f.Names().Count(),
                      f.Props().SectionCount(), f.HasLocale(), f.Charset());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string seed = SeedFile();
    TKLangFile file;
    file.LoadFromBytes(seed);
    VX_FUZZ_CHECK(file.StringCount() == 2);
    const auto before = Shape(file);
    try {
        file.LoadFromBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const ELangFileError&) {
        VX_FUZZ_CHECK(Shape(file) == before);
        return 0;
    } catch (const EConvertError&) {
        VX_FUZZ_CHECK(Shape(file) == before);
        return 0;
    }
    // Zero bytes are an empty file: nothing of the earlier file shows through.
    if (size == 0) {
        VX_FUZZ_CHECK(file.IsEmpty() && file.StringCount() == 0 && file.FontCount() == 0);
        return 0;
    }
    for (int i = 0; i < file.StringCount(); ++i) {
        TKLangStr* s = file.StringAt(i);
        // A byte of a Windows-1252 file becomes at most three bytes of UTF-8.
        VX_FUZZ_CHECK(s->Text().size() <= 3 * size);
        VX_FUZZ_CHECK(file.StringByIdent(s->Ident()) != nullptr);
        s->Section();
    }
    for (int i = 0; i < file.FontCount(); ++i)
        VX_FUZZ_CHECK(file.FindFont(file.FontAt(i).Name, file.FontAt(i).Size, file.FontAt(i).Style) <= i);
    const TkLangProps& props = file.Props();
    for (int s = 0; s < props.SectionCount(); ++s)
        for (int k = 0; k < props.KeyCount(s); ++k) {
            const std::string section = props.SectionName(s), key = props.KeyName(s, k);
            TKLangStr* found = file.FindString(section, key);
            VX_FUZZ_CHECK(!found || found->Ident() == file.Props().KeyIdent(s, k));
        }
    return 0;
}
