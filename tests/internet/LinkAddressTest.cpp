// Link resolution and normalisation, and the link tables.
#include "internet/HttpFetcher.h"
#include "internet/LinkAddress.h"
#include "internet/LinkTables.h"

#include <gtest/gtest.h>

namespace {

using namespace vx::net;

TEST(LinkAddressTest, AbsoluteOnlyWithARealScheme)
{
    for (const char* yes : {"http://x/", "HTTPS://x", "mailto:a@b", "c:\\web\\a.htm", "news:x"})
        EXPECT_TRUE(HasScheme(yes)) << yes;
    for (const char* no : {"http.html", "page.asp?t=10:30", "/abs.htm", "#top", "", "1x:y", "https.htm"})
        EXPECT_FALSE(HasScheme(no)) << no;
}

TEST(LinkAddressTest, ResolutionRules)
{
    struct Case {
        const char *value, *page, *base, *result;
    };
    for (const Case& c : {
             Case{"a.htm", "http://h/d/p.htm", "http://h/d/", "http://h/d/a.htm"},
             Case{"/x.htm", "http://h/d/p.htm", "http://h/d/", "http://h/x.htm"},
             Case{"\\x.htm", "http://h/d/p.htm", "http://h/d/", "http://h\\x.htm"},
             Case{"http.htm", "http://h/d/p.htm", "http://h/d/", "http://h/d/http.htm"},
             Case{"HTTP://other/", "http://h/d/p.htm", "http://h/d/", "HTTP://other/"},
             Case{"a.htm", "http://h/d/p.htm", "http://base/b/", "http://base/b/a.htm"},
         })
        EXPECT_EQ(ResolveLink(c.value, c.page, c.base), c.result) << c.value;
}

TEST(LinkAddressTest, NormalisingRemovesDotSegmentsAndFragments)
{
    struct Case {
        const char *in, *out;
    };
    for (const Case& c : {
             Case{"http://h/a/../b.htm", "http://h/b.htm"},
             Case{"http://h/a/./b/../../c.htm#x", "http://h/c.htm"},
             Case{"http://h/../../x.htm", "http://h/x.htm"},
             Case{"http://h/a/..", "http://h/"},
             Case{"http://h", "http://h"},
             Case{"http://h/a/b?q=../x#f", "http://h/a/b?q=../x"},
             Case{"/site/sub/../a.htm", "/site/a.htm"},
             Case{"/site/../../../a.htm", "/a.htm"},
             Case{"mailto:a@b", "mailto:a@b"},
             Case{"ftp:/.//x", "ftp:/.//x"},
             Case{"news:a/./b", "news:a/b"},
             Case{"/.//x", "/.//x"},
         })
    {
        EXPECT_EQ(NormalizeAddress(c.in), c.out) << c.in;
        EXPECT_EQ(NormalizeAddress(c.out), c.out) << c.out;
    }
    EXPECT_EQ(LocalFilePart("/s/a.htm?x=1#y"), "/s/a.htm");
    EXPECT_EQ(LocalFilePart("/s/a.htm#y?x"), "/s/a.htm");
}

TEST(LinkAddressTest, MediaTypeComparedBeforeParameters)
{
    for (const char* yes : {"text/html", "TEXT/HTML", " text/html ; charset=utf-8", "text/html;charset=x"})
        EXPECT_TRUE(IsHtmlContentType(yes)) << yes;
    for (const char* no : {"", "text/plain", "text/htmlx", "application/xhtml+xml"})
        EXPECT_FALSE(IsHtmlContentType(no)) << no;
}

TEST(LinkTablesTest, TagLinksFollowTheRulesInOrder)
{
    TStringList attributes;
    attributes.Add("CODEBASE=cls/");
    attributes.Add("CLASSID=a.class");
    attributes.Add("DATA=d.bin");
    auto links = TagLinks("OBJECT", attributes, LinkCheckerRules());
    ASSERT_EQ(links.size(), 2u);
    EXPECT_EQ(links[0].Value, "cls/a.class");
    EXPECT_EQ(links[0].Kind, 6);
    EXPECT_EQ(links[1].Value, "cls/d.bin");
    EXPECT_EQ(links[1].Kind, 5);
    TStringList img;
    img.Add("SRC=i.gif");
    img.Add("LONGDESC=");
    EXPECT_EQ(TagLinks("IMG", img, StructureRules()).size(), 1u);
    EXPECT_EQ(TagLinks("IMG", img, StructureRules())[0].Kind, 2);
    EXPECT_TRUE(TagLinks("EMBED", img, StructureRules()).empty());
    EXPECT_EQ(PrefixKind("MailTo:x", LinkCheckerPrefixes(), 2), 7);
    EXPECT_EQ(PrefixKind("gopher:x", StructurePrefixes(), 1), 10);
    EXPECT_EQ(PrefixKind("http://x", StructurePrefixes(), 1), 1);
}

} // namespace
