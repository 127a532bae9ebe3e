#include "editor/mwCustomEditModel.h"
#include "editor/mwExport.h"
#include "highlighters/hkHTMLSyn.h"
#include "tests/editor/support/BraceHighlighter.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace {

// Writes every token as [attribute:text] ("!" after the name when it needs
// escaping) and every line end as "|"; the header counts the tokens.
class TRecordExport : public TmwCustomExport {
public:
    using TmwCustomExport::Out;
    std::string GetFormatName() const override { return "Record"; }
    std::string GetBufferText() const override { return Buffer(); }
    std::string GetHeader() override { return "<" + std::to_string(tokens) + ">"; }
    std::string GetFooter() override { return "</>"; }
    std::string GetDisplayName() const override { return "Record"; }
    void Clear() override
    {
        TmwCustomExport::Clear();
        tokens = 0;
    }
    void FormatToken(const std::string& token, TmwHighLightAttributes* attribute, bool needsEscape,
                     bool isSpace) override
    {
        if (!attribute && token.empty()) {
            Out() += "|";
            return;
        }
        ++tokens;
        Out() += "[" + (attribute ? attribute->Name() : std::string("-")) + (needsEscape ? "!" : "") +
                 (isSpace ? "_" : "") + ":" + token + "]";
    }
    int tokens = 0;
};

class TRecordingClipboard : public TmwExportClipboard {
public:
    bool SetData(const std::string& f, const std::string& d) override
    {
        if (fail)
            return false;
        format = f;
        data = d;
        return true;
    }
    std::string format;
    std::string data;
    bool fail = false;
};

struct ExportFixture : ::testing::Test {
    void Load(const std::string& text)
    {
        model.SetHighLighter(&braces);
        model.SetText(text);
    }
    void Select(TPoint from, TPoint to)
    {
        model.SetBlockBegin(from);
        model.SetBlockEnd(to);
    }
    TBraceHighlighter braces;
    TmwCustomEditModel model;
    TRecordExport exporter;
};

TEST_F(ExportFixture, WholeLinesExportEveryCharacterThroughThePaintingInterface)
{
    // The brace highlighter has no export routines: its tokens come through SetLine and Next.
    ASSERT_EQ(braces.GetCapability() & hcExportable, 0u);
    const std::string longLine(5000, 'x');
    Load("ab{c\r\nd}e\r\n" + longLine);
    ASSERT_TRUE(exporter.ExportLines(1, 3, &braces, &model));
    EXPECT_TRUE(exporter.Buffer() == "<5>[Text!:ab][Comment!:{c]|[Comment!:d}][Text!:e]|[Text!:" + longLine + "]|</>")
        << exporter.Buffer().substr(0, 80);
}

TEST_F(ExportFixture, ExportableHighlighterFeedsTheExporterItself)
{
    ThkHTMLSyn html;
    model.SetHighLighter(&html);
    model.SetText("<b>x</b>");
    ASSERT_TRUE(exporter.ExportLines(1, 1, &html, &model));
    EXPECT_EQ(exporter.Buffer(), "<7>[Symbol!:<][Reserved word:b][Symbol!:>][Text!:x][Symbol!:<][Reserved word:/b]"
                                 "[Symbol!:>]|</>");
    EXPECT_EQ(html.Exporter(), nullptr) << "the highlighter is let go after the export";
    model.SetHighLighter(nullptr);
}

TEST_F(ExportFixture, RangeCutsTheFirstAndLastLinesEndColumnExclusive)
{
    Load("abcdef\r\nghij\r\nklmn");
    ASSERT_TRUE(exporter.ExportRange(Point(3, 1), Point(5, 1), &braces, &model));
    EXPECT_EQ(exporter.Buffer(), "<1>[Text!:cd]|</>");
    ASSERT_TRUE(exporter.ExportRange(Point(5, 1), Point(3, 3), &braces, &model));
    EXPECT_EQ(exporter.Buffer(), "<3>[Text!:ef]|[Text!:ghij]|[Text!:kl]|</>");
    // Columns beyond the line's end take what is there.
    ASSERT_TRUE(exporter.ExportRange(Point(2, 2), Point(40, 2), &braces, &model));
    EXPECT_EQ(exporter.Buffer(), "<1>[Text!:hij]|</>");
}

TEST_F(ExportFixture, EmptyRangesAbortSilently)
{
    Load("abc");
    exporter.Out() += "kept";
    EXPECT_FALSE(exporter.ExportRange(Point(2, 1), Point(2, 1), &braces, &model));
    EXPECT_EQ(exporter.Buffer(), "kept") << "a silent abort leaves the buffer";
    EXPECT_FALSE(exporter.ExportRange(Point(4, 1), Point(9, 1), &braces, &model)) << "past the text";
    EXPECT_FALSE(exporter.ExportLines(3, 2, &braces, &model)) << "backwards";
    Load("");
    EXPECT_FALSE(exporter.ExportLines(1, model.LineCount(), &braces, &model)) << "an empty editor";
    EXPECT_FALSE(exporter.ExportSelection(&braces, &model)) << "no selection";
    EXPECT_EQ(exporter.Buffer(), "kept");
}

TEST_F(ExportFixture, MissingEditorOrHighlighterIsAnInvalidParameter)
{
    Load("abc");
    exporter.Out() += "kept";
    try {
        exporter.ExportLines(1, 1, nullptr, &model);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Invalid Parameter");
    }
    EXPECT_THROW(exporter.Setup(nullptr, &braces, 1), Exception);
    EXPECT_EQ(exporter.Buffer(), "kept");
}

TEST_F(ExportFixture, StartsFromTheStateStoredForTheFirstLine)
{
    Load("a{b\r\nc\r\nd}e");
    ASSERT_TRUE(exporter.ExportLines(2, 3, &braces, &model));
    EXPECT_EQ(exporter.Buffer(), "<3>[Comment!:c]|[Comment!:d}][Text!:e]|</>");
    // Another highlighter than the editor's has no stored states: it scans from the top.
    TBraceHighlighter other;
    ASSERT_TRUE(exporter.ExportLines(3, 3, &other, &model));
    EXPECT_EQ(exporter.Buffer(), "<2>[Comment!:d}][Text!:e]|</>");
}

TEST_F(ExportFixture, SelectionExportDropsTheWholeLastLineEnd)
{
    Load("abc\r\ndef");
    Select(Point(3, 2), Point(2, 1)); // the anchor after the moving end
    ASSERT_TRUE(exporter.ExportSelection(&braces, &model));
    EXPECT_EQ(exporter.Buffer(), "<2>[Text!:bc]|[Text!:de]</>");
    Select(Point(1, 1), Point(1, 2)); // ends at the start of a line
    ASSERT_TRUE(exporter.ExportSelection(&braces, &model));
    EXPECT_EQ(exporter.Buffer(), "<1>[Text!:abc]|</>");
}

TEST_F(ExportFixture, ClipboardGetsTheSelectionInTheFormat)
{
    Load("abc\r\ndef");
    TRecordingClipboard clipboard;
    exporter.CopyToClipboard(clipboard, &model, &braces);
    EXPECT_EQ(clipboard.format, "") << "nothing without a selection";
    Select(Point(2, 1), Point(3, 2));
    exporter.CopyToClipboard(clipboard, &model, &braces);
    EXPECT_EQ(clipboard.format, "text/plain");
    EXPECT_EQ(clipboard.data, "<2>[Text!:bc]|[Text!:de]</>");
    EXPECT_EQ(exporter.Buffer(), "") << "cleared afterwards";
    exporter.CopyToClipboardFormat(clipboard, &model, &braces, "text/x-record");
    EXPECT_EQ(clipboard.format, "text/x-record");

    clipboard.fail = true;
    EXPECT_THROW(exporter.CopyToClipboard(clipboard, &model, &braces), EOutOfResources);
    EXPECT_EQ(clipboard.format, "text/x-record") << "the clipboard is unchanged";
    EXPECT_EQ(exporter.Buffer(), "");
}

TEST_F(ExportFixture, SavesTheBufferAndReportsAFileThatCannotBeCreated)
{
    Load("abc");
    ASSERT_TRUE(exporter.ExportLines(1, 1, &braces, &model));
    vx::test::TempDir dir;
    exporter.SaveToFile(dir.file("out.txt"));
    EXPECT_EQ(vx::test::readFile(dir.file("out.txt")), "<1>[Text!:abc]|</>");
    EXPECT_THROW(exporter.SaveToFile(dir.file("missing/out.txt")), EFCreateError);
}

TEST_F(ExportFixture, TitleFilterAndClassList)
{
    EXPECT_EQ(exporter.Title(), "(Untitled)");
    exporter.SetTitle("Menu");
    EXPECT_EQ(exporter.Title(), "Menu");
    exporter.SetTitle("");
    EXPECT_EQ(exporter.Title(), "(Untitled)");
    EXPECT_EQ(exporter.GetInstance(), nullptr);
    EXPECT_EQ(exporter.GetClipboardFormat(), "text/plain");
    exporter.SetFilter("Record (*.rec)|*.rec");
    EXPECT_EQ(exporter.GetFilter(), "Record (*.rec)|*.rec");
}

} // namespace
