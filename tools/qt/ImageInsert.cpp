// The image insertion dialog.
#include "tools/qt/ImageInsert.h"

#include "controls/flat/TFlatCheckBoxUnit.h"
#include "controls/flat/TFlatEditUnit.h"
#include "controls/flat/TFlatSpeedButtonUnit.h"
#include "localisation/RunTimeText.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"
#include "tools/ImageSize.h"
#include "tools/TextTemplates.h"
#include "tools/qt/framework/FileChooser.h"

#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QTabWidget>
#include <QVariant>

#include <filesystem>

using namespace vx::tools;

Tfrm_addimg::Tfrm_addimg(QWidget* parent) : GeneratorDialog("frm_addimg", "Add image", parent)
{
    QWidget* select = AddPage("TabSheet1", "Select Image");
    Files = new TFileChooser(select, {"All Internet Graphic Files|*.gif;*.jpg;*.png", "Jpeg|*.jpg", "Gif|*.gif",
                                      "Png|*.png"});
    AddRow({}, Files, select);
    Preview = new QLabel(select);
    Preview->setObjectName("Image2");
    Preview->setFixedSize(160, 120);
    Preview->setAlignment(Qt::AlignCenter);
    AddRow("Preview", Preview, select);
    connect(Files->FileListBox1, &QListWidget::itemSelectionChanged, this, [this] { ShowPreview(); });
    TFlatSpeedButton* next = AddNextButton(select, "SpeedButton1", "Next");
    next->OnClick = [this, turn = next->OnClick](QObject* sender) {
        Edit3->SetText(FileName());
        turn(sender);
        TakeSize();
    };

    QWidget* options = AddPage("TabSheet2", "Html Options");
    Edit1 = AddEdit("Edit1", "Url", {}, options);
    Edit2 = AddEdit("Edit2", "Description", {}, options);
    Edit3 = AddEdit("Edit3", "Alternate text", {}, options);
    Edit4 = AddEdit("Edit4", "Height", {}, options);
    Edit5 = AddEdit("Edit5", "Width", {}, options);
    CheckBox1 = AddCheck("CheckBox1", "Use image as clickthru (url)", false, options);
    AddBackButton(options, "SpeedButton3", "Back");

    AddGenerateButton("SpeedButton2", "Finish", [this] {
        TakeSize();
        return TLines{ImageLine({FileName(), Edit3->Text(), Edit4->Text(), Edit5->Text(), Edit1->Text(),
                                 CheckBox1->Checked()})};
    });
    AddCancelButton("SpeedButton4", "&Cancel");
    Loaded();
}

std::string Tfrm_addimg::FileName() const
{
    return std::filesystem::path(Files->SelectedPath()).filename().string();
}

void Tfrm_addimg::TakeSize()
{
    const std::string path = Files->SelectedPath();
    std::optional<TImageSize> size;
    try {
        size = ImageFileSize(path);
    } catch (const EImageOpenError& error) {
        ShowMessage(ErrorText(error));
    }
    if (size && size->Height != 0 && size->Width != 0) {
        Edit4->SetText(std::to_string(size->Height));
        Edit5->SetText(std::to_string(size->Width));
        sizeFromFile_ = true;
    } else if (sizeFromFile_) {
        // Another picture's size must not stay with this one.
        Edit4->SetText({});
        Edit5->SetText({});
        sizeFromFile_ = false;
    }
}

void Tfrm_addimg::ShowPreview()
{
    const QPixmap picture(vx::ToQString(Files->SelectedPath()));
    if (picture.isNull()) {
        Preview->clear();
        return;
    }
    Preview->setPixmap(picture.scaled(Preview->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void Tfrm_addimg::Activated()
{
    const std::string folder = vx::FromQPath(property("vxInitialDir").toString());
    const QString file = property("vxFileName").toString();
    if (!folder.empty())
        Files->SetDirectory(folder);
    if (!file.isEmpty()) {
        const QList<QListWidgetItem*> found = Files->FileListBox1->findItems(file, Qt::MatchExactly);
        if (!found.isEmpty())
            Files->FileListBox1->setCurrentItem(found.front());
    }
}
