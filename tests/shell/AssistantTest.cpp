// The assistant window: its shape follows its visible controls, it is dragged
// by any part that is not a control, and its popup menu moves it and sizes
// its text.
#include "tests/shell/ShellFixture.h"

#include "controls/flat/TFlatMemoUnit.h"
#include "shell/qt/mainwindow/StatusBar.h"
#include "shell/qt/windows/About.h"
#include "shell/qt/windows/ProfHelp.h"
#include "tests/controls/FlatTestSupport.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

namespace vx::test {
namespace {

class AssistantTest : public ShellTest {
protected:
    void SetUp() override
    {
        StartAndActivate();
        form->resize(900, 700);
        form->move(50, 40);
        Focus(form->SlotEditor(1));
        ASSERT_TRUE(frm_profhelp->isVisible());
        assistant = frm_profhelp;
        QApplication::processEvents();
    }
    // The position of the control's centre in the assistant's coordinates.
    QPoint CentreOf(const QWidget* control) const { return control->geometry().center(); }
    // Right-clicks the picture and picks the popup menu's item.
    void PickFromPopup(const char* item)
    {
        MousePress(*assistant->Image1, assistant->Image1->rect().center(), Qt::RightButton);
        MouseRelease(*assistant->Image1, assistant->Image1->rect().center(), Qt::RightButton);
        QMenu& menu = *assistant->PopupMenu1;
        ASSERT_TRUE(QTest::qWaitFor([&] { return menu.isVisible(); }, kPatienceMs)) << item;
        auto* action = menu.findChild<QAction*>(item);
        ASSERT_NE(action, nullptr) << item;
        QTest::mouseClick(&menu, Qt::LeftButton, {}, menu.actionGeometry(action).center());
        EXPECT_FALSE(menu.isVisible());
    }

    Tfrm_profhelp* assistant = nullptr;
};

TEST_F(AssistantTest, TheWindowHasNoFrameAndShowsOnlyItsVisibleControls)
{
    EXPECT_TRUE(assistant->windowFlags() & Qt::FramelessWindowHint);
    assistant->Button1->show();
    assistant->Button2->show();
    QApplication::processEvents();
    const QPoint yes = CentreOf(assistant->Button2);
    EXPECT_TRUE(assistant->mask().contains(yes));
    EXPECT_TRUE(assistant->mask().contains(CentreOf(assistant->Memo1->parentWidget())));
    EXPECT_TRUE(assistant->mask().contains(CentreOf(assistant->Image1)));
    EXPECT_FALSE(assistant->mask().contains(QPoint(1, 1))) << "the margin between the controls is see-through";

    assistant->Button2->hide();
    QApplication::processEvents();
    EXPECT_FALSE(assistant->mask().contains(yes)) << "a hidden control leaves a hole";
    EXPECT_TRUE(assistant->mask().contains(CentreOf(assistant->Button1)));
    assistant->Button1->hide();
}

// Lower right over the documents, and clear of every status bar: the
// document's own, those of the workspaces when their page shows, the main one.
TEST_F(AssistantTest, ActivationPlacesItAtTheLowerRightOfTheMainWindowAboveItsStatusBars)
{
    const auto expectPlacedAtLowerRight = [this](const char* how) {
        const QRect main = form->frameGeometry();
        const QRect shown(assistant->pos(), assistant->size());
        EXPECT_EQ(shown.right(), main.right() - 10) << how;
        const int documentBar = form->glob_stat->mapToGlobal(QPoint(0, 0)).y();
        EXPECT_LT(documentBar - shown.bottom(), 3 * form->glob_stat->height()) << how << ": near the foot";
        for (int page = 0; page < form->PageControl1->count(); ++page) {
            form->PageControl1->setCurrentIndex(page);
            QApplication::processEvents();
            for (const QStatusBar* bar : form->findChildren<QStatusBar*>()) {
                if (bar->isVisible()) {
                    EXPECT_FALSE(shown.intersects(QRect(bar->mapToGlobal(QPoint(0, 0)), bar->size())))
                        << how << ": covers " << bar->objectName().toStdString() << " on page " << page;
                }
            }
        }
        form->PageControl1->setCurrentIndex(0);
    };
    assistant->hide();
    assistant->show();
    expectPlacedAtLowerRight("shown");
    PickFromPopup("Moveassistanttoupperleft1");
    EXPECT_EQ(assistant->pos(), QPoint(20, 20));
    PickFromPopup("Moveassistanttolowerright1");
    expectPlacedAtLowerRight("moved back");
}

TEST_F(AssistantTest, ThePopupMenuSizesTheTextAndNeverBelowOnePoint)
{
    QFont font = assistant->Memo1->font();
    font.setPointSize(3);
    assistant->Memo1->setFont(font);
    PickFromPopup("Increasefontsize1");
    EXPECT_EQ(assistant->Memo1->font().pointSize(), 4);
    for (int i = 0; i < 5; ++i)
        PickFromPopup("Decreasefontsize1");
    EXPECT_EQ(assistant->Memo1->font().pointSize(), 1);
    PickFromPopup("Closeassistant1");
    EXPECT_FALSE(assistant->isVisible());
}

TEST_F(AssistantTest, APressOnAPictureOrLabelDragsTheWindowAndOneOnTheMemoDoesNot)
{
    for (QWidget* part : {static_cast<QWidget*>(assistant->Label1), static_cast<QWidget*>(assistant->Image3)}) {
        const QPoint start = assistant->pos();
        const QPoint at = part->rect().center();
        MousePress(*part, at);
        MouseMove(*part, at + QPoint(-30, -20));
        // The mouse stays where the part went with the window.
        MouseRelease(*part, at);
        EXPECT_EQ(assistant->pos(), start + QPoint(-30, -20)) << part->objectName().toStdString();
    }
    QWidget& text = *assistant->Memo1->viewport();
    const QPoint start = assistant->pos();
    MousePress(text, QPoint(10, 10));
    MouseMove(text, QPoint(40, 30));
    MouseRelease(text, QPoint(40, 30));
    EXPECT_EQ(assistant->pos(), start) << "the memo keeps the mouse for its text";
}

TEST_F(AssistantTest, DoubleClickingThePictureShowsTheCredits)
{
    // The credits come up in a loop of their own once the second click is in.
    std::string shown;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (auto* window = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            shown = window->objectName().toStdString();
            window->reject();
        }
    });
    watch.start(10);
    DoubleClick(*assistant->Image1, assistant->Image1->rect().center());
    watch.stop();
    EXPECT_EQ(shown, "frm_about");
}

} // namespace
} // namespace vx::test
