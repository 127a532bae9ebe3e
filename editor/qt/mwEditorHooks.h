// The key hooks a component lays over the editors it is attached to. Each
// editor's own key-down and key-press handlers are kept and run after the
// component's, so components attached one after the other form a chain.
#pragma once

#include "editor/mwKeyCmds.h"

#include <QMetaObject>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TmwCustomEdit;
class TmwCustomEditModel;

class TmwEditorHooks {
public:
    // The component's key-down work for an attached editor; true consumes the
    // key: it is cleared before the kept handler sees it, and the character
    // it would type is discarded.
    using TKeyDownHook = std::function<bool(TmwCustomEdit* editor, uint16_t key, TShiftState shift)>;

    explicit TmwEditorHooks(TKeyDownHook keyDown) : keyDown_(std::move(keyDown)) {}
    // Detaches every editor.
    ~TmwEditorHooks();
    TmwEditorHooks(const TmwEditorHooks&) = delete;
    TmwEditorHooks& operator=(const TmwEditorHooks&) = delete;

    // Nothing when already attached. A destroyed editor is dropped by itself.
    void AddEditor(TmwCustomEdit* editor);
    // Gives the editor its kept handlers back where nothing was hooked over
    // this component since; otherwise this component's hooks only pass on.
    void RemoveEditor(TmwCustomEdit* editor);
    int Count() const { return static_cast<int>(records_.size()); }
    TmwCustomEdit* Editor(int index) const;
    // The first attached editor, or none.
    TmwCustomEdit* First() const { return records_.empty() ? nullptr : Editor(0); }
    // The key this component consumed in editor typed no character: the next
    // one the editor gets is not to be discarded.
    void ForgetPendingChar(TmwCustomEdit* editor);

    struct Record;

private:
    TKeyDownHook keyDown_;
    std::vector<std::shared_ptr<Record>> records_;
};

// The word before the caret: the characters back to a character below "!"
// or one of endOfToken; empty when the caret stands past the line's end.
std::string WordBeforeCaret(const TmwCustomEditModel& model, const std::string& endOfToken);

// Selects the count characters before the caret (normal selection, whatever
// the editor's mode) and runs action; the editor's selection mode is back
// afterwards.
void OnCharsBeforeCaret(TmwCustomEditModel& model, int count, const std::function<void()>& action);
