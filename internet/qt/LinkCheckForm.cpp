// The link checker's window.
#include "internet/qt/LinkCheckForm.h"

#include "internet/qt/LinkPictures.h"
#include "localisation/RunTimeText.h"
#include "localisation/qt/KMLang.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>

bool LinkCheckDone = false;

namespace {

const TRunTimeFilter HtmlFilter{"HTML files|*.htm;*.html|All files|*.*"};

constexpr int kNodeRole = Qt::UserRole;

QPushButton* Button(QWidget* parent, const char* name, const char* caption, const char* hint = nullptr)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    if (hint)
        button->setToolTip(hint);
    return button;
}

std::string StateText(const TLinkNode& node)
{
    switch (node.State) {
    case lsOk: return "OK " + std::to_string(node.Status);
    case lsBad: return "Bad " + std::to_string(node.Status);
    case lsCheckedAbove: return "Checked above";
    default: return "Unknown";
    }
}

} // namespace

TfrmLinkChecking::TfrmLinkChecking(QWidget* parent) : TfrmLinkChecking(parent, nullptr) {}

TfrmLinkChecking::TfrmLinkChecking(QWidget* parent, std::unique_ptr<IHttpFetcher> fetcher)
    : QDialog(parent), fetcher_(fetcher ? std::move(fetcher) : std::make_unique<TCurlHttpFetcher>()), crawl_(*fetcher_)
{
    setObjectName("frmLinkChecking");
    setWindowTitle("Link and File validator");
    BuildWindow();
    if (auto* curl = dynamic_cast<TCurlHttpFetcher*>(fetcher_.get()))
        curl->Idle = [] { QCoreApplication::processEvents(); };
    crawl_.ProcessMessages = [] { QCoreApplication::processEvents(); };
    crawl_.OnNodeAdded = [this](int index) { NodeAdded(index); };
    crawl_.OnNodeChanged = [this](int index) { NodeChanged(index); };
    crawl_.OnStatus = [this](const std::string& address, const std::string& phase) {
        SetPanel(0, address);
        SetPanel(1, phase);
    };
    crawl_.OnParseError = [](const std::string& message) { MessageDlg(message, mtError, mbOK); };
    TranslateWindow(this);
}

TfrmLinkChecking::~TfrmLinkChecking() = default;

void TfrmLinkChecking::SetProxy(const std::string& host, int port)
{
    if (auto* curl = dynamic_cast<TCurlHttpFetcher*>(fetcher_.get())) {
        curl->Proxy = host;
        curl->ProxyPort = port;
    }
}

void TfrmLinkChecking::BuildWindow()
{
    edtHTML = new QLineEdit(this);
    edtHTML->setObjectName("edtHTML");
    edtHTML->setToolTip("Type full url if not allready filled in by program");
    btnBrowse = Button(this, "btnBrowse", "&Browse");
    btnCheck = Button(this, "btnCheck", "Validate", "Validate URL");
    btnCheck1 = Button(this, "btnCheck1", "&Check");
    trvLinks = new QTreeWidget(this);
    trvLinks->setObjectName("trvLinks");
    trvLinks->setHeaderHidden(true);
    trvLinks->setIconSize(QSize(34, 16));
    stbStatus = new QStatusBar(this);
    stbStatus->setObjectName("stbStatus");
    stbStatus->setSizeGripEnabled(false);
    for (auto& panel : panels_) {
        panel = new QLabel(stbStatus);
        stbStatus->addWidget(panel);
    }
    panels_[1]->setMinimumWidth(90);

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
    connect(trvLinks, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { trvLinksChange(item); });
}

void TfrmLinkChecking::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    move(20, 20);
}

void TfrmLinkChecking::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    panels_[0]->setFixedWidth(std::max(0, width() - 120));
}

void TfrmLinkChecking::closeEvent(QCloseEvent* event)
{
    // Closing while walking stops the walk; the window goes once it has ended.
    if (running_) {
        crawl_.Cancel();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

std::string TfrmLinkChecking::StatusPanel(int index) const
{
    return index >= 0 && index < 2 ? vx::FromQString(panels_[index]->text()) : std::string();
}

void TfrmLinkChecking::SetPanel(int index, const std::string& text)
{
    panels_[index]->setText(vx::ToQString(text));
}

void TfrmLinkChecking::btnBrowseClick()
{
    std::string file = vx::dialogs::OpenFile(OpenTitle(), HtmlFilter());
    if (!file.empty())
        edtHTML->setText(vx::ToQString(file));
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
    btnCheck->setText("&Cancel");
    btnCheck1->setText("&Cancel");
    btnBrowse->setEnabled(false);
    edtHTML->setEnabled(false);
    Walk();
    running_ = false;
    btnCheck->setText("&Validate");
    btnCheck1->setText("&Check");
    btnCheck->setEnabled(true);
    btnBrowse->setEnabled(true);
    edtHTML->setEnabled(true);
    LinkCheckDone = true;
}

void TfrmLinkChecking::Walk()
{
    trvLinks->collapseAll();
    trvLinks->clear();
    items_.clear();
    std::string start = vx::FromQString(edtHTML->text());
    try {
        crawl_.Run(start);
    } catch (const std::exception& e) {
        ShowMessage(e.what());
    }
    if (!items_.empty())
        items_[0]->setExpanded(true);
    SetPanel(0, start);
    SetPanel(1, crawl_.Cancelled() ? "Cancelled" : "Finished");
}

void TfrmLinkChecking::NodeAdded(int index)
{
    const TLinkNode& node = crawl_.Nodes()[static_cast<std::size_t>(index)];
    auto* item = node.Parent < 0 ? new QTreeWidgetItem(trvLinks)
                                 : new QTreeWidgetItem(items_[static_cast<std::size_t>(node.Parent)]);
    item->setText(0, vx::ToQString(node.Address));
    item->setData(0, kNodeRole, index);
    items_.push_back(item);
    NodeChanged(index);
}

void TfrmLinkChecking::NodeChanged(int index)
{
    const TLinkNode& node = crawl_.Nodes()[static_cast<std::size_t>(index)];
    items_[static_cast<std::size_t>(index)]->setIcon(0, LinkNodeIcon(node.State, node.Kind));
}

void TfrmLinkChecking::trvLinksChange(QTreeWidgetItem* item)
{
    if (!item)
        return;
    const TLinkNode& node = crawl_.Nodes()[static_cast<std::size_t>(item->data(0, kNodeRole).toInt())];
    SetPanel(0, node.Address);
    SetPanel(1, StateText(node));
}
