// The generator dialogs' common window.
#include "tools/qt/framework/GeneratorDialog.h"

#include "controls/flat/TFlatCheckBoxUnit.h"
#include "controls/flat/TFlatComboBoxUnit.h"
#include "controls/flat/TFlatEditUnit.h"
#include "controls/flat/TFlatMemoUnit.h"
#include "controls/flat/TFlatSpeedButtonUnit.h"
#include "localisation/qt/KMLang.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"
#include "shell/api/MainWindow.h"
#include "tools/qt/framework/RadioGroup.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace vx::tools {

namespace {

template <class W> W* Named(W* widget, const char* name)
{
    widget->setObjectName(name);
    return widget;
}

} // namespace

GeneratorDialog::GeneratorDialog(const char* name, const std::string& caption, QWidget* parent, TDialogFrame frame)
    : QDialog(parent), frame_(frame)
{
    setObjectName(name);
    setWindowTitle(ToQString(caption));
    // A fixed dialog frame: no resizing, no help button.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    auto* outer = new QHBoxLayout(this);
    Panel1 = Named(new QFrame(this), "Panel1");
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setLineWidth(2);
    auto* panelLayout = new QVBoxLayout(Panel1);
    panelLayout->setContentsMargins(2, 2, 2, 2);
    Image1 = Named(new QLabel(Panel1), "Image1");
    Image1->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    panelLayout->addWidget(Image1);
    outer->addWidget(Panel1);

    client_ = new QVBoxLayout;
    outer->addLayout(client_, 1);
    buttons_ = new QHBoxLayout;
    buttons_->addStretch();
    client_->addLayout(buttons_);

    Memo1 = Named(new TFlatMemo(this), "Memo1");
    Memo1->hide();
    KMLang1 = Named(new TKMLang(this), "KMLang1");
}

GeneratorDialog::~GeneratorDialog() = default;

TLines GeneratorDialog::ResultLines() const
{
    TLines lines;
    const TStrings& memo = Memo1->Lines();
    lines.reserve(memo.Count());
    for (int i = 0; i < memo.Count(); ++i)
        lines.push_back(memo[i]);
    return lines;
}

QFormLayout* GeneratorDialog::FormOf(QWidget* page)
{
    if (page) {
        if (auto* existing = qobject_cast<QFormLayout*>(page->layout()))
            return existing;
        return new QFormLayout(page);
    }
    if (!form_) {
        form_ = new QFormLayout;
        // Fields stand above the button row.
        client_->insertLayout(client_->count() - 1, form_);
    }
    return form_;
}

void GeneratorDialog::AddRow(const std::string& label, QWidget* field, QWidget* page)
{
    QFormLayout* form = FormOf(page);
    if (label.empty()) {
        form->addRow(field);
        return;
    }
    auto* text = new QLabel(ToQString(label), field->parentWidget());
    text->setObjectName(field->objectName() + "Label");
    text->setBuddy(field);
    form->addRow(text, field);
}

TFlatEdit* GeneratorDialog::AddEdit(const char* name, const std::string& label, const std::string& text,
                                    QWidget* page)
{
    auto* edit = Named(new TFlatEdit(page ? page : this), name);
    edit->SetText(text);
    // The default value shows whole: its width, the frame and the line edit's margins.
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(ToQString(text)) + 12);
    AddRow(label, edit, page);
    return edit;
}

TFlatComboBox* GeneratorDialog::AddCombo(const char* name, const std::string& label,
                                         std::initializer_list<const char*> items, QWidget* page)
{
    auto* combo = Named(new TFlatComboBox(page ? page : this), name);
    for (const char* item : items)
        combo->Items().Add(item);
    AddRow(label, combo, page);
    return combo;
}

TFlatCheckBox* GeneratorDialog::AddCheck(const char* name, const std::string& caption, bool checked, QWidget* page)
{
    auto* check = Named(new TFlatCheckBox(page ? page : this), name);
    check->SetCaption(caption);
    check->SetChecked(checked);
    AddRow({}, check, page);
    return check;
}

QSpinBox* GeneratorDialog::AddSpin(const char* name, const std::string& label, int min, int max, int value,
                                   QWidget* page)
{
    auto* spin = Named(new QSpinBox(page ? page : this), name);
    spin->setRange(min, max);
    spin->setValue(value);
    AddRow(label, spin, page);
    return spin;
}

TRadioGroup* GeneratorDialog::AddRadioGroup(const char* name, const std::string& caption,
                                            std::initializer_list<const char*> items, int index, QWidget* page)
{
    auto* group = new TRadioGroup(name, caption, page ? page : this);
    TStringList list;
    for (const char* item : items)
        list.Add(item);
    group->SetItems(list);
    group->SetItemIndex(index);
    AddRow({}, group, page);
    return group;
}

QWidget* GeneratorDialog::AddPage(const char* name, const std::string& caption)
{
    if (!PageControl1) {
        PageControl1 = Named(new QTabWidget(this), "PageControl1");
        // The window is as wide as its row of tabs: every tab shows.
        PageControl1->tabBar()->setUsesScrollButtons(false);
        client_->insertWidget(0, PageControl1, 1);
    }
    auto* page = Named(new QWidget(PageControl1), name);
    PageControl1->addTab(page, ToQString(caption));
    return page;
}

TFlatSpeedButton* GeneratorDialog::AddNextButton(QWidget* page, const char* name, const std::string& caption)
{
    TFlatSpeedButton* button = AddButton(name, caption, page);
    button->OnClick = [this](QObject*) {
        PageControl1->setCurrentIndex(std::min(PageControl1->currentIndex() + 1, PageControl1->count() - 1));
    };
    FormOf(page)->addRow(button);
    return button;
}

TFlatSpeedButton* GeneratorDialog::AddBackButton(QWidget* page, const char* name, const std::string& caption)
{
    TFlatSpeedButton* button = AddButton(name, caption, page);
    button->OnClick = [this](QObject*) { PageControl1->setCurrentIndex(std::max(PageControl1->currentIndex() - 1, 0)); };
    FormOf(page)->addRow(button);
    return button;
}

TFlatSpeedButton* GeneratorDialog::AddPageButton(QWidget* page, const char* name, const std::string& caption,
                                                 std::function<void()> command)
{
    TFlatSpeedButton* button = AddButton(name, caption, page);
    button->OnClick = [command = std::move(command)](QObject*) { command(); };
    FormOf(page)->addRow(button);
    return button;
}

TFlatSpeedButton* GeneratorDialog::AddButton(const char* name, const std::string& caption, QWidget* parent)
{
    auto* button = Named(new TFlatSpeedButton(parent), name);
    button->SetCaption(caption);
    button->setFixedHeight(25);
    return button;
}

TFlatSpeedButton* GeneratorDialog::AddGenerateButton(const char* name, const std::string& caption,
                                                     std::function<TLines()> build)
{
    TFlatSpeedButton* button = AddButton(name, caption, this);
    button->OnClick = [this, build = std::move(build)](QObject*) {
        TStrings& memo = Memo1->Lines();
        memo.BeginUpdate();
        memo.Clear();
        for (const std::string& line : build())
            memo.Add(line);
        memo.EndUpdate();
        if (frame_.ToClipboard) {
            Memo1->selectAll();
            Memo1->copy();
        }
        done(mrOk);
    };
    buttons_->addWidget(button);
    return button;
}

void GeneratorDialog::reject()
{
    if (cancelClears_)
        Memo1->Lines().Clear();
    QDialog::reject();
}

TFlatSpeedButton* GeneratorDialog::AddCancelButton(const char* name, const std::string& caption, bool clears)
{
    TFlatSpeedButton* button = AddButton(name, caption, this);
    cancelClears_ = clears;
    button->OnClick = [this, clears](QObject*) {
        if (clears)
            Memo1->Lines().Clear();
        done(mrCancel);
    };
    buttons_->addWidget(button);
    return button;
}

TFlatSpeedButton* GeneratorDialog::AddCommandButton(const char* name, const std::string& caption,
                                                    std::function<void()> command)
{
    TFlatSpeedButton* button = AddButton(name, caption, this);
    button->OnClick = [command = std::move(command)](QObject*) { command(); };
    buttons_->addWidget(button);
    return button;
}

TFlatSpeedButton* GeneratorDialog::AddCloseButton(const char* name, const std::string& caption)
{
    TFlatSpeedButton* button = AddButton(name, caption, this);
    button->SetModalResult(mrOk);
    buttons_->addWidget(button);
    return button;
}

void GeneratorDialog::Loaded()
{
    KMLang1->Loaded();
}

void GeneratorDialog::Activate()
{
    move(frame_.Left, frame_.Top);
    if (frame_.SidePicture)
        if (shell::IMainWindow* main = shell::MainWindow())
            main->CopySidePicture(*Image1);
    if (frame_.ClearOnActivate)
        Memo1->Lines().Clear();
    if (PageControl1)
        PageControl1->setCurrentIndex(0);
    Activated();
}

bool GeneratorDialog::event(QEvent* e)
{
    // A launched dialog is shown once; coming back to it from another window
    // must not reset the page or the fields the user is filling in.
    if (e->type() == QEvent::Show && !e->spontaneous())
        Activate();
    return QDialog::event(e);
}

} // namespace vx::tools
