// A window with one of each kind of translatable object.
#include "tests/localisation/TestWindow.h"

#include "localisation/KLangEd.h"
#include "localisation/qt/KLangTool.h"
#include "localisation/qt/KMLang.h"
#include "platform/FileIO.h"
#include "platform/ProgramPaths.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace vx::test {

TestWindow::TestWindow(const QString& name)
{
    setObjectName(name);
    setWindowTitle("Main window");
    Button1 = new QPushButton("&Open", this);
    Button1->setObjectName("Button1");
    Button1->setToolTip("Open a file");
    Label1 = new QLabel("Name:", this);
    Label1->setObjectName("Label1");
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->addItems({"Red", "Green", "Blue"});
    ComboBox1->setCurrentIndex(1);
    Memo1 = new QPlainTextEdit("line one\nline two", this);
    Memo1->setObjectName("Memo1");
    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName("ListView1");
    ListView1->setHeaderLabels({"File", "Size"});
    ListView1->addTopLevelItem(new QTreeWidgetItem(QStringList{"first", "1"}));
    ListView1->addTopLevelItem(new QTreeWidgetItem(QStringList{"second", "2"}));
    Save1 = new QAction("&Save", this);
    Save1->setObjectName("Save1");
    GroupBox1 = new QGroupBox("Options", this);
    GroupBox1->setObjectName("GroupBox1");
    Button2 = new QPushButton("Apply", GroupBox1);
    Button2->setObjectName("Button2");
    Edit1 = new QLineEdit("12:30", this);
    Edit1->setObjectName("Edit1");
    Lang = new TKMLang(this);
    Lang->setObjectName("KMLang1");
    Lang->SetOwnerName("Form1");
    Lang->Loaded();
}

std::unique_ptr<QWidget> MakeTestWindow()
{
    return std::make_unique<TestWindow>();
}

void CollectNativeFile(const char* name, std::unique_ptr<QWidget> (*make)(), const std::string& folder,
                       TkLangFileEdit& file)
{
    TKAppLanguage::Instance().Initialize();
    TLangWindowRegistry registry;
    registry.Register(name, make);
    WriteNativeLanguage(registry, folder);
    file.LoadFromBytes(ReadWholeFile(JoinPath(folder, "native.lng")));
}

} // namespace vx::test
