// The browser preview on a real browser engine, on a virtual screen: local
// pages load in the character set the editor reads them in, their titles
// become the caption, the tool buttons browse, the resolution combo sizes the
// window, and Stop ends a load that would not end.
// With $VX_PREVIEW_SHOT set, the window showing a page is saved there as a PNG.
#include "controls/flat/TFlatComboBoxUnit.h"
#include "platform/qt/PreviewHTML.h"
#include "platform/web/WebBrowser.h"
#include "shell/qt/windows/Preview.h"
#include "tests/controls/FlatTestSupport.h"
#include "tests/support/TempDir.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <memory>

namespace {

// The engine must be chosen before the application object exists.
const bool engineInstalled = (vx::InstallWebBrowser(), true);

using vx::test::writeFile;

constexpr int LoadWait = 30000;

std::string Page(const std::string& title, const std::string& body = "", const std::string& colour = "#ffffff")
{
    return "<html><head><title>" + title + "</title></head><body style=\"margin:0;background:" + colour + "\">" +
           body + "</body></html>";
}

// The page with the declaration of its character set in its head.
std::string DeclaringPage(const std::string& declaration, const std::string& title, const std::string& body)
{
    std::string page = Page(title, body);
    return page.insert(page.find("<title>"), declaration);
}

class PreviewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(engineInstalled);
        window = std::make_unique<Tfrm_preview>();
        window->resize(640, 480);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get(), LoadWait));
    }

    QUrl Write(const std::string& name, const std::string& html) const
    {
        writeFile(pages.file(name), html);
        return QUrl::fromLocalFile(QString::fromStdString(pages.file(name)));
    }
    bool WaitForCaption(const QString& caption) const
    {
        return QTest::qWaitFor([&] { return window->windowTitle() == caption; }, LoadWait);
    }
    bool WaitUntilLoaded() const
    {
        return QTest::qWaitFor([&] { return !window->PreviewHTML1->Busy(); }, LoadWait);
    }
    // Loads the page and waits until it is there.
    void Show(const QUrl& url, const QString& title)
    {
        window->PreviewHTML1->Navigate(url);
        ASSERT_TRUE(WaitForCaption(title)) << "caption is " << window->windowTitle().toStdString();
        ASSERT_TRUE(WaitUntilLoaded());
    }
    void Click(QToolButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    vx::test::TempDir pages{"vellumix-pages"};
    std::unique_ptr<Tfrm_preview> window;
};

TEST(Resolution, WidthStarHeight)
{
    const struct {
        const char* text;
        bool valid;
        int width;
        int height;
    } rows[] = {
        {"640*480", true, 640, 480}, {"1024*768", true, 1024, 768}, {"800x600", false, 0, 0},
        {"*600", false, 0, 0},       {"800*", false, 0, 0},         {"0*600", false, 0, 0},
        {"80a*600", false, 0, 0},    {"99999999999*5", false, 0, 0}, {"", false, 0, 0},
    };
    for (const auto& row : rows) {
        int w = 0;
        int h = 0;
        EXPECT_EQ(ParseResolution(row.text, w, h), row.valid) << row.text;
        if (row.valid) {
            EXPECT_EQ(std::make_pair(w, h), std::make_pair(row.width, row.height)) << row.text;
        }
    }
}

TEST_F(PreviewTest, ActivationEmptiesTheCaptionAndShowsTheWindowSize)
{
    window->hide();
    window->setWindowTitle("old page");
    window->show();
    EXPECT_EQ(window->windowTitle(), "");
    EXPECT_EQ(window->ComboBox1->Text(), "640*480");
}

TEST_F(PreviewTest, ALocalPageLoadsAndItsTitleBecomesTheCaption)
{
    const QUrl url = Write("page.html", Page("Local page", "<h1>Hello</h1>"));
    Show(url, "Local page");
    EXPECT_EQ(window->PreviewHTML1->LocationURL(), url);
    // Shown again for the same page, as the preview command does.
    window->hide();
    window->show();
    EXPECT_EQ(window->windowTitle(), "");
    Show(url, "Local page");
}

// A page shows the characters of the character set it declares. A page that
// declares none, or names one no browser knows, shows the characters the
// editor reads in its file: UTF-8 when its bytes are, Windows-1252 otherwise
// (bytes the engine's own guess takes for Cyrillic). The title becomes the
// caption in characters too.
TEST_F(PreviewTest, APageShowsItsCharactersWhateverItsFilesCharacterSet)
{
    const struct {
        const char* name;
        std::string bytes;
        QString title;
        QString text;
    } rows[] = {
        {"utf8.html", Page("\u00e9 \u20ac \u03b1 \u4f60 \U0001F600", "<p>caf\u00e9 10\u20ac \u4f60\u597d \U0001F600</p>"),
         QString::fromUtf8("\u00e9 \u20ac \u03b1 \u4f60 \U0001F600"),
         QString::fromUtf8("caf\u00e9 10\u20ac \u4f60\u597d \U0001F600")},
        {"cp1252.html", Page("\xE9 \x80 \xD0\xD3\xD1", "<p>\xD0\xD3\xD1\xD1\xCA\xC8\xC9 \xD2\xC5\xCA\xD1\xD2 \xEF\xF0\xE8\xE2\xE5\xF2</p>"),
         QString::fromUtf8("\u00e9 \u20ac \u00d0\u00d3\u00d1"),
         QString::fromUtf8("\u00d0\u00d3\u00d1\u00d1\u00ca\u00c8\u00c9 \u00d2\u00c5\u00ca\u00d1\u00d2 "
                           "\u00ef\u00f0\u00e8\u00e2\u00e5\u00f2")},
        {"greek.html",
         DeclaringPage("<meta charset=\"ISO-8859-7\">", "\xE1\xE2\xE3", "<p>\xCA\xE1\xEB\xE7\xEC\xDD\xF1\xE1 10\xA4</p>"),
         QString::fromUtf8("\u03b1\u03b2\u03b3"),
         QString::fromUtf8("\u039a\u03b1\u03bb\u03b7\u03bc\u03ad\u03c1\u03b1 10\u20ac")},
        {"cyrillic.html",
         DeclaringPage("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">",
                       "\xCF\xF0\xE8\xE2\xE5\xF2", "<p>\xCF\xF0\xE8\xE2\xE5\xF2 \xEC\xE8\xF0</p>"),
         QString::fromUtf8("\u041f\u0440\u0438\u0432\u0435\u0442"),
         QString::fromUtf8("\u041f\u0440\u0438\u0432\u0435\u0442 \u043c\u0438\u0440")},
        {"unknown-charset.html", DeclaringPage("<meta charset=\"latin-1\">", "\xE9t\xE9", "<p>caf\xE9 10\x80</p>"),
         QString::fromUtf8("\u00e9t\u00e9"), QString::fromUtf8("caf\u00e9 10\u20ac")},
    };
    auto* view = window->findChild<QWebEngineView*>();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const QUrl url = Write(row.name, row.bytes);
        Show(url, row.title);
        EXPECT_EQ(window->PreviewHTML1->LocationURL(), url);
        if (!view)
            view = window->findChild<QWebEngineView*>();
        ASSERT_NE(view, nullptr);
        QString shown;
        bool read = false;
        view->page()->toPlainText([&](const QString& text) {
            shown = text;
            read = true;
        });
        ASSERT_TRUE(QTest::qWaitFor([&] { return read; }, LoadWait));
        EXPECT_EQ(shown.toStdString(), row.text.toStdString());
    }
}

// The engine titles a page without a title by its file's name.
TEST_F(PreviewTest, APageWithoutATitleIsCaptionedByItsFileName)
{
    const QUrl url = Write("untitled page.html", "<html><body><p>no title</p></body></html>");
    window->PreviewHTML1->Navigate(url);
    ASSERT_TRUE(WaitUntilLoaded());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->windowTitle().isEmpty(); }, LoadWait));
    EXPECT_EQ(window->windowTitle().toStdString(), "untitled page.html");
}

TEST_F(PreviewTest, ChoosingAResolutionSizesTheWindowAndPutsItTopLeft)
{
    vx::test::Activate(*window);
    TFlatComboBox& combo = *window->ComboBox1;
    vx::test::Click(combo, combo.ButtonRect().center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return combo.view()->isVisible(); }, LoadWait));
    QAbstractItemView& list = *combo.view();
    QTest::keyClick(&list, Qt::Key_Down);
    QTest::keyClick(&list, Qt::Key_Return);
    EXPECT_EQ(window->size(), QSize(800, 600));
    EXPECT_EQ(window->pos(), QPoint(1, 1));
    EXPECT_EQ(combo.Text(), "800*600");
}

TEST_F(PreviewTest, BackForwardAndRefreshBrowseTheVisitedPages)
{
    const QUrl first = Write("first.html", Page("First"));
    const QUrl second = Write("second.html", Page("Second"));
    Show(first, "First");
    Show(second, "Second");
    Click(window->ToolButton1);
    ASSERT_TRUE(WaitForCaption("First")) << "Page Backward";
    ASSERT_TRUE(WaitUntilLoaded());
    Click(window->ToolButton2);
    ASSERT_TRUE(WaitForCaption("Second")) << "Page forward";
    ASSERT_TRUE(WaitUntilLoaded());
    Write("second.html", Page("Second, changed"));
    Click(window->ToolButton4);
    EXPECT_TRUE(WaitForCaption("Second, changed")) << "Refresh page reads the file again";
}

TEST_F(PreviewTest, HoveringALinkShowsItsAddressInTheStatusBar)
{
    const QUrl target = Write("target.html", Page("Target"));
    Show(Write("links.html", Page("Links", "<a href=\"target.html\" style=\"display:block;height:300px\">go</a>")),
         "Links");
    QWidget* browser = window->PreviewHTML1;
    const QPoint over = browser->mapTo(window.get(), QPoint(40, 40));
    int step = 0;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            // The engine hears of the mouse once its page is ready for input: move until it answers.
            QTest::mouseMove(window->windowHandle(), over + QPoint(step++ % 2, 0));
            return window->StatusBar1->currentMessage() == target.toString();
        },
        LoadWait))
        << "status is " << window->StatusBar1->currentMessage().toStdString();
}

TEST_F(PreviewTest, StopBrowsingEndsALoadThatWouldNotEnd)
{
    // A picture read from a pipe nobody writes to keeps the page loading.
    const std::string pipe = pages.file("picture.gif");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    Write("slow.html", Page("Slow page", "<img src=\"picture.gif\">"));
    window->PreviewHTML1->Navigate(QUrl::fromLocalFile(QString::fromStdString(pages.file("slow.html"))));
    ASSERT_TRUE(WaitForCaption("Slow page"));
    EXPECT_TRUE(window->PreviewHTML1->Busy()) << "the picture never arrives";
    bool completed = true;
    window->PreviewHTML1->OnDocumentComplete = [&](vx::TPreviewHTML&, bool ok) { completed = ok; };
    Click(window->ToolButton5);
    EXPECT_TRUE(WaitUntilLoaded()) << "Stop Browsing stops the load";
    EXPECT_FALSE(completed) << "the load ended unfinished";
    EXPECT_EQ(window->windowTitle(), "Slow page") << "what was shown stays";
    // Lets the engine's reader of the pipe go.
    const int writer = open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
    if (writer >= 0)
        close(writer);
}

// Shown, the window takes the keyboard, also after its browser made it anew
// for the first page and when it is shown again; it closes as its user
// closes it once a click gave the page the keyboard.
TEST_F(PreviewTest, EscapeAndQuitBrowsingCloseTheWindowWhileThePageHasTheKeyboard)
{
    const QUrl url = Write("page.html", Page("Page", "<p>text</p>"));
    const struct {
        const char* way;
        std::function<void()> close;
    } ways[] = {
        // Keys come from the system to the window, as the user types them.
        {"Escape", [&] { QTest::keyClick(window->windowHandle(), Qt::Key_Escape); }},
        {"Quit browsing", [&] { Click(window->ToolButton3); }},
    };
    for (const auto& way : ways) {
        window->hide();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get(), LoadWait)) << way.way << ": shown without the keyboard";
        Show(url, "Page");
        ASSERT_TRUE(window->isActiveWindow()) << way.way << ": the page took the keyboard away";
        QWidget* browser = window->PreviewHTML1;
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, browser->mapTo(window.get(), QPoint(40, 40)));
        ASSERT_TRUE(QTest::qWaitFor([&] { return browser->isAncestorOf(QApplication::focusWidget()); }, LoadWait))
            << way.way << ": the page did not take the keyboard";
        way.close();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }, LoadWait)) << way.way;
    }
}

TEST_F(PreviewTest, TheWindowShowsThePage)
{
    Show(Write("shot.html", Page("Preview", "<h1 style=\"color:#ffffff\">Vellumix preview</h1>", "#1e90ff")),
         "Preview");
    const QPoint inside = window->PreviewHTML1->mapTo(window.get(), QPoint(10, window->PreviewHTML1->height() - 10));
    QImage shot;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            shot = window->grab().toImage();
            return shot.pixelColor(inside) == QColor("#1e90ff");
        },
        LoadWait))
        << "the page's background is painted in the browser's place";
    if (const char* path = std::getenv("VX_PREVIEW_SHOT")) {
        EXPECT_TRUE(shot.save(path, "PNG")) << path;
    }
}

} // namespace
