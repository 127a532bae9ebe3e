// The image optimiser window.
#include "images/qt/GifOptimizerForm.h"

#include "images/GIFImage.h"
#include "images/GIFStream.h"
#include "localisation/RunTimeText.h"
#include "localisation/qt/KMLang.h"
#include "platform/Exception.h"
#include "platform/FileIO.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStorageInfo>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cmath>
#include <initializer_list>
#include <filesystem>

namespace {

const TRunTimeText OptimizeQuestion{"Are you sure that you wish to Optimize the directory?\rThe files will be modified!"};
const TRunTimeText FileCount{"File %1 of %2"};
const TRunTimeText SavedBytes{"%1 bytes"};
const TRunTimeText CannotOptimize{"Could not optimize %1:\r\n%2"};

constexpr std::uint8_t kAllButMerging = 29;

template <class T>
T* Named(T* widget, const char* name)
{
    widget->setObjectName(name);
    return widget;
}

// The image optimised by the options and saved; it is emptied afterwards.
std::string Candidate(TGIFImage& image, std::uint8_t options)
{
    image.Optimize(options, 0, 0, 8);
    TMemoryByteStream saved;
    image.SaveToStream(saved);
    image.Clear();
    return saved.Data();
}

} // namespace

Tfrm_gifoptimizer::Tfrm_gifoptimizer(QWidget* parent) : QDialog(parent)
{
    setObjectName("frm_gifoptimizer");
    setWindowTitle("Image optimizer");
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    drives_ = Named(new QComboBox(this), "DriveComboBox1");
    // A volume's root may be a long path: the box scrolls it rather than
    // widening the folder lists at the cost of the result columns.
    drives_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    folders_ = Named(new QListWidget(this), "DirectoryListBox1");
    files_ = Named(new QListWidget(this), "FileListBox1");
    left->addWidget(drives_);
    left->addWidget(folders_, 1);
    left->addWidget(files_, 1);
    top->addLayout(left, 1);
    listViewFiles_ = Named(new QTreeWidget(this), "ListViewFiles");
    listViewFiles_->setRootIsDecorated(false);
    listViewFiles_->setHeaderLabels({"Filename", "Size", "Optimized size", "Reduction"});
    top->addWidget(listViewFiles_, 2);
    layout->addLayout(top, 1);

    auto* bottom = new QGridLayout;
    label1_ = Named(new QLabel("....", this), "Label1");
    bottom->addWidget(label1_, 0, 0, 1, 2);
    bottom->addWidget(Named(new QLabel("Saved:", this), "Label2"), 1, 0);
    labelSaved_ = Named(new QLabel("0 bytes", this), "LabelSaved");
    bottom->addWidget(labelSaved_, 1, 1);
    buttonTest_ = Named(new QPushButton("&Test", this), "buttontest");
    buttonTest_->setToolTip("Check out the amount of space saving before optimizing");
    buttonOptimize_ = Named(new QPushButton("&Optimize", this), "buttonoptimize");
    buttonOptimize_->setToolTip("Optimize all files in current directory");
    buttonAbort_ = Named(new QPushButton("&Abort", this), "buttonabort");
    buttonAbort_->setToolTip("Abort optimize process");
    buttonAbort_->setEnabled(false);
    twoPass_ = Named(new QCheckBox("Two pass optimize", this), "CheckBoxTwoPass");
    bottom->addWidget(buttonTest_, 0, 2);
    bottom->addWidget(buttonOptimize_, 0, 3);
    bottom->addWidget(buttonAbort_, 0, 4);
    bottom->addWidget(twoPass_, 1, 2, 1, 3);
    progressFiles_ = Named(new QProgressBar(this), "ProgressBar");
    progressFile_ = Named(new QProgressBar(this), "ProgressBar1");
    progressFile_->setRange(0, 100);
    bottom->addWidget(progressFiles_, 2, 0, 1, 5);
    bottom->addWidget(progressFile_, 3, 0, 1, 5);
    layout->addLayout(bottom);

    connect(drives_, &QComboBox::activated, this,
            [this](int index) { ChangeFolder(drives_->itemData(index).toString().toStdString()); });
    connect(folders_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        ChangeFolder(QDir(QString::fromStdString(folder_)).absoluteFilePath(item->text()).toStdString());
    });
    connect(files_, &QListWidget::itemClicked, this, [this] { FileListBox1Click(); });
    connect(buttonTest_, &QPushButton::clicked, this, [this] { ButtonTestClick(); });
    connect(buttonOptimize_, &QPushButton::clicked, this, [this] { ButtonOptimizeClick(); });
    connect(buttonAbort_, &QPushButton::clicked, this, [this] { ButtonAbortClick(); });

    FillDrives();
    ChangeFolder(QDir::currentPath().toStdString());
    TranslateWindow(this);
    // Wide enough for the four result columns beside the folder lists, each
    // as wide as its heading in the language chosen.
    resize(740, 520);
    FitColumns();
}

void Tfrm_gifoptimizer::FitColumns()
{
    for (int column = 0; column < listViewFiles_->columnCount(); ++column)
        listViewFiles_->resizeColumnToContents(column);
}

void Tfrm_gifoptimizer::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    move(20, 20);
}

void Tfrm_gifoptimizer::FillDrives()
{
    drives_->clear();
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady())
            drives_->addItem(volume.rootPath(), volume.rootPath());
}

void Tfrm_gifoptimizer::ChangeFolder(const std::string& folder)
{
    folder_ = QDir::cleanPath(QString::fromStdString(folder)).toStdString();
    // The drive shown is the volume that holds the folder.
    int drive = -1;
    qsizetype longest = -1;
    for (int i = 0; i < drives_->count(); ++i) {
        const QString root = drives_->itemData(i).toString();
        if (QString::fromStdString(folder_).startsWith(root) && root.size() > longest) {
            longest = root.size();
            drive = i;
        }
    }
    drives_->setCurrentIndex(drive);
    FillFolders();
    FillFiles();
}

void Tfrm_gifoptimizer::FillFolders()
{
    folders_->clear();
    QDir dir(QString::fromStdString(folder_));
    if (!dir.isRoot())
        folders_->addItem("..");
    for (const QString& name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase))
        folders_->addItem(name);
}

void Tfrm_gifoptimizer::FillFiles()
{
    files_->clear();
    QDir dir(QString::fromStdString(folder_));
    for (const QString& name : dir.entryList({"*.gif", "*.GIF"}, QDir::Files, QDir::Name | QDir::IgnoreCase))
        files_->addItem(name);
}

void Tfrm_gifoptimizer::FileListBox1Click()
{
    listViewFiles_->clear();
    QDir dir(QString::fromStdString(folder_));
    for (const QString& name : dir.entryList({"*.gif", "*.GIF"}, QDir::Files, QDir::Name | QDir::IgnoreCase))
        listViewFiles_->addTopLevelItem(new QTreeWidgetItem(QStringList{name}));
    FitColumns();
}

void Tfrm_gifoptimizer::ButtonTestClick()
{
    Run(false);
}

void Tfrm_gifoptimizer::ButtonOptimizeClick()
{
    if (MessageDlg(OptimizeQuestion(), mtConfirmation, mbYesNo) == mrYes)
        Run(true);
}

void Tfrm_gifoptimizer::ButtonAbortClick()
{
    buttonAbort_->setEnabled(false);
    abort_ = true;
}

void Tfrm_gifoptimizer::ImageProgress(int stage, int percent)
{
    if (stage == static_cast<int>(TProgressStage::psEnding)) {
        progressFile_->setValue(0);
        return;
    }
    progressFile_->setValue(std::clamp(percent, 0, 100));
    progressFile_->repaint();
    QApplication::processEvents();
    if (abort_)
        throw EAbort("");
}

void Tfrm_gifoptimizer::Run(bool write)
{
    const int count = listViewFiles_->topLevelItemCount();
    progressFiles_->setValue(0);
    progressFile_->setValue(0);
    progressFiles_->setRange(0, std::max(0, count - 1));
    abort_ = false;
    buttonAbort_->setEnabled(true);
    SetRunning(true);
    saved_ = 0;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    for (int i = 0; i < count; ++i)
        for (int column = 1; column < listViewFiles_->columnCount(); ++column)
            listViewFiles_->topLevelItem(i)->setText(column, "");
    int current = 0;
    try {
        for (; current < count && !abort_; ++current) {
            progressFiles_->setValue(current);
            label1_->setText(vx::ToQString(FileCount({std::to_string(current + 1), std::to_string(count)})));
            OptimizeItem(current, write);
            QApplication::processEvents();
        }
    } catch (const EAbort&) {
        // Abort leaves the current file as it was.
    } catch (const std::exception& e) {
        MessageDlg(CannotOptimize({vx::PathText(ItemPath(current)), ErrorText(e)}), mtError, mbOK);
    }
    QApplication::restoreOverrideCursor();
    buttonAbort_->setEnabled(false);
    SetRunning(false);
    progressFiles_->setValue(0);
    label1_->setText("");
}

void Tfrm_gifoptimizer::SetRunning(bool running)
{
    running_ = running;
    // The run works through the rows of one folder: choosing another folder or
    // refilling the rows meanwhile would pull them from under it.
    for (QWidget* control : std::initializer_list<QWidget*>{drives_, folders_, files_, buttonTest_, buttonOptimize_})
        control->setEnabled(!running);
}

void Tfrm_gifoptimizer::reject()
{
    // Escape during a run stops it, as Abort does; the window closes when idle.
    if (running_) {
        ButtonAbortClick();
        return;
    }
    QDialog::reject();
}

std::string Tfrm_gifoptimizer::ItemPath(int index) const
{
    return (std::filesystem::path(folder_) / vx::FromQPath(listViewFiles_->topLevelItem(index)->text(0))).string();
}

void Tfrm_gifoptimizer::OptimizeItem(int index, bool write)
{
    QTreeWidgetItem* item = listViewFiles_->topLevelItem(index);
    const std::string path = ItemPath(index);
    const std::string input = vx::ReadWholeFile(path);
    const auto start = static_cast<std::int64_t>(input.size());
    item->setText(1, QString::number(start));
    QApplication::processEvents();
    if (abort_)
        throw EAbort("");
    const TGIFImage::TProgressEvent progress = [this](TProgressStage stage, int percent, const std::string&) {
        ImageProgress(static_cast<int>(stage), percent);
    };
    TGIFImage second;
    second.OnProgress = progress;
    {
        TMemoryByteStream in(input);
        second.LoadFromStream(in);
    }
    if (abort_)
        throw EAbort("");
    // Two passes only pay for animations: the first candidate keeps frames unmerged.
    const bool twoPasses = twoPass_->isChecked() && second.Images().Count() > 1;
    std::string a;
    if (twoPasses) {
        TGIFImage first;
        first.Assign(second);
        first.OnProgress = progress;
        a = Candidate(first, kAllButMerging);
    }
    const std::string b = Candidate(second, ooAll);
    const bool aWins = twoPasses && b.size() > a.size();
    const auto best = static_cast<std::int64_t>(aWins ? a.size() : b.size());
    const std::string& bestBytes = aWins ? a : b;
    item->setText(2, QString::number(best));
    const double percent = start > 0 ? static_cast<double>(start - best) * 100.0 / static_cast<double>(start) : 0.0;
    item->setText(3, QString::number(std::lround(percent)) + "%");
    FitColumns();
    if (best < start) {
        saved_ += start - best;
        labelSaved_->setText(vx::ToQString(SavedBytes({std::to_string(saved_)})));
        if (write)
            vx::WriteFileAtomic(path, bestBytes);
    }
}
