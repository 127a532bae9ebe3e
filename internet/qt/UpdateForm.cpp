// The update check window.
#include "internet/qt/UpdateForm.h"

#include "internet/qt/AsyncFetch.h"
#include "internet/UpdateCheck.h"
#include "localisation/RunTimeText.h"
#include "localisation/qt/KMLang.h"
#include "platform/TStringList.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

const TRunTimeText CouldNotCheck{"Could not check for updates"};
const TRunTimeText UpdateAvailable{"\r!! Update available !!\r\rVisit our homepage at %1 to download it\r"};
const TRunTimeText NoUpdates{"No updates found"};
const TRunTimeText HostResolvedStatus{"Host name resolved"};
const TRunTimeText HostResolvedHint{"Hostname resolved"};
const TRunTimeText ConnectingToServer{"Connecting to server"};
const TRunTimeText Retrieving{"Retrieving data"};
const TRunTimeText FailedHint{"Connection failed"};
const TRunTimeText FailedStatus{"Connection failed.."};
const TRunTimeText Disconnecting{"Disconnecting"};
const TRunTimeText UpdateFound{"!! Update available !!"};

constexpr const char* kHomePage = "https://vellumix.org/";

} // namespace

Tfrm_update::Tfrm_update(QWidget* parent) : QDialog(parent), fetch_(new TAsyncFetch(this))
{
    // A version file is one short line; anything large is not one.
    fetch_->Fetcher().MaxBody = 64 << 10;
    setObjectName("frm_update");
    setWindowTitle("Update information");
    SpeedButton1 = new QPushButton("&Check", this);
    SpeedButton1->setObjectName("SpeedButton1");
    SpeedButton1->setAutoDefault(false);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName("Memo1");
    Memo1->setReadOnly(true);
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(" * Update information *", this));
    layout->addWidget(Memo1, 1);
    layout->addWidget(SpeedButton1);
    layout->addWidget(StatusBar1);
    resize(360, 240);
    connect(SpeedButton1, &QPushButton::clicked, this, [this] { SpeedButton1Click(); });
    fetch_->OnEvent = [this](THttpEvent event) {
        switch (event) {
        case THttpEvent::HostResolved: SetStatus(HostResolvedStatus(), HostResolvedHint()); break;
        case THttpEvent::Connected: SetStatus(ConnectingToServer()); break;
        case THttpEvent::Sent:
        case THttpEvent::Received: SetStatus(Retrieving()); break;
        case THttpEvent::Redirected: break;
        }
    };
    fetch_->OnDone = [this](const TFetchReply& reply) { Fetched(reply); };
    TranslateWindow(this);
}

Tfrm_update::~Tfrm_update() = default;

void Tfrm_update::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    move(20, 20);
}

void Tfrm_update::done(int result)
{
    fetch_->Cancel();
    SpeedButton1->setEnabled(true);
    QDialog::done(result);
}

void Tfrm_update::SetStatus(const std::string& text, const std::string& hint)
{
    StatusBar1->showMessage(vx::ToQString(text));
    setToolTip(vx::ToQString(hint.empty() ? text : hint));
}

void Tfrm_update::SpeedButton1Click()
{
    if (fetch_->Busy())
        return;
    Memo1->clear();
    SpeedButton1->setEnabled(false);
    fetch_->Start({VersionUrl, false});
}

void Tfrm_update::Fetched(const TFetchReply& reply)
{
    SpeedButton1->setEnabled(true);
    if (!reply.Ok) {
        SetStatus(FailedStatus(), FailedHint());
        ShowMessage(CouldNotCheck());
        return;
    }
    SetStatus(Disconnecting());
    TStringList lines;
    lines.SetText(reply.Body);
    Memo1->setPlainText(vx::ToQString(lines.Text()));
    switch (ReadVersionReply(reply)) {
    case TUpdateResult::UpdateAvailable:
        ShowMessage(UpdateAvailable({kHomePage}));
        SetStatus(UpdateFound());
        break;
    case TUpdateResult::UpToDate:
        ShowMessage(NoUpdates());
        SetStatus(NoUpdates());
        break;
    case TUpdateResult::CouldNotCheck:
        ShowMessage(CouldNotCheck());
        SetStatus(CouldNotCheck());
        break;
    }
}
