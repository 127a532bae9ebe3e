// The windows around the preview command: the ASP warning's choice, the
// internal preview command once a browser engine is there, and the clipboard
// viewer dialog.
#include "tests/shell/ShellFixture.h"

#include "controls/clipboard/ClipView.h"
#include "controls/flat/TFlatMemoUnit.h"
#include "platform/qt/PreviewHTML.h"
#include "shell/qt/windows/AspWarning.h"
#include "shell/qt/windows/ClipViewForm.h"
#include "shell/qt/mainwindow/MainFormCommandsState.h"
#include "shell/qt/windows/Preview.h"
#include "shell/qt/launch/Launchers.h"
#include "tests/shell/MenuDriver.h"

#include <QClipboard>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace vx::test {
namespace {

using vx::shell::SetDialogHost;

class PreviewWindowsTest : public ShellTest {
protected:
    void SetUp() override
    {
        StartAndActivate();
        Focus(form->SlotEditor(1));
    }
    void TearDown() override
    {
        SetDialogHost({});
        vx::SetWebBrowserFactory({});
    }
    // Runs the ASP warning, the host answering with answer; the choice kept after it.
    bool WarnAnswering(const std::function<void(Tfrm_asp_warning&)>& answer)
    {
        SetDialogHost([&](QDialog& dialog) {
            auto& warning = dynamic_cast<Tfrm_asp_warning&>(dialog);
            warning.show();
            answer(warning);
            return warning.result();
        });
        vx::shell::RunLauncher(*form, "Tfrm_asp_warning");
        return vx::shell::CommandState(*form).ThroughWebServer;
    }
};

TEST_F(PreviewWindowsTest, TheAspWarningsButtonsChooseTheWayOfThePreview)
{
    std::vector<std::string> text;
    EXPECT_TRUE(WarnAnswering([&](Tfrm_asp_warning& w) {
        EXPECT_EQ(w.windowTitle(), "Warning!");
        for (int i = 0; i < w.Memo1->Lines().Count(); ++i)
            text.push_back(w.Memo1->Lines()[i]);
        QTest::mouseClick(w.Button2, Qt::LeftButton);
    })) << "Via Server";
    EXPECT_EQ(text.size(), 7u);
    EXPECT_EQ(text.at(1), "ASP files may not show properly when viewed via ");
    EXPECT_FALSE(WarnAnswering([](Tfrm_asp_warning& w) { QTest::mouseClick(w.Button1, Qt::LeftButton); }))
        << "View as file";
    EXPECT_TRUE(WarnAnswering([](Tfrm_asp_warning& w) { QTest::mouseClick(w.Button2, Qt::LeftButton); }));
    EXPECT_FALSE(WarnAnswering([](Tfrm_asp_warning& w) { w.close(); })) << "closed by its frame: as a file";
}

// A browser engine that shows nothing and keeps the addresses it is sent to:
// the real engine cannot run inside this suite's sanitizers (its own suite
// runs it).
class AddressBook : public vx::TWebBrowser {
public:
    explicit AddressBook(QWidget* parent, std::vector<QUrl>& visited) : view_(new QWidget(parent)), visited_(visited) {}
    QWidget* View() override { return view_; }
    void Navigate(const QUrl& url) override { visited_.push_back(url); }
    void GoBack() override {}
    void GoForward() override {}
    void Refresh() override {}
    void Stop() override {}
    bool Busy() const override { return false; }
    QUrl LocationURL() const override { return visited_.empty() ? QUrl() : visited_.back(); }

private:
    QWidget* view_;
    std::vector<QUrl>& visited_;
};

TEST_F(PreviewWindowsTest, WithABrowserEngineTheInternalPreviewShowsTheSavedPage)
{
    std::vector<QUrl> visited;
    // The program installs its engine before it makes its windows.
    form.reset();
    vx::SetWebBrowserFactory(
        [&visited](QWidget* parent) { return std::make_unique<AddressBook>(parent, visited); });
    StartAndActivate();
    Focus(form->SlotEditor(1));
    QAction* preview = MenuCommand("Currentpageininternalbrowser1", "Alt+F11");
    ASSERT_TRUE(preview->isEnabled()) << "the preview is there once an engine is";
    vx::test::PickMenuCommand(*form, "Currentpageininternalbrowser1");
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(dialogs.requests[0].text, "You must save the document first!");
    EXPECT_TRUE(visited.empty());

    // The name's bytes are the file system's (UTF-8), not the program's text.
    const std::string page = WriteDoc("caf\xC3\xA9-\xC3\xBC" "bersicht.htm", "<html></html>");
    OpenAndFocus(page);
    vx::test::PickMenuCommand(*form, "Currentpageininternalbrowser1");
    EXPECT_TRUE(frm_preview->isVisible());
    ASSERT_EQ(visited.size(), 1u);
    EXPECT_EQ(visited[0], QUrl::fromLocalFile(QString::fromUtf8(page.c_str())));
    EXPECT_TRUE(visited[0].fileName().endsWith(QString::fromUtf8("caf\xC3\xA9-\xC3\xBC" "bersicht.htm")));
    frm_preview->hide();
}

TEST_F(PreviewWindowsTest, TheClipboardViewerShowsWhatTheClipboardHolds)
{
    QApplication::clipboard()->setText("copied text");
    std::string caption, shown;
    QPoint at;
    SetDialogHost([&](QDialog& dialog) {
        auto& window = dynamic_cast<Tfrm_clipview&>(dialog);
        window.show();
        caption = window.windowTitle().toStdString();
        at = window.pos();
        if (auto* text = dynamic_cast<QPlainTextEdit*>(window.ClipboardViewer1->View()))
            shown = text->toPlainText().toStdString();
        return int(QDialog::Accepted);
    });
    PickMenuItem(*form, {"Tools1", "Clipboardviewer1"});
    EXPECT_EQ(caption, "Clipboard viewer");
    EXPECT_EQ(at, QPoint(20, 20));
    EXPECT_EQ(shown, "copied text");
}

} // namespace
} // namespace vx::test
