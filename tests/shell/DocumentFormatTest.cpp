// How a document's file stores its text, through the window: a closed file's
// encoding does not pass to the new document in its slot, and a UTF-8 page's
// byte order mark stays at the start of the file, out of the text.
#include "tests/shell/MenuDriver.h"
#include "tests/shell/ShellFixture.h"
#include "tests/support/TypeText.h"

#include <QImage>
#include <QTest>

using vx::test::readFile;
using vx::test::ShellTest;

namespace {

class DocumentFormatTest : public ShellTest {
protected:
    void SetUp() override
    {
        StartAndActivate();
        form->show();
    }
    // Opens the file into slot 1, its editor focused and the caret at the start.
    TmwCustomEdit* OpenInFirstSlot(const std::string& path)
    {
        OpenAndFocus(path);
        EXPECT_EQ(form->SlotFileName(1), path);
        return form->SlotEditor(1);
    }
    void SaveAs(const std::string& path)
    {
        dialogs.Queue(mrOk, path);
        vx::test::PickMenuCommand(*form, "SaveAs1");
    }
    // The top line of the editor as painted, the caret on another line.
    QImage FirstLineShown(TmwCustomEdit* editor)
    {
        QTest::keySequence(editor, QKeySequence("Ctrl+End"));
        const QImage shown = editor->viewport()->grab().toImage();
        return shown.copy(0, 0, shown.width(), editor->Model().LineHeight());
    }
};

} // namespace

TEST_F(DocumentFormatTest, ANewDocumentAfterAClosedWindows1252FileIsUtf8)
{
    for (const char* command : {"Closefile1", "CloseAllfiles1"}) {
        SCOPED_TRACE(command);
        const std::string closed = WriteDoc("cp1252.htm", "caf\xE9\r\n");
        OpenInFirstSlot(closed);
        dialogs.Queue(mrYes);
        vx::test::PickMenuCommand(*form, command);
        ASSERT_EQ(form->SlotFileName(1), "");
        TmwCustomEdit* editor = form->SlotEditor(1);
        Focus(editor);
        QTest::keySequence(editor, QKeySequence("Ctrl+End"));
        vx::test::TypeText(editor, QString::fromUtf8("ok\xCE\xB1\xE4\xBD\xA0"));
        EXPECT_EQ(editor->Model().Lines()[0], " ok\xCE\xB1\xE4\xBD\xA0") << "every character goes in";
        const std::string saved = docs.file(std::string("new-") + command + ".htm");
        SaveAs(saved);
        EXPECT_EQ(readFile(saved), " ok\xCE\xB1\xE4\xBD\xA0\r\n") << "written as UTF-8";
        EXPECT_EQ(readFile(closed), "caf\xE9\r\n");
        dialogs.Queue(mrYes);
        vx::test::PickMenuCommand(*form, "Closefile1");
    }
}

TEST_F(DocumentFormatTest, TheByteOrderMarkStaysAtTheStartOfTheFileOutOfTheText)
{
    const std::string page = WriteDoc("marked.htm", "\xEF\xBB\xBF<p>caf\xC3\xA9</p>\r\n<p>two</p>\r\n");
    TmwCustomEdit* editor = OpenInFirstSlot(page);
    EXPECT_EQ(editor->Model().Lines()[0], "<p>caf\xC3\xA9</p>");

    // The caret goes no further than the text's first character.
    QTest::keySequence(editor, QKeySequence("Ctrl+Home"));
    QTest::keyClicks(editor, "x");
    QTest::keyClick(editor, Qt::Key_Home);
    QTest::keyClick(editor, Qt::Key_Left);
    QTest::keyClick(editor, Qt::Key_Right);
    QTest::keyClicks(editor, "y");
    QTest::keySequence(form.get(), QKeySequence("Ctrl+S"));
    EXPECT_EQ(readFile(page), "\xEF\xBB\xBFxy<p>caf\xC3\xA9</p>\r\n<p>two</p>\r\n");

    // Save As writes it too.
    const std::string copy = docs.file("copy.htm");
    SaveAs(copy);
    QTest::keySequence(editor, QKeySequence("Ctrl+Home"));
    QTest::keyClick(editor, Qt::Key_Delete);
    QTest::keySequence(form.get(), QKeySequence("Ctrl+S"));
    EXPECT_EQ(readFile(copy), "\xEF\xBB\xBFy<p>caf\xC3\xA9</p>\r\n<p>two</p>\r\n");

    // The page is painted as the same page without the mark.
    const QImage marked = FirstLineShown(editor);
    dialogs.Queue(mrYes);
    vx::test::PickMenuCommand(*form, "Closefile1");
    editor = OpenInFirstSlot(WriteDoc("plain.htm", "y<p>caf\xC3\xA9</p>\r\n<p>two</p>\r\n"));
    EXPECT_EQ(FirstLineShown(editor), marked);
}
