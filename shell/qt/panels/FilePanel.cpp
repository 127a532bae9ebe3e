#include "shell/qt/panels/FilePanel.h"

#include "controls/stores/RxNotify.h"
#include "controls/foldertree/DirTree.h"
#include "editor/qt/SysColors.h"
#include "localisation/RunTimeText.h"
#include "platform/qt/Application.h"
#include "platform/qt/QtText.h"
#include "shell/qt/mainwindow/MainForm.h"
#include "shell/qt/windows/ShellDialog.h"
#include "shell/qt/menu/MenuBuilder.h"
#include "shell/qt/panels/FileListModel.h"
#include "shell/qt/panels/ViewClicks.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QSplitter>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

namespace vx::shell {

namespace {

const TRunTimeText FileListHelp{
    "Select a file from the list, Double click to open and work on it. Vellumix will make the editscreen where the "
    "document is loaded active so you can start working straight away."};
const TRunTimeText DriveHelp{
    "Select a drive, when you have selected a drive the contents (directories) will be shown in the directory list."};
const TRunTimeText FolderHelp{
    "Select directory, Here you can select a directory, when selected the contents of a directory will be shown in "
    "the file list below the directory list"};

} // namespace

TFilePanel::TFilePanel(TForm1& form, QWidget* parent) : QWidget(parent), form_(form)
{
    setObjectName("Panel1");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* top = new QHBoxLayout;
    DriveComboBox1 = Named(new QComboBox(this), "DriveComboBox1");
    SpeedButton10 = Named(new QToolButton(this), "SpeedButton10");
    SpeedButton10->setText("x");
    top->addWidget(DriveComboBox1, 1);
    top->addWidget(SpeedButton10);
    layout->addLayout(top);
    dirlabel = Named(new QLabel(this), "dirlabel");
    dirlabel->setTextFormat(Qt::PlainText); // a folder's name, never markup
    layout->addWidget(dirlabel);
    auto* split = new QSplitter(Qt::Vertical, this);
    DirectoryListBox1 = Named(new TDirTree(split), "DirectoryListBox1");
    filelist = Named(new QTreeView(split), "filelist");
    layout->addWidget(split, 1);
    CheckBox2 = Named(new QCheckBox("Open files as Read only", this), "CheckBox2");
    layout->addWidget(CheckBox2);

    model_ = new TFileListModel(this);
    filelist->setModel(model_);
    // A heading the language makes longer widens its column: it is read whole.
    const auto widenToHeadings = [this] {
        QHeaderView& header = *filelist->header();
        for (int column = 0; column < header.count(); ++column)
            header.resizeSection(column, std::max(header.sectionSize(column), header.sectionSizeHint(column)));
    };
    connect(model_, &QAbstractItemModel::headerDataChanged, this, widenToHeadings);
    connect(model_, &QAbstractItemModel::modelReset, this, widenToHeadings);
    filelist->setRootIsDecorated(false);
    filelist->setUniformRowHeights(true);
    filelist->header()->setSectionsClickable(true);
    filelist->setContextMenuPolicy(Qt::CustomContextMenu);
    RxFolderMonitor1 = Named(new TRxFolderMonitor(this), "RxFolderMonitor1");
    RxFolderMonitor1->SetFilter(fnFileName | fnLastWrite | fnDirName);
    RxFolderMonitor1->OnChange = [this](QObject*) {
        vx::DeliverShowingExceptions([this] {
            RefreshFileList();
            return true;
        });
    };

    for (int i = 0; i < DirectoryListBox1->topLevelItemCount(); ++i) {
        const std::string path = TDirTree::PathOf(DirectoryListBox1->topLevelItem(i));
        DriveComboBox1->addItem(vx::ToQString(path));
    }
    connect(DriveComboBox1, &QComboBox::activated, this, Guarded([this] {
                DirectoryListBox1->SetSelectedDir(vx::FromQString(DriveComboBox1->currentText()));
            }));
    // A mouse click makes an item current before it selects it, and the panel
    // reads the selected folder: it follows the selection.
    connect(DirectoryListBox1, &QTreeWidget::itemSelectionChanged, this,
            Guarded([this] { DirectoryListBox1Change(); }));
    OnViewClick(*DirectoryListBox1, TViewClick::Single, [this] { form_.ShowAssistantText(FolderHelp()); });
    OnViewClick(*filelist, TViewClick::Single, [this] { form_.ShowAssistantText(FileListHelp()); });
    connect(filelist, &QTreeView::doubleClicked, this, Guarded([this] { FileListBox1DblClick(); }));
    connect(filelist->header(), &QHeaderView::sectionClicked, this,
            [this](int column) { vx::DeliverShowingExceptions([&] {
                filelistColumnClick(column);
                return true;
            }); });
    connect(filelist, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (QMenu* masks = menu::PopupMenu(form_, "filemaskchange"))
            masks->popup(filelist->viewport()->mapToGlobal(at));
    });
    DriveComboBox1->installEventFilter(this);
}

TFilePanel::~TFilePanel()
{
    RxFolderMonitor1->SetActive(false);
}

bool TFilePanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == DriveComboBox1 && event->type() == QEvent::FocusIn)
        vx::DeliverShowingExceptions([this] {
            form_.ShowAssistantText(DriveHelp());
            return true;
        });
    return QWidget::eventFilter(watched, event);
}

void TFilePanel::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        model_->FollowLanguage();
    QWidget::changeEvent(event);
}

std::string TFilePanel::Folder() const
{
    return vx::FromQString(dirlabel->text());
}

void TFilePanel::SetFolder(const std::string& folder)
{
    DirectoryListBox1->SetSelectedDir(folder);
    DirectoryListBox1Change();
}

void TFilePanel::SetMasks(const std::string& masks)
{
    masks_ = masks;
    RefreshFileList();
}

int TFilePanel::RefreshFileList()
{
    fileCount_ = model_->Load(Folder(), masks_);
    // Listed anew, the files are in the folder's order: no heading sorts them.
    filelist->header()->setSortIndicatorShown(false);
    return fileCount_;
}

void TFilePanel::SetColours(TColor background, TColor font)
{
    for (QWidget* part : {static_cast<QWidget*>(DriveComboBox1), static_cast<QWidget*>(DirectoryListBox1),
                          static_cast<QWidget*>(filelist)}) {
        QPalette colours = part->palette();
        colours.setColor(QPalette::Base, vx::ToQColor(background));
        colours.setColor(QPalette::Text, vx::ToQColor(font));
        // A closed drop-down box draws itself in the button roles; the
        // headers and scroll bars of the lists keep theirs.
        if (part == DriveComboBox1) {
            colours.setColor(QPalette::Button, vx::ToQColor(background));
            colours.setColor(QPalette::ButtonText, vx::ToQColor(font));
        }
        part->setPalette(colours);
    }
}

void TFilePanel::DirectoryListBox1Change()
{
    const std::string folder = DirectoryListBox1->GetSelectedDir();
    if (folder == "?")
        return;
    dirlabel->setText(vx::ToQString(folder));
    RxFolderMonitor1->SetFolderName(folder);
    RxFolderMonitor1->SetActive(true);
    RefreshFileList();
}

void TFilePanel::filelistColumnClick(int column)
{
    ascending_ = !ascending_;
    filelist->header()->setSortIndicator(column, ascending_ ? Qt::AscendingOrder : Qt::DescendingOrder);
    filelist->header()->setSortIndicatorShown(true);
    model_->SortByColumn(column, ascending_);
}

void TFilePanel::FileListBox1DblClick()
{
    const QModelIndex current = filelist->currentIndex();
    if (!current.isValid())
        return;
    form_.OpenDocumentInFreeSlot(model_->Listing().FullName(current.row()), CheckBox2->isChecked());
}

} // namespace vx::shell
