// Editor commands, their names, and key bindings with the default map.
#include "editor/mwKeyCmds.h"

#include "editor/mwStrConst.h"
#include "platform/TStringList.h"

#include <array>
#include <charconv>
#include <utility>

namespace {

struct TCommandName {
    TmwEditorCommand command;
    const char* name;
};

// Lookups scan this front to back.
constexpr TCommandName CommandNames[] = {
    {ecNone, "ecNone"},
    {ecLeft, "ecLeft"}, {ecRight, "ecRight"}, {ecUp, "ecUp"}, {ecDown, "ecDown"},
    {ecWordLeft, "ecWordLeft"}, {ecWordRight, "ecWordRight"}, {ecLineStart, "ecLineStart"},
    {ecLineEnd, "ecLineEnd"}, {ecPageUp, "ecPageUp"}, {ecPageDown, "ecPageDown"},
    {ecPageLeft, "ecPageLeft"}, {ecPageRight, "ecPageRight"}, {ecPageTop, "ecPageTop"},
    {ecPageBottom, "ecPageBottom"}, {ecEditorTop, "ecEditorTop"}, {ecEditorBottom, "ecEditorBottom"},
    {ecGotoXY, "ecGotoXY"},
    {ecSelLeft, "ecSelLeft"}, {ecSelRight, "ecSelRight"}, {ecSelUp, "ecSelUp"}, {ecSelDown, "ecSelDown"},
    {ecSelWordLeft, "ecSelWordLeft"}, {ecSelWordRight, "ecSelWordRight"},
    {ecSelLineStart, "ecSelLineStart"}, {ecSelLineEnd, "ecSelLineEnd"}, {ecSelPageUp, "ecSelPageUp"},
    {ecSelPageDown, "ecSelPageDown"}, {ecSelPageLeft, "ecSelPageLeft"}, {ecSelPageRight, "ecSelPageRight"},
    {ecSelPageTop, "ecSelPageTop"}, {ecSelPageBottom, "ecSelPageBottom"},
    {ecSelEditorTop, "ecSelEditorTop"}, {ecSelEditorBottom, "ecSelEditorBottom"},
    {ecSelGotoXY, "ecSelGotoXY"},
    {ecSelectAll, "ecSelectAll"},
    {ecDeleteLastChar, "ecDeleteLastChar"}, {ecDeleteChar, "ecDeleteChar"}, {ecDeleteWord, "ecDeleteWord"},
    {ecDeleteLastWord, "ecDeleteLastWord"}, {ecDeleteBOL, "ecDeleteBOL"}, {ecDeleteEOL, "ecDeleteEOL"},
    {ecDeleteLine, "ecDeleteLine"}, {ecClearAll, "ecClearAll"}, {ecLineBreak, "ecLineBreak"},
    {ecInsertLine, "ecInsertLine"}, {ecChar, "ecChar"},
    {ecImeStr, "ecImeStr"},
    {ecUndo, "ecUndo"}, {ecRedo, "ecRedo"}, {ecCut, "ecCut"}, {ecCopy, "ecCopy"}, {ecPaste, "ecPaste"},
    {ecScrollUp, "ecScrollUp"}, {ecScrollDown, "ecScrollDown"}, {ecScrollLeft, "ecScrollLeft"},
    {ecScrollRight, "ecScrollRight"}, {ecInsertMode, "ecInsertMode"}, {ecOverwriteMode, "ecOverwriteMode"},
    {ecToggleMode, "ecToggleMode"}, {ecBlockIndent, "ecBlockIndent"}, {ecBlockUnindent, "ecBlockUnindent"},
    {ecTab, "ecTab"}, {ecShiftTab, "ecShiftTab"}, {ecMatchBracket, "ecMatchBracket"},
    {ecNormalSelect, "ecNormalSelect"}, {ecColumnSelect, "ecColumnSelect"}, {ecLineSelect, "ecLineSelect"},
    {ecUserFirst, "ecUserFirst"},
    {701, "ecGotoMarker0"}, {702, "ecGotoMarker1"}, {703, "ecGotoMarker2"}, {704, "ecGotoMarker3"},
    {705, "ecGotoMarker4"}, {706, "ecGotoMarker5"}, {707, "ecGotoMarker6"}, {708, "ecGotoMarker7"},
    {709, "ecGotoMarker8"}, {710, "ecGotoMarker9"},
    {751, "ecSetMarker0"}, {752, "ecSetMarker1"}, {753, "ecSetMarker2"}, {754, "ecSetMarker3"},
    {755, "ecSetMarker4"}, {756, "ecSetMarker5"}, {757, "ecSetMarker6"}, {758, "ecSetMarker7"},
    {759, "ecSetMarker8"}, {760, "ecSetMarker9"},
};

// Virtual-key codes of the default map.
enum : uint16_t {
    VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23,
    VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28, VK_INSERT = 0x2D,
    VK_DELETE = 0x2E
};

constexpr TShiftState ssNone = 0;
constexpr TShiftState ssCtrlShift = ssCtrl | ssShift;

struct TDefaultKey {
    uint16_t key;
    TShiftState shift;
    TmwEditorCommand command;
};

constexpr TDefaultKey DefaultKeys[] = {
    {VK_UP, ssNone, ecUp}, {VK_UP, ssShift, ecSelUp}, {VK_UP, ssCtrl, ecScrollUp},
    {VK_DOWN, ssNone, ecDown}, {VK_DOWN, ssShift, ecSelDown}, {VK_DOWN, ssCtrl, ecScrollDown},
    {VK_LEFT, ssNone, ecLeft}, {VK_LEFT, ssShift, ecSelLeft}, {VK_LEFT, ssCtrl, ecWordLeft},
    {VK_LEFT, ssCtrlShift, ecSelWordLeft},
    {VK_RIGHT, ssNone, ecRight}, {VK_RIGHT, ssShift, ecSelRight}, {VK_RIGHT, ssCtrl, ecWordRight},
    {VK_RIGHT, ssCtrlShift, ecSelWordRight},
    {VK_NEXT, ssNone, ecPageDown}, {VK_NEXT, ssShift, ecSelPageDown}, {VK_NEXT, ssCtrl, ecPageBottom},
    {VK_NEXT, ssCtrlShift, ecSelPageBottom},
    {VK_PRIOR, ssNone, ecPageUp}, {VK_PRIOR, ssShift, ecSelPageUp}, {VK_PRIOR, ssCtrl, ecPageTop},
    {VK_PRIOR, ssCtrlShift, ecSelPageTop},
    {VK_HOME, ssNone, ecLineStart}, {VK_HOME, ssShift, ecSelLineStart}, {VK_HOME, ssCtrl, ecEditorTop},
    {VK_HOME, ssCtrlShift, ecSelEditorTop},
    {VK_END, ssNone, ecLineEnd}, {VK_END, ssShift, ecSelLineEnd}, {VK_END, ssCtrl, ecEditorBottom},
    {VK_END, ssCtrlShift, ecSelEditorBottom},
    {VK_INSERT, ssNone, ecToggleMode}, {VK_INSERT, ssCtrl, ecCopy}, {VK_INSERT, ssShift, ecPaste},
    {VK_DELETE, ssNone, ecDeleteChar}, {VK_DELETE, ssShift, ecCut},
    {VK_BACK, ssNone, ecDeleteLastChar}, {VK_BACK, ssCtrl, ecDeleteLastWord}, {VK_BACK, ssAlt, ecUndo},
    {VK_BACK, ssShift | ssAlt, ecRedo},
    {VK_RETURN, ssNone, ecLineBreak},
    {'A', ssCtrl, ecSelectAll}, {'C', ssCtrl, ecCopy}, {'I', ssCtrlShift, ecBlockIndent},
    {'M', ssCtrl, ecLineBreak}, {'N', ssCtrl, ecInsertLine}, {'T', ssCtrl, ecDeleteWord},
    {'U', ssCtrlShift, ecBlockUnindent}, {'V', ssCtrl, ecPaste}, {'X', ssCtrl, ecCut},
    {'Y', ssCtrl, ecDeleteLine}, {'Y', ssCtrlShift, ecDeleteEOL}, {'Z', ssCtrl, ecUndo},
    {'Z', ssCtrlShift, ecRedo},
    {'0', ssCtrl, 701}, {'1', ssCtrl, 702}, {'2', ssCtrl, 703}, {'3', ssCtrl, 704}, {'4', ssCtrl, 705},
    {'5', ssCtrl, 706}, {'6', ssCtrl, 707}, {'7', ssCtrl, 708}, {'8', ssCtrl, 709}, {'9', ssCtrl, 710},
    {'0', ssCtrlShift, 751}, {'1', ssCtrlShift, 752}, {'2', ssCtrlShift, 753}, {'3', ssCtrlShift, 754},
    {'4', ssCtrlShift, 755}, {'5', ssCtrlShift, 756}, {'6', ssCtrlShift, 757}, {'7', ssCtrlShift, 758},
    {'8', ssCtrlShift, 759}, {'9', ssCtrlShift, 760},
    {'N', ssCtrlShift, ecNormalSelect}, {'C', ssCtrlShift, ecColumnSelect}, {'L', ssCtrlShift, ecLineSelect},
    {VK_TAB, ssNone, ecTab}, {VK_TAB, ssShift, ecShiftTab},
    {'B', ssCtrlShift, ecMatchBracket},
};
static_assert(std::size(DefaultKeys) == 79);

constexpr std::pair<uint16_t, const char*> KeyNames[] = {
    {VK_BACK, "BkSp"}, {VK_TAB, "Tab"}, {0x1B, "Esc"}, {VK_RETURN, "Enter"}, {0x20, "Space"},
    {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"}, {VK_END, "End"}, {VK_HOME, "Home"}, {VK_LEFT, "Left"},
    {VK_UP, "Up"}, {VK_RIGHT, "Right"}, {VK_DOWN, "Down"}, {VK_INSERT, "Ins"}, {VK_DELETE, "Del"},
};

constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;


} // namespace

TShortCut ShortCut(uint16_t key, TShiftState shift)
{
    if (key & 0xFF00)
        return 0;
    TShortCut result = key;
    if (shift & ssShift)
        result |= scShift;
    if (shift & ssCtrl)
        result |= scCtrl;
    if (shift & ssAlt)
        result |= scAlt;
    return result;
}

void ShortCutToKey(TShortCut shortCut, uint16_t& key, TShiftState& shift)
{
    key = shortCut & 0xFF;
    shift = 0;
    if (shortCut & scShift)
        shift |= ssShift;
    if (shortCut & scCtrl)
        shift |= ssCtrl;
    if (shortCut & scAlt)
        shift |= ssAlt;
}

std::string ShortCutToText(TShortCut shortCut)
{
    uint16_t key = shortCut & 0xFF;
    std::string name;
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        name = std::string(1, static_cast<char>(key));
    else if (key >= 0x70 && key <= 0x87)
        name = "F" + std::to_string(key - 0x6F);
    for (const auto& [code, text] : KeyNames)
        if (code == key)
            name = text;
    if (name.empty())
        return {};
    std::string prefix;
    if (shortCut & scShift)
        prefix += "Shift+";
    if (shortCut & scCtrl)
        prefix += "Ctrl+";
    if (shortCut & scAlt)
        prefix += "Alt+";
    return prefix + name;
}

std::string EditorCommandToIdent(TmwEditorCommand command)
{
    for (const TCommandName& entry : CommandNames)
        if (entry.command == command)
            return entry.name;
    return std::to_string(command);
}

std::optional<TmwEditorCommand> IdentToEditorCommand(std::string_view ident)
{
    for (const TCommandName& entry : CommandNames)
        if (ident == entry.name)
            return entry.command;
    return std::nullopt;
}

// ---------------------------------------------------------------- TmwKeyStroke

void TmwKeyStroke::Assign(const TmwKeyStroke& source)
{
    key_ = source.key_;
    shift_ = source.shift_;
    key2_ = source.key2_;
    shift2_ = source.shift2_;
    command_ = source.command_;
}

void TmwKeyStroke::SetKey(uint16_t key, TShiftState shift)
{
    key_ = key;
    shift_ = shift;
}

void TmwKeyStroke::SetKey2(uint16_t key, TShiftState shift)
{
    key2_ = key;
    shift2_ = shift;
}

void TmwKeyStroke::CheckDuplicate(TShortCut shortCut, TShortCut shortCut2) const
{
    if (!collection_)
        return;
    int found = collection_->FindShortcut2(shortCut, shortCut2);
    if (found >= 0 && &collection_->Items(found) != this)
        throw EmwKeyError(std::string(mwRes::ShortcutExists));
}

void TmwKeyStroke::SetShortCut(TShortCut value)
{
    if (value != 0)
        CheckDuplicate(value, GetShortCut2());
    ShortCutToKey(value, key_, shift_);
}

void TmwKeyStroke::SetShortCut2(TShortCut value)
{
    if (value != 0)
        CheckDuplicate(GetShortCut(), value);
    ShortCutToKey(value, key2_, shift2_);
}

std::string TmwKeyStroke::GetDisplayName() const
{
    std::string name = EditorCommandToIdent(command_) + " - " + ShortCutToText(GetShortCut());
    if (GetShortCut2() != 0)
        name += " " + ShortCutToText(GetShortCut2());
    return name;
}

// ---------------------------------------------------------------- TmwKeyStrokes

TmwKeyStroke& TmwKeyStrokes::Add()
{
    items_.push_back(std::make_unique<TmwKeyStroke>(this));
    return *items_.back();
}

void TmwKeyStrokes::Delete(int index)
{
    items_.erase(items_.begin() + index);
}

void TmwKeyStrokes::Assign(const TmwKeyStrokes& source)
{
    if (&source == this)
        return;
    Clear();
    for (const auto& item : source.items_)
        Add().Assign(*item);
}

void TmwKeyStrokes::ResetDefaults()
{
    Clear();
    for (const TDefaultKey& d : DefaultKeys) {
        TmwKeyStroke& k = Add();
        k.SetKey(d.key, d.shift);
        k.SetCommand(d.command);
    }
}

int TmwKeyStrokes::FindKeycode(uint16_t key, TShiftState shift) const
{
    for (int i = 0; i < Count(); ++i) {
        const TmwKeyStroke& k = *items_[static_cast<size_t>(i)];
        if (k.Key() == key && k.Shift() == shift && k.Key2() == 0)
            return i;
    }
    return -1;
}

int TmwKeyStrokes::FindKeycode2(uint16_t key, TShiftState shift, uint16_t key2, TShiftState shift2) const
{
    for (int i = 0; i < Count(); ++i) {
        const TmwKeyStroke& k = *items_[static_cast<size_t>(i)];
        if (k.Key() == key && k.Shift() == shift && k.Key2() == key2 && k.Shift2() == shift2)
            return i;
    }
    return -1;
}

int TmwKeyStrokes::FindShortcut2(TShortCut shortCut, TShortCut shortCut2) const
{
    for (int i = 0; i < Count(); ++i) {
        const TmwKeyStroke& k = *items_[static_cast<size_t>(i)];
        if (k.GetShortCut() == shortCut && k.GetShortCut2() == shortCut2)
            return i;
    }
    return -1;
}

// ---------------------------------------------------------------- storage

namespace {

std::optional<int> ParseNumber(std::string_view text)
{
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace

void TmwKeyStrokes::SaveToStrings(TStringList& lines) const
{
    lines.BeginUpdate();
    lines.Clear();
    for (const auto& item : items_)
        lines.Add(EditorCommandToIdent(item->Command()) + "=" + std::to_string(item->GetShortCut()) + "," +
                  std::to_string(item->GetShortCut2()));
    lines.EndUpdate();
}

void TmwKeyStrokes::LoadFromStrings(const TStringList& lines)
{
    TmwKeyStrokes loaded;
    for (int i = 0; i < lines.Count(); ++i) {
        const std::string& line = lines[i];
        const size_t equals = line.find('=');
        const size_t comma = line.find(',', equals == std::string::npos ? 0 : equals);
        std::optional<int> command;
        std::optional<int> first;
        std::optional<int> second;
        if (equals != std::string::npos && comma != std::string::npos) {
            const std::string_view name = std::string_view(line).substr(0, equals);
            const std::optional<TmwEditorCommand> named = IdentToEditorCommand(name);
            command = named ? std::optional<int>(*named) : ParseNumber(name);
            first = ParseNumber(std::string_view(line).substr(equals + 1, comma - equals - 1));
            second = ParseNumber(std::string_view(line).substr(comma + 1));
        }
        auto word = [](const std::optional<int>& v) { return v && *v >= 0 && *v <= 0xFFFF; };
        if (!word(command) || !word(first) || !word(second))
            throw EmwKeyError("Invalid key binding: " + line);
        TmwKeyStroke& item = loaded.Add();
        item.SetCommand(static_cast<TmwEditorCommand>(*command));
        uint16_t key = 0;
        TShiftState shift = 0;
        ShortCutToKey(static_cast<TShortCut>(*first), key, shift);
        item.SetKey(key, shift);
        ShortCutToKey(static_cast<TShortCut>(*second), key, shift);
        item.SetKey2(key, shift);
    }
    Assign(loaded);
}
