// The e-mail source dialog.
#include "internet/qt/EmailForm.h"

#include "internet/HostName.h"
#include "internet/MailAddress.h"
#include "internet/TextUtil.h"
#include "localisation/RunTimeText.h"
#include "localisation/qt/KMLang.h"
#include "platform/Registry.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"

#include <QCoreApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const TRunTimeText CouldNotConnect{"Could not connect to the mail server %1: %2"};
const TRunTimeText NoServer{"No mailserver defined in preferences!"};
const TRunTimeText NotAHostName{
    "The mail server \"%1\" is not a host name alone. The SMTP mailer field of the preferences takes the name or "
    "address of the server, such as mail.example.com or 127.0.0.1, without a port: mail is always sent to port 25, "
    "the SMTP port."};
const TRunTimeText NoSender{"No e-mail address defined in preferences!"};
constexpr const char* kMakerUrl = "https://vellumix.org/";

QLineEdit* NamedEdit(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    return edit;
}

QPushButton* NamedButton(QWidget* parent, const char* name, const char* caption)
{
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

} // namespace

Tfrm_email::Tfrm_email(QWidget* parent) : QDialog(parent)
{
    setObjectName("frm_email");
    setWindowTitle("Email Source");
    Edit1 = NamedEdit(this, "Edit1");
    Edit2 = NamedEdit(this, "Edit2");
    Edit3 = NamedEdit(this, "Edit3");
    SpeedButton1 = NamedButton(this, "SpeedButton1", "&Send Source");
    SpeedButton2 = NamedButton(this, "SpeedButton2", "&Cancel");

    auto* fields = new QFormLayout;
    fields->addRow("To (Name)", Edit1);
    fields->addRow("To (Email Address)", Edit2);
    fields->addRow("Subject", Edit3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(SpeedButton1);
    buttons->addWidget(SpeedButton2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);

    smtp_.Port = "25";
    smtp_.ProcessMessages = [] { QCoreApplication::processEvents(); };
    msg_.Priority = prHighest;
    connect(SpeedButton1, &QPushButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(SpeedButton2, &QPushButton::clicked, this, [this] { SpeedButton2Click(); });
    TranslateWindow(this);
}

int Tfrm_email::exec()
{
    ReadSettings();
    if (mailServer_.empty()) {
        ShowMessage(NoServer());
        setResult(Rejected);
        return Rejected;
    }
    return QDialog::exec();
}

void Tfrm_email::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void Tfrm_email::reject()
{
    if (sending_) {
        SpeedButton2Click();
        return;
    }
    QDialog::reject();
}

void Tfrm_email::ReadSettings()
{
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    reg.OpenKey("\\software\\Orvane\\Vellumix\\", true);
    mailServer_ = vx::net::Trim(RegReadStringDef(reg, "smtp", ""));
    std::string email = vx::net::Trim(RegReadStringDef(reg, "email", ""));
    sender_ = email.empty() ? std::string() : "<" + vx::net::BareAddress(email) + ">";
    reg.CloseKey();
}

void Tfrm_email::FormActivate()
{
    move(20, 20);
    ReadSettings();
    // Shown without exec: the dialog closes as soon as it is up.
    if (mailServer_.empty()) {
        ShowMessage(NoServer());
        QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
    }
}

void Tfrm_email::SpeedButton2Click()
{
    if (!sending_) {
        close();
        return;
    }
    cancelled_ = true;
    SpeedButton2->setEnabled(false);
    smtp_.Cancel();
}

void Tfrm_email::SpeedButton1Click()
{
    if (mailServer_.empty()) {
        ShowMessage(NoServer());
        return;
    }
    if (!vx::net::IsHostNameAlone(mailServer_)) {
        ShowMessage(NotAHostName({mailServer_}));
        return;
    }
    if (sender_.empty()) {
        ShowMessage(NoSender());
        return;
    }
    // The window stays responsive while the dialogue runs; a second click must not start another.
    SpeedButton1->setEnabled(false);
    sending_ = true;
    cancelled_ = false;
    try {
        Send();
    } catch (const std::exception& e) {
        smtp_.Quit();
        ShowMessage(ErrorText(e));
    }
    sending_ = false;
    SpeedButton1->setEnabled(true);
    SpeedButton2->setEnabled(true);
    if (cancelled_)
        close();
}

void Tfrm_email::Send()
{
    smtp_.Host = mailServer_;
    QString title = QCoreApplication::applicationName();
    smtp_.MailerTitle = title.isEmpty() ? "Vellumix" : vx::FromQString(title);
    msg_.ExtraHeaders().Clear();
    msg_.ExtraHeaders().Add("x-Mailer: Vellumix Professional");
    msg_.ExtraHeaders().Add(std::string("x-Url: ") + kMakerUrl);
    msg_.From = sender_;
    std::string name = vx::net::Trim(vx::FromQString(Edit1->text()));
    std::string address = "<" + vx::net::BareAddress(vx::FromQString(Edit2->text())) + ">";
    msg_.SendTo = name.empty() ? address : vx::net::QuotedName(name) + " " + address;
    msg_.Subject = vx::FromQString(Edit3->text());

    smtp_.Connect();
    if (smtp_.Error()) {
        const std::string why = InCurrentLanguage(smtp_.Reply());
        // A cancel is no failure: it says it was cancelled.
        ShowMessage(cancelled_ ? why : CouldNotConnect({mailServer_, why}));
        return;
    }
    // Refused, failed or cancelled: the reply says which.
    if (!smtp_.SendMessage(msg_)) {
        ShowMessage(InCurrentLanguage(smtp_.Reply()));
        return;
    }
    const TMessage accepted = smtp_.Reply();
    smtp_.Quit();
    // A cancel or a lost goodbye after the server took the message does not take it back.
    ShowMessage(InCurrentLanguage(smtp_.Error() ? accepted : smtp_.Reply()));
}
