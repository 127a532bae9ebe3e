#include "database/qt/DsnCfg.h"

#include "controls/flat/TFlatMemoUnit.h"
#include "database/qt/ODBCErrorDlg.h"
#include "localisation/qt/KMLang.h"
#include "platform/qt/Application.h"
#include "platform/qt/QtText.h"
#include "shell/api/MainWindow.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

template <class W>
W* named(W* widget, const char* name)
{
    widget->setObjectName(name);
    return widget;
}

} // namespace

TAddDlg::TAddDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName("AddDlg");
    setWindowTitle("Add ODBC DSN");
    EditName = named(new QLineEdit(this), "EditName");
    DriverCB = named(new QComboBox(this), "DriverCB");
    ParamMemo = named(new TFlatMemo(this), "ParamMemo");
    AddBtn = named(new QPushButton("&Add", this), "AddBtn");
    AddBtn->setDefault(true);
    BitBtn2 = named(new QPushButton("Cancel", this), "BitBtn2");
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("DSN Name", this), 0, 0);
    grid->addWidget(EditName, 0, 1);
    grid->addWidget(new QLabel("Driver Type", this), 1, 0);
    grid->addWidget(DriverCB, 1, 1);
    grid->addWidget(new QLabel("Parameters", this), 2, 0, Qt::AlignTop);
    grid->addWidget(ParamMemo, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(AddBtn);
    buttons->addWidget(BitBtn2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addLayout(buttons);
    connect(AddBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    connect(EditName, &QLineEdit::textChanged, this, [this] { PropChange(); });
    connect(DriverCB, &QComboBox::currentIndexChanged, this, [this] { PropChange(); });
    TranslateWindow(this);
}

void TAddDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    PropChange();
}

void TAddDlg::PropChange()
{
    AddBtn->setEnabled(!EditName->text().trimmed().isEmpty() && DriverCB->currentIndex() >= 0);
}

TAddDlg* AddDlg()
{
    static QPointer<TAddDlg> dialog;
    if (!dialog) {
        dialog = new TAddDlg;
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, dialog, &QObject::deleteLater);
    }
    return dialog;
}

Tfrm_dsncfg::Tfrm_dsncfg(QWidget* parent) : QDialog(parent)
{
    ODBCErrorDlg();
    setObjectName("frm_dsncfg");
    setWindowTitle("Configure DSN");
    auto* panel1 = named(new QWidget(this), "Panel1");
    Image1 = named(new QLabel(panel1), "Image1");
    auto* imageLayout = new QVBoxLayout(panel1);
    imageLayout->addWidget(Image1);
    auto* panel2 = named(new QWidget(this), "Panel2");
    DsnList = named(new QListWidget(panel2), "DsnList");
    auto* listLayout = new QVBoxLayout(panel2);
    listLayout->addWidget(DsnList);
    auto* panel3 = named(new QWidget(this), "Panel3");
    auto* buttons = new QVBoxLayout(panel3);
    struct Button {
        QPushButton** target;
        const char* name;
        const char* caption;
    } table[] = {
        {&Button1, "Button1", "Add DSN"},
        {&ConfigDsnBtn, "ConfigDsnBtn", "Configure DSN"},
        {&RemoveDsnBtn, "RemoveDsnBtn", "Remove DSN"},
        {&button4, "button4", "Add system dsn"},
        {&button2, "button2", "Configure system dsn"},
        {&RemoveSysDsnBtn, "RemoveSysDsnBtn", "Remove system dsn"},
        {&SpeedButton1, "SpeedButton1", "&Close"},
    };
    for (const Button& b : table) {
        *b.target = named(new QPushButton(b.caption, panel3), b.name);
        buttons->addWidget(*b.target);
    }
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(panel1);
    layout->addWidget(panel2, 1);
    layout->addWidget(panel3);

    auto run = [this](std::function<void()> action) {
        return [this, action] {
            vx::DeliverShowingExceptions([&] {
                action();
                return true;
            });
            fillList();
        };
    };
    connect(Button1, &QPushButton::clicked, this, run([this] { addDataSource(0); }));
    connect(button4, &QPushButton::clicked, this, run([this] { addDataSource(3); }));
    connect(ConfigDsnBtn, &QPushButton::clicked, this, run([this] { changeDataSource(1); }));
    connect(button2, &QPushButton::clicked, this, run([this] { changeDataSource(4); }));
    connect(RemoveDsnBtn, &QPushButton::clicked, this, run([this] { changeDataSource(2); }));
    connect(RemoveSysDsnBtn, &QPushButton::clicked, this, run([this] { changeDataSource(5); }));
    connect(SpeedButton1, &QPushButton::clicked, this, &QDialog::accept);
    fillList();
    TranslateWindow(this);
}

void Tfrm_dsncfg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    if (vx::shell::IMainWindow* main = vx::shell::MainWindow())
        main->CopySidePicture(*Image1);
    move(20, 20);
}

void Tfrm_dsncfg::fillList()
{
    TStringList names;
    vx::DeliverShowingExceptions([&] {
        mDataBase1.GetDataSourceNames(names);
        return true;
    });
    DsnList->clear();
    for (int i = 0; i < names.Count(); ++i)
        DsnList->addItem(vx::ToQString(names[i]));
}

void Tfrm_dsncfg::addDataSource(int mode)
{
    TAddDlg* dialog = AddDlg();
    TStringList drivers;
    mDataBase1.GetDriverNames(drivers);
    drivers.Sort();
    dialog->DriverCB->clear();
    for (int i = 0; i < drivers.Count(); ++i)
        dialog->DriverCB->addItem(vx::ToQString(drivers[i]));
    if (dialog->exec() != QDialog::Accepted)
        return;
    mDataBase1.ConfigDataSource(mode, vx::FromQString(dialog->EditName->text()), &dialog->ParamMemo->Lines(),
                                vx::FromQString(dialog->DriverCB->currentText()));
}

void Tfrm_dsncfg::changeDataSource(int mode)
{
    // Nothing is chosen: nothing to configure or remove.
    QListWidgetItem* item = DsnList->currentItem();
    if (!item || !item->isSelected())
        return;
    mDataBase1.ConfigDataSource(mode, vx::FromQString(item->text()), nullptr, "");
}
