// How a document's file stores its text, through the window: a closed file's
// encoding does not pass to the new document in its slot.
#include "tests/shell/MenuDriver.h"
#include "tests/shell/ShellFixture.h"
#include "tests/support/TypeText.h"

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
