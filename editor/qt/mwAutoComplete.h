// The abbreviation expander: an abbreviation typed in an attached editor,
// followed by the short cut, is replaced by the text of its entry, typed
// through the editor's own commands so that undo and auto-indent see
// ordinary typing.
#pragma once

#include "editor/mwKeyCmds.h"
#include "editor/qt/mwEditorHooks.h"
#include "platform/TStringList.h"

#include <string>

class TmwCustomEdit;

// The list holds entries of a name line (the abbreviation exactly as typed,
// as a rule starting with "!") and one or more text lines starting with "=",
// each one line of the expansion; a "|" in the text marks where the caret
// goes (the last one counts). An entry ends at the first line that is empty
// or does not start with "=".
class TmwAutoComplete {
public:
    TmwAutoComplete();
    virtual ~TmwAutoComplete();
    TmwAutoComplete(const TmwAutoComplete&) = delete;
    TmwAutoComplete& operator=(const TmwAutoComplete&) = delete;

    TStringList& AutoCompleteList() { return autoCompleteList_; }
    void SetAutoCompleteList(const TStringList& value) { autoCompleteList_.Assign(value); }
    const std::string& EndOfTokenChr() const { return endOfTokenChr_; }
    void SetEndOfTokenChr(const std::string& value) { endOfTokenChr_ = value; }
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut value) { shortCut_ = value; }
    // The first attached editor, or none.
    TmwCustomEdit* Editor() const { return hooks_.First(); }
    void SetEditor(TmwCustomEdit* editor) { AddEditor(editor); }
    void AddEditor(TmwCustomEdit* editor) { hooks_.AddEditor(editor); }
    void RemoveEditor(TmwCustomEdit* editor) { hooks_.RemoveEditor(editor); }
    int EditorCount() const { return hooks_.Count(); }

    // Replaces token, the text before editor's caret, by the expansion of
    // the entry named token; nothing when there is none.
    void Execute(const std::string& token, TmwCustomEdit* editor);

protected:
    // An attached editor's key-down: the short cut expands the word before
    // the caret. True when the key is consumed.
    virtual bool EditorKeyDown(TmwCustomEdit* editor, uint16_t key, TShiftState shift);

private:
    TShortCut shortCut_;
    TStringList autoCompleteList_;
    std::string endOfTokenChr_ = "()[].";
    TmwEditorHooks hooks_;
};
