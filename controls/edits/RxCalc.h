// The pocket calculator: its keys, the keypad panel around the engine, the
// modal dialog and the component whose Execute shows it.
#pragma once

#include "controls/common/Events.h"
#include "controls/buttons/RXCtrls.h"
#include "controls/edits/RxCalcEngine.h"

#include <QDialog>
#include <QObject>
#include <QPointer>

#include <functional>
#include <string>
#include <vector>

class QLabel;
class QAction;
class QFrame;

enum TCalcBtnKind {
    cbNone = 0,
    cbNum0 = 1, // ... cbNum0 + 9 for "9"
    cbSgn = 11, cbDcm, cbDiv, cbMul, cbSub, cbAdd, cbSqr, cbPcnt, cbRev, cbEql, cbBck, cbClr,
    cbMP, cbMS, cbMR, cbMC, cbOk, cbCancel
};

enum class TCalcPanelLayout { clDialog, clPopup };

using TCalcKeyEvent = std::function<void(QObject* Sender, char& Key)>;

// A key of the calculator; its tag is kind - 1 for the engine's keys.
class TCalcButton : public TRxSpeedButton {
public:
    TCalcButton(QWidget* parent, TCalcBtnKind kind);
    TCalcBtnKind Kind() const { return kind_; }
    int Tag() const { return kind_ >= cbNum0 && kind_ <= cbClr ? kind_ - 1 : -1; }

protected:
    void changeEvent(QEvent* e) override;

private:
    void ApplyColor();
    TCalcBtnKind kind_;
};

class TCalculatorPanel : public QWidget {
public:
    TCalculatorPanel(QWidget* parent, TCalcPanelLayout layout);

    TCalcEngine& Engine() { return engine_; }
    // A key typed on the keyboard: clicks the matching key when there is one.
    void CalcKeyPress(char key);
    void Copy();
    // Reads the clipboard's text as a number; EConvertError when it is none.
    void Paste();
    TCalcButton* FindButton(int tag) const;
    TCalcButton* ButtonOfKind(TCalcBtnKind kind) const;
    void SetDisplayLabel(QLabel* label);
    QLabel* MemoryLabel() const { return memoryLabel_; }
    void UpdateMemoryLabel();
    // 3-D look: new-style keys and a sunken memory box; without it old-style keys and a plain border.
    void SetCtl3D(bool value);

    vx::TNotifyEvent OnOk;
    vx::TNotifyEvent OnCancel;
    vx::TNotifyEvent OnResult;
    vx::TNotifyEvent OnTextChange;
    vx::TNotifyEvent OnDisplayChange;
    vx::TNotifyEvent OnError;
    TCalcKeyEvent OnCalcKey;

private:
    void ButtonClick(TCalcButton* button);

    TCalcEngine engine_;
    std::vector<TCalcButton*> buttons_;
    QPointer<QLabel> display_;
    QFrame* memoryBox_ = nullptr;
    QLabel* memoryLabel_ = nullptr;
};

class TRxCalculatorForm : public QDialog {
public:
    TRxCalculatorForm(QWidget* parent, int helpContext);
    TCalculatorPanel* Panel() const { return panel_; }
    QLabel* Display() const { return display_; }
    void SetCtl3D(bool value);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;

private:
    TCalculatorPanel* panel_;
    QFrame* displayBox_;
    QLabel* display_;
    // The context menu's commands; their shortcuts work without the menu.
    QAction* copy_;
    QAction* paste_;
};

class TRxCalculator : public QObject {
public:
    explicit TRxCalculator(QObject* owner = nullptr);
    ~TRxCalculator() override;

    bool BeepOnError = true;
    bool Ctl3D = true;
    int HelpContext = 0;
    int Precision = 15;
    std::string Title = "Calculator";
    double Value = 0;
    double Memory() const { return memory_; }

    // Shows the dialog modally; True when it was closed with OK.
    bool Execute();
    // The dialog while Execute shows it.
    TRxCalculatorForm* Form() const { return form_; }

    TCalcKeyEvent OnCalcKey;
    vx::TNotifyEvent OnChange;
    vx::TNotifyEvent OnDisplayChange;

private:
    double memory_ = 0;
    QPointer<TRxCalculatorForm> form_;
};
