// The Perl generators: the sendmail routine, the selected text as print
// statements and the selected text as a Perl sub.
#pragma once

#include "tools/qt/framework/GeneratorDialog.h"

class QProgressBar;

class Tfrm_perlmail : public vx::tools::GeneratorDialog {
public:
    explicit Tfrm_perlmail(QWidget* parent = nullptr);

    TFlatEdit* fromed;
    TFlatEdit* Edit2;
    TFlatEdit* Edit3;
    TFlatMemo* submemo;
};

// The launcher hands the selected text in through Memo2.
class Tfrm_makeperl : public vx::tools::GeneratorDialog {
public:
    explicit Tfrm_makeperl(QWidget* parent = nullptr);

    TFlatMemo* Memo2;
    QProgressBar* ProgressBar1;
};

class Tfrm_make_perl : public vx::tools::GeneratorDialog {
public:
    explicit Tfrm_make_perl(QWidget* parent = nullptr);

    TFlatEdit* Edit1;
    TFlatCheckBox* checkbox1;
    TFlatMemo* Memo2;
    QProgressBar* ProgressBar1;
};
