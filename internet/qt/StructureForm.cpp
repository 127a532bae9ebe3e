// The document structure viewer's window.
#include "internet/qt/StructureForm.h"

#include "internet/HTMLParser.h"
#include "internet/StructureBuilder.h"
#include "internet/qt/LinkPictures.h"
#include "internet/qt/WindowFetcher.h"
#include "localisation/RunTimeText.h"
#include "localisation/qt/KMLang.h"
#include "platform/FileIO.h"
#include "platform/TStringList.h"
#include "platform/TextEncoding.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <filesystem>
#include <sstream>

namespace {

const TRunTimeFilter HtmlFilter{"HTML files|*.htm;*.html|All files|*.*"};
const TWording FileTooLarge{"The file %1 is too large"};
const TWording CannotLoad{"Cannot load %1: %2"};
const TWording ServerAnswered{"Cannot load %1: the server answered %2"};
const TRunTimeText Working{"Working.."};
const TRunTimeText Done{"Done"};

constexpr std::uintmax_t kMaxPage = 8 << 20;

QTreeWidget* NewTree(QWidget* parent, const char* name)
{
    auto* tree = new QTreeWidget(parent);
    tree->setObjectName(name);
    tree->setHeaderHidden(true);
    return tree;
}

// Puts the window back for the next run, however this one ended.
class TRunGuard {
public:
    explicit TRunGuard(QPushButton* button) : button_(button)
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        button_->setEnabled(false);
    }
    ~TRunGuard()
    {
        QApplication::restoreOverrideCursor();
        button_->setEnabled(true);
    }

private:
    QPushButton* button_;
};

} // namespace

TfrmHTMLParsing::TfrmHTMLParsing(QWidget* parent) : QDialog(parent), fetcher_(NewWindowFetcher())
{
    setObjectName("frmHTMLParsing");
    setWindowTitle("Structure");
    BuildWindow();
    TranslateWindow(this);
}

TfrmHTMLParsing::~TfrmHTMLParsing() = default;

void TfrmHTMLParsing::SetProxy(const std::string& host, int port)
{
    fetcher_->Proxy = host;
    fetcher_->ProxyPort = port;
}

void TfrmHTMLParsing::BuildWindow()
{
    edtHTML = new QLineEdit(this);
    edtHTML->setObjectName("edtHTML");
    edtHTML->setToolTip(
        "Give full url or filename if not allready filled in by program, then click on Go to process document");
    btnBrowse = new QPushButton("&Browse", this);
    btnBrowse->setObjectName("btnBrowse");
    btnparse = new QPushButton("&Go", this);
    btnparse->setObjectName("btnparse");
    btnparse->setToolTip("Check document ");
    for (QPushButton* b : {btnBrowse, btnparse})
        b->setAutoDefault(false);
    memHTML = new QPlainTextEdit(this);
    memHTML->setObjectName("memHTML");
    memHTML->setReadOnly(true);
    memHTML->setMinimumHeight(90);
    pgcDetails = new QTabWidget(this);
    pgcDetails->setObjectName("pgcDetails");
    pgcDetails->setMinimumHeight(120);
    trvStructure = NewTree(pgcDetails, "trvStructure");
    trvLinks = NewTree(pgcDetails, "trvLinks");
    pgcDetails->addTab(trvStructure, "Structure");
    pgcDetails->addTab(trvLinks, "Links");
    pnlVertSplit = new QSplitter(Qt::Vertical, this);
    pnlVertSplit->setObjectName("pnlVertSplit");
    pnlVertSplit->addWidget(memHTML);
    pnlVertSplit->addWidget(pgcDetails);
    pnlVertSplit->setChildrenCollapsible(false);
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setSizeGripEnabled(false);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel("File / url", this));
    top->addWidget(edtHTML, 1);
    top->addWidget(btnBrowse);
    top->addWidget(btnparse);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(pnlVertSplit, 1);
    layout->addWidget(StatusBar1);
    resize(640, 560);

    connect(btnparse, &QPushButton::clicked, this, [this] { btnParseClick(); });
    connect(btnBrowse, &QPushButton::clicked, this, [this] { btnBrowseClick(); });
}

void TfrmHTMLParsing::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    move(20, 20);
}

void TfrmHTMLParsing::btnBrowseClick()
{
    std::string file = vx::dialogs::OpenFile(OpenTitle(), HtmlFilter(), "", "htm");
    if (!file.empty())
        edtHTML->setText(vx::ToQPath(file));
}

std::string TfrmHTMLParsing::LoadPage(const std::string& source)
{
    std::error_code ec;
    if (std::filesystem::is_regular_file(source, ec)) {
        if (std::filesystem::file_size(source, ec) > kMaxPage)
            throw Exception(TMessage(FileTooLarge, {source}));
        return vx::ReadWholeFile(source);
    }
    TFetchReply reply = fetcher_->Fetch({source, false});
    if (!reply.Ok)
        throw Exception(TMessage(CannotLoad, {source, reply.Error}));
    if (!IsSuccess(reply.Status))
        throw Exception(TMessage(ServerAnswered, {source, std::to_string(reply.Status)}));
    return reply.Body;
}

void TfrmHTMLParsing::btnParseClick()
{
    StatusBar1->showMessage(vx::ToQString(Working()));
    trvStructure->clear();
    trvLinks->clear();
    TRunGuard guard(btnparse);
    // A file name or an address: file names are bytes of the system's encoding.
    const std::string source = vx::FromQPath(edtHTML->text());
    TStructureBuilder builder(source);
    try {
        TStringList lines;
        // Read as a document is: Windows-1252 when it is not UTF-8, a UTF-8
        // page's byte order mark no text of it.
        lines.SetText(vx::DecodeDocument(LoadPage(source)).Text);
        memHTML->setPlainText(vx::ToQString(lines.Text()));
        std::istringstream stream(lines.Text());
        THTMLParser parser(stream);
        builder.Build(parser);
    } catch (const std::exception& e) {
        ShowMessage(ErrorText(e));
    }
    ShowTree(*trvStructure, builder.Structure(), true);
    ShowTree(*trvLinks, builder.Links(), false);
    StatusBar1->showMessage(vx::ToQString(Done()));
}

void TfrmHTMLParsing::ShowTree(QTreeWidget& tree, const std::vector<TStructureNode>& nodes, bool structure)
{
    tree.setSortingEnabled(false);
    std::vector<QTreeWidgetItem*> items;
    items.reserve(nodes.size());
    for (const TStructureNode& node : nodes) {
        auto* item = node.Parent < 0 ? new QTreeWidgetItem(&tree)
                                     : new QTreeWidgetItem(items[static_cast<std::size_t>(node.Parent)]);
        item->setText(0, vx::ToQString(node.Text));
        // The viewer numbers its link kinds from 1 for plain links, one below the checker's pictures.
        item->setIcon(0, structure ? StructurePicture(node.Picture)
                                   : LinkKindPicture(node.Picture == 0 ? 0 : node.Picture + 1));
        items.push_back(item);
    }
    if (!structure) {
        tree.setSortingEnabled(true);
        tree.sortItems(0, Qt::AscendingOrder);
    }
    if (!items.empty())
        items[0]->setExpanded(true);
}
