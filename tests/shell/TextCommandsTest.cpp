#include "tests/shell/MenuDriver.h"
#include "tests/shell/ShellFixture.h"

#include "highlighters/hkHTMLSyn.h"
#include "highlighters/lbVBSSyn.h"
#include "highlighters/wmMultiSyn.h"
#include "platform/FileIO.h"
#include "shell/qt/menu/DocumentPrint.h"
#include "shell/qt/menu/TextCommands.h"

#include <QClipboard>
#include <QInputDialog>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QTest>
#include <QTimer>

using vx::test::ShellTest;

namespace {

class TextCommandTest : public ShellTest {
protected:
    void SetUp() override
    {
        StartAndActivate();
        editor = form->SlotEditor(1);
        editor->Model().SetText("a\r\nb");
        Focus(editor);
        ASSERT_EQ(form->ActiveEditor(), editor);
    }
    void Pick(std::initializer_list<const char*> path) { vx::test::PickMenuItem(*form, path); }
    void Select(int line, int from, int to) { vx::test::SelectRange(*editor, line, from, to); }

    TmwCustomEdit* editor = nullptr;
};

} // namespace

TEST_F(TextCommandTest, ExportsWithUnixAndMacLineEnds)
{
    const std::string unix = docs.file("unix.txt");
    dialogs.Queue(mrOk, unix);
    Pick({"File1", "Export1", "AsUnixformattedfile1"});
    EXPECT_EQ(vx::ReadWholeFile(unix), std::string("a\nb\n"));
    ASSERT_FALSE(dialogs.requests.empty());
    EXPECT_EQ(dialogs.requests.back().text, "Document succesfully exported");
    EXPECT_EQ(dialogs.requests.back().caption, "Information");

    editor->Model().SetText("\xe9\r\n\xff");
    const std::string mac = docs.file("mac.txt");
    dialogs.Queue(mrOk, mac);
    Pick({"File1", "Export1", "AsMacformattedfile1"});
    EXPECT_EQ(vx::ReadWholeFile(mac), std::string("\xe9\r\xff\r"));

    editor->Model().SetText("");
    dialogs.Queue(mrOk, unix);
    Pick({"File1", "Export1", "AsUnixformattedfile1"});
    EXPECT_EQ(vx::ReadWholeFile(unix), std::string(editor->Model().LineCount(), '\n')) << "an empty document";

    const std::size_t asked = dialogs.requests.size();
    Pick({"File1", "Export1", "AsUnixformattedfile1"}); // cancelled
    EXPECT_EQ(dialogs.requests.size(), asked + 1) << "no success message after a cancel";
}

TEST_F(TextCommandTest, TheProgressWindowCountsTheLinesOutOfTheLast)
{
    std::string text = "a b";
    for (int i = 1; i < 130; ++i)
        text += "\r\na b";
    editor->Model().SetText(text);
    // The counter as the window shows it each time the command lets events through.
    std::vector<std::string> counts;
    QTimer watch;
    watch.setInterval(0);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (auto* progress = form->findChild<QDialog*>("frm_progress"); progress && progress->isVisible()) {
            const std::string count = progress->findChild<QLabel*>("Label3")->text().toStdString();
            if (counts.empty() || counts.back() != count)
                counts.push_back(count);
        }
    });
    watch.start();
    Pick({"Edit1", "Convert1", "Spacestohtmlspaces1"});
    watch.stop();
    EXPECT_EQ(counts, (std::vector<std::string>{"00000 of 00129", "00064 of 00129", "00128 of 00129", "00129 of 00129"}));
    EXPECT_EQ(editor->Model().Lines()[129], "a&nbsp;b");
}

TEST_F(TextCommandTest, ReplacementsScanEachLineOnceAndKeepTheCaretLine)
{
    editor->Model().SetText("a b  c\r\nx\r\nbanana");
    editor->Model().SetCaretXY(Point(2, 2));
    Pick({"Edit1", "Convert1", "Spacestohtmlspaces1"});
    EXPECT_EQ(editor->Model().Lines()[0], "a&nbsp;b&nbsp;&nbsp;c");
    EXPECT_EQ(editor->Model().CaretY(), 2);

    const vx::shell::TReplacement doubled[] = {{"a", "aa"}};
    vx::shell::ReplaceAllWithProgress(*form, doubled);
    EXPECT_EQ(editor->Model().Lines()[2], "baanaanaa") << "replaced text is not scanned again";
    const vx::shell::TReplacement empty[] = {{"", "x"}};
    vx::shell::ReplaceAllWithProgress(*form, empty);
    EXPECT_EQ(editor->Model().Lines()[2], "baanaanaa") << "an empty find changes nothing";

    editor->Model().SetText("<b>x</b> <strong>y</strong>");
    Pick({"Edit1", "Convert1", "Boldtagtostrong1"});
    EXPECT_EQ(editor->Model().Lines()[0], "<strong>x</strong> <strong>y</strong>");
    Pick({"Edit1", "Convert1", "Strongtagtobold1"});
    EXPECT_EQ(editor->Model().Lines()[0], "<b>x</b> <b>y</b>");
    Pick({"Edit1", "Convert1", "Htmlbrackets1"});
    EXPECT_EQ(editor->Model().Lines()[0], "&lt;b&gt;x&lt;/b&gt; &lt;b&gt;y&lt;/b&gt;");
    editor->Model().SetText("c:\\dir\\f");
    Pick({"Edit1", "Convert1", "Backwardslash1"});
    EXPECT_EQ(editor->Model().Lines()[0], "c:/dir/f");
}

TEST_F(TextCommandTest, TabsToSpacesInMemory)
{
    editor->Model().SetText("\tx\r\nno tabs\r\na\t\tb");
    editor->Model().SetCaretXY(Point(3, 2));
    Pick({"Edit1", "Convert1", "Tabstospaces1"});
    EXPECT_EQ(editor->Model().GetText(), "    x\r\nno tabs\r\na        b\r\n");
    EXPECT_EQ(editor->Model().CaretXY(), Point(3, 2));
    EXPECT_FALSE(vx::FileExists("_temp.tmp"));
    EXPECT_FALSE(vx::FileExists("_temp.tm_"));
}

TEST_F(TextCommandTest, CaseChanges)
{
    editor->Model().SetText("hello big world");
    editor->Model().SetCaretXY(Point(3, 1));
    Pick({"Edit1", "Uppercase1"});
    EXPECT_EQ(editor->Model().Lines()[0], "hello big world") << "an empty selection stays";
    editor->Model().SelectAll();
    Pick({"Edit1", "Capatilize1"});
    EXPECT_EQ(editor->Model().Lines()[0], "hello Big World");
    Select(1, 1, 6);
    Pick({"Edit1", "Uppercase1"});
    EXPECT_EQ(editor->Model().Lines()[0], "HELLO Big World");
    editor->Model().SelectAll();
    Pick({"Edit1", "LowerCase1"});
    EXPECT_EQ(editor->Model().Lines()[0], "hello big world");
}

// The case commands change "a" to "z" and "A" to "Z" only, and the
// conversions their ASCII marks only: every character outside ASCII stays
// whole, a word that starts with one is no word start, nor is a letter after one.
TEST_F(TextCommandTest, ConversionsKeepCharactersOutsideAsciiWhole)
{
    struct Row {
        std::vector<const char*> menu;
        const char* text;
        const char* converted;
    };
    const Row rows[] = {
        {{"Edit1", "Uppercase1"}, "café ß α ж 你 😀 <b>x</b>", "CAFé ß α ж 你 😀 <B>X</B>"},
        {{"Edit1", "LowerCase1"}, "CAFÉ STRASSE Ω Ж 你 😀", "cafÉ strasse Ω Ж 你 😀"},
        {{"Edit1", "Capatilize1"}, "x école éa bé 你a 😀b ß z", "x école éa Bé 你a 😀b ß Z"},
        {{"Edit1", "Convert1", "Spacestohtmlspaces1"}, "é α 你 😀", "é&nbsp;α&nbsp;你&nbsp;😀"},
        {{"Edit1", "Convert1", "Htmlbrackets1"}, "<é>你<😀>", "&lt;é&gt;你&lt;😀&gt;"},
    };
    for (const Row& row : rows) {
        editor->Model().SetText(row.text);
        editor->Model().SelectAll();
        vx::test::PickMenuItem(*form, row.menu);
        EXPECT_EQ(editor->Model().Lines()[0], row.converted) << row.menu.back();
    }
}

TEST_F(TextCommandTest, SelectTagBlockFromTheKeyboard)
{
    editor->Model().SetText("<table>\r\n<tr><td>x</td></tr>\r\n</table>");
    editor->Model().SetCaretXY(Point(9, 2));
    QTest::keyClick(editor, Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(editor->Model().GetSelText(), "<td>x</td>");
    QTest::keyClick(editor, Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(editor->Model().GetSelText(), "<td>x</td>") << "from a selection, the same block";

    editor->Model().SetText("<table>\r\n<tr>x</tr>");
    editor->Model().SetCaretXY(Point(8, 1));
    QTest::keyClick(editor, Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(editor->Model().GetSelText(), "") << "the table's closing tag is missing";
}

TEST_F(TextCommandTest, SaveSelectionAs)
{
    editor->Model().SetText("one two");
    Select(1, 5, 8);
    const std::string path = docs.file("part.txt");
    dialogs.Queue(mrOk, path);
    Pick({"File1", "SaveSelectionas1"});
    EXPECT_EQ(vx::ReadWholeFile(path), "two\r\n");
}

// Export and Save Selection write the bytes of the document's own file: a
// Windows-1252 document's text in Windows-1252, a character such a file
// cannot store refused with a message and nothing written.
TEST_F(TextCommandTest, ExportsInTheCharacterSetOfTheDocumentsFile)
{
    const struct {
        vx::TTextEncoding encoding;
        const char* text;
        std::vector<const char*> command;
        const char* written; // nullptr: refused
    } rows[] = {
        {vx::TTextEncoding::Utf8, "caf\u00e9\r\n\u4f60\U0001F600", {"File1", "Export1", "AsUnixformattedfile1"},
         "caf\u00e9\n\u4f60\U0001F600\n"},
        {vx::TTextEncoding::Windows1252, "caf\u00e9\r\n10\u20ac \u00ff", {"File1", "Export1", "AsMacformattedfile1"},
         "caf\xE9\r10\x80 \xFF\r"},
        {vx::TTextEncoding::Windows1252, "caf\u00e9 \u20ac", {"File1", "SaveSelectionas1"}, "caf\xE9 \x80\r\n"},
        {vx::TTextEncoding::Windows1252, "caf\u00e9 \u03b1", {"File1", "Export1", "AsUnixformattedfile1"}, nullptr},
        {vx::TTextEncoding::Windows1252, "\u03b1", {"File1", "SaveSelectionas1"}, nullptr},
    };
    int n = 0;
    for (const auto& row : rows) {
        editor->Model().SetText(row.text);
        editor->Model().SetEncoding(row.encoding);
        editor->Model().SelectAll();
        const std::string path = docs.file("export" + std::to_string(++n) + ".txt");
        dialogs.Queue(mrOk, path);
        vx::test::PickMenuItem(*form, row.command);
        if (row.written) {
            EXPECT_EQ(vx::ReadWholeFile(path), row.written) << row.text;
        } else {
            EXPECT_FALSE(vx::FileExists(path)) << row.text;
            EXPECT_EQ(dialogs.requests.back().text,
                      "The text holds characters that a Windows-1252 file cannot store; nothing was written.");
        }
    }
    editor->Model().SetEncoding(vx::TTextEncoding::Utf8);
}

TEST_F(TextCommandTest, CsvImport)
{
    const std::string csv = WriteDoc("people.csv", "name,city\r\n\"Smith, J\",<Ede>\r\n\r\n");
    dialogs.Queue(mrOk, csv);
    Pick({"File1", "Import1", "FromCSVfilecommadelimited1"});
    const std::string html = docs.file("people.html");
    const std::string page = vx::ReadWholeFile(html);
    EXPECT_NE(page.find(" <title>people.csv</title>\r\n"), std::string::npos);
    EXPECT_NE(page.find("      Smith, J\r\n      </td>\r\n      <td>\r\n      &lt;Ede&gt;\r\n"), std::string::npos) << page;
    EXPECT_EQ(dialogs.requests.back().text, " File saved as " + html + " ");

    vx::test::writeFile(html, "keep");
    dialogs.Queue(mrOk, csv);
    dialogs.Queue(mrNo);
    Pick({"File1", "Import1", "FromCSVfilecommadelimited1"});
    EXPECT_EQ(vx::ReadWholeFile(html), "keep") << "not overwritten without a yes";

    const std::string itself = WriteDoc("table.html", "a,b\r\n");
    dialogs.Queue(mrOk, itself);
    Pick({"File1", "Import1", "FromCSVfilecommadelimited1"});
    EXPECT_EQ(vx::ReadWholeFile(itself), "a,b\r\n") << "the input is never its own output";
}

// The page declares UTF-8 and shows the characters of the CSV file and of its
// name, whether the file is UTF-8 or, as older programs wrote it, Windows-1252.
TEST_F(TextCommandTest, CsvImportWritesAUtf8PageThatSaysSo)
{
    const struct {
        const char* name;
        std::string bytes;
        const char* cells;
    } rows[] = {
        {"st\u00e4dte.csv", "K\u00f6ln,\u4f60\U0001F600\r\n", "      K\u00f6ln\r\n      </td>\r\n      <td>\r\n      \u4f60\U0001F600\r\n"},
        {"old.csv", "K\xF6ln,10\x80\r\n", "      K\u00f6ln\r\n      </td>\r\n      <td>\r\n      10\u20ac\r\n"},
    };
    for (const auto& row : rows) {
        const std::string csv = WriteDoc(row.name, row.bytes);
        dialogs.Queue(mrOk, csv);
        Pick({"File1", "Import1", "FromCSVfilecommadelimited1"});
        const std::string page = vx::ReadWholeFile(std::filesystem::path(csv).replace_extension(".html").string());
        EXPECT_EQ(page.find("<html>\r\n\r\n<meta charset=\"UTF-8\">\r\n"), 0u) << page;
        EXPECT_NE(page.find(std::string(" <title>") + row.name + "</title>\r\n"), std::string::npos) << page;
        EXPECT_NE(page.find(row.cells), std::string::npos) << page;
    }
}

TEST_F(TextCommandTest, RemarksAskAndACancelInsertsNothing)
{
    editor->Model().SetText("");
    AnswerNext<QInputDialog>([](QInputDialog& box) {
        EXPECT_EQ(box.textValue(), "..");
        box.setTextValue("check");
        box.accept();
    });
    Pick({"Insertstatements1", "VBScriptstatements1", "InsertRemark1"});
    EXPECT_EQ(editor->Model().Lines()[0], " Rem check");

    editor->Model().SetText("");
    AnswerNext<QInputDialog>([](QInputDialog& box) { box.reject(); });
    Pick({"Insertstatements1", "HTMLStatements1", "InsertHTMlRemark1"});
    EXPECT_EQ(editor->Model().Lines()[0], "");

    AnswerNext<QInputDialog>([](QInputDialog& box) {
        EXPECT_EQ(box.windowTitle(), "Variable");
        box.setTextValue("name");
        box.accept();
    });
    Pick({"Insertstatements1", "ASPServerstatements1", "Htmlencode1"});
    EXPECT_EQ(editor->Model().Lines()[0], " Server.htmlencode(name)");
}

TEST_F(TextCommandTest, GlobalAsaIsSavedWhereTheUserSaysAndOpened)
{
    QApplication::clipboard()->setText("mine");
    const std::string path = docs.file("global.asa");
    dialogs.Queue(mrOk, path);
    Pick({"Insertstatements1", "ASPGeneralASP1", "CreateGlobalasa1"});
    EXPECT_EQ(dialogs.requests.back().initial, "global.asa");
    const std::string text = vx::ReadWholeFile(path);
    EXPECT_EQ(text.find("\r\n<SCRIPT LANGUAGE=VBScript RUNAT=Server>\r\nSub Session_OnStart\r\n"), 0u);
    EXPECT_EQ(QApplication::clipboard()->text(), "mine") << "the clipboard is left alone";
    bool opened = false;
    for (int slot = 1; slot <= TForm1::SlotCount; ++slot)
        opened = opened || form->SlotFileName(slot) == path;
    EXPECT_TRUE(opened);
}

TEST_F(TextCommandTest, PrintsToPdfOrNothingWhenCancelled)
{
    const std::string pdf = docs.file("print.pdf");
    QPrinter& printer = vx::shell::DocumentPrinter();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf));
    AnswerNext<QPrintDialog>([](QPrintDialog& dialog) { dialog.reject(); });
    Pick({"File1", "Printdocument1"});
    EXPECT_FALSE(vx::FileExists(pdf));

    AnswerNext<QPrintDialog>([](QPrintDialog& dialog) { dialog.accept(); });
    Pick({"File1", "Printdocument1"});
    ASSERT_TRUE(vx::FileExists(pdf));
    EXPECT_EQ(vx::ReadWholeFile(pdf).substr(0, 4), "%PDF");
}

TEST_F(TextCommandTest, TheEditorMenuChoosesTheHighlighter)
{
    QMenu* popup = form->findChild<QMenu*>("PopupMenu1");
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(editor->PopupMenu(), popup);
    form->findChild<QAction*>("Html2")->trigger();
    EXPECT_EQ(editor->Model().HighLighter(), form->hi_html.get());
    form->findChild<QAction*>("Vbscript2")->trigger();
    EXPECT_EQ(editor->Model().HighLighter(), form->hi_vbs.get());
    form->findChild<QAction*>("Normal1")->trigger();
    EXPECT_EQ(editor->Model().HighLighter(), form->wmMultiSyn1.get());
    form->PageControl1->setFocus();
    form->findChild<QAction*>("Html2")->trigger();
    EXPECT_EQ(editor->Model().HighLighter(), form->wmMultiSyn1.get()) << "no focused editor, no change";
}
