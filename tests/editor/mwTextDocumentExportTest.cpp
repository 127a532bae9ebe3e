// The text-document exporter: one block per exported line, no empty block
// after the last, and every run in its attribute's colour and style.
#include "editor/mwCustomEditModel.h"
#include "editor/qt/mwTextDocumentExport.h"
#include "highlighters/RegisterHighlighters.h"
#include "highlighters/hkHTMLSyn.h"

#include <QFont>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct TRun {
    std::string Text;
    QRgb Color;
    bool Bold;
    bool operator==(const TRun&) const = default;
};

std::vector<TRun> Runs(const QTextBlock& block)
{
    std::vector<TRun> runs;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const QTextCharFormat format = fragment.charFormat();
        runs.push_back({fragment.text().toStdString(), format.foreground().color().rgb(),
                        format.fontWeight() == QFont::Bold});
    }
    return runs;
}

class TextDocumentExportTest : public ::testing::Test {
protected:
    void SetUp() override { model.SetHighLighter(&html); }
    void TearDown() override { model.SetHighLighter(nullptr); }
    std::vector<std::string> Blocks() const
    {
        std::vector<std::string> blocks;
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
            blocks.push_back(block.text().toStdString());
        return blocks;
    }

    ThkHTMLSyn html;
    TmwCustomEditModel model;
    QTextDocument document;
    TmwTextDocumentExport exporter{document};
};

} // namespace

TEST_F(TextDocumentExportTest, EveryLineIsOneBlockAndTheLastLineEndAddsNone)
{
    struct Row {
        std::string Text;
        std::vector<std::string> Blocks;
    };
    const Row rows[] = {
        {"<b>x</b>", {"<b>x</b>"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"\r\n\r\nc", {"", "", "c"}},
    };
    for (const Row& row : rows) {
        model.SetText(row.Text);
        model.SelectAll();
        ASSERT_TRUE(exporter.ExportSelection(&html, &model)) << row.Text;
        EXPECT_EQ(Blocks(), row.Blocks) << row.Text;
    }
}

TEST_F(TextDocumentExportTest, RunsTakeTheAttributesColourAndStyle)
{
    model.SetText("<b class=\"x\">hi</b>");
    ASSERT_TRUE(exporter.ExportLines(1, 1, &html, &model));
    const QRgb black = qRgb(0, 0, 0);
    const QRgb tag = qRgb(0x80, 0x00, 0xFF);   // 0xFF0080 is blue FF, green 00, red 80
    const QRgb value = qRgb(0x00, 0x80, 0xFF); // 0xFF8000
    const std::vector<TRun> runs = Runs(document.begin());
    ASSERT_FALSE(runs.empty());
    std::string text;
    for (const TRun& run : runs)
        text += run.Text;
    EXPECT_EQ(text, "<b class=\"x\">hi</b>");
    const auto has = [&runs](const TRun& wanted) {
        for (const TRun& run : runs)
            if (run == wanted)
                return true;
        return false;
    };
    EXPECT_TRUE(has({"b", tag, true}));
    EXPECT_TRUE(has({"\"x\"", value, false}));
    EXPECT_TRUE(has({"hi", black, false})) << "plain text, the standard window text colour";
    EXPECT_EQ(exporter.GetBufferText(), "<b class=\"x\">hi</b>\r\n");
}

TEST_F(TextDocumentExportTest, EachExportStartsAFreshDocument)
{
    model.SetText("first\r\nsecond");
    ASSERT_TRUE(exporter.ExportLines(1, 2, &html, &model));
    model.SetText("third");
    ASSERT_TRUE(exporter.ExportLines(1, 1, &html, &model));
    EXPECT_EQ(Blocks(), std::vector<std::string>{"third"});
}

// Colour print shows every character as itself in every language, also where
// a highlighter cuts a character between two of its tokens.
TEST(TextDocumentExportCharacters, EveryLanguagePrintsTheCharacters)
{
    RegisterAllHighlighters();
    const std::vector<std::string> lines = {
        "caf\u00e9 10\u20ac \u03b1 \u4f60\u597d \U0001F600 \u00df \u0436",
        "<p title=\"\u00e9\u20ac\">\u03b1\u4f60\U0001F600</p>",
        "x = '\u00e9\u20ac' + \"\u03b1\u4f60\" // \U0001F600 /* \u00df */ # \u0436",
        "\u00e9\u20ac\u03b1\u4f60\U0001F600;{\u00e9}[\u20ac]($\u03b1)&\u4f60=\U0001F600",
    };
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    for (int h = 0; h < HighlighterList().Count(); ++h) {
        const char* language = HighlighterList()[h]->ClassName;
        std::unique_ptr<TmwCustomHighLighter> highlighter = HighlighterList()[h]->Create();
        TmwCustomEditModel model;
        model.SetHighLighter(highlighter.get());
        model.SetText(text);
        QTextDocument document;
        TmwTextDocumentExport exporter(document);
        ASSERT_TRUE(exporter.ExportLines(1, static_cast<int>(lines.size()), highlighter.get(), &model)) << language;
        std::vector<std::string> blocks;
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
            blocks.push_back(block.text().toStdString());
        EXPECT_EQ(blocks, lines) << language;
        EXPECT_EQ(exporter.GetBufferText(), text) << language;
        model.SetHighLighter(nullptr);
    }
}
