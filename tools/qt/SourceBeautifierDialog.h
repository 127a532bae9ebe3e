// "Source beautify": the beautifier's window. The launcher hands the document
// in through memo1 and takes it back from there; the clipboard commands work
// on the same memo.
#pragma once

#include "tools/DateTimeText.h"
#include "tools/SourceBeautifier.h"
#include "tools/qt/framework/GeneratorDialog.h"

class QAction;
class QPlainTextEdit;
class QProgressBar;

class TFrm_aspb : public vx::tools::GeneratorDialog {
public:
    explicit TFrm_aspb(QWidget* parent = nullptr);

    QPlainTextEdit* memo1;
    QLabel* info;
    QProgressBar* ProgressBar1;
    TFlatMemo* indent2;
    TFlatMemo* outdent2;
    TFlatMemo* indent;
    TFlatMemo* outdent;
    QAction* dohtml;
    QAction* doscript;
    QAction* sp1;
    QAction* sp2;
    QAction* sp3;
    QAction* tab1;
    QAction* tab2;

    // The clock of the banner line.
    vx::tools::TClock Clock = vx::tools::ClockNow;

    void dobeautify();

private:
    vx::tools::TBeautifyOptions Options() const;
    void Beautify();
    void Status(const std::string& text, int position);
    void BeautifyButton();
    void Paste();
    void CopyAll();
};
