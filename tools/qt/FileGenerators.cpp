// The include and sound generators.
#include "tools/qt/FileGenerators.h"

#include "controls/sound/WWave32.h"
#include "platform/qt/QtText.h"
#include "tools/PageTemplates.h"
#include "tools/qt/framework/FileChooser.h"
#include "tools/qt/framework/RadioGroup.h"

#include <QLabel>
#include <QListWidget>

#include <filesystem>

using namespace vx::tools;

Tfrm_incwizard::Tfrm_incwizard(QWidget* parent)
    : GeneratorDialog("frm_incwizard", "Include file wizard", parent, {.SidePicture = false, .ToClipboard = true})
{
    Files = new TFileChooser(this, {"Include files|*.inc", "Asp Files|*.asp;*.asa", "All Files|*.*"});
    AddRow({}, Files);
    RadioGroup1 = AddRadioGroup("RadioGroup1", "<Type>", {"File", "Virtual"}, 0);
    Note = new QLabel(this);
    Note->setObjectName("Note");
    Note->setWordWrap(true);
    AddRow({}, Note);
    const auto path = [this] {
        const TIncludeKind kind = RadioGroup1->ItemIndex() == 1 ? TIncludeKind::Virtual : TIncludeKind::File;
        return std::make_pair(kind, IncludePath(kind, Files->SelectedPath(), document_, siteRoot_));
    };
    const auto showNote = [this, path] { Note->setText(vx::ToQString(path().second.Note)); };
    connect(Files->FileListBox1, &QListWidget::currentRowChanged, this, showNote);
    RadioGroup1->OnClick = [showNote](TRadioGroup*) { showNote(); };
    AddGenerateButton("SpeedButton1", "&Apply", [path] {
        const auto [kind, include] = path();
        return TLines{IncludeLine(kind, include.Path)};
    });
    AddCancelButton("SpeedButton2", "&Cancel");
    Loaded();
}

void Tfrm_incwizard::SetDocument(const std::string& document, const std::string& siteRoot)
{
    document_ = document;
    siteRoot_ = siteRoot;
    if (!document.empty())
        Files->SetDirectory(std::filesystem::path(document).parent_path().string());
}

Tfrm_sound::Tfrm_sound(QWidget* parent) : GeneratorDialog("frm_sound", "Sound wizard", parent)
{
    Files = new TFileChooser(this, {"Sounds|*.wav;*.ra"});
    AddRow({}, Files);
    Wave1 = new TWave(this);
    Wave1->setObjectName("Wave1");
    // The dialog stays usable while the sound plays; a new check starts over.
    Wave1->SetOptions(woNoDefault);
    AddCommandButton("SpeedButton3", "Check sound", [this] {
        Wave1->SetWaveName(Files->SelectedPath());
        Wave1->Play();
    });
    AddGenerateButton("SpeedButton1", "&Ok", [this] { return TLines{SoundLine(Files->SelectedPath())}; });
    AddCancelButton("SpeedButton2", "&Cancel");
    Loaded();
}
