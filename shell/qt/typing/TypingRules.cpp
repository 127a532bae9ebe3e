#include "shell/qt/typing/TypingRules.h"

#include "editor/qt/mwCustomEdit.h"
#include "platform/qt/Application.h"
#include "platform/qt/QtText.h"
#include "shell/qt/mainwindow/MainForm.h"
#include "shell/qt/mainwindow/PrefForm.h"
#include "shell/TagEntry.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>

namespace vx::shell {

namespace {

// The preference boxes of the rules.
constexpr int EnterToBr = 4;
constexpr int AutoFinishTag = 12;
constexpr int AmpersandToAnd = 14;
constexpr int CtrlEnterToP = 15;
constexpr int AltEnterToHr = 16;
constexpr int SemicolonAfterQuote = 20;
constexpr int NewlineBeforeQuote = 21;
constexpr int SaveOnEnter = 23;

constexpr int VK_RETURN = 13;
constexpr int VK_SPACE = 32;

bool Preference(int box)
{
    return frm_pref && frm_pref->Ticked(box);
}

bool IsEnter(const QKeyEvent& key)
{
    return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
}

// The character the key types as the rules know it: Enter is #13, Ctrl+Enter
// #10; with Alt down no character is typed.
char TypedChar(const QKeyEvent& key)
{
    if (key.modifiers() & Qt::AltModifier)
        return 0;
    if (IsEnter(key))
        return (key.modifiers() & Qt::ControlModifier) ? '\n' : '\r';
    const std::string text = vx::FromQString(key.text());
    return text.size() == 1 ? text[0] : 0;
}

int VirtualKey(const QKeyEvent& key)
{
    if (IsEnter(key))
        return VK_RETURN;
    if (key.key() == Qt::Key_Space)
        return VK_SPACE;
    return 0;
}

} // namespace

TTypingRules::TTypingRules(TForm1& form) : QObject(&form), form_(form)
{
    setObjectName("TypingRules");
}

void TTypingRules::Install()
{
    for (TmwCustomEdit* editor : form_.richedit)
        editor->installEventFilter(this);
}

bool TTypingRules::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || forwarding_)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    TKeyDownResult down = TKeyDownResult::Pass;
    bool eaten = false;
    vx::DeliverShowingExceptions([&] {
        down = KeyDown(VirtualKey(*key), key->modifiers() & Qt::AltModifier);
        eaten = down == TKeyDownResult::Eaten || KeyPress(TypedChar(*key));
        return true;
    });
    if (eaten)
        return true;
    if (down != TKeyDownResult::BreakLine)
        return false;
    // The editor binds no command to Alt+Enter: it gets the plain Enter, past the rules.
    QKeyEvent plain(QEvent::KeyPress, key->key(), key->modifiers() & ~Qt::AltModifier, "\r");
    forwarding_ = true;
    QCoreApplication::sendEvent(watched, &plain);
    forwarding_ = false;
    return true;
}

TTypingRules::TKeyDownResult TTypingRules::KeyDown(int key, bool alt)
{
    if (Preference(SaveOnEnter) && key == VK_RETURN)
        form_.Save1Click();
    if (alt && key == VK_SPACE) {
        form_.insert_item_2("&nbsp;", 0);
        return TKeyDownResult::Eaten;
    }
    if (Preference(AltEnterToHr) && alt && key == VK_RETURN) {
        form_.insert_item_2("<hr>", 0);
        return TKeyDownResult::BreakLine;
    }
    return TKeyDownResult::Pass;
}

bool TTypingRules::KeyPress(char key)
{
    if (Preference(CtrlEnterToP) && key == '\n')
        form_.insert_item_2(ParagraphTag(vx::FromQString(frm_pref->p_align->currentText())), 0);
    if (Preference(SemicolonAfterQuote) && key == '"')
        form_.insert_item_2(";", 1);
    if (Preference(NewlineBeforeQuote) && key == '"') {
        form_.insert_item_2("\\n\"", 0);
        return true;
    }
    if (Preference(AutoFinishTag) && key == '<')
        form_.insert_item_2(">", 1);
    if (Preference(AmpersandToAnd) && key == '&') {
        form_.insert_item_2("and ", 0);
        return true;
    }
    if (Preference(EnterToBr) && key == '\r')
        form_.insert_item_2("<br>", 0);
    return false;
}

} // namespace vx::shell
