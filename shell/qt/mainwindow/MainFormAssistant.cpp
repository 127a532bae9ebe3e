// The main window's assistant texts and the quit question.
#include "shell/qt/mainwindow/MainForm.h"

#include "controls/flat/TFlatMemoUnit.h"
#include "localisation/RunTimeText.h"
#include "platform/FileIO.h"
#include "platform/qt/Application.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"
#include "shell/qt/mainwindow/PrefForm.h"
#include "shell/qt/windows/ProfHelp.h"
#include "shell/qt/windows/ShellDialog.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTime>
#include <QTimer>

void TForm1::ShowAssistantText(const std::string& text)
{
    if (!frm_profhelp)
        return;
    TStrings& lines = frm_profhelp->Memo1->Lines();
    lines.Clear();
    lines.Add("");
    if (TipPending) {
        frm_profhelp->Image2->show();
        lines.Add(vx::FromQString(frm_profhelp->Edit1->text()));
        lines.Add("");
        TipPending = false;
    }
    frm_profhelp->Image3->show();
    frm_profhelp->Image2->hide();
    lines.Add(text);
}

namespace {

const TRunTimeText HintPrefix{"Hint : "};
const TRunTimeText QuitQuestion{"Do you really want to quit?"};
const TRunTimeText TimeIs{"Current time is : "};

// The hint of the control or, when it has none, of the nearest parent that has one.
QString HintOf(const QWidget* widget)
{
    while (widget && widget->toolTip().isEmpty())
        widget = widget->parentWidget();
    return widget ? widget->toolTip() : QString();
}

} // namespace

void TForm1::ApplicationHint(const std::string& hint)
{
    if (!hint.empty())
        ShowAssistantText(HintPrefix() + hint);
}

void TForm1::MouseOnHint(const QString& hint)
{
    const qsizetype bar = hint.indexOf('|');
    std::string longHint = vx::FromQString(bar < 0 ? hint : hint.mid(bar + 1));
    if (longHint == applicationHint_)
        return;
    applicationHint_ = std::move(longHint);
    vx::DeliverShowingExceptions([this] {
        ApplicationHint(applicationHint_);
        return true;
    });
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Enter && watched->isWidgetType())
        MouseOnHint(HintOf(static_cast<QWidget*>(watched)));
    return QMainWindow::eventFilter(watched, event);
}

bool TForm1::FormCloseQuery()
{
    if (frm_pref && frm_pref->Ticked(13)) {
        const std::string wave = vx::FromQString(frm_pref->sound->text());
        if (!wave.empty() && vx::FileExists(wave) && frm_pref->PlayWave)
            frm_pref->PlayWave(wave);
    }
    if (!frm_profhelp)
        return AskToSaveModified();
    frm_profhelp->Button1->show();
    frm_profhelp->Button2->show();
    ShowAssistantText(QuitQuestion());
    frm_profhelp->hide();
    // Only "&Yes" means quitting; "&No", Escape and the close box keep the program running,
    // as a cancelled save question does.
    if (frm_profhelp->exec() == mrOk && AskToSaveModified()) {
        Timer1->stop();
        return true;
    }
    frm_profhelp->Button1->hide();
    frm_profhelp->Button2->hide();
    frm_profhelp->hide();
    ShowAssistantText(TimeIs() + LongTimeNow());
    frm_profhelp->show();
    frm_profhelp->raise();
    return false;
}

void TForm1::VellumixAssistant1Click()
{
    // The action checks itself when triggered; the window follows the new state.
    if (!VellumixAssistant1->isChecked()) {
        if (frm_profhelp)
            frm_profhelp->hide();
        return;
    }
    if (frm_profhelp) {
        frm_profhelp->show();
        frm_profhelp->raise();
    }
}
