#include "internet/URLHelpers.h"

#include <gtest/gtest.h>

TEST(GetURLProtocol, SchemeBeforeFirstColonOrHttp)
{
    EXPECT_EQ(GetURLProtocol("mailto:me@example.com"), "mailto");
    EXPECT_EQ(GetURLProtocol("Ftp://host/file"), "Ftp");
    EXPECT_EQ(GetURLProtocol("svn+ssh://host"), "svn+ssh");
    EXPECT_EQ(GetURLProtocol("c:\\web\\index.htm"), "c");
    EXPECT_EQ(GetURLProtocol("index.htm"), "HTTP");
    EXPECT_EQ(GetURLProtocol(":8080/x"), "HTTP");
    EXPECT_EQ(GetURLProtocol(""), "HTTP");
}

TEST(GetURLProtocol, ColonAfterPathOrQueryIsNoScheme)
{
    EXPECT_EQ(GetURLProtocol("page.asp?t=10:30"), "HTTP");
    EXPECT_EQ(GetURLProtocol("dir/a:b.htm"), "HTTP");
    EXPECT_EQ(GetURLProtocol("#note:1"), "HTTP");
    EXPECT_EQ(GetURLProtocol("1abc:x"), "HTTP") << "a scheme starts with a letter";
    EXPECT_EQ(GetURLProtocol("my page:x"), "HTTP");
}

TEST(GetURLRoot, SchemeAndHostOrDriveAndFolder)
{
    EXPECT_EQ(GetURLRoot("http://www.example.com/dir/page.htm"), "http://www.example.com");
    EXPECT_EQ(GetURLRoot("http://www.example.com"), "http://www.example.com");
    EXPECT_EQ(GetURLRoot("http://"), "http://");
    EXPECT_EQ(GetURLRoot("c:\\web\\site\\index.htm"), "c:\\web");
    EXPECT_EQ(GetURLRoot("/home/user/index.htm"), "/home");
    EXPECT_EQ(GetURLRoot("index.htm"), "index.htm");
}

TEST(GetURLBase, FolderOfThePage)
{
    EXPECT_EQ(GetURLBase("http://www.example.com/dir/page.htm"), "http://www.example.com/dir/");
    EXPECT_EQ(GetURLBase("http://www.example.com/page.htm"), "http://www.example.com/");
    EXPECT_EQ(GetURLBase("http://www.example.com/"), "http://www.example.com/");
    EXPECT_EQ(GetURLBase("http://www.example.com"), "http://www.example.com");
    EXPECT_EQ(GetURLBase("c:\\web\\site\\index.htm"), "c:\\web\\site\\");
    EXPECT_EQ(GetURLBase("/home/user/index.htm"), "/home/user/");
}

TEST(GetURLBase, PageAtTheTopOfADriveOrWithoutFolder)
{
    EXPECT_EQ(GetURLBase("c:\\index.htm"), "c:\\");
    EXPECT_EQ(GetURLBase("/index.htm"), "/");
    EXPECT_EQ(GetURLBase("index.htm"), "");
}
