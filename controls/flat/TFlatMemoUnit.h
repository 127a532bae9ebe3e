// TFlatMemo: a multi-line edit with the flat look, its text reachable as a text list.
#pragma once

#include "controls/flat/TFlatTextControl.h"
#include "platform/ControlTypes.h"
#include "platform/TStringList.h"

#include <QPlainTextEdit>

class TFlatMemo;

// The memo's lines: changing the list changes the text shown, and editing the
// text changes the list. A final empty line is not counted.
class TMemoLines : public TStringList {
public:
    explicit TMemoLines(TFlatMemo& memo) : memo_(memo) {}

protected:
    void Changed() override;

private:
    TFlatMemo& memo_;
};

class TFlatMemo : public TFlatTextControl<QPlainTextEdit> {
public:
    explicit TFlatMemo(QWidget* parent = nullptr);

    TStrings& Lines() { return lines_; }
    const TStrings& Lines() const { return lines_; }
    std::string Text() const;
    void SetText(const std::string& value);

    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle value);
    bool WantReturns() const { return wantReturns_; }
    void SetWantReturns(bool value) { wantReturns_ = value; }
    bool WantTabs() const { return wantTabs_; }
    void SetWantTabs(bool value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    bool ReadOnly() const { return isReadOnly(); }
    void SetReadOnly(bool value) { setReadOnly(value); }
    // Characters the user may type; 0 means no limit.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int value) { maxLength_ = value < 0 ? 0 : value; }
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool value) { hideSelection_ = value; }
    bool OEMConvert() const { return oemConvert_; }
    void SetOEMConvert(bool value) { oemConvert_ = value; }

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void PaintExtras(QPainter& painter, const QColor& inner) override;

private:
    friend class TMemoLines;
    void PushLines();
    void TextEdited();
    void EnforceMaxLength();

    TMemoLines lines_{*this};
    TScrollStyle scrollBars_ = TScrollStyle::ssNone;
    bool wantReturns_ = true;
    bool wantTabs_ = false;
    bool wordWrap_ = true;
    int maxLength_ = 0;
    bool hideSelection_ = true;
    bool oemConvert_ = false;
    bool syncing_ = false;
};
