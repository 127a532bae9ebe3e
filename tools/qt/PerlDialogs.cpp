// The Perl generator dialogs.
#include "tools/qt/PerlDialogs.h"

#include "controls/flat/TFlatCheckBoxUnit.h"
#include "controls/flat/TFlatEditUnit.h"
#include "controls/flat/TFlatMemoUnit.h"
#include "tools/qt/DialogFields.h"
#include "tools/PerlTemplates.h"

#include <QProgressBar>

#include <algorithm>

using namespace vx::tools;

namespace {

QProgressBar* AddProgress(GeneratorDialog& dialog)
{
    auto* bar = new QProgressBar(&dialog);
    bar->setObjectName("ProgressBar1");
    dialog.AddRow("Progress", bar);
    return bar;
}

// The input's lines, the progress bar run through them.
TLines Input(const TFlatMemo& memo, QProgressBar& bar)
{
    TLines lines = MemoLines(memo);
    bar.setRange(0, std::max(0, static_cast<int>(lines.size()) - 1));
    bar.setValue(bar.maximum());
    return lines;
}

} // namespace

Tfrm_perlmail::Tfrm_perlmail(QWidget* parent) : GeneratorDialog("frm_perlmail", "Perl Mail Wizard", parent)
{
    const char* hint = "Keep the backslash before the @";
    fromed = AddEdit("fromed", "Your email address", "you\\@example.com");
    fromed->setToolTip(hint);
    Edit2 = AddEdit("Edit2", "Recipients address", "someone\\@example.com");
    Edit2->setToolTip(hint);
    Edit3 = AddEdit("Edit3", "Subject", "Subject");
    submemo = AddMemo(*this, "submemo", "Message body");
    submemo->Lines().Add("Message text goes here");
    AddGenerateButton("SpeedButton1", "&Ok", [this] {
        return PerlMailLines({Edit2->Text(), fromed->Text(), Edit3->Text(), submemo->Text()});
    });
    AddCancelButton("SpeedButton2", "&Cancel");
    Loaded();
}

Tfrm_makeperl::Tfrm_makeperl(QWidget* parent)
    : GeneratorDialog("frm_makeperl", "Convert selected text to Perl", parent)
{
    Memo2 = AddMemo(*this, "Memo2", "Selected text");
    ProgressBar1 = AddProgress(*this);
    AddGenerateButton("SpeedButton1", "&Ok", [this] { return PerlPrintLines(Input(*Memo2, *ProgressBar1)); });
    AddCancelButton("SpeedButton2", "&Cancel");
    Loaded();
}

Tfrm_make_perl::Tfrm_make_perl(QWidget* parent)
    : GeneratorDialog("frm_make_perl", "Make selection Perl function", parent)
{
    Edit1 = AddEdit("Edit1", "Function name ", "My_Perl_Function");
    checkbox1 = AddCheck("checkbox1", "Add demo call of script");
    Memo2 = AddMemo(*this, "Memo2", "Selected text");
    ProgressBar1 = AddProgress(*this);
    AddGenerateButton("SpeedButton1", "Ok", [this] {
        return PerlFunctionLines(Edit1->Text(), Input(*Memo2, *ProgressBar1), checkbox1->Checked());
    });
    AddCancelButton("SpeedButton2", "&Cancel");
    Loaded();
}
