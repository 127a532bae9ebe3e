// The publishing window's layout, settings and local panes.
#include "internet/qt/FtpForm.h"

#include "controls/common/EnterKey.h"
#include "controls/flat/TFlatGaugeUnit.h"
#include "controls/flat/TFlatMemoUnit.h"
#include "controls/htmllist/HTMListb.h"
#include "internet/CurlFtpSession.h"
#include "internet/FtpSettings.h"
#include "internet/LocalAddresses.h"
#include "localisation/RunTimeText.h"
#include "localisation/qt/KMLang.h"
#include "platform/qt/QtText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include <tuple>

namespace {

const TRunTimeText LocalDrive{"Local drive"};
const TRunTimeText RemoteSystem{"Remote system"};
const TRunTimeText HostResolved{"Hostname resolved"};
const TRunTimeText BytesIn{"In : %1"};
const TRunTimeText BytesOut{"Out : %1"};
const TRunTimeText BytesTotal{"Tot : %1"};

constexpr const char* kWebMask = "*.asp;*.asa;*.inc;*.htm;*.html;*.shtml;*.js;*.vbs;*.gif;*.jpg;*.png";

struct TFilter {
    const char* caption;
    const char* mask;
};
constexpr TFilter kFilters[] = {
    {"All Web related files", kWebMask}, {"Asp files", "*.asp;*.asa;*.inc"}, {"Htm", "*.htm"},
    {"Html", "*.html"}, {"Shtml", "*.shtml"}, {"JavaScript", "*.js"},
    {"VBScript", "*.vbs"}, {"Graphics", "*.gif;*.jpg;*.png"},
};

template <class W> W* Named(W* widget, const char* name, const char* hint = nullptr)
{
    widget->setObjectName(name);
    if (hint)
        widget->setToolTip(hint);
    return widget;
}

QPushButton* Button(QWidget* parent, const char* name, const char* caption, const char* hint)
{
    auto* button = Named(new QPushButton(caption, parent), name, hint);
    button->setAutoDefault(false);
    return button;
}

} // namespace

Tf_ftp::Tf_ftp(QWidget* parent) : Tf_ftp(parent, std::make_unique<TCurlFtpSession>()) {}

Tf_ftp::Tf_ftp(QWidget* parent, std::unique_ptr<IFtpSession> session) : QDialog(parent), session_(std::move(session))
{
    setObjectName("f_ftp");
    setWindowTitle("Publish Files");
    BuildWindow();
    Wire();
    move(10, 10);
    session_->OnProgress = [this](std::int64_t received, std::int64_t sent) {
        transferIn_ = received;
        transferOut_ = sent;
        ShowCounters();
        if (FlatGauge1->MaxValue() > 0)
            FlatGauge1->SetProgress(static_cast<int>(std::min<std::int64_t>(received, FlatGauge1->MaxValue())));
    };
    session_->OnHostResolved = [this] { SetPanel(3, HostResolved()); };
    session_->Idle = [] { QCoreApplication::processEvents(); };
    SetLocalFolder(QDir::homePath());
    SetConnectedState(false);
    TranslateWindow(this);
}

Tf_ftp::~Tf_ftp()
{
    session_->OnProgress = nullptr;
    session_->OnHostResolved = nullptr;
    session_->Idle = nullptr;
}

void Tf_ftp::BuildWindow()
{
    edit1 = Named(new QLineEdit(this), "edit1");
    edit2 = Named(new QLineEdit(this), "edit2");
    Edit3 = Named(new QLineEdit(this), "Edit3");
    Edit3->setEchoMode(QLineEdit::Password);
    SavePassword = Named(new QCheckBox("Save password", this), "SavePassword");
    SpeedButton1 = Button(this, "SpeedButton1", "Connect", "Connect to server");
    SpeedButton2 = Button(this, "SpeedButton2", "Disconnect", "Disconnect from server");

    DirectoryListBox1 = Named(new QListWidget(this), "DirectoryListBox1", "Select directory");
    FileListBox1 = Named(new QListWidget(this), "FileListBox1", "Select filename(s) to transfer to server");
    FileListBox1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    FilterComboBox1 = Named(new QComboBox(this), "FilterComboBox1", "Select filename filter");
    for (const auto& filter : kFilters)
        FilterComboBox1->addItem(filter.caption, QString::fromLatin1(filter.mask));
    Panel3 = Named(new QLabel("Local drive", this), "Panel3");
    Panel5 = Named(new QLabel("Remote System", this), "Panel5");
    Panel5->setTextFormat(Qt::PlainText);

    h_list = Named(new vx::THTMListbox(this), "h_list");
    ListBox1 = Named(new QListWidget(this), "ListBox1", "Remote system's file(s)");
    ListBox2 = Named(new QListWidget(this), "ListBox2");
    ListBox3 = Named(new QListWidget(this), "ListBox3");
    ListBox2->hide();
    ListBox3->hide();
    ComboBox1 = Named(new QComboBox(this), "ComboBox1");
    ComboBox1->setEditable(true);
    SpeedButton9 = Button(this, "SpeedButton9", "Change dir.", "Change online directory");

    button1 = Button(this, "button1", ">>", "Transfer selected files");
    SpeedButton3 = Button(this, "SpeedButton3", "<<", "Download file(s)");
    SpeedButton4 = Button(this, "SpeedButton4", "Change Dir.", "Change remote directory");
    SpeedButton5 = Button(this, "SpeedButton5", "Refresh", "Refresh file list");
    SpeedButton6 = Button(this, "SpeedButton6", "Delete", "Delete file(s)");
    SpeedButton7 = Button(this, "SpeedButton7", "MKDir", "Create remote directory");
    SpeedButton8 = Button(this, "SpeedButton8", "Refresh", "Refresh local data screens");
    SpeedButton10 = Button(this, "SpeedButton10", "Cancel", "Stop the running transfer");
    SpeedButton10->setEnabled(false);
    FlatGauge1 = Named(new TFlatGauge(this), "FlatGauge1");
    FlatGauge1->SetProgress(0);
    FlatGauge1->setMinimumHeight(16);
    MEMO1 = Named(new TFlatMemo(this), "MEMO1");
    MEMO1->setReadOnly(true);
    StatusBar1 = Named(new QStatusBar(this), "StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    for (auto& panel : panels_) {
        panel = new QLabel(StatusBar1);
        // A server's replies and names show as they came, never as markup.
        panel->setTextFormat(Qt::PlainText);
        StatusBar1->addWidget(panel, 1);
    }

    // The fields have a row of their own: beside the buttons a host name or
    // a user name would show only in part, the more so in longer languages.
    auto* login = new QGridLayout;
    int column = 0;
    for (auto [caption, edit, share] :
         {std::tuple{"Hostname", edit1, 3}, {"Username", edit2, 2}, {"Password", Edit3, 2}}) {
        login->addWidget(new QLabel(caption, this), 0, column++);
        login->setColumnStretch(column, share);
        login->addWidget(edit, 0, column++);
    }
    auto* loginButtons = new QHBoxLayout;
    loginButtons->addStretch();
    loginButtons->addWidget(SavePassword);
    loginButtons->addWidget(SpeedButton1);
    loginButtons->addWidget(SpeedButton2);
    login->addLayout(loginButtons, 1, 0, 1, column);

    auto* local = new QVBoxLayout;
    local->addWidget(Panel3);
    local->addWidget(DirectoryListBox1, 1);
    local->addWidget(FileListBox1, 2);
    local->addWidget(FilterComboBox1);
    local->addWidget(SpeedButton8);

    auto* middle = new QVBoxLayout;
    middle->addStretch();
    middle->addWidget(button1);
    middle->addWidget(SpeedButton3);
    middle->addWidget(SpeedButton10);
    middle->addStretch();

    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(ComboBox1, 1);
    folderRow->addWidget(SpeedButton9);
    auto* remoteButtons = new QHBoxLayout;
    for (auto* b : {SpeedButton4, SpeedButton5, SpeedButton6, SpeedButton7})
        remoteButtons->addWidget(b);
    auto* remote = new QVBoxLayout;
    remote->addWidget(Panel5);
    remote->addLayout(folderRow);
    remote->addWidget(h_list, 3);
    remote->addWidget(ListBox1, 1);
    remote->addLayout(remoteButtons);

    auto* panes = new QHBoxLayout;
    panes->addLayout(local, 1);
    panes->addLayout(middle);
    panes->addLayout(remote, 2);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(login);
    layout->addLayout(panes, 1);
    layout->addWidget(FlatGauge1);
    layout->addWidget(MEMO1);
    layout->addWidget(StatusBar1);
    resize(780, 540);
}

void Tf_ftp::Wire()
{
    // While a call runs the other commands wait: the session does one thing at a time.
    auto on = [this](QPushButton* button, void (Tf_ftp::*command)()) {
        connect(button, &QPushButton::clicked, this, [this, command] {
            if (!busy_)
                (this->*command)();
        });
    };
    on(SpeedButton1, &Tf_ftp::Connect);
    connect(SpeedButton2, &QPushButton::clicked, this, [this] {
        if (!busy_) {
            Disconnect();
            return;
        }
        disconnectAfter_ = true;
        session_->Cancel();
    });
    connect(SpeedButton10, &QPushButton::clicked, this, [this] { session_->Cancel(); });
    on(SpeedButton3, &Tf_ftp::Download);
    on(SpeedButton4, &Tf_ftp::OpenEntry);
    on(SpeedButton5, &Tf_ftp::RefreshList);
    on(SpeedButton6, &Tf_ftp::DeleteEntry);
    on(SpeedButton7, &Tf_ftp::MakeFolder);
    on(SpeedButton8, &Tf_ftp::RefreshLocal);
    on(SpeedButton9, &Tf_ftp::ChangeFolderFromBox);
    on(button1, &Tf_ftp::Upload);
    connect(h_list, &QListWidget::itemDoubleClicked, this, [this] {
        if (!busy_)
            OpenEntry();
    });
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        const int row = remote_.RowOfLine(ListBox1->row(item));
        if (busy_ || row < 0)
            return;
        h_list->SetItemIndex(row);
        OpenEntry();
    });
    connect(ComboBox1, qOverload<int>(&QComboBox::activated), this, [this] {
        if (!busy_)
            ChangeFolderFromBox();
    });
    connect(FilterComboBox1, qOverload<int>(&QComboBox::currentIndexChanged), this, [this] { RefreshLocal(); });
    connect(DirectoryListBox1, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { OpenLocalFolder(item->text()); });
    vx::OnEnterKey(DirectoryListBox1, [this] { OpenLocalFolder(DirectoryListBox1->currentItem()->text()); });
}

void Tf_ftp::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void Tf_ftp::ShowRemoteAddress()
{
    Panel5->setText(vx::ToQString(RemoteSystem() + " [" + session_->RemoteAddress() + "]"));
}

void Tf_ftp::reject()
{
    if (busy_) {
        session_->Cancel();
        return;
    }
    QDialog::reject();
}

void Tf_ftp::FormActivate()
{
    Panel3->setText(vx::ToQString(LocalDrive() + " [" +
                                  vx::net::PickLocalAddress(vx::net::TSystemAddressSource().Addresses()) + "]"));
    ShowRemoteAddress();
    if (session_->Connected())
        return;
    TFtpSettings settings = TFtpSettings::Load();
    edit1->setText(vx::ToQString(settings.Host));
    edit2->setText(vx::ToQString(settings.User));
    Edit3->setText(vx::ToQString(settings.Password));
    SavePassword->setChecked(settings.KeepPassword);
}

void Tf_ftp::SetLocalFolder(const QString& folder)
{
    localFolder_ = QDir(folder).absolutePath();
    RefreshLocal();
}

void Tf_ftp::OpenLocalFolder(const QString& name)
{
    QDir dir(localFolder_);
    if (dir.cd(name))
        SetLocalFolder(dir.absolutePath());
}

void Tf_ftp::RefreshLocal()
{
    QDir dir(localFolder_);
    DirectoryListBox1->clear();
    if (!dir.isRoot())
        DirectoryListBox1->addItem("..");
    DirectoryListBox1->addItems(dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase));
    FileListBox1->clear();
    QString mask = FilterComboBox1->currentData().toString();
    FileListBox1->addItems(dir.entryList(mask.split(';'), QDir::Files, QDir::Name | QDir::IgnoreCase));
}

std::string Tf_ftp::StatusPanel(int index) const
{
    return index >= 0 && index < 4 ? vx::FromQString(panels_[index]->text()) : std::string();
}

void Tf_ftp::SetPanel(int index, const std::string& text)
{
    panels_[index]->setText(vx::ToQString(text));
}

void Tf_ftp::ShowCounters()
{
    SetPanel(0, BytesIn({std::to_string(bytesIn_ + transferIn_)}));
    SetPanel(1, BytesOut({std::to_string(bytesOut_ + transferOut_)}));
    SetPanel(2, BytesTotal({std::to_string(bytesIn_ + transferIn_ + bytesOut_ + transferOut_)}));
}

void Tf_ftp::SetConnectedState(bool connected)
{
    for (QWidget* w : {static_cast<QWidget*>(edit1), static_cast<QWidget*>(edit2), static_cast<QWidget*>(Edit3),
                       static_cast<QWidget*>(SavePassword), static_cast<QWidget*>(SpeedButton1)})
        w->setEnabled(!connected);
    SpeedButton2->setEnabled(connected);
    button1->setEnabled(connected);
    SpeedButton3->setEnabled(connected);
}
