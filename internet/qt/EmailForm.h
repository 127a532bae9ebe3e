// Tfrm_email, "Email Source": mails the text of the active document to one
// recipient. The launcher puts the document's lines into SakMsg1().Text()
// before showing the dialog; the mail server and the sender come from the
// preferences ("smtp" and "email" under the program's settings key).
#pragma once

#include <QDialog>

#include "internet/SakMsg.h"
#include "internet/SakSMTP.h"

#include <string>

class QLineEdit;
class QPushButton;

class Tfrm_email : public QDialog {
public:
    explicit Tfrm_email(QWidget* parent = nullptr);

    TSakMsg& SakMsg1() { return msg_; }
    TSakSMTP& SakSMTP1() { return smtp_; }

    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QLineEdit* Edit3;
    QPushButton* SpeedButton1;
    QPushButton* SpeedButton2;

    // The settings are read on every activation, as the preferences may have changed.
    void FormActivate();
    void SpeedButton1Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Send();

    TSakSMTP smtp_;
    TSakMsg msg_;
    std::string mailServer_;
    std::string sender_;
};
