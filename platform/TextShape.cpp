#include "platform/TextShape.h"

#include "platform/Utf8.h"

#include <cstdint>
#include <cstring>

TTextShape ShapeOf(std::string_view text)
{
    TTextShape shape;
    const char* data = text.data();
    const std::size_t size = text.size();
    std::size_t i = 0;
    while (i < size) {
        // Eight bytes at a time while they are plain ASCII without a tab.
        while (i + 8 <= size) {
            std::uint64_t word;
            std::memcpy(&word, data + i, 8);
            // A byte is a tab when it xors with 0x09 to zero.
            const std::uint64_t tabs = word ^ 0x0909090909090909ull;
            const bool anyTab = ((tabs - 0x0101010101010101ull) & ~tabs & 0x8080808080808080ull) != 0;
            if ((word & 0x8080808080808080ull) || anyTab)
                break;
            shape.Cells += 8;
            shape.Chars += 8;
            i += 8;
        }
        if (i >= size)
            break;
        const auto byte = static_cast<unsigned char>(data[i]);
        if (byte < 0x80) {
            shape.Tabs += byte == '\t';
            ++shape.Cells;
            ++shape.Chars;
            ++i;
            continue;
        }
        std::size_t length = 0;
        shape.Cells += static_cast<std::size_t>(vx::utf8::CellsAt(text, i, &length));
        ++shape.Chars;
        i += length;
    }
    return shape;
}
