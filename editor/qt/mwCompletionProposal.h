// The completion proposal: a borderless popup list that narrows to the word
// typed before the caret, the component that shows it, and the component
// that opens it from a short cut in attached editors and puts the chosen
// item in place of the typed word.
#pragma once

#include "editor/Colors.h"
#include "editor/mwKeyCmds.h"
#include "editor/qt/mwEditorHooks.h"
#include "platform/TStringList.h"

#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>

class QScrollBar;
class TmwCustomEdit;

class TCompletionProposalForm : public QWidget {
public:
    using TNotifyEvent = std::function<void(TCompletionProposalForm* Sender)>;
    using TKeyPressEvent = std::function<void(TCompletionProposalForm* Sender, char& Key)>;
    // True when it has drawn the row itself.
    using TPaintItemEvent = std::function<bool(const std::string& Key, QPainter& Canvas, int X, int Y)>;

    explicit TCompletionProposalForm(QWidget* parent = nullptr);
    ~TCompletionProposalForm() override;

    const std::string& CurrentString() const { return currentString_; }
    // Selects the first item that starts with value (see AnsiStrings); no
    // match leaves the selection where it was.
    void SetCurrentString(const std::string& value);
    TStringList& ItemList() { return itemList_; }
    int Position() const { return position_; }
    // Ignored outside the list; scrolls the selected row into view.
    void SetPosition(int value);
    int NbLinesInWindow() const { return nbLinesInWindow_; }
    void SetNbLinesInWindow(int value);
    int FontHeight() const { return fontHeight_; }
    TColor ClSelect() const { return clSelect_; }
    void SetClSelect(TColor value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    // Prefixes compare without regard to ASCII case when true.
    bool AnsiStrings() const { return ansiStrings_; }
    void SetAnsiStrings(bool value) { ansiStrings_ = value; }
    QScrollBar* ScrollBar() const { return scrollBar_; }
    // The editor that opened the popup; none once that editor is gone.
    TmwCustomEdit* CurrentEditor() const;
    void SetCurrentEditor(TmwCustomEdit* editor);

    // The popup's keys as virtual-key codes, and its typed characters.
    void KeyDown(uint16_t key, TShiftState shift);
    void KeyPress(char key);

    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnKeyDelete;
    TPaintItemEvent OnPaintItem;
    TNotifyEvent OnValidate;
    TNotifyEvent OnCancel;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void ItemsChanged();
    void Layout();
    void Fire(const TNotifyEvent& event);

    std::string currentString_;
    TStringList itemList_;
    int position_ = 0;
    int nbLinesInWindow_ = 0;
    int fontHeight_ = 0;
    QScrollBar* scrollBar_ = nullptr;
    TColor clSelect_ = clHighlight;
    TColor color_ = clWindow;
    bool ansiStrings_ = false;
    QPixmap bitmap_;
    QPointer<TmwCustomEdit> currentEditor_;
};

class TCompletionProposal {
public:
    using TNotifyEvent = std::function<void(TCompletionProposal* Sender)>;

    TCompletionProposal();
    virtual ~TCompletionProposal();
    TCompletionProposal(const TCompletionProposal&) = delete;
    TCompletionProposal& operator=(const TCompletionProposal&) = delete;

    // Shows the popup with its top left at screen point (x, y), the item
    // matching token selected.
    void Execute(const std::string& token, int x, int y);
    std::string CurrentString() const { return form_->CurrentString(); }
    TStringList& GetItemList() { return form_->ItemList(); }
    TStringList& ItemList() { return form_->ItemList(); }
    void SetItemList(const TStringList& value) { form_->ItemList().Assign(value); }
    int Position() const { return form_->Position(); }
    void SetPosition(int value) { form_->SetPosition(value); }
    int NbLinesInWindow() const { return form_->NbLinesInWindow(); }
    void SetNbLinesInWindow(int value) { form_->SetNbLinesInWindow(value); }
    TColor ClSelect() const { return form_->ClSelect(); }
    void SetClSelect(TColor value) { form_->SetClSelect(value); }
    bool AnsiStrings() const { return form_->AnsiStrings(); }
    void SetAnsiStrings(bool value) { form_->SetAnsiStrings(value); }
    void SetOnPaintItem(TCompletionProposalForm::TPaintItemEvent value) { form_->OnPaintItem = std::move(value); }
    TCompletionProposalForm& Form() { return *form_; }

    TNotifyEvent OnExecute;

private:
    std::unique_ptr<TCompletionProposalForm> form_;
};

class TMwCompletionProposal : public TCompletionProposal {
public:
    TMwCompletionProposal();
    ~TMwCompletionProposal() override;

    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut value) { shortCut_ = value; }
    const std::string& EndOfTokenChr() const { return endOfTokenChr_; }
    void SetEndOfTokenChr(const std::string& value) { endOfTokenChr_ = value; }
    // The first attached editor, or none.
    TmwCustomEdit* Editor() const { return hooks_.First(); }
    void SetEditor(TmwCustomEdit* editor) { AddEditor(editor); }
    void AddEditor(TmwCustomEdit* editor) { hooks_.AddEditor(editor); }
    void RemoveEditor(TmwCustomEdit* editor) { hooks_.RemoveEditor(editor); }
    int EditorCount() const { return hooks_.Count(); }

private:
    bool EditorKeyDown(TmwCustomEdit* editor, uint16_t key, TShiftState shift);
    void Validate();
    void Cancel();

    TShortCut shortCut_;
    std::string endOfTokenChr_ = "()[].";
    TmwEditorHooks hooks_;
};
