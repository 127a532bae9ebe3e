// The beautifier's window: menus, word lists, status and the text memo.
#include "tools/qt/SourceBeautifierDialog.h"

#include "controls/flat/TFlatMemoUnit.h"
#include "controls/flat/TFlatSpeedButtonUnit.h"
#include "localisation/RunTimeText.h"
#include "localisation/qt/KMLang.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"
#include "tools/qt/framework/MemoLines.h"

#include <QActionGroup>
#include <QApplication>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTextCursor>
#include <QTime>
#include <QVBoxLayout>

using namespace vx::tools;

namespace {

const TRunTimeText Starting{"Working: starting..."};
const TRunTimeText WorkingStep{"Working: Step %1"};
const TRunTimeText Pasting{"Working: Getting data from clipboard"};
const TRunTimeText BeautifyTook{"Done : Beautify took %1"};
const TRunTimeText CopiedCaption{"ASP-Beautify"};

TFlatMemo* WordList(QGroupBox& box, QGridLayout& grid, int column, const char* name, const char* caption,
                    const std::vector<std::string>& lines)
{
    auto* label = new QLabel(caption, &box);
    auto* memo = new TFlatMemo(&box);
    memo->setObjectName(name);
    label->setBuddy(memo);
    // The lists hold keys from the start: trimmed, marked and upper case.
    for (const std::string& key : WordKeys(lines))
        memo->Lines().Add(ShownKey(key));
    grid.addWidget(label, 0, column);
    grid.addWidget(memo, 1, column);
    return memo;
}

std::vector<std::string> LinesOf(const TFlatMemo& memo)
{
    return WordKeys(MemoLinesOf(memo));
}

QAction* Check(QMenu& menu, const char* name, const char* caption, bool checked)
{
    QAction* action = menu.addAction(caption);
    action->setObjectName(name);
    action->setCheckable(true);
    action->setChecked(checked);
    return action;
}

} // namespace

TFrm_aspb::TFrm_aspb(QWidget* parent)
    : GeneratorDialog("Frm_aspb", "Source beautify", parent, {.ClearOnActivate = false})
{
    memo1 = new QPlainTextEdit(this);
    memo1->setObjectName("memo1");
    memo1->setFrameStyle(QFrame::NoFrame);
    memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo1->setMinimumSize(480, 260);
    Client()->insertWidget(0, memo1, 1);

    auto* settings = new QGroupBox("Settings", this);
    settings->setObjectName("GroupBox1");
    auto* grid = new QGridLayout(settings);
    const TShippedLists& shipped = ShippedWordLists();
    indent2 = WordList(*settings, *grid, 0, "indent2", "Indent HTML", shipped.IndentHtml);
    outdent2 = WordList(*settings, *grid, 1, "outdent2", "Outdent HTML", shipped.OutdentHtml);
    indent = WordList(*settings, *grid, 2, "indent", "Indent SCRIPT", shipped.IndentScript);
    outdent = WordList(*settings, *grid, 3, "outdent", "Outdent SCRIPT", shipped.OutdentScript);
    Client()->insertWidget(1, settings);

    info = new QLabel(this);
    info->setObjectName("info");
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setRange(0, 6);
    ProgressBar1->setValue(0);
    Client()->insertWidget(2, info);
    Client()->insertWidget(3, ProgressBar1);

    auto* menus = new QMenuBar(this);
    menus->setObjectName("MainMenu1");
    QMenu* file = menus->addMenu("&File");
    connect(file->addAction("Beautify File(s)..."), &QAction::triggered, this, [this] { BeautifyButton(); });
    connect(file->addAction("E&xit"), &QAction::triggered, this, [this] { done(mrOk); });
    QMenu* edit = menus->addMenu("&Edit");
    connect(edit->addAction("P&aste"), &QAction::triggered, this, [this] { Paste(); });
    connect(edit->addAction("&Beautify"), &QAction::triggered, this, [this] { dobeautify(); });
    connect(edit->addAction("&Paste, Beautify, Copy"), &QAction::triggered, this, [this] {
        Paste();
        dobeautify();
    });
    connect(edit->addAction("&Copy All"), &QAction::triggered, this, [this] { CopyAll(); });
    QMenu* options = menus->addMenu("Settings");
    dohtml = Check(*options, "dohtml", "HTML Indention", true);
    doscript = Check(*options, "doscript", "VBScript Indention", true);
    QMenu* unit = options->addMenu("Indent Using");
    auto* units = new QActionGroup(this);
    units->setExclusive(true);
    sp1 = Check(*unit, "sp1", "1 Space Per Level", false);
    sp2 = Check(*unit, "sp2", "2 Spaces Per Level", false);
    sp3 = Check(*unit, "sp3", "3 Spaces Per Level", true);
    tab1 = Check(*unit, "tab1", "1 Tab Per Level", false);
    tab2 = Check(*unit, "tab2", "2 Tabs Per Level", false);
    for (QAction* item : {sp1, sp2, sp3, tab1, tab2})
        units->addAction(item);
    layout()->setMenuBar(menus);

    AddCommandButton("SpeedButton1", "Beautify     ", [this] { BeautifyButton(); })->setToolTip("Beautify source");
    AddCloseButton("SpeedButton2", "Close")->setToolTip("Cancel action");
    // The word lists are the beautifier's settings, never texts to translate:
    // no language replaces what the user set.
    TStringList rules;
    for (const char* list : {"-indent2", "-outdent2", "-indent", "-outdent"})
        rules.Add(list);
    KMLang1->SetLocalRules(rules);
    Loaded();
}

TBeautifyOptions TFrm_aspb::Options() const
{
    TBeautifyOptions options;
    options.Html = dohtml->isChecked();
    options.Script = doscript->isChecked();
    options.Unit = sp1->isChecked()    ? TIndentUnit::Space1
                   : sp2->isChecked()  ? TIndentUnit::Space2
                   : tab1->isChecked() ? TIndentUnit::Tab1
                   : tab2->isChecked() ? TIndentUnit::Tab2
                                       : TIndentUnit::Space3;
    options.IndentHtml = LinesOf(*indent2);
    options.OutdentHtml = LinesOf(*outdent2);
    options.IndentScript = LinesOf(*indent);
    options.OutdentScript = LinesOf(*outdent);
    return options;
}

void TFrm_aspb::Status(const std::string& text, int position)
{
    info->setText(vx::ToQString(text));
    ProgressBar1->setValue(position);
    info->repaint();
}

void TFrm_aspb::Beautify()
{
    const std::string text = vx::FromQString(memo1->toPlainText());
    std::string result =
        BeautifyText(text, Options(), [this](int step) { Status(WorkingStep({std::to_string(step)}), step); });
    // A plain script is no page: an HTML comment would break it.
    if (IsPage(text))
        result.insert(0, BeautifyBanner(Clock()) + "\n\n");
    memo1->setPlainText(vx::ToQString(result));
}

void TFrm_aspb::dobeautify()
{
    Status(Starting(), 0);
    Beautify();
    memo1->setFocus();
}

void TFrm_aspb::BeautifyButton()
{
    // The launcher hands the document in through memo1, not through a file.
    QElapsedTimer timer;
    timer.start();
    Beautify();
    Status({}, 0);
    const QTime took = QTime(0, 0).addMSecs(static_cast<int>(timer.elapsed()));
    Status(BeautifyTook({vx::FromQString(took.toString("h:mm:ss"))}), 0);
}

void TFrm_aspb::Paste()
{
    memo1->clear();
    Status(Pasting(), ProgressBar1->value());
    memo1->paste();
    Status({}, ProgressBar1->value());
}

void TFrm_aspb::CopyAll()
{
    memo1->selectAll();
    memo1->copy();
    QTextCursor cursor = memo1->textCursor();
    cursor.clearSelection();
    memo1->setTextCursor(cursor);
    Status({}, ProgressBar1->value());
    setWindowTitle(vx::ToQString(CopiedCaption()));
    memo1->setFocus();
}
