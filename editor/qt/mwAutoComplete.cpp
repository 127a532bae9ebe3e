// The abbreviation expander.
#include "editor/qt/mwAutoComplete.h"

#include "editor/qt/mwCustomEdit.h"
#include "platform/Utf8.h"

#include <algorithm>

namespace {

constexpr uint16_t VK_SPACE = 0x20;

bool IsTextLine(const TStringList& list, int index)
{
    return index < list.Count() && !list[index].empty() && list[index][0] == '=';
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

void Run(TmwCustomEditModel& m, TmwEditorCommand command, char c = '\0', void* data = nullptr)
{
    m.CommandProcessor(command, c, data);
}

// Types the character of text at pos whole, as a key of its own would, so
// that the document's encoding judges the character and not its bytes.
void TypeCharacterAt(TmwCustomEditModel& m, const std::string& text, size_t pos)
{
    const size_t length = vx::utf8::CharLength(text, pos);
    if (length == 1) {
        Run(m, ecChar, text[pos]);
        return;
    }
    std::string character = text.substr(pos, length);
    Run(m, ecChar, '\0', character.data());
}

// Takes back up to count blanks of the indent a line break gave the caret's
// line: only blanks that are there before the caret, never across the line's start.
void RemoveIndent(TmwCustomEditModel& m, int count)
{
    const std::string line = m.LineText();
    const int length = static_cast<int>(line.size());
    const int x = m.CaretX();
    int blanks = 0;
    while (blanks < x - 1) {
        const int column = x - 1 - blanks;
        if (column <= length && !IsBlank(line[static_cast<size_t>(column - 1)]))
            break;
        ++blanks;
    }
    int n = std::min(count, blanks);
    // Past the line's end a deletion only moves the caret back one column.
    for (; n > 0 && m.CaretX() > length + 1; --n)
        Run(m, ecDeleteLastChar);
    if (n > 0)
        OnCharsBeforeCaret(m, n, [&] { Run(m, ecDeleteLastChar); });
}

} // namespace

TmwAutoComplete::TmwAutoComplete()
    : shortCut_(::ShortCut(VK_SPACE, ssShift)),
      hooks_([this](TmwCustomEdit* editor, uint16_t key, TShiftState shift) {
          return EditorKeyDown(editor, key, shift);
      })
{
}

TmwAutoComplete::~TmwAutoComplete() = default;

bool TmwAutoComplete::EditorKeyDown(TmwCustomEdit* editor, uint16_t key, TShiftState shift)
{
    if (::ShortCut(key, shift) != shortCut_ || editor->Model().GetReadOnly())
        return false;
    Execute(WordBeforeCaret(editor->Model(), endOfTokenChr_), editor);
    return true;
}

void TmwAutoComplete::Execute(const std::string& token, TmwCustomEdit* editor)
{
    if (!editor || token.empty())
        return;
    const TStringList& list = autoCompleteList_;
    int i = 0;
    while (i < list.Count() && list[i] != token)
        ++i;
    if (i == list.Count())
        return;
    TmwCustomEditModel& m = editor->Model();
    // The expansion goes in whole or not at all: refused, the token stays.
    std::string expansion;
    for (int k = i + 1; IsTextLine(list, k); ++k)
        expansion += (k > i + 1 ? "\r\n" : "") + list[k].substr(1);
    if (!m.AcceptsText(expansion))
        return;
    // The deletions below must take the token, not a selection.
    m.SetBlockBegin(m.CaretXY());
    m.SetBlockEnd(m.CaretXY());
    for (size_t k = 0; k < token.size(); ++k)
        Run(m, ecDeleteLastChar);
    bool marked = false;
    TPoint marker;
    int indent = 0;
    for (++i; IsTextLine(list, i); ++i) {
        // Each line is placed relative to the indent of the abbreviation's line.
        RemoveIndent(m, indent);
        const std::string text = list[i].substr(1);
        indent = static_cast<int>(std::find_if_not(text.begin(), text.end(), IsBlank) - text.begin());
        for (size_t at = 0; at < text.size(); at = vx::utf8::NextChar(text, at)) {
            TypeCharacterAt(m, text, at);
            if (text[at] == '|') {
                marked = true;
                marker = m.CaretXY();
            }
        }
        if (IsTextLine(list, i + 1))
            Run(m, ecLineBreak);
    }
    if (marked) {
        Run(m, ecGotoXY, '\0', &marker);
        Run(m, ecDeleteLastChar);
    }
}
