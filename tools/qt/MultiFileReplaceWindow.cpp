// The multi-file search and replace window, its query and its status window.
#include "tools/qt/MultiFileReplaceWindow.h"

#include "controls/flat/TFlatSpeedButtonUnit.h"
#include "localisation/RunTimeText.h"
#include "localisation/qt/KMLang.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"

#include <QApplication>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

using namespace vx::tools;

namespace {

const TRunTimeText ConfirmTitle{"Confirm"};
const TRunTimeText ScanStopped{"File scanning operation\nhas been stopped"};
const TRunTimeText AddFolderTitle{"Add folder"};
const TRunTimeFilter WebFilesFilter{"Web files|*.htm;*.html;*.asp;*.asa;*.js;*.vbs;*.shtml;*.htx"};
// The query's button when it only finds, and the status window's title by mode.
const TRunTimeText FindCaption{"&Find"};
const TRunTimeText FindHint{"Find the text in every selected file"};
const TRunTimeText FindingTitle{"Finding text in progress..."};
const TRunTimeText ReplacingTitle{"Replacing text in progress...."};

template <class W> W* Named(W* widget, const char* name)
{
    widget->setObjectName(name);
    return widget;
}

TPromptAnswer AskReplace(QWidget* parent, const std::string& question)
{
    QMessageBox box(QMessageBox::Question, vx::ToQString(ConfirmTitle()), vx::ToQString(question),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel | QMessageBox::YesToAll, parent);
    // The question quotes a file's name and a line of it: text, never markup.
    box.setTextFormat(Qt::PlainText);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return TPromptAnswer::Yes;
    case QMessageBox::YesToAll:
        return TPromptAnswer::All;
    case QMessageBox::No:
        return TPromptAnswer::No;
    default:
        return TPromptAnswer::Cancel;
    }
}

} // namespace

TFQuery::TFQuery(QWidget* parent, bool findOnly) : QDialog(parent), findOnly_(findOnly)
{
    setObjectName("FQuery");
    setWindowTitle("Find and Replace");
    auto* form = new QFormLayout(this);
    Edit1 = Named(new QLineEdit(this), "Edit1");
    Edit2 = Named(new QLineEdit(this), "Edit2");
    form->addRow("Text to find:", Edit1);
    form->addRow("Replace with:", Edit2);
    auto* options = new QGroupBox("Options:", this);
    auto* column = new QVBoxLayout(options);
    CheckBox1 = Named(new QCheckBox("Case sensitive", options), "CheckBox1");
    CheckBox2 = Named(new QCheckBox("Whole words only", options), "CheckBox2");
    CheckBox3 = Named(new QCheckBox("Backup original file", options), "CheckBox3");
    CheckBox4 = Named(new QCheckBox("Prompt on replace", options), "CheckBox4");
    for (QCheckBox* box : {CheckBox1, CheckBox2, CheckBox3, CheckBox4})
        column->addWidget(box);
    form->addRow(options);
    Button1 = Named(new QPushButton("&Go", this), "Button1");
    Button2 = Named(new QPushButton("E&xit", this), "Button2");
    form->addRow(Button1, Button2);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    if (findOnly) {
        Edit2->setEnabled(false);
        CheckBox3->setEnabled(false);
        CheckBox4->setEnabled(false);
    }
    connect(Edit1, &QLineEdit::textChanged, this, [this] { UpdateGo(); });
    connect(Edit2, &QLineEdit::textChanged, this, [this] { UpdateGo(); });
    connect(CheckBox1, &QCheckBox::toggled, this, [this] { UpdateGo(); });
    UpdateGo();
    // The layout is the replace mode's: finding alone words its button itself.
    TranslateWindow(this, [this] {
        if (!findOnly_)
            return;
        Button1->setText(vx::ToQString(FindCaption()));
        Button1->setToolTip(vx::ToQString(FindHint()));
    });
}

void TFQuery::UpdateGo()
{
    // Replacing a text by itself would change nothing.
    const bool same = !findOnly_ && CheckBox1->isChecked() && Edit1->text() == Edit2->text();
    Button1->setEnabled(!Edit1->text().isEmpty() && !same);
}

TReplaceOptions TFQuery::Options() const
{
    TReplaceOptions options;
    options.Find = vx::FromQString(Edit1->text());
    options.Replacement = vx::FromQString(Edit2->text());
    options.IgnoreCase = !CheckBox1->isChecked();
    options.WholeWords = CheckBox2->isChecked();
    options.Backup = !findOnly_ && CheckBox3->isChecked();
    options.Prompt = !findOnly_ && CheckBox4->isChecked();
    options.FindOnly = findOnly_;
    return options;
}

TFStatus::TFStatus(QWidget* parent, bool findOnly) : QDialog(parent)
{
    setObjectName("FStatus");
    auto* form = new QFormLayout(this);
    const auto field = [this, form](const char* name, const char* label) {
        auto* edit = Named(new QLineEdit(this), name);
        edit->setReadOnly(true);
        form->addRow(label, edit);
        return edit;
    };
    Edit1 = field("Edit1", "Files Read");
    Edit3 = field("Edit3", "Bytes Read");
    Edit2 = field("Edit2", "Occurences");
    Edit4 = field("Edit4", "Bytes Written");
    ProgressBar1 = Named(new QProgressBar(this), "ProgressBar1");
    ProgressBar1->setRange(0, 100);
    form->addRow(ProgressBar1);
    bitbtn1 = Named(new QPushButton("&Abort", this), "bitbtn1");
    form->addRow(bitbtn1);
    connect(bitbtn1, &QPushButton::clicked, this, [this] { Aborted = true; });
    const TRunTimeText* title = findOnly ? &FindingTitle : &ReplacingTitle;
    TranslateWindow(this, [this, title] { setWindowTitle(vx::ToQString((*title)())); });
}

void TFStatus::Show(const TReplaceCounters& counters, std::int64_t total)
{
    Edit1->setText(QString::number(counters.FilesRead));
    Edit2->setText(QString::number(counters.Occurrences));
    Edit3->setText(QString::number(counters.BytesRead));
    Edit4->setText(QString::number(counters.BytesWritten));
    if (total > 0)
        ProgressBar1->setValue(static_cast<int>(std::min<std::int64_t>(counters.BytesRead * 100 / total, 100)));
}

TFFilter::TFFilter(QWidget* parent, const TScanSettings& settings) : QDialog(parent)
{
    setObjectName("FFilter");
    setWindowTitle("File Filter");
    auto* form = new QFormLayout(this);
    Edit1 = Named(new QLineEdit(this), "Edit1");
    Edit1->setToolTip("To separate extensions use the semi-colon (;)");
    form->addRow("Valid file extensions", Edit1);
    CheckBox1 = Named(new QCheckBox("Include subfolders", this), "CheckBox1");
    CheckBox1->setChecked(settings.IncludeSubfolders);
    form->addRow(CheckBox1);
    Ok = Named(new QPushButton("&Ok", this), "Ok");
    form->addRow(Ok);
    connect(Ok, &QPushButton::clicked, this, &QDialog::accept);
    const auto update = [this] { Ok->setEnabled(!Edit1->text().trimmed().isEmpty()); };
    connect(Edit1, &QLineEdit::textChanged, this, update);
    // The extension list is the user's own: no language has a text for it.
    TStringList rules;
    rules.Add("-Edit1.Text");
    TranslateWindow(this)->SetLocalRules(rules);
    Edit1->setText(vx::ToQString(settings.Extensions));
    update();
}

TScanSettings TFFilter::Settings() const
{
    TScanSettings settings;
    settings.Extensions = vx::FromQString(Edit1->text().trimmed().toLower());
    settings.IncludeSubfolders = CheckBox1->isChecked();
    return settings;
}

TFStart::TFStart(QWidget* parent)
    : GeneratorDialog("FStart", "Search and replace across files", parent, {.SidePicture = false})
{
    Panel1->hide();
    auto* group = new QGroupBox("<File Window>", this);
    auto* column = new QVBoxLayout(group);
    ListBox1 = Named(new QListWidget(group), "ListBox1");
    ListBox1->setToolTip("List of selected files");
    ListBox1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListBox1->installEventFilter(this);
    column->addWidget(ListBox1);
    AddRow({}, group);
    StatusBar1 = Named(new QLabel(this), "StatusBar1");
    AddRow("Files", StatusBar1);
    AddCommandButton("SpeedButton4", "&Clear File-window", [this] {
        ListBox1->clear();
        UpdateCount();
    });
    AddCommandButton("SpeedButton1", "Browse", [this] { Browse(); });
    AddCommandButton("SpeedButton2", "&Find", [this] { Run(true); })->setToolTip("Find occurance");
    AddCommandButton("SpeedButton3", "&Replace", [this] { Run(false); })->setToolTip("Find and replace occurances");
    AddCommandButton("SpeedButton5", "Add fol&der...", [this] {
        const std::string folder = vx::dialogs::ChooseFolder(AddFolderTitle());
        if (!folder.empty())
            ScanDir(folder);
    });
    AddCommandButton("SpeedButton6", "File fil&ter...", [this] {
        TFFilter filter(this, TScanSettings::Load());
        if (RunFilter(filter))
            filter.Settings().Save();
    });
    Prompt = [this](const std::string& question) { return AskReplace(this, question); };
    RunQuery = [](TFQuery& query) { return query.exec() == QDialog::Accepted; };
    RunFilter = [](TFFilter& filter) { return filter.exec() == QDialog::Accepted; };
    UpdateCount();
    Loaded();
}

void TFStart::UpdateCount()
{
    StatusBar1->setText(QString::number(ListBox1->count()) + "  ");
}

bool TFStart::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ListBox1 && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete && !ListBox1->selectedItems().isEmpty()) {
        qDeleteAll(ListBox1->selectedItems());
        UpdateCount();
        return true;
    }
    return GeneratorDialog::eventFilter(watched, event);
}

void TFStart::ScanDir(const std::string& path)
{
    const QString caption = windowTitle();
    const std::vector<std::string> files = vx::tools::ScanDir(path, TScanSettings::Load(), [this](const std::string& name) {
        setWindowTitle(vx::ToQString(name));
        QApplication::processEvents();
    });
    setWindowTitle(caption);
    for (const std::string& file : files)
        ListBox1->addItem(vx::ToQString(file));
    UpdateCount();
}

void TFStart::Browse()
{
    ListBox1->clear();
    const std::string file = vx::dialogs::OpenFile(
        OpenTitle(), WebFilesFilter());
    if (!file.empty())
        ListBox1->addItem(vx::ToQString(file));
    UpdateCount();
}

void TFStart::Run(bool findOnly)
{
    TReplaceOptions options;
    {
        TFQuery query(this, findOnly);
        if (!RunQuery(query))
            return;
        options = query.Options();
    }
    std::int64_t total = 0;
    for (int i = 0; i < ListBox1->count(); ++i)
        total += QFileInfo(ListBox1->item(i)->text()).size();
    TFStatus status(this, findOnly);
    status.show();
    TMultiFileReplace run(options, Prompt);
    status.Show(run.Counters(), total);
    const QDeadlineTimer shownUntil(StatusMinimum);
    for (int i = 0; i < ListBox1->count();) {
        if (status.Aborted) {
            ShowMessage(ScanStopped());
            break;
        }
        ListBox1->setCurrentRow(i);
        const std::string file = vx::FromQString(ListBox1->item(i)->text());
        const TFileOutcome outcome = run.ReplaceInFile(file);
        if (outcome == TFileOutcome::Failed)
            MessageDlg(run.Error(), mtWarning, mbOK);
        // The list keeps the files in which the text was found or replaced.
        if (outcome == TFileOutcome::Accepted)
            ++i;
        else
            delete ListBox1->takeItem(i);
        status.Show(run.Counters(), total);
        UpdateCount();
        QApplication::processEvents();
    }
    while (!shownUntil.hasExpired()) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(10);
    }
    UpdateCount();
}
