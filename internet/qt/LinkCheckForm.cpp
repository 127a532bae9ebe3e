// The link checker's window.
#include "internet/qt/LinkCheckForm.h"

#include "internet/qt/LinkPictures.h"
#include "internet/qt/LinkTreeModel.h"
#include "localisation/RunTimeText.h"
#include "localisation/qt/KMLang.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeView>
#include <QVBoxLayout>

bool LinkCheckDone = false;

namespace {

const TRunTimeText LimitReached{"The check stopped listing links at its limit of %1 links. The pages whose links were "
                                "left out say so when you select them."};
const TRunTimeText StartPageNotRead{"The start page %1 could not be read: %2"};
const TRunTimeFilter HtmlFilter{"HTML files|*.htm;*.html|All files|*.*"};
// The buttons' captions while a validation runs and after it.
const TRunTimeText CancelCaption{"&Cancel"};
const TRunTimeText ValidateCaption{"&Validate"};
const TRunTimeText CheckCaption{"&Check"};
// What the walk is doing, as the status bar words the walk's phases.
const TRunTimeText PhaseWordings[] = {TRunTimeText{"Loading"}, TRunTimeText{"Parsing"}, TRunTimeText{"Finished"},
                                      TRunTimeText{"Cancelled"}, TRunTimeText{"Failed"}};

std::string PhaseText(std::string_view phase)
{
    for (const TRunTimeText& wording : PhaseWordings)
        if (phase == wording.English())
            return wording();
    return std::string(phase);
}

QPushButton* Button(QWidget* parent, const char* name, const char* caption, const char* hint = nullptr)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    if (hint)
        button->setToolTip(hint);
    return button;
}

} // namespace

TfrmLinkChecking::TfrmLinkChecking(QWidget* parent)
    : QDialog(parent), crawl_(fetcher_), model_(new TLinkTreeModel(crawl_, this))
{
    setObjectName("frmLinkChecking");
    setWindowTitle("Link and File validator");
    BuildWindow();
    crawl_.ProcessMessages = [] { QCoreApplication::processEvents(); };
    crawl_.OnResetting = [this] { model_->Resetting(); };
    crawl_.OnReset = [this] { model_->Reset(); };
    crawl_.OnChildrenAdding = [this](int parent, int count) { model_->ChildrenAdding(parent, count); };
    crawl_.OnChildrenAdded = [this](int) { model_->ChildrenAdded(); };
    crawl_.OnNodeChanged = [this](int node) { model_->NodeChanged(node); };
    crawl_.OnStatus = [this](const std::string& address, const std::string& phase) {
        SetPanel(0, address);
        SetPanel(1, PhaseText(phase));
    };
    crawl_.OnParseError = [](const TMessage& message) { MessageDlg(InCurrentLanguage(message), mtError, mbOK); };
    TranslateWindow(this);
}

TfrmLinkChecking::~TfrmLinkChecking() = default;

void TfrmLinkChecking::SetProxy(const std::string& host, int port)
{
    fetcher_.Proxy = host;
    fetcher_.ProxyPort = port;
}

void TfrmLinkChecking::BuildWindow()
{
    edtHTML = new QLineEdit(this);
    edtHTML->setObjectName("edtHTML");
    edtHTML->setToolTip("Type full url if not allready filled in by program");
    btnBrowse = Button(this, "btnBrowse", "&Browse");
    btnCheck = Button(this, "btnCheck", "Validate", "Validate URL");
    btnCheck1 = Button(this, "btnCheck1", "&Check");
    trvLinks = new QTreeView(this);
    trvLinks->setObjectName("trvLinks");
    trvLinks->setHeaderHidden(true);
    trvLinks->setUniformRowHeights(true);
    trvLinks->setIconSize(QSize(34, 16));
    trvLinks->setModel(model_);
    stbStatus = new QStatusBar(this);
    stbStatus->setObjectName("stbStatus");
    stbStatus->setSizeGripEnabled(false);
    // The state panel takes the room its text needs, the reason of a bad link
    // whole, and the address panel what is left. The bar asks the window for
    // no room of its own, so neither panel ever makes the window wider.
    stbStatus->setSizePolicy(QSizePolicy::Ignored, stbStatus->sizePolicy().verticalPolicy());
    for (int i = 0; i < 2; ++i) {
        panels_[i] = new QLabel(stbStatus);
        // Addresses and servers' answers show as they came, never as markup.
        panels_[i]->setTextFormat(Qt::PlainText);
        stbStatus->addWidget(panels_[i], i == 0 ? 1 : 0);
    }
    panels_[0]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    auto* top = new QHBoxLayout;
    top->addWidget(edtHTML, 1);
    top->addWidget(btnBrowse);
    top->addWidget(btnCheck);
    top->addWidget(btnCheck1);
    auto* legend = new QHBoxLayout;
    int state = lsOk;
    for (const char* caption : {"Link ok", "Bad link", "Link checked as above", "Unknown response"}) {
        auto* picture = new QLabel(this);
        picture->setPixmap(LinkStatePicture(state == 5 ? lsUnknown : state));
        ++state;
        legend->addWidget(picture);
        legend->addWidget(new QLabel(caption, this));
        legend->addSpacing(12);
    }
    legend->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(trvLinks, 1);
    layout->addLayout(legend);
    layout->addWidget(stbStatus);
    resize(640, 480);

    for (QPushButton* b : {btnCheck, btnCheck1})
        connect(b, &QPushButton::clicked, this, [this] { btnCheck1Click(); });
    connect(btnBrowse, &QPushButton::clicked, this, [this] { btnBrowseClick(); });
    connect(trvLinks->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& index) { trvLinksChange(index); });
}

void TfrmLinkChecking::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    move(20, 20);
}

void TfrmLinkChecking::reject()
{
    if (running_) {
        crawl_.Cancel();
        return;
    }
    QDialog::reject();
}

std::string TfrmLinkChecking::StatusPanel(int index) const
{
    return index >= 0 && index < 2 ? vx::FromQString(panels_[index]->text()) : std::string();
}

void TfrmLinkChecking::SetPanel(int index, const std::string& text)
{
    // A long address is cut at the panel's edge; its hint holds it whole.
    panels_[index]->setText(vx::ToQString(text));
    panels_[index]->setToolTip(vx::ToQString(text));
}

void TfrmLinkChecking::btnBrowseClick()
{
    std::string file = vx::dialogs::OpenFile(OpenTitle(), HtmlFilter(), "", "htm");
    if (!file.empty())
        edtHTML->setText(vx::ToQPath(file));
}

void TfrmLinkChecking::btnCheck1Click()
{
    QString start = edtHTML->text();
    if (start.isEmpty() || start == "<empty>")
        return;
    if (running_) {
        btnCheck->setEnabled(false);
        crawl_.Cancel();
        return;
    }
    LinkCheckDone = false;
    running_ = true;
    btnCheck->setText(vx::ToQString(CancelCaption()));
    btnCheck1->setText(vx::ToQString(CancelCaption()));
    btnBrowse->setEnabled(false);
    edtHTML->setEnabled(false);
    Walk();
    running_ = false;
    btnCheck->setText(vx::ToQString(ValidateCaption()));
    btnCheck1->setText(vx::ToQString(CheckCaption()));
    btnCheck->setEnabled(true);
    btnBrowse->setEnabled(true);
    edtHTML->setEnabled(true);
    LinkCheckDone = true;
}

void TfrmLinkChecking::Walk()
{
    trvLinks->collapseAll();
    std::string start = vx::FromQPath(edtHTML->text());
    try {
        crawl_.Run(start);
    } catch (const std::exception& e) {
        ShowMessage(ErrorText(e));
    }
    trvLinks->expand(model_->index(0, 0));
    SetPanel(0, start);
    SetPanel(1, PhaseText(crawl_.Outcome()));
    // A walk that could not even read its start page has checked nothing.
    const TMessage failure = crawl_.StartPageFailure();
    if (!failure.English().empty())
        MessageDlg(StartPageNotRead({vx::PathText(start), InCurrentLanguage(failure)}), mtError, mbOK);
    if (crawl_.LimitReached())
        ShowMessage(LimitReached({std::to_string(crawl_.MaxLinks)}));
}

void TfrmLinkChecking::trvLinksChange(const QModelIndex& index)
{
    const int node = model_->NodeOf(index);
    if (node < 0)
        return;
    SetPanel(0, std::string(crawl_.Address(node)));
    SetPanel(1, InCurrentLanguage(crawl_.StatusText(node)));
}
