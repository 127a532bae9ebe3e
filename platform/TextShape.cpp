#include "platform/TextShape.h"

#include "platform/Utf8.h"

#include <algorithm>

TTextShape ShapeOf(std::string_view text)
{
    TTextShape shape;
    // A tab counts as one cell and one character here, as ASCII does.
    shape.Tabs = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\t'));
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t ascii = vx::utf8::SkipAscii(text, i);
        shape.Cells += ascii - i;
        shape.Chars += ascii - i;
        if (ascii >= text.size())
            break;
        std::size_t length = 0;
        shape.Cells += static_cast<std::size_t>(vx::utf8::CellsAt(text, ascii, &length));
        ++shape.Chars;
        i = ascii + length;
    }
    return shape;
}
