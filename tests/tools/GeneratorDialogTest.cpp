// The generator dialogs' common window: generate, cancel and frame close,
// placement and picture on activation, pages, the clipboard result and
// translation.
#include "tests/tools/FakeMainWindow.h"

#include "controls/flat/TFlatEditUnit.h"
#include "controls/flat/TFlatMemoUnit.h"
#include "controls/flat/TFlatSpeedButtonUnit.h"
#include "localisation/KLangEd.h"
#include "localisation/qt/KMLang.h"
#include "platform/qt/Dialogs.h"
#include "tests/controls/FlatTestSupport.h"
#include "tests/support/TempDir.h"
#include "tools/qt/framework/DisplayDialogs.h"
#include "tools/qt/framework/GeneratorDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QTabWidget>
#include <QTreeWidget>
#include <gtest/gtest.h>

using vx::tools::GeneratorDialog;
using vx::tools::TDialogFrame;
using vx::tools::TLines;

namespace {

// A two-field generator declared the way the real ones are.
class Tfrm_sample : public GeneratorDialog {
public:
    explicit Tfrm_sample(TDialogFrame frame = {}) : GeneratorDialog("frm_sample", "Sample", nullptr, frame)
    {
        Edit1 = AddEdit("Edit1", "Name", "default");
        AddGenerateButton("SpeedButton1", "&Generate", [this] {
            return TLines{"<a " + Edit1->Text() + ">", "", "</a>"};
        });
        AddCancelButton("SpeedButton2", "&Cancel");
        Loaded();
    }
    TFlatEdit* Edit1;
};

void Click(QWidget* button)
{
    vx::test::Click(*button, button->rect().center());
}

TFlatSpeedButton* Button(QWidget& dialog, const char* name)
{
    return dynamic_cast<TFlatSpeedButton*>(dialog.findChild<QObject*>(name));
}

class GeneratorDialogTest : public ::testing::Test {
protected:
    vx::test::FakeMainWindow main;
};

} // namespace

TEST_F(GeneratorDialogTest, GenerateFillsTheMemoInOrderAndCloses)
{
    Tfrm_sample dialog;
    dialog.show();
    dialog.Edit1->SetText("x=\"1\"");
    Click(Button(dialog, "SpeedButton1"));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.ResultLines(), (TLines{"<a x=\"1\">", "", "</a>"}));
    EXPECT_FALSE(dialog.Memo1->isVisible()) << "the result memo is never shown";
}

TEST_F(GeneratorDialogTest, CancelAndFrameCloseLeaveNothing)
{
    Tfrm_sample dialog;
    dialog.show();
    dialog.Memo1->Lines().Add("stale");
    Click(Button(dialog, "SpeedButton2"));
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(dialog.ResultLines().empty());

    Tfrm_sample framed;
    framed.Memo1->Lines().Add("left from before");
    framed.show();
    framed.close();
    EXPECT_NE(framed.result(), QDialog::Accepted);
    EXPECT_TRUE(framed.ResultLines().empty()) << "activation emptied the memo";
}

TEST_F(GeneratorDialogTest, ActivationPlacesTheWindowAndShowsTheSidePicture)
{
    struct Case {
        TDialogFrame frame;
        QPoint where;
        bool picture;
    };
    const Case cases[] = {
        {{}, {20, 20}, true},
        {{.Left = 40, .Top = 50, .SidePicture = false}, {40, 50}, false},
    };
    for (const Case& c : cases) {
        Tfrm_sample dialog(c.frame);
        dialog.move(300, 300);
        dialog.show();
        EXPECT_EQ(dialog.pos(), c.where);
        EXPECT_EQ(dialog.Image1->pixmap().size() == QSize(17, 33), c.picture);
    }
}

TEST_F(GeneratorDialogTest, ClipboardResultGoesToTheClipboardOnlyOnGenerate)
{
    QApplication::clipboard()->setText("before");
    {
        Tfrm_sample dialog({.ToClipboard = true});
        dialog.show();
        Click(Button(dialog, "SpeedButton2"));
        EXPECT_EQ(QApplication::clipboard()->text(), "before");
    }
    Tfrm_sample dialog({.ToClipboard = true});
    dialog.show();
    dialog.Edit1->SetText("b");
    Click(Button(dialog, "SpeedButton1"));
    EXPECT_EQ(QApplication::clipboard()->text(), "<a b>\n\n</a>");
}

TEST_F(GeneratorDialogTest, NextAndBackStepThroughThePagesFromTheFirst)
{
    GeneratorDialog dialog("frm_steps", "Steps", nullptr);
    QWidget* one = dialog.AddPage("TabSheet1", "One");
    QWidget* two = dialog.AddPage("TabSheet2", "Two");
    QWidget* three = dialog.AddPage("TabSheet3", "Three");
    TFlatSpeedButton* next1 = dialog.AddNextButton(one, "Next1");
    TFlatSpeedButton* next2 = dialog.AddNextButton(two, "Next2");
    TFlatSpeedButton* back3 = dialog.AddBackButton(three, "Back3");
    dialog.PageControl1->setCurrentIndex(2);
    dialog.show();
    EXPECT_EQ(dialog.PageControl1->currentWidget(), one) << "activation starts at the first page";
    Click(next1);
    Click(next2);
    EXPECT_EQ(dialog.PageControl1->currentWidget(), three);
    Click(back3);
    EXPECT_EQ(dialog.PageControl1->currentWidget(), two);
}

TEST_F(GeneratorDialogTest, TheLanguageFileTranslatesCaptionsAndLabels)
{
    vx::test::TempDir dir("vellumix-lang");
    TkLangFileEdit file;
    file.AddString(1, "frm_sample", "Caption", 0, "Voorbeeld");
    file.AddString(2, "frm_sample", "Edit1Label.Caption", 0, "Naam");
    file.SaveAs(dir.file("Nederlands.lng"));
    TKAppLanguage& app = TKAppLanguage::Instance();
    const std::string oldDir = app.LangDir();
    app.SetLangDir(dir.path().string());
    app.SetLanguage("Nederlands");
    Tfrm_sample dialog;
    EXPECT_EQ(dialog.windowTitle(), "Voorbeeld");
    auto* label = dialog.findChild<QLabel*>("Edit1Label");
    EXPECT_EQ(label->text(), "Naam");
    app.SetLanguage("Native");
    EXPECT_EQ(dialog.windowTitle(), "Sample");
    EXPECT_EQ(label->text(), "Name");
    app.SetLangDir(oldDir);
}

TEST_F(GeneratorDialogTest, DisplayDialogsCloseOnTheirOneButton)
{
    Tfrm_docinfo info;
    info.AddRow("Lines in document", "3");
    info.show();
    EXPECT_EQ(info.ListView1->headerItem()->text(0), "Item");
    EXPECT_EQ(info.ListView1->headerItem()->text(1), "Data");
    Click(Button(info, "SpeedButton1"));
    EXPECT_EQ(info.result(), QDialog::Accepted);

    Tfrm_tagsused tags;
    tags.show();
    EXPECT_EQ(Button(tags, "SpeedButton1")->Caption(), "&Ok");
    Click(Button(tags, "SpeedButton1"));
    EXPECT_FALSE(tags.isVisible());
}
