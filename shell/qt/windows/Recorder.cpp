// The macro recorder's window.
#include "shell/qt/windows/Recorder.h"

#include "controls/flat/TFlatMemoUnit.h"
#include "localisation/RunTimeText.h"
#include "platform/IniFile.h"
#include "platform/ProgramPaths.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"
#include "shell/qt/windows/RecorderJournal.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

Tfrm_recorder* frm_recorder = nullptr;

namespace {

using vx::recorder::TRecorder;

const TRunTimeFilter Filter{"Vellumix Recordings|*.asr"};
const char* const Section = "1";
const char* const LastFile = "LastFile";
// The window's title names what the recorder is doing.
const TRunTimeText Recording{"Recording"};
const TRunTimeText Playing{"Playing"};
const TRunTimeText Idle{"Idle"};

QString CaptionOf(TRecorder::TState state)
{
    switch (state) {
    case TRecorder::rsRecording:
        return vx::ToQString(Recording());
    case TRecorder::rsPlaying:
        return vx::ToQString(Playing());
    default:
        return vx::ToQString(Idle());
    }
}

} // namespace

Tfrm_recorder::Tfrm_recorder(QWidget* parent)
    : TShellDialog("frm_recorder", "Idle", parent), journal_(new vx::shell::TRecorderJournal(this)),
      iniPath_(vx::UserDataPath("recorder.ini"))
{
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    auto* outer = new QHBoxLayout(this);
    Image1 = Named(new QLabel(this), "Image1");
    outer->addWidget(Image1);
    auto* column = new QVBoxLayout;
    Memo1 = Named(new TFlatMemo(this), "Memo1");
    Memo1->setReadOnly(true);
    // A sentence is one line, which the memo wraps where its width ends, in any language.
    for (const char* line : {"Recording of movement,", "",
                             "This tool enables you to record movements within the editor: you can record creating "
                             "a procedure, for example, save the recording and play it back when you want to do "
                             "the same routine again."})
        Memo1->Lines().Add(line);
    column->addWidget(Memo1);
    // What is recorded here, and why; the texts belong to the window, so that all translate.
    Label1 = Named(new QLabel("The whole desktop is recorded and played back, other programs too.", this), "Label1");
    Label2 = Named(new QLabel("There is no X display here: only Vellumix's own windows are recorded and played back.",
                              this),
                   "Label2");
    Label3 = Named(new QLabel("This X display lacks the X Record or the XTest extension: only Vellumix's own windows "
                              "are recorded and played back.",
                              this),
                   "Label3");
    for (QLabel* label : {Label1, Label2, Label3}) {
        label->setWordWrap(true);
        column->addWidget(label);
    }
    Label1->setVisible(journal_->DesktopWide());
    Label2->setVisible(!journal_->DesktopWide() && !journal_->OnXDisplay());
    Label3->setVisible(!journal_->DesktopWide() && journal_->OnXDisplay());
    GroupBox1 = Named(new QGroupBox("Speed factor (%)", this), "GroupBox1");
    auto* speedLayout = new QHBoxLayout(GroupBox1);
    SpinEdit1 = Named(new QSpinBox(GroupBox1), "SpinEdit1");
    SpinEdit1->setRange(0, 10000);
    SpinEdit1->setValue(Recorder().Speed());
    speedLayout->addWidget(SpinEdit1);
    column->addWidget(GroupBox1);
    Button1 = AddButton("Button1", "&Record movements   ");
    Button2 = AddButton("Button2", "&Stop                          ");
    Button3 = AddButton("Button3", "&Playback movements");
    Button4 = AddButton("Button4", "&Load recording         ");
    Button5 = AddButton("Button5", "&Save Recording       ");
    for (QPushButton* button : {Button1, Button2, Button3, Button4, Button5})
        column->addWidget(button);
    outer->addLayout(column, 1);

    connect(SpinEdit1, &QSpinBox::valueChanged, this, [this](int value) { Recorder().SetSpeed(value); });
    connect(Button1, &QPushButton::clicked, this, Guarded([this] { Button1Click(); }));
    connect(Button2, &QPushButton::clicked, this, Guarded([this] { Button2Click(); }));
    connect(Button3, &QPushButton::clicked, this, Guarded([this] { Button3Click(); }));
    connect(Button4, &QPushButton::clicked, this, Guarded([this] { Button4Click(); }));
    connect(Button5, &QPushButton::clicked, this, Guarded([this] { Button5Click(); }));
    Recorder().OnStateChange = [this](TRecorder::TState state) { stateChanged(state); };
    Loaded();
}

TRecorder& Tfrm_recorder::Recorder()
{
    return journal_->Recorder();
}

void Tfrm_recorder::FormActivate()
{
    ShowSidePicture(*Image1);
    move(20, 20);
}

// The buttons follow the state: however a recording or a playback ends, by
// Stop, Ctrl+Break, the focus going to another program or the last event,
// Play, Load and Save are usable again.
void Tfrm_recorder::stateChanged(TRecorder::TState state)
{
    Button1->setEnabled(state != TRecorder::rsPlaying);
    for (QPushButton* button : {Button3, Button4, Button5})
        button->setEnabled(state == TRecorder::rsIdle);
    setWindowTitle(CaptionOf(state));
}

void Tfrm_recorder::Button1Click()
{
    Recorder().StopHook();
    Recorder().Record(false);
}

void Tfrm_recorder::Button2Click()
{
    Recorder().StopHook();
}

void Tfrm_recorder::Button3Click()
{
    Recorder().StopHook();
    Recorder().Play();
}

void Tfrm_recorder::Button4Click()
{
    const std::string path = chooseFile(false, openName_);
    if (path.empty())
        return;
    Recorder().LoadFromFile(path);
    setWindowTitle(CaptionOf(TRecorder::rsIdle));
}

void Tfrm_recorder::Button5Click()
{
    const std::string path = chooseFile(true, saveName_);
    if (!path.empty())
        Recorder().SaveToFile(path);
}

std::string Tfrm_recorder::chooseFile(bool save, std::string& dialogName)
{
    TIniFile ini(iniPath_);
    if (dialogName.empty())
        dialogName = ini.ReadString(Section, LastFile, "");
    const std::string path = save ? vx::dialogs::SaveFile("", Filter(), dialogName, "asr")
                                  : vx::dialogs::OpenFile("", Filter(), dialogName, "asr");
    if (path.empty())
        return path;
    dialogName = path;
    ini.WriteString(Section, LastFile, path);
    return path;
}
