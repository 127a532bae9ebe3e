// The main window's two status bars, the timer that refreshes them, and the
// binary-file warning of the document in front.
#include "shell/qt/mainwindow/MainForm.h"

#include "editor/qt/mwCustomEdit.h"
#include "localisation/RunTimeText.h"
#include "platform/qt/QtText.h"
#include "shell/qt/mainwindow/KeyboardLocks.h"
#include "shell/qt/windows/ShellDialog.h"
#include "shell/qt/mainwindow/StatusBar.h"
#include "shell/qt/mainwindow/StatusNotice.h"
#include "shell/StatusText.h"

#include <QLayout>
#include <QTabWidget>
#include <QTimer>

#include <filesystem>

namespace {

// The first refresh comes a second after start. After that the panels follow
// every tenth of a second: quick enough for the caret position to keep up
// with typing, and an idle program still wakes only a few times a second.
constexpr int FirstRefreshMs = 1000;
constexpr int RefreshMs = 100;

const TRunTimeText LooksBinary{"%1 looks like a binary file: saving it may change its bytes."};

// The account does not change while the program runs: it is looked up once,
// not on every refresh.
const std::string& LoginName()
{
    static const std::string name = vx::shell::AccountUserName();
    return name;
}

void ShowTexts(TStatusBar& bar, const auto& texts)
{
    for (int i = 0; i < static_cast<int>(texts.size()); ++i)
        bar.SetPanelText(i, texts[i]);
}

} // namespace

void TForm1::CreateStatusPanels()
{
    using namespace vx::shell;
    for (int i = 0; i < MainPanelCount; ++i)
        StatusBar1->AddPanel(MainPanelLayout()[i], i >= 3 ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
    // Notices that last while their cause does stand beside each other;
    // a passing message takes the bar for a moment.
    saveNotice_ = Named(new TStatusNotice(StatusBar1), "SaveNotice");
    StatusBar1->addWidget(saveNotice_, 1);
    binaryNotice_ = Named(new TStatusNotice(StatusBar1), "BinaryNotice");
    StatusBar1->addWidget(binaryNotice_, 1);
    glob_stat = Named(new TStatusBar(centralWidget()), "glob_stat");
    glob_stat->setSizeGripEnabled(false);
    for (const std::string& text : DocPanelLayout())
        glob_stat->AddPanel(text);
    centralWidget()->layout()->addWidget(glob_stat);
    connect(PageControl1, &QTabWidget::currentChanged, this, Guarded([this] { ShowBinaryWarning(); }));
    Timer1->setInterval(FirstRefreshMs);
    connect(Timer1, &QTimer::timeout, this, Guarded([this] { Timer1Timer(); }));
    Timer1->start();
}

void TForm1::Timer1Timer()
{
    using namespace vx::shell;
    Timer1->setInterval(RefreshMs);
    TStatusSnapshot snapshot;
    snapshot.TimeOfDay = LongTimeNow();
    snapshot.Date = ShortDateToday();
    snapshot.LoginName = LoginName();
    if (ipwatcher)
        snapshot.Address = TStatusSnapshot::TAddress{ipwatcher->CurrentIP(), ipwatcher->IsOnline()};
    if (const TmwCustomEdit* editor = ActiveEditor()) {
        const TmwCustomEditModel& model = editor->Model();
        // Columns and lengths in characters, as the user counts them.
        const int length = model.CharacterColumn(Point(static_cast<int>(model.CaretLineLength()) + 1, model.CaretY()));
        snapshot.Editor = TEditorStatus{model.CaretY(), model.CharacterColumn(model.CaretXY()), length - 1,
                                        model.Modified(), model.GetReadOnly(), model.InsertMode()};
        const TKeyboardLocks locks = ReadKeyboardLocks();
        snapshot.NumLock = locks.NumLock;
        snapshot.CapsLock = locks.CapsLock;
        snapshot.ProjectElapsed = std::chrono::steady_clock::now() - projectStart_;
    }
    TDocPanels previous;
    for (int i = 0; i < DocPanelCount; ++i)
        previous[i] = glob_stat->PanelText(i);
    ShowTexts(*glob_stat, DocPanelTexts(snapshot, previous));
    ShowTexts(*StatusBar1, MainPanelTexts(snapshot));
}

void TForm1::ShowBinaryWarning()
{
    const int slot = PageControl1->currentIndex() + 1;
    const bool warned = slot >= 1 && slot <= SlotCount && slots_[slot - 1].LooksBinary;
    const std::string name = warned ? std::filesystem::path(SlotFileName(slot)).filename().string() : std::string();
    binaryNotice_->Show(warned ? LooksBinary({vx::PathText(name)}) : std::string());
}
