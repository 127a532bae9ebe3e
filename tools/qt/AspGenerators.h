// The ASP script generators: cookie, cookie detection, page counter,
// Response statement, ADO connection with and without a DSN, mail form,
// mass mailing and the ColdFusion mail tag. Their texts come from
// tools/AspTemplates; each dialog only gathers the fields.
#pragma once

#include "tools/DateTimeText.h"
#include "tools/qt/framework/GeneratorDialog.h"

class TComboEdit;

class Tfrm_cookie : public vx::tools::GeneratorDialog {
public:
    // The expiry date is a year after what the clock reads.
    explicit Tfrm_cookie(QWidget* parent = nullptr, const vx::tools::TClock& clock = vx::tools::ClockNow);

    TFlatEdit* edit1; // the cookie's name
    TFlatEdit* edit2; // expiry date
    TFlatEdit* edit3; // path
};

class Tfrm_cookiedetect : public vx::tools::GeneratorDialog {
public:
    explicit Tfrm_cookiedetect(QWidget* parent = nullptr);

    TFlatEdit* Edit1;
    TFlatCheckBox* CheckBox1;
};

class Tfrm_aspcounter : public vx::tools::GeneratorDialog {
public:
    explicit Tfrm_aspcounter(QWidget* parent = nullptr);

    TFlatEdit* Edit1; // the counter file
    TFlatEdit* Edit2; // the function's name
    TFlatCheckBox* CheckBox1;
};

class Tfrm_responsewiz : public vx::tools::GeneratorDialog {
public:
    explicit Tfrm_responsewiz(QWidget* parent = nullptr);

    TFlatComboBox* ComboBox1;
};

class Tfrm_ado : public vx::tools::GeneratorDialog {
public:
    explicit Tfrm_ado(QWidget* parent = nullptr);

    TFlatEdit* edit1; // connection
    TFlatEdit* edit2; // SQL string name
    TFlatEdit* edit3; // record set
    TFlatEdit* edit4; // DSN
    TFlatEdit* edit5; // DSN password
    TFlatMemo* memo2; // the query
};

class Tfrm_dsnless : public vx::tools::GeneratorDialog {
public:
    explicit Tfrm_dsnless(QWidget* parent = nullptr);

    TComboEdit* edit1; // the database file; its button opens a file dialog
    TFlatEdit* Edit2;
    TFlatEdit* Edit3;
    TFlatEdit* Edit4;
    TFlatEdit* Edit5;
};

class Tfrm_mailwiz : public vx::tools::GeneratorDialog {
public:
    explicit Tfrm_mailwiz(QWidget* parent = nullptr);

    TFlatEdit* Edit1;
};

class Tfrm_massmailing : public vx::tools::GeneratorDialog {
public:
    explicit Tfrm_massmailing(QWidget* parent = nullptr);

    TComboEdit* ComboEdit1; // the database's file name
    TFlatEdit* Edit1;       // field
    TFlatEdit* Edit2;       // your name
    TFlatEdit* Edit3;       // your address
    TFlatEdit* Edit5;       // table
    TFlatEdit* Edit4;       // subject
    TFlatMemo* msgmemo;
};

class Tfrm_coldmail : public vx::tools::GeneratorDialog {
public:
    explicit Tfrm_coldmail(QWidget* parent = nullptr);

    TFlatEdit* fromed;
    TFlatEdit* Edit2;
    TFlatEdit* Edit3;
    TFlatMemo* submemo;
};
