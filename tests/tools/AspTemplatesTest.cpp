// The ASP generators' texts: golden lines, the mended outputs, quotes in
// fields, and the generated VBScript read back by the VBScript highlighter.
#include "tests/tools/ScriptCheck.h"
#include "tools/AspTemplates.h"

#include <gtest/gtest.h>

using namespace vx::tools;

TEST(AspTemplates, CookieNamedByItsField)
{
    EXPECT_EQ(CookieLines("visits", "December 31, 2001", "/www/home"),
              (TLines{"<%", " Response.Cookies(\"visits\") = \"\"",
                      " Response.Cookies(\"visits\").Expires = \"December 31, 2001\"",
                      " Response.Cookies(\"visits\").Domain = \"\"", " Response.Cookies(\"visits\").Path = \"/www/home\"",
                      " Response.Cookies(\"visits\").Secure = FALSE", "%>"}));
    EXPECT_EQ(CookieLines("a\"b", "", "")[1], " Response.Cookies(\"a\"\"b\") = \"\"");
}

TEST(AspTemplates, CookieDetection)
{
    const TLines plain = CookieDetectLines("Is_Cookie_Supported", false);
    ASSERT_EQ(plain.size(), 11u);
    EXPECT_EQ(plain[2], " Function Is_Cookie_Supported()");
    EXPECT_EQ(plain[4], "     Is_Cookie_Supported = false");
    EXPECT_EQ(plain.back(), "%>");
    const TLines sample = CookieDetectLines("F", true);
    ASSERT_EQ(sample.size(), 17u);
    EXPECT_EQ(sample[13], "if F then response.write \"Cookies supported\"");
    EXPECT_EQ(sample[14], "if not F then response.write \"Cookies not supported\"");
}

TEST(AspTemplates, CounterEndsWithItsCall)
{
    const TLines shown = CounterLines("mycounter.cdx", "Hits", true);
    EXPECT_EQ(shown[4], "Function Hits(Display)");
    EXPECT_EQ(shown[6], " Act_CFile = Server.MapPath (\"mycounter.cdx\")");
    EXPECT_EQ(TLines(shown.end() - 3, shown.end()),
              (TLines{"Rem call Function and displaying the count", "Call Hits(\"TRUE\")", "%>"}));
    const TLines hidden = CounterLines("c", "Hits", false);
    EXPECT_EQ(hidden[hidden.size() - 2], "Call Hits(\"FALSE\")");
}

TEST(AspTemplates, ResponseStatements)
{
    EXPECT_EQ(ResponseLine("Expires = "), "<% Response.Expires =  %>");
    EXPECT_EQ(ResponseLine(ResponseItems[5]), "<% Response.Charset = \"Charset_Name\" %>");
    for (std::size_t i = 1; i < ResponseItems.size(); ++i)
        EXPECT_LT(std::string(ResponseItems[i - 1]), std::string(ResponseItems[i])) << "the list is sorted";
}

TEST(AspTemplates, AdoExecutesIntoTheRecordSet)
{
    TAdoFields fields;
    fields.Query = {AdoQueryStart(fields.SqlName), " & \" users\""};
    EXPECT_EQ(AdoLines(fields),
              (TLines{"<%", " set my_connection= Server.CreateObject(\"ADODB.Connection\")",
                      " my_connection.open \" DSN=my_dsn_name\"", " my_sql_string = \"select * from\" & \" users\" ",
                      " set my_record_set = my_connection.execute(my_sql_string)", "%>", " "}));
    fields.Query.clear();
    EXPECT_EQ(AdoLines(fields)[3], "  ");
}

TEST(AspTemplates, DsnLessNamesTheFileItself)
{
    const TLines lines = DsnLessLines({"/srv/db/shop.mdb"});
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[4], " my_connection = \"DRIVER={Microsoft Access Driver (*.mdb)}; DBQ=/srv/db/shop.mdb\"");
    EXPECT_EQ(lines[6], " my_sql_string = my_sql_string");
    EXPECT_EQ(lines[7], " set my_connection = connection.execute(my_sql_string)");
    EXPECT_EQ(lines[11], " my_connection.close");
}

TEST(AspTemplates, MassMailBody)
{
    TMassMailFields fields;
    fields.Database = "list.mdb";
    fields.SenderAddress = "me@x.org";
    fields.Subject = "News";
    fields.Message = {"Hi", "Bye"};
    const TLines lines = MassMailLines(fields);
    EXPECT_NE(std::find(lines.begin(), lines.end(), " Msg_Body = \"Hi\"&VbCrLf& \"Bye\"&VbCrLf&\" \""), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), " \"DBQ=\" & server.mappath(\"list.mdb\")"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "   If Not IsNull(MyMsg(\"My_Fieldname\")) Then"), lines.end());
    EXPECT_EQ(lines.back(), "%>");
    fields.Message = {"say \"hi\""};
    const TLines quoted = MassMailLines(fields);
    EXPECT_NE(std::find(quoted.begin(), quoted.end(), " Msg_Body = \"say \"\"hi\"\"\"&VbCrLf&\" \""), quoted.end());
}

TEST(AspTemplates, MailFormAndColdFusion)
{
    const TLines form = MailFormLines("me@x.org");
    ASSERT_EQ(form.size(), 19u);
    EXPECT_EQ(form[4], "  recipient =\"me@x.org\"");
    EXPECT_EQ(ColdMailLines("to@x", "from@x", "S", {"a", "b"}),
              (TLines{"<cfmail To=\"to@x\" From=\"from@x\" Subject=\"S\">", "a", "b", "</cfmail>"}));
}

TEST(AspTemplates, GeneratedVBScriptClosesItsStrings)
{
    // Quotes in every field must not leave a string literal open.
    const std::string q = "say \"hi\"";
    TAdoFields ado{"c", "s", "r", q, "p", {AdoQueryStart("s")}};
    TMassMailFields mass{q, q, q, q, q, {q, q}};
    const std::vector<TLines> scripts = {
        CookieLines(q, q, q),          CookieDetectLines("F", true), CounterLines(q, "F", true),
        AdoLines(ado),                 DsnLessLines({q, "c", "s", "r", "\"x\""}), MailFormLines(q),
        MassMailLines(mass),
    };
    for (const TLines& script : scripts)
        EXPECT_EQ(vx::test::UnclosedVBStrings(script), TLines{}) << vx::test::Joined(script);
    EXPECT_EQ(vx::test::UnclosedVBStrings({"<%", "x = \"open", "%>"}), TLines{"x = \"open"}) << "the check finds one";
}
