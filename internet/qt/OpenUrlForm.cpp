// The Open URL window.
#include "internet/qt/OpenUrlForm.h"

#include "internet/qt/AsyncFetch.h"
#include "localisation/RunTimeText.h"
#include "localisation/qt/KMLang.h"
#include "platform/Exception.h"
#include "platform/FileIO.h"
#include "platform/ProgramPaths.h"
#include "platform/TStringList.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

const TRunTimeText ReplaceFile{"%1 already exists.\nDo you want to replace it?"};

constexpr const char* kHistory = "url.dat";
const TRunTimeFilter kSaveFilter{"HTM|*.htm|HTML|*.html|SHTML|*.shtml|ASP|*.asp|VBScript|*.vbs|JavaScript|*.js"};
const TRunTimeText kSaveTitle{"Save"};
const TRunTimeText Connecting{"Connecting to website"};
const TRunTimeText Sending{"Sending data.."};
const TRunTimeText Receiving{"Receiving data.."};
const TRunTimeText Redirected{"Redirected.."};
const TRunTimeText Preparing{"Preparing for opening url"};
const TRunTimeText InvalidHost{"Invalid hostname"};
const TRunTimeText ConnectionFailed{"Connection failed"};
const TRunTimeText Done{"Done."};

} // namespace

Tfrm_openurl::Tfrm_openurl(QWidget* parent) : QDialog(parent), fetch_(new TAsyncFetch(this))
{
    setObjectName("frm_openurl");
    setWindowTitle("Open URL");
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setEditText("http://");
    ComboBox1->setToolTip("Full url to webpage you want to open, e.g. http://www.example.com/index.html");
    ComboBox1->lineEdit()->installEventFilter(this);
    SpeedButton1 = new QPushButton("Fetch webpage", this);
    SpeedButton1->setObjectName("SpeedButton1");
    SpeedButton1->setToolTip("Downloads the webpage, saves it and opens it so you can start editing it");
    SpeedButton2 = new QPushButton("Cancel", this);
    SpeedButton2->setObjectName("SpeedButton2");
    SpeedButton2->setToolTip("Cancel action and return to edit screen");
    for (QPushButton* b : {SpeedButton1, SpeedButton2})
        b->setAutoDefault(false);
    memo1 = new QPlainTextEdit(this);
    memo1->setObjectName("memo1");
    memo1->setReadOnly(true);
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setSizeGripEnabled(false);

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel("Open webpage ", this));
    row->addWidget(ComboBox1, 1);
    row->addWidget(SpeedButton1);
    row->addWidget(SpeedButton2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(memo1, 1);
    layout->addWidget(StatusBar1);
    resize(560, 320);

    connect(SpeedButton1, &QPushButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(SpeedButton2, &QPushButton::clicked, this, &QDialog::close);
    fetch_->OnEvent = [this](THttpEvent event) {
        switch (event) {
        case THttpEvent::Connected: SetStatus(Connecting()); break;
        case THttpEvent::Sent: SetStatus(Sending()); break;
        case THttpEvent::Received: SetStatus(Receiving()); break;
        case THttpEvent::Redirected: SetStatus(Redirected()); break;
        case THttpEvent::HostResolved: break;
        }
    };
    fetch_->OnDone = [this](const TFetchReply& reply) { Fetched(reply); };
    TranslateWindow(this);
}

Tfrm_openurl::~Tfrm_openurl() = default;

void Tfrm_openurl::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
}

bool Tfrm_openurl::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            SpeedButton1->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Tfrm_openurl::FormActivate()
{
    move(20, 20);
    memo1->clear();
    const std::string path = vx::UserDataPath(kHistory);
    if (!vx::FileExists(path))
        return;
    TStringList history;
    try {
        history.LoadFromFile(path);
    } catch (const Exception&) {
        return;
    }
    ComboBox1->clear();
    for (int i = 0; i < history.Count(); ++i)
        ComboBox1->addItem(vx::ToQString(history[i]));
    if (ComboBox1->count() > 0)
        ComboBox1->setCurrentIndex(0);
}

void Tfrm_openurl::done(int result)
{
    fetch_->Cancel();
    SpeedButton1->setEnabled(true);
    QDialog::done(result);
}

void Tfrm_openurl::SetStatus(const std::string& text)
{
    StatusBar1->showMessage(vx::ToQString(text));
}

void Tfrm_openurl::SpeedButton1Click()
{
    if (fetch_->Busy())
        return;
    const std::string url = vx::FromQString(ComboBox1->currentText().trimmed());
    TStringList history;
    for (int i = 0; i < ComboBox1->count(); ++i)
        history.Add(vx::FromQString(ComboBox1->itemText(i)));
    history.Add(url);
    ComboBox1->addItem(vx::ToQString(url));
    try {
        history.SaveToFile(vx::UserDataPath(kHistory));
    } catch (const Exception& e) {
        ShowMessage(ErrorText(e));
    }
    SpeedButton1->setEnabled(false);
    SetStatus(Preparing());
    fetch_->Start({url, false});
}

void Tfrm_openurl::Fetched(const TFetchReply& reply)
{
    SpeedButton1->setEnabled(true);
    if (!reply.Ok || !IsSuccess(reply.Status)) {
        SetStatus(reply.Failure == TFetchFailure::InvalidHost ? InvalidHost() : ConnectionFailed());
        return;
    }
    SetStatus(Done());
    SavePage(reply.Body);
}

void Tfrm_openurl::SavePage(const std::string& page)
{
    TStringList lines;
    lines.SetText(page);
    memo1->setPlainText(vx::ToQString(lines.Text()));
    std::string file = vx::dialogs::SaveFile(kSaveTitle(), kSaveFilter(), "", "htm");
    if (!file.empty()) {
        if (vx::FileExists(file) && MessageDlg(ReplaceFile({file}), mtConfirmation, mbYesNo) != mrYes)
            return;
        try {
            lines.SaveToFile(file);
            savedFile_ = file;
        } catch (const Exception& e) {
            ShowMessage(ErrorText(e));
            return;
        }
    }
    close();
}
