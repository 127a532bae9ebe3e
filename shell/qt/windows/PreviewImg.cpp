// The image preview's window.
#include "shell/qt/windows/PreviewImg.h"

#include "localisation/RunTimeText.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"
#include "shell/qt/windows/NViewLib.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

const TRunTimeFilter ListFilter{
    "All images|*.BMP;*.DIB;*.JPG;*.JIF;*.GIF;*.PCX;*.RLE;*.TGA|Bitmap (*.BMP)|*.BMP|DIB (*.DIB)|*.DIB|JIF (*.JIF)|*.JIF|"
    "Jpeg (*.JPG)|*.JPG|GIF (*.GIF)|*.GIF|PCX (*.PCX)|*.PCX|RLE (*.RLE)|*.RLE|Targa (*.TGA)|*.TGA"};
const TRunTimeFilter OpenFilter{
    "All supported images|*.BMP;*.DIB;*.JPG;*.JIF;*.GIF;*.PCX;*.RLE;*.TGA|Bitmap (*.BMP)|*.BMP|DIB (*.DIB)|*.DIB|"
    "JIF (*.JIF)|*.JIF|Jpeg (*.JPG)|*.JPG|GIF (*.GIF)|*.GIF|PCX (*.PCX)|*.PCX|RLE (*.RLE)|*.RLE|Targa (*.TGA)|*.TGA"};

// The filter box: each description with its masks as the item's data.
void FillFilterBox(QComboBox& box, const QString& filter)
{
    box.clear();
    const QStringList parts = filter.split('|');
    for (int i = 0; i + 1 < parts.size(); i += 2)
        box.addItem(parts[i], parts[i + 1].split(';'));
}

} // namespace

Tfrm_previewimg::Tfrm_previewimg(QWidget* parent) : TShellDialog("frm_previewimg", "Image preview", parent)
{
    auto* layout = new QHBoxLayout(this);
    auto* side = new QVBoxLayout;
    DriveComboBox1 = Named(new QComboBox(this), "DriveComboBox1");
    for (const QFileInfo& drive : QDir::drives())
        DriveComboBox1->addItem(drive.absoluteFilePath());
    DirectoryListBox1 = Named(new QListWidget(this), "DirectoryListBox1");
    FileListBox1 = Named(new QListWidget(this), "FileListBox1");
    FilterComboBox1 = Named(new QComboBox(this), "FilterComboBox1");
    CheckBox1 = Named(new QCheckBox("Stretch picture", this), "CheckBox1");
    Button1 = AddButton("Button1", "Load image");
    BitBtn1 = AddButton("BitBtn1", "&Cancel");
    for (QWidget* w : std::initializer_list<QWidget*>{DriveComboBox1, DirectoryListBox1, FileListBox1, FilterComboBox1,
                                                      CheckBox1, Button1, BitBtn1})
        side->addWidget(w);
    Image1 = Named(new QLabel(this), "Image1");
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->installEventFilter(this);
    area_ = new QScrollArea(this);
    area_->setWidget(Image1);
    area_->setMinimumSize(320, 240);
    layout->addLayout(side);
    layout->addWidget(area_, 1);

    connect(DriveComboBox1, &QComboBox::activated, this,
            Guarded([this] { SetFolder(vx::FromQString(DriveComboBox1->currentText())); }));
    connect(FilterComboBox1, &QComboBox::activated, this, Guarded([this] { FillLists(); }));
    connect(DirectoryListBox1, &QListWidget::itemActivated, this, Guarded([this] {
                if (const QListWidgetItem* item = DirectoryListBox1->currentItem())
                    SetFolder(vx::FromQString(QDir(vx::ToQString(folder_)).absoluteFilePath(item->text())));
            }));
    connect(FileListBox1, &QListWidget::itemClicked, this, Guarded([this] { FileListBox1Click(); }));
    connect(FileListBox1, &QListWidget::itemDoubleClicked, this, Guarded([this] { FileListBox1DblClick(); }));
    connect(CheckBox1, &QCheckBox::clicked, this, Guarded([this] { CheckBox1Click(); }));
    connect(Button1, &QPushButton::clicked, this, Guarded([this] { Button1Click(); }));
    connect(BitBtn1, &QPushButton::clicked, this, Guarded([this] { BitBtn1Click(); }));
    folder_ = vx::FromQString(QDir::currentPath());
    Loaded();
}

void Tfrm_previewimg::FormActivate()
{
    move(20, 20);
    FillFilterBox(*FilterComboBox1, vx::ToQString(ListFilter()));
    FillLists();
}

void Tfrm_previewimg::SetFolder(const std::string& folder)
{
    folder_ = vx::FromQString(QDir::cleanPath(vx::ToQString(folder)));
    FillLists();
}

void Tfrm_previewimg::FillLists()
{
    const QDir dir(vx::ToQString(folder_));
    DirectoryListBox1->clear();
    if (!dir.isRoot())
        DirectoryListBox1->addItem("..");
    DirectoryListBox1->addItems(dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase));
    FileListBox1->clear();
    const QStringList masks = FilterComboBox1->currentData().toStringList();
    FileListBox1->addItems(dir.entryList(masks, QDir::Files, QDir::Name | QDir::IgnoreCase));
}

void Tfrm_previewimg::ShowImage(const std::string& fileName)
{
    const QImage image = NViewLibLoad(fileName, 0);
    Image1->setPixmap(QPixmap::fromImage(image));
    CheckBox1Click();
}

void Tfrm_previewimg::Button1Click()
{
    const std::string chosen = vx::dialogs::OpenFile("", OpenFilter(), folder_);
    if (!chosen.empty())
        ShowImage(chosen);
}

void Tfrm_previewimg::Image1Click()
{
    Button1Click();
}

void Tfrm_previewimg::FileListBox1Click()
{
    if (const QListWidgetItem* item = FileListBox1->currentItem())
        ShowImage(vx::FromQString(QDir(vx::ToQString(folder_)).absoluteFilePath(item->text())));
}

void Tfrm_previewimg::FileListBox1DblClick()
{
    FileListBox1Click();
}

void Tfrm_previewimg::CheckBox1Click()
{
    const bool stretch = CheckBox1->isChecked();
    Image1->setScaledContents(stretch);
    area_->setWidgetResizable(stretch);
    if (!stretch)
        Image1->adjustSize();
}

void Tfrm_previewimg::BitBtn1Click()
{
    reject();
}

bool Tfrm_previewimg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Image1 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        Guarded([this] { Image1Click(); })();
    return TShellDialog::eventFilter(watched, event);
}

void Tfrm_previewimg::Run(QWidget* owner)
{
    Tfrm_previewimg dialog(owner);
    dialog.exec();
}
