// The structure builder's nesting rules and the structure viewer's window.
#include "internet/HTMLParser.h"
#include "internet/StructureBuilder.h"
#include "internet/qt/StructureForm.h"
#include "internet/qt/TreeCopy.h"

#include "platform/qt/Dialogs.h"
#include "tests/internet/HttpServer.h"
#include "tests/support/TempDir.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <sstream>

namespace {

// The structure as an outline: one line per node, two blanks of indent per level.
std::string Outline(const std::vector<TStructureNode>& nodes, bool withAttributes = false)
{
    std::string out;
    std::vector<int> depth(nodes.size(), 0);
    for (std::size_t i = 1; i < nodes.size(); ++i) {
        depth[i] = depth[static_cast<std::size_t>(nodes[i].Parent)] + 1;
        if (nodes[i].Picture == 3 && !withAttributes)
            continue;
        out += std::string(static_cast<std::size_t>(depth[i] - 1) * 2, ' ') + nodes[i].Text + "\n";
    }
    return out;
}

std::string Build(const std::string& page, std::vector<TStructureNode>* links = nullptr)
{
    std::istringstream stream(page);
    THTMLParser parser(stream);
    TStructureBuilder builder("root");
    builder.Build(parser);
    if (links)
        *links = builder.Links();
    return Outline(builder.Structure());
}

TEST(StructureBuilderTest, ImpliedEndsCloseElements)
{
    struct Case {
        const char* name;
        const char* page;
        const char* outline;
    };
    for (const Case& c : {
             Case{"P closes P", "<p>a<p>b", "p\n  a\np\n  b\n"},
             Case{"LI closes LI", "<ul><li>a<li>b</ul>x", "ul\n  li\n    a\n  li\n    b\nx\n"},
             Case{"DT and DD close each other", "<dl><dt>a<dd>b<dt>c</dl>",
                  "dl\n  dt\n    a\n  dd\n    b\n  dt\n    c\n"},
             Case{"OPTION closes OPTION", "<select><option>a<option>b</select>",
                  "select\n  option\n    a\n  option\n    b\n"},
             Case{"TD closes TD and TH", "<table><tr><th>a<td>b<td>c</table>",
                  "table\n  tr\n    th\n      a\n    td\n      b\n    td\n      c\n"},
             Case{"TR closes cells up to the section", "<table><tbody><tr><td>a<tr><td>b</table>",
                  "table\n  tbody\n    tr\n      td\n        a\n    tr\n      td\n        b\n"},
             Case{"TBODY closes up to the table", "<table><thead><tr><td>a<tbody><tr><td>b</table>",
                  "table\n  thead\n    tr\n      td\n        a\n  tbody\n    tr\n      td\n        b\n"},
             Case{"TR without a table stays under the root", "<tr><td>a<tr>b", "tr\n  td\n    a\ntr\n  b\n"},
             Case{"unmatched end tag changes nothing", "<b>x</i>y</b>z", "b\n  x\n  y\nz\n"},
             Case{"end tag closes everything above its element", "<div><b><i>x</div>y",
                  "div\n  b\n    i\n      x\ny\n"},
             Case{"blank text adds no node", "<p> \r\n\t </p>", "p\n"},
             Case{"empty elements are not opened", "<br>a<img src=x>b", "br\na\nimg\nb\n"},
             Case{"comments go under the open element", "<p><!-- note -->", "p\n   note \n"},
         }) {
        EXPECT_EQ(Build(c.page), c.outline) << c.name;
    }
}

TEST(StructureBuilderTest, LinksOncePerValueWithTheirKinds)
{
    std::vector<TStructureNode> links;
    Build("<a href=\"a.htm\">1</a><A HREF=\"A.HTM\">2</A><img src=\"i.gif\"><a href=\"mailto:x@y\">m</a>"
          "<object codebase=\"c/\" classid=\"k.class\"></object><script src=\"s.js\"></script>",
          &links);
    std::vector<std::pair<std::string, int>> got;
    for (std::size_t i = 1; i < links.size(); ++i)
        got.emplace_back(links[i].Text, links[i].Picture);
    EXPECT_EQ(got, (std::vector<std::pair<std::string, int>>{
                       {"a.htm", 1}, {"i.gif", 2}, {"mailto:x@y", 6}, {"c/k.class", 5}, {"s.js", 5}}));
    EXPECT_EQ(links[0].Text, "root");
}

TEST(StructureBuilderTest, AttributesAreChildrenOfTheirElement)
{
    std::istringstream stream("<a href=\"x\" name=n>t</a>");
    THTMLParser parser(stream);
    TStructureBuilder builder("root");
    builder.Build(parser);
    EXPECT_EQ(Outline(builder.Structure(), true), "a\n  HREF=x\n  NAME=n\n  t\n");
}

class StructureFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        vx::dialogs::SetAnswerer([this](const vx::dialogs::Request& r) {
            messages.push_back(r.text);
            defaultExts.push_back(r.defaultExt);
            return vx::dialogs::Answer{mrOk, {}, 0, {}};
        });
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }
    void TearDown() override { vx::dialogs::SetAnswerer({}); }

    void Go(const std::string& source)
    {
        form.edtHTML->clear();
        QTest::keyClicks(form.edtHTML, QString::fromStdString(source));
        QTest::mouseClick(form.btnparse, Qt::LeftButton);
    }

    vx::test::TempDir dir;
    std::vector<std::string> messages;
    std::vector<std::string> defaultExts;
    TfrmHTMLParsing form;
};

TEST_F(StructureFormTest, BrowseOffersHtmlFiles)
{
    QTest::mouseClick(form.btnBrowse, Qt::LeftButton);
    EXPECT_EQ(messages, std::vector<std::string>{"HTML files|*.htm;*.html|All files|*.*"});
    EXPECT_EQ(defaultExts, std::vector<std::string>{"htm"});
}

TEST(TreeCopyTest, AVeryDeepTreeIsCopiedToItsDepthLimit)
{
    QTreeWidget source;
    QTreeWidgetItem* item = new QTreeWidgetItem(&source, QStringList("0"));
    for (int depth = 1; depth < kMaxCopiedDepth + 5; ++depth)
        item = new QTreeWidgetItem(item, QStringList(QString::number(depth)));
    QTreeWidget copy;
    CopyTreeItems(source, copy);
    int depth = 0;
    for (QTreeWidgetItem* at = copy.topLevelItem(0); at; at = at->childCount() ? at->child(0) : nullptr) {
        EXPECT_EQ(at->text(0), QString::number(depth));
        ++depth;
    }
    EXPECT_EQ(depth, kMaxCopiedDepth);
}

TEST_F(StructureFormTest, FileAndWebPagesGiveBothTrees)
{
    vx::test::writeFile(dir.file("page.htm"), "<html><body><p>one<p>two <a href=\"b.htm\">b</a>"
                                              "<a href=\"a.htm\">a</a></body></html>");
    auto server = std::make_unique<vx::test::HttpServer>(dir.path().string());
    for (const std::string& source : {dir.file("page.htm"), server->Url("/page.htm")}) {
        Go(source);
        EXPECT_TRUE(messages.empty());
        EXPECT_EQ(form.StatusBar1->currentMessage(), "Done");
        ASSERT_EQ(form.trvStructure->topLevelItemCount(), 1);
        QTreeWidgetItem* root = form.trvStructure->topLevelItem(0);
        EXPECT_EQ(root->text(0).toStdString(), source);
        ASSERT_EQ(root->childCount(), 1);
        QTreeWidgetItem* body = root->child(0)->child(0);
        EXPECT_EQ(body->text(0), "body");
        EXPECT_EQ(body->childCount(), 2) << "two paragraphs side by side";
        QTreeWidgetItem* links = form.trvLinks->topLevelItem(0);
        ASSERT_EQ(links->childCount(), 2);
        EXPECT_EQ(links->child(0)->text(0), "a.htm") << "links sorted by text";
        EXPECT_NE(form.memHTML->toPlainText().indexOf("<p>one"), -1);
    }
    QTreeWidget copy;
    CopyTreeItems(*form.trvStructure, copy);
    ASSERT_EQ(copy.topLevelItemCount(), 1);
    EXPECT_EQ(copy.topLevelItem(0)->child(0)->text(0), "html");
    EXPECT_TRUE(copy.topLevelItem(0)->child(0)->isExpanded());
}

// A page shows its characters, UTF-8 or, failing that, Windows-1252.
TEST_F(StructureFormTest, APageShowsItsCharactersInEitherEncoding)
{
    const std::pair<const char*, const char*> pages[] = {{"utf8.htm", "<p>caf\xC3\xA9 \xE2\x82\xAC</p>"},
                                                         {"cp1252.htm", "<p>caf\xE9 \x80</p>"}};
    for (const auto& [name, bytes] : pages) {
        vx::test::writeFile(dir.file(name), bytes);
        Go(dir.file(name));
        EXPECT_NE(form.memHTML->toPlainText().indexOf(QString::fromUtf8("caf\xC3\xA9 \xE2\x82\xAC")), -1) << name;
    }
}

// The byte order mark a UTF-8 page begins with is no text of the page.
TEST_F(StructureFormTest, AByteOrderMarkIsNoTextOfThePage)
{
    vx::test::writeFile(dir.file("marked.htm"), "\xEF\xBB\xBF<p>caf\xC3\xA9</p>");
    Go(dir.file("marked.htm"));
    ASSERT_EQ(form.trvStructure->topLevelItemCount(), 1);
    QTreeWidgetItem* root = form.trvStructure->topLevelItem(0);
    ASSERT_EQ(root->childCount(), 1);
    EXPECT_EQ(root->child(0)->text(0), "p") << "the page holds one paragraph and nothing before it";
}

TEST_F(StructureFormTest, FailuresShowAMessageAndLeaveTheWindowReady)
{
    vx::test::writeFile(dir.file("broken.htm"), "<p>text<a href=\"x");
    struct Case {
        std::string source;
        std::string message;
    };
    for (const Case& c : {Case{dir.file("broken.htm"), "End of file encountered in tag"},
                          Case{"http://127.0.0.1:" + std::to_string(vx::test::ClosedPort()) + "/x.htm", "Cannot load"}}) {
        messages.clear();
        Go(c.source);
        ASSERT_EQ(messages.size(), 1u) << c.source;
        EXPECT_NE(messages[0].find(c.message), std::string::npos) << messages[0];
        EXPECT_TRUE(form.btnparse->isEnabled());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(form.trvStructure->topLevelItemCount(), 1) << "the root stays";
    }
}

} // namespace
