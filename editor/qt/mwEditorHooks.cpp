// Key hooks over attached editors.
#include "editor/qt/mwEditorHooks.h"

#include "editor/qt/mwCustomEdit.h"

#include <algorithm>

// One attached editor. The handlers installed in the editor hold the record,
// so they stay safe to call when the component has gone: they then only pass on.
struct TmwEditorHooks::Record {
    TmwCustomEdit* editor = nullptr;
    const TKeyDownHook* keyDown = nullptr; // none once detached
    TmwCustomEditModel::TKeyEvent previousKeyDown;
    TmwCustomEditModel::TKeyPressEvent previousKeyPress;
    bool swallowChar = false;
    QMetaObject::Connection destroyed;
};

namespace {

using Record = TmwEditorHooks::Record;

struct KeyDownForward {
    std::shared_ptr<Record> record;
    void operator()(TmwCustomEditModel* sender, uint16_t& key, TShiftState shift) const
    {
        Record& r = *record;
        if (r.keyDown) {
            // A character that never came for the last consumed key is not waited for any longer.
            r.swallowChar = false;
            if ((*r.keyDown)(r.editor, key, shift)) {
                key = 0;
                r.swallowChar = true;
            }
        }
        if (r.previousKeyDown)
            r.previousKeyDown(sender, key, shift);
    }
};

struct KeyPressForward {
    std::shared_ptr<Record> record;
    void operator()(TmwCustomEditModel* sender, char& key) const
    {
        Record& r = *record;
        if (r.keyDown && r.swallowChar) {
            key = '\0';
            r.swallowChar = false;
        }
        if (r.previousKeyPress)
            r.previousKeyPress(sender, key);
    }
};

// Gives the model its kept handlers back when this record's are still on top.
void Unhook(TmwCustomEditModel& model, const std::shared_ptr<Record>& record)
{
    if (auto* f = model.OnKeyDown.target<KeyDownForward>(); f && f->record == record)
        model.OnKeyDown = record->previousKeyDown;
    if (auto* f = model.OnKeyPress.target<KeyPressForward>(); f && f->record == record)
        model.OnKeyPress = record->previousKeyPress;
}

} // namespace

TmwEditorHooks::~TmwEditorHooks()
{
    while (!records_.empty())
        RemoveEditor(records_.back()->editor);
}

TmwCustomEdit* TmwEditorHooks::Editor(int index) const { return records_.at(static_cast<size_t>(index))->editor; }

void TmwEditorHooks::AddEditor(TmwCustomEdit* editor)
{
    if (!editor)
        return;
    for (const auto& r : records_)
        if (r->editor == editor)
            return;
    auto record = std::make_shared<Record>();
    record->editor = editor;
    record->keyDown = &keyDown_;
    TmwCustomEditModel& model = editor->Model();
    record->previousKeyDown = model.OnKeyDown;
    record->previousKeyPress = model.OnKeyPress;
    model.OnKeyDown = KeyDownForward{record};
    model.OnKeyPress = KeyPressForward{record};
    // By the time this arrives the editor's model is gone: only forget it.
    record->destroyed = QObject::connect(editor, &QObject::destroyed, [this, raw = record.get()] {
        auto it = std::find_if(records_.begin(), records_.end(), [raw](const auto& r) { return r.get() == raw; });
        if (it != records_.end()) {
            (*it)->keyDown = nullptr;
            records_.erase(it);
        }
    });
    records_.push_back(std::move(record));
}

void TmwEditorHooks::RemoveEditor(TmwCustomEdit* editor)
{
    auto it = std::find_if(records_.begin(), records_.end(), [editor](const auto& r) { return r->editor == editor; });
    if (it == records_.end())
        return;
    std::shared_ptr<Record> record = *it;
    records_.erase(it);
    QObject::disconnect(record->destroyed);
    record->keyDown = nullptr;
    Unhook(editor->Model(), record);
}

void TmwEditorHooks::ForgetPendingChar(TmwCustomEdit* editor)
{
    for (const auto& r : records_)
        if (r->editor == editor)
            r->swallowChar = false;
}

std::string WordBeforeCaret(const TmwCustomEditModel& model, const std::string& endOfToken)
{
    const std::string line = model.LineText();
    const int end = model.CaretX() - 1; // characters before the caret
    if (end > static_cast<int>(line.size()))
        return std::string();
    int i = end;
    while (i >= 1) {
        const char c = line[static_cast<size_t>(i - 1)];
        if (static_cast<unsigned char>(c) < 33 || endOfToken.find(c) != std::string::npos)
            break;
        --i;
    }
    return line.substr(static_cast<size_t>(i), static_cast<size_t>(end - i));
}

void OnCharsBeforeCaret(TmwCustomEditModel& model, int count, const std::function<void()>& action)
{
    const TSelectionMode mode = model.SelectionMode();
    model.SetSelectionMode(smNormal);
    const TPoint caret = model.CaretXY();
    model.SetBlockBegin(Point(std::max(1, caret.X - count), caret.Y));
    model.SetBlockEnd(caret);
    try {
        action();
    } catch (...) {
        model.SetSelectionMode(mode);
        throw;
    }
    model.SetSelectionMode(mode);
}
