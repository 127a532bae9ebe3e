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
        // A character and the zero-width characters after it, which take
        // no cells of their own and are no characters the user counts; one
        // that begins the text has a cell, and is no character either.
        std::size_t length = 0;
        const int cells = vx::utf8::CellsAt(text, ascii, &length);
        shape.Cells += static_cast<std::size_t>(cells);
        shape.Chars += cells > 0 && (ascii > 0 || vx::utf8::SkipZeroWidth(text, 0) == 0) ? 1 : 0;
        i = ascii + length;
    }
    return shape;
}

TTextShape ShapeOfContinuation(std::string_view text)
{
    return ShapeOf(text.substr(vx::utf8::SkipZeroWidth(text, 0)));
}
