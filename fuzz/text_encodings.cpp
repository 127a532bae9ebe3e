// Fuzz target: the text encodings. UTF-8 validity, decoding and the steps
// over characters, the text of a file the program reads, the Windows-1252
// conversions both ways and a document's bytes read and written again, each
// against a plain model written here from the definitions: the Unicode
// Standard's table of well-formed byte sequences, and the code page's table
// with its five unassigned bytes kept as the control characters of the same
// number.
#include "fuzz/FuzzCheck.h"
#include "platform/Cp1252.h"
#include "platform/TextEncoding.h"
#include "platform/Utf8.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using vx::utf8::kReplacement;

// A row of the table of well-formed sequences: the range of the first byte,
// the range of the second, and the bytes in all; every later byte is 80..BF.
struct TWellFormed {
    unsigned char FirstLow, FirstHigh, SecondLow, SecondHigh;
    std::size_t Length;
};

constexpr TWellFormed kWellFormed[] = {
    {0x00, 0x7F, 0x00, 0x00, 1}, // U+0000..U+007F
    {0xC2, 0xDF, 0x80, 0xBF, 2}, // U+0080..U+07FF
    {0xE0, 0xE0, 0xA0, 0xBF, 3}, // U+0800..U+0FFF
    {0xE1, 0xEC, 0x80, 0xBF, 3}, // U+1000..U+CFFF
    {0xED, 0xED, 0x80, 0x9F, 3}, // U+D000..U+D7FF
    {0xEE, 0xEF, 0x80, 0xBF, 3}, // U+E000..U+FFFF
    {0xF0, 0xF0, 0x90, 0xBF, 4}, // U+10000..U+3FFFF
    {0xF1, 0xF3, 0x80, 0xBF, 4}, // U+40000..U+FFFFF
    {0xF4, 0xF4, 0x80, 0x8F, 4}, // U+100000..U+10FFFF
};

const TWellFormed* RowOf(unsigned char first)
{
    for (const TWellFormed& row : kWellFormed)
        if (first >= row.FirstLow && first <= row.FirstHigh)
            return &row;
    return nullptr;
}

// Whether the bytes present from pos, at most the row's length of them,
// are what the row asks.
bool Follows(const TWellFormed& row, std::string_view text, std::size_t pos)
{
    for (std::size_t k = 1; k < row.Length && pos + k < text.size(); ++k) {
        const auto byte = static_cast<unsigned char>(text[pos + k]);
        const unsigned char low = k == 1 ? row.SecondLow : 0x80;
        const unsigned char high = k == 1 ? row.SecondHigh : 0xBF;
        if (byte < low || byte > high)
            return false;
    }
    return true;
}

// A character as the model reads it: a well-formed sequence, or else one
// byte standing alone.
struct TModelChar {
    std::size_t Length = 1;
    char32_t Code = kReplacement;
    bool WellFormed = false;
};

TModelChar ModelAt(std::string_view text, std::size_t pos)
{
    const auto first = static_cast<unsigned char>(text[pos]);
    const TWellFormed* row = RowOf(first);
    if (!row || pos + row->Length > text.size() || !Follows(*row, text, pos))
        return {};
    static constexpr unsigned char kLeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    char32_t code = first & kLeadBits[row->Length];
    for (std::size_t k = 1; k < row->Length; ++k)
        code = (code << 6) | (static_cast<unsigned char>(text[pos + k]) & 0x3F);
    return {row->Length, code, true};
}

// Whether the bytes from pos to the end begin a well-formed sequence and
// are fewer than it.
bool ModelCutShort(std::string_view text, std::size_t pos)
{
    const TWellFormed* row = RowOf(static_cast<unsigned char>(text[pos]));
    return row && text.size() - pos < row->Length && Follows(*row, text, pos);
}

std::string ModelEncode(char32_t code)
{
    std::string out;
    if (code < 0x80) {
        out += static_cast<char>(code);
        return out;
    }
    const std::size_t length = code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
    static constexpr unsigned char kLeadMarks[] = {0, 0, 0xC0, 0xE0, 0xF0};
    out += static_cast<char>(kLeadMarks[length] | (code >> (6 * (length - 1))));
    for (std::size_t k = length - 1; k > 0; --k)
        out += static_cast<char>(0x80 | ((code >> (6 * (k - 1))) & 0x3F));
    return out;
}

// Windows-1252 from 0x80 to 0x9F; every other byte is the code point of its number.
struct TCodePageByte {
    unsigned char Byte;
    char32_t Code;
};

constexpr TCodePageByte kCodePage[] = {
    {0x80, 0x20AC}, {0x81, 0x0081}, {0x82, 0x201A}, {0x83, 0x0192}, {0x84, 0x201E}, {0x85, 0x2026},
    {0x86, 0x2020}, {0x87, 0x2021}, {0x88, 0x02C6}, {0x89, 0x2030}, {0x8A, 0x0160}, {0x8B, 0x2039},
    {0x8C, 0x0152}, {0x8D, 0x008D}, {0x8E, 0x017D}, {0x8F, 0x008F}, {0x90, 0x0090}, {0x91, 0x2018},
    {0x92, 0x2019}, {0x93, 0x201C}, {0x94, 0x201D}, {0x95, 0x2022}, {0x96, 0x2013}, {0x97, 0x2014},
    {0x98, 0x02DC}, {0x99, 0x2122}, {0x9A, 0x0161}, {0x9B, 0x203A}, {0x9C, 0x0153}, {0x9D, 0x009D},
    {0x9E, 0x017E}, {0x9F, 0x0178},
};

char32_t ModelFromCodePage(unsigned char byte)
{
    for (const TCodePageByte& entry : kCodePage)
        if (entry.Byte == byte)
            return entry.Code;
    return byte;
}

// The code page's byte for a code point, if it has one.
std::optional<unsigned char> ModelToCodePage(char32_t code)
{
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF))
        return static_cast<unsigned char>(code);
    for (const TCodePageByte& entry : kCodePage)
        if (entry.Code == code)
            return entry.Byte;
    return std::nullopt;
}

std::string ModelCodePageToUtf8(std::string_view bytes)
{
    std::string out;
    for (const char c : bytes)
        out += ModelEncode(ModelFromCodePage(static_cast<unsigned char>(c)));
    return out;
}

bool ModelValid(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const TModelChar c = ModelAt(text, i);
        if (!c.WellFormed)
            return false;
        i += c.Length;
    }
    return true;
}

void CheckUtf8(std::string_view text)
{
    namespace utf8 = vx::utf8;
    std::vector<std::size_t> starts;
    bool valid = true;
    for (std::size_t i = 0; i < text.size();) {
        const TModelChar c = ModelAt(text, i);
        starts.push_back(i);
        valid = valid && c.WellFormed;
        std::size_t length = 0;
        VX_FUZZ_CHECK(utf8::Decode(text, i, &length) == c.Code);
        VX_FUZZ_CHECK(length == c.Length);
        VX_FUZZ_CHECK(utf8::CharLength(text, i) == c.Length);
        VX_FUZZ_CHECK(utf8::NextChar(text, i) == i + c.Length);
        VX_FUZZ_CHECK(utf8::PrevChar(text, i + c.Length) == i);
        i += c.Length;
    }
    VX_FUZZ_CHECK(utf8::IsValid(text) == valid);
    VX_FUZZ_CHECK(utf8::CountChars(text) == starts.size());
    for (const std::size_t k : {std::size_t{0}, std::size_t{1}, starts.size() / 2, starts.size()})
        VX_FUZZ_CHECK(utf8::OffsetOfChar(text, k) == (k < starts.size() ? starts[k] : text.size()));
    // Every byte lies in the character that begins at the start before it;
    // a cluster begins and ends between characters, and holds the byte.
    for (std::size_t i = 0, c = 0; i < text.size(); ++i) {
        if (c + 1 < starts.size() && starts[c + 1] <= i)
            ++c;
        VX_FUZZ_CHECK(utf8::CharStart(text, i) == starts[c]);
        VX_FUZZ_CHECK(utf8::CutShort(text, i) == ModelCutShort(text, i));
        const std::size_t cluster = utf8::ClusterStart(text, i);
        VX_FUZZ_CHECK(cluster <= starts[c] && utf8::CharStart(text, cluster) == cluster);
        const std::size_t end = utf8::ClusterEnd(text, starts[c]);
        VX_FUZZ_CHECK(end > starts[c] && end <= text.size() && utf8::CharStart(text, end) == end);
    }
    std::size_t ascii = 0;
    while (ascii < text.size() && static_cast<unsigned char>(text[ascii]) < 0x80)
        ++ascii;
    VX_FUZZ_CHECK(utf8::SkipAscii(text, 0) == ascii);
    VX_FUZZ_CHECK(vx::TextFromFileBytes(text) == (valid ? std::string(text) : ModelCodePageToUtf8(text)));
}

void CheckCodePage(std::string_view bytes)
{
    // Every byte becomes its character, and the character its byte again.
    const std::string text = vx::Cp1252ToUtf8(bytes);
    VX_FUZZ_CHECK(text == ModelCodePageToUtf8(bytes));
    VX_FUZZ_CHECK(vx::Utf8ToCp1252(text) == std::string(bytes));

    // The bytes taken for UTF-8: refused at the first character that is not
    // well formed or that the code page lacks.
    std::string expected;
    std::optional<std::size_t> refusedAt;
    for (std::size_t i = 0; i < bytes.size() && !refusedAt;) {
        const TModelChar c = ModelAt(bytes, i);
        const std::optional<unsigned char> byte = c.WellFormed ? ModelToCodePage(c.Code) : std::nullopt;
        if (byte)
            expected += static_cast<char>(*byte);
        else
            refusedAt = i;
        i += c.Length;
    }
    std::size_t bad = bytes.size() + 1;
    const std::optional<std::string> converted = vx::Utf8ToCp1252(bytes, &bad);
    VX_FUZZ_CHECK(converted.has_value() == !refusedAt);
    if (converted)
        VX_FUZZ_CHECK(*converted == expected);
    else
        VX_FUZZ_CHECK(bad == *refusedAt);
}

void CheckDocument(std::string_view bytes)
{
    const vx::TDecodedText decoded = vx::DecodeDocument(std::string(bytes));
    VX_FUZZ_CHECK(ModelValid(decoded.Text));
    VX_FUZZ_CHECK(vx::EncodeForSaving(decoded.Text, decoded.Encoding, decoded.ByteOrderMark) == std::string(bytes));
    const bool utf8 = ModelValid(bytes);
    // A UTF-8 file's byte order mark is the file's, not the text's; in a
    // Windows-1252 file the same bytes are three characters.
    constexpr std::string_view mark = "\xEF\xBB\xBF";
    const bool marked = utf8 && bytes.starts_with(mark);
    VX_FUZZ_CHECK(decoded.Encoding == (utf8 ? vx::TTextEncoding::Utf8 : vx::TTextEncoding::Windows1252));
    VX_FUZZ_CHECK(decoded.ByteOrderMark == marked);
    VX_FUZZ_CHECK(decoded.Text == (!utf8 ? ModelCodePageToUtf8(bytes)
                                         : std::string(bytes.substr(marked ? mark.size() : 0))));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckUtf8(bytes);
    CheckCodePage(bytes);
    CheckDocument(bytes);
    return 0;
}
