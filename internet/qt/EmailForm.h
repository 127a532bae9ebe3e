// Tfrm_email, "Email Source": mails the text of the active document to one
// recipient. The launcher puts the document's lines into SakMsg1().Text(),
// and how its file stores them into SakMsg1().TextEncoding, before showing
// the dialog; the mail server and the sender come from the preferences
// ("smtp" and "email" under the program's settings key). Without a mail
// server the dialog says so and does not open. "Cancel" while the
// message goes out stops the dialogue with the server, says so and closes
// the dialog.
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

    // Shows the dialog modally, unless no mail server is set: then it says so and returns Rejected.
    int exec() override;
    // The settings are read on every activation, as the preferences may have changed.
    void FormActivate();
    void SpeedButton1Click();
    void SpeedButton2Click();
    // Escape or closing while sending cancels; the dialog goes once the dialogue has ended.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ReadSettings();
    void Send();

    TSakSMTP smtp_;
    TSakMsg msg_;
    std::string mailServer_;
    std::string sender_;
    bool sending_ = false;
    bool cancelled_ = false;
};
