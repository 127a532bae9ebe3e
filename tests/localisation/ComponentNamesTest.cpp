// Components built without a name still reach the language file: each one
// that carries a text gets its class's name and the next free number.
#include "localisation/KLangEd.h"
#include "localisation/qt/KMLang.h"
#include "tests/localisation/TestWindow.h"
#include "tests/support/TempDir.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

std::unique_ptr<QWidget> MakeUnnamedWindow()
{
    auto window = std::make_unique<QWidget>();
    window->setObjectName("Plain");
    auto* layout = new QVBoxLayout(window.get());
    auto* named = new QLabel("Named label", window.get());
    named->setObjectName("Label2");
    layout->addWidget(new QLabel("First label", window.get()));
    layout->addWidget(named);
    layout->addWidget(new QLabel("Second label", window.get()));
    layout->addWidget(new QLabel("12:30", window.get())); // nothing to translate
    layout->addWidget(new QLineEdit(window.get()));
    auto* pages = new QTabWidget(window.get());
    pages->setObjectName("Pages");
    auto* page = new QWidget;
    page->setObjectName("Page1");
    new QPushButton("On a page", page);
    pages->addTab(page, "Page");
    layout->addWidget(pages);
    auto* bar = new QStatusBar(window.get());
    bar->setObjectName("Bar");
    bar->addPermanentWidget(new QLabel("Panel text", bar));
    layout->addWidget(bar);
    // A list of the file system: its files are no texts, its hint is.
    auto* files = new QListWidget(window.get());
    files->setObjectName("FileListBox1");
    files->setToolTip("Pick files");
    files->addItems({"index.htm", "Readme"});
    layout->addWidget(files);
    auto* menu = new QMenu("&Edit", window.get());
    menu->addAction("&Copy All");
    menu->addSeparator();
    menu->addMenu("&More")->addAction("&Paste");
    auto* lang = new TKMLang(window.get());
    lang->Loaded();
    return window;
}

TEST(ComponentNames, EveryTextGetsANameThatNoOtherComponentUses)
{
    vx::test::TempDir dir("vellumix-names");
    TkLangFileEdit file;
    vx::test::CollectNativeFile("Plain", MakeUnnamedWindow, dir.path().string(), file);
    const std::pair<const char*, const char*> expected[] = {
        {"Label1.Caption", "First label"},
        {"Label2.Caption", "Named label"},
        {"Label3.Caption", "Second label"},
        {"Button1.Caption", "On a page"},
        {"Bar.Panels.Item0.Text", "Panel text"},
        {"MenuItem1.Caption", "&Edit"},
        {"MenuItem2.Caption", "&Copy All"},
        {"MenuItem3.Caption", "&More"},
        {"MenuItem4.Caption", "&Paste"},
        {"FileListBox1.Hint", "Pick files"},
    };
    for (const auto& [key, text] : expected) {
        TKLangStr* record = file.FindString("Plain", key);
        ASSERT_NE(record, nullptr) << key;
        EXPECT_EQ(record->Text(), text) << key;
    }
    EXPECT_EQ(file.FindString("Plain", "FileListBox1.Items"), nullptr);
    EXPECT_EQ(file.StringCount(), 11) << "the ten and the page's tab; a submenu's own item is the submenu";
}

} // namespace
