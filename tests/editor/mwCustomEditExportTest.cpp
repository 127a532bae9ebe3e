#include "editor/mwRtfExport.h"
#include "editor/qt/mwCustomEdit.h"
#include "highlighters/hkHTMLSyn.h"
#include "platform/FileIO.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

namespace {

struct EditExportFixture : ::testing::Test {
    EditExportFixture()
    {
        edit.Model().SetHighLighter(&html);
        edit.Model().SetText("<b>bold</b>\r\n<i>x</i>");
        edit.SetFont(QFont("DejaVu Sans Mono", 12));
    }
    ~EditExportFixture() override { edit.Model().SetHighLighter(nullptr); }
    ThkHTMLSyn html;
    TmwCustomEdit edit;
    TmwRtfExport rtf;
    vx::test::TempDir dir;
};

TEST_F(EditExportFixture, ExportsAllLinesInTheEditorsFont)
{
    ASSERT_TRUE(edit.ExportToFile(false, dir.file("all.rtf"), &rtf));
    const std::string doc = vx::ReadWholeFile(dir.file("all.rtf"));
    EXPECT_NE(doc.find("{\\f0\\fmodern DejaVu Sans Mono;}"), std::string::npos);
    EXPECT_NE(doc.find("\\fs24"), std::string::npos) << "12 points in half points";
    EXPECT_NE(doc.find("bold"), std::string::npos);
    EXPECT_NE(doc.find("\r\n\\par }"), std::string::npos);
}

TEST_F(EditExportFixture, ExportsTheSelectionOnlyWhenAskedAndThereIsOne)
{
    edit.Model().SetBlockBegin(Point(4, 1));
    edit.Model().SetBlockEnd(Point(8, 1));
    ASSERT_TRUE(edit.ExportToFile(true, dir.file("sel.rtf"), &rtf));
    std::string doc = vx::ReadWholeFile(dir.file("sel.rtf"));
    EXPECT_NE(doc.find("\\cf0 bold\r\n\\par }"), std::string::npos) << doc;
    EXPECT_EQ(doc.find("<i>"), std::string::npos);
    ASSERT_TRUE(edit.ExportToFile(false, dir.file("sel.rtf"), &rtf));
    EXPECT_NE(vx::ReadWholeFile(dir.file("sel.rtf")).find("\\b i"), std::string::npos) << "the whole text";
    edit.Model().SetBlockEnd(Point(4, 1));
    ASSERT_TRUE(edit.ExportToFile(true, dir.file("none.rtf"), &rtf)) << "no selection: everything";
}

TEST_F(EditExportFixture, NothingWithoutAnExporterOrText)
{
    EXPECT_FALSE(edit.ExportToFile(false, dir.file("x.rtf"), nullptr));
    edit.Model().SetText("");
    EXPECT_FALSE(edit.ExportToFile(false, dir.file("x.rtf"), &rtf));
    EXPECT_FALSE(vx::FileExists(dir.file("x.rtf")));
}

TEST_F(EditExportFixture, ClipboardGetsTheSelectionAsRtf)
{
    QApplication::clipboard()->setText("before");
    edit.ExportToClipboard(&rtf);
    EXPECT_EQ(QApplication::clipboard()->text(), "before") << "no selection, no change";
    edit.Model().SetBlockBegin(Point(1, 1));
    edit.Model().SetBlockEnd(Point(3, 2));
    edit.ExportToClipboard(&rtf);
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_TRUE(data && data->hasFormat("text/rtf"));
    const QByteArray bytes = data->data("text/rtf");
    const std::string doc(bytes.constData(), static_cast<size_t>(bytes.size()));
    EXPECT_EQ(doc.rfind("{\\rtf1", 0), 0u);
    EXPECT_EQ(doc.substr(doc.size() - 9), "\\cf1\\b i}") << doc;
    EXPECT_EQ(rtf.Buffer(), "");
}

} // namespace
