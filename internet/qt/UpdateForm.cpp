// The update check window.
#include "internet/qt/UpdateForm.h"

#include "internet/qt/WindowFetcher.h"
#include "internet/UpdateCheck.h"
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
constexpr const char* kHomePage = "https://vellumix.org/";
}

Tfrm_update::Tfrm_update(QWidget* parent) : Tfrm_update(parent, nullptr) {}

Tfrm_update::Tfrm_update(QWidget* parent, std::unique_ptr<IHttpFetcher> fetcher)
    : QDialog(parent), fetcher_(std::move(fetcher))
{
    if (!fetcher_) {
        auto curl = NewWindowFetcher();
        // A version file is one short line; anything large is not one.
        curl->MaxBody = 64 << 10;
        fetcher_ = std::move(curl);
    }
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
    TranslateWindow(this);
}

Tfrm_update::~Tfrm_update() = default;

void Tfrm_update::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    move(20, 20);
}

void Tfrm_update::SetStatus(const std::string& text)
{
    StatusBar1->showMessage(vx::ToQString(text));
    setToolTip(vx::ToQString(text));
}

void Tfrm_update::SpeedButton1Click()
{
    Memo1->clear();
    SetStatus("Connecting to server");
    SpeedButton1->setEnabled(false);
    TFetchReply reply = fetcher_->Fetch({VersionUrl, false});
    SpeedButton1->setEnabled(true);
    if (reply.Ok) {
        TStringList lines;
        lines.SetText(reply.Body);
        Memo1->setPlainText(vx::ToQString(lines.Text()));
    }
    switch (ReadVersionReply(reply)) {
    case TUpdateResult::UpdateAvailable:
        ShowMessage(std::string("\r!! Update available !!\r\rVisit our homepage at ") + kHomePage
                    + " to download it\r");
        SetStatus("!! Update available !!");
        break;
    case TUpdateResult::UpToDate:
        ShowMessage("No updates found");
        SetStatus("No updates found");
        break;
    case TUpdateResult::CouldNotCheck:
        ShowMessage("Could not check for updates");
        SetStatus("Could not check for updates");
        break;
    }
}
