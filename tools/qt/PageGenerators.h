// The page and head generators: new page, meta tags, redirect, page
// transition, FrontPage substitution and marquee. Their texts are built by
// tools/PageTemplates; each dialog only gathers the fields.
#pragma once

#include "tools/DateTimeText.h"
#include "tools/qt/framework/GeneratorDialog.h"

#include <array>

class QLineEdit;
class QListWidget;
class QRadioButton;

// "New Page": the page goes to the clipboard for the main window's New command.
class Tfrm_newpage : public vx::tools::GeneratorDialog {
public:
    explicit Tfrm_newpage(QWidget* parent = nullptr);

    TRadioGroup* RadioGroup1; // "Active Server Page", "Html"
    TFlatEdit* Edit1;         // page title
    TFlatCheckBox* CheckBox1;
    TFlatCheckBox* CheckBox2;
    TFlatCheckBox* CheckBox3;
    // The clock of the page's date line.
    vx::tools::TClock Clock = vx::tools::ClockNow;
};

class Tfrm_meta : public vx::tools::GeneratorDialog {
public:
    explicit Tfrm_meta(QWidget* parent = nullptr);

    std::array<TFlatEdit*, 12> kw{};
    TFlatEdit* desc;
    TFlatEdit* copyri;
    TFlatEdit* Author;
    TFlatEdit* weeks;
    TFlatEdit* email;
};

class Tfrm_redirect : public vx::tools::GeneratorDialog {
public:
    explicit Tfrm_redirect(QWidget* parent = nullptr);

    TFlatEdit* edit1; // the address
    TFlatEdit* edit2; // the delay in seconds
};

// The result stands in the hidden edit Edit1, not in the memo.
class Tfrm_transition : public vx::tools::GeneratorDialog {
public:
    explicit Tfrm_transition(QWidget* parent = nullptr);

    QListWidget* ListBox1;
    QSpinBox* SpinEdit1;
    QRadioButton* RadioButton1; // on page enter
    QRadioButton* RadioButton2; // on page exit
    QLineEdit* Edit1;

protected:
    void Activated() override;
};

class Tfrm_fp_subst : public vx::tools::GeneratorDialog {
public:
    explicit Tfrm_fp_subst(QWidget* parent = nullptr);

    TFlatComboBox* cb1;

protected:
    void Activated() override;
};

class Tfrm_marquee : public vx::tools::GeneratorDialog {
public:
    explicit Tfrm_marquee(QWidget* parent = nullptr);

    TFlatEdit* Edit1;
    TRadioGroup* RadioGroup1; // direction
    TRadioGroup* RadioGroup2; // behaviour
};
