// The pieces the SMTP component is made of: replies, lines, addresses, dates,
// base64 and the message builder.
#include "internet/Base64.h"
#include "internet/LineBuffer.h"
#include "internet/MailAddress.h"
#include "internet/MailBuilder.h"
#include "internet/MailDate.h"
#include "internet/SmtpReply.h"
#include "internet/MailHeaderText.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(SmtpReplyTest, CompletesOnlyAtTheLineWithABlankSeparator)
{
    struct Case {
        std::vector<std::string> lines;
        std::vector<bool> complete;
        std::string code, text;
    };
    for (const Case& c : std::vector<Case>{
             {{"220 ready"}, {true}, "220", "ready"},
             {{"250-one", "250-two", "250 three"}, {false, false, true}, "250", "three"},
             {{"250"}, {true}, "250", ""},
             {{"354  go ahead  "}, {true}, "354", "go ahead"},
             // The text is characters 4 to 67 of the line: the blank, then 63 of the text.
             {{"550 " + std::string(100, 'x')}, {true}, "550", std::string(63, 'x')},
             {{"550 " + std::string(62, 'a') + "bc"}, {true}, "550", std::string(62, 'a') + "b"},
             {{""}, {true}, "", ""},
         }) {
        TSmtpReply reply;
        for (std::size_t i = 0; i < c.lines.size(); ++i)
            EXPECT_EQ(reply.AddLine(c.lines[i]), c.complete[i]) << c.lines[i];
        EXPECT_EQ(reply.Code(), c.code);
        EXPECT_EQ(reply.Text(), c.text);
    }
    EXPECT_EQ(SmtpCodeNumber("550"), 550);
    EXPECT_EQ(SmtpCodeNumber("5x0"), 0);
    EXPECT_EQ(SmtpCodeNumber("55"), 0);
}

TEST(LineBufferTest, LinesComeWholeWhateverTheChunks)
{
    TLineBuffer buffer(10);
    buffer.Append("ab");
    EXPECT_FALSE(buffer.TakeLine());
    buffer.Append("c\r\nde\nf");
    EXPECT_EQ(buffer.TakeLine(), "abc");
    EXPECT_EQ(buffer.TakeLine(), "de");
    EXPECT_FALSE(buffer.TakeLine());
    EXPECT_EQ(buffer.Pending(), "f");
    EXPECT_THROW(buffer.Append("0123456789"), ELineTooLong);
    // An over-long line behind a whole one is refused as well.
    TLineBuffer waiting(10);
    waiting.Append("ok\n" + std::string(9, 'x'));
    EXPECT_THROW(waiting.Append("yy"), ELineTooLong);
    TLineBuffer inChunk(10);
    EXPECT_THROW(inChunk.Append("ok\n" + std::string(12, 'x') + "\n"), ELineTooLong);
}

TEST(MailAddressTest, AddressListsAndBareAddresses)
{
    using V = std::vector<std::string>;
    struct Case {
        std::string text;
        V addresses;
    };
    for (const Case& c : std::vector<Case>{
             {"\"Doe, J\" <j@x.test>, k@y.test", V{"j@x.test", "k@y.test"}},
             {" , ,", V{}},
             {"<a@b>", V{"a@b"}},
             {"\"say \\\"hi\\\", <no@no>\" <real@x>", V{"real@x"}},
             {"a@b,c@d,", V{"a@b", "c@d"}},
             {"<>", V{}},
         })
        EXPECT_EQ(vx::net::AddressList(c.text), c.addresses) << c.text;
    using M = std::vector<std::pair<std::string, std::string>>;
    for (const auto& [text, mailboxes] : std::vector<std::pair<std::string, M>>{
             {"\"Doe, J\" <j@x.test>, k@y.test", M{{"Doe, J", "j@x.test"}, {"", "k@y.test"}}},
             {"Plain Name <p@x>, \"a \\\"q\\\"\" <q@x>", M{{"Plain Name", "p@x"}, {"a \"q\"", "q@x"}}},
         }) {
        M found;
        for (const auto& mailbox : vx::net::Mailboxes(text))
            found.emplace_back(mailbox.Name, mailbox.Address);
        EXPECT_EQ(found, mailboxes) << text;
    }
    EXPECT_EQ(vx::net::BareAddress("Name <me@x>"), "me@x");
    EXPECT_EQ(vx::net::BareAddress(" me@x "), "me@x");
    EXPECT_EQ(vx::net::BareAddress("<a\r\nb>"), "a b");
    EXPECT_EQ(vx::net::QuotedName("A \"B\" \\C\nD"), "\"A \\\"B\\\" \\\\C D\"");
}

TEST(MailHeaderTextTest, TextOutsideAsciiGoesAsEncodedWords)
{
    using V = std::vector<std::string>;
    struct Case {
        std::string text;
        V words;
    };
    for (const Case& c : std::vector<Case>{
             {"Plain subject", V{"Plain subject"}},
             {"Caf\xE9 \x80 5_=?", V{"=?windows-1252?Q?Caf=E9_=80_5=5F=3D=3F?="}},
         }) {
        EXPECT_EQ(vx::net::EncodedWords(c.text), c.words) << c.text;
    }
    // A long text goes as several words of at most 75 characters.
    auto times = [](int n) {
        std::string q;
        for (int i = 0; i < n; ++i)
            q += "=E9";
        return "=?windows-1252?Q?" + q + "?=";
    };
    EXPECT_EQ(vx::net::EncodedWords(std::string(60, '\xE9')), (V{times(18), times(18), times(18), times(6)}));
    EXPECT_EQ(times(18).size(), 73u);
    EXPECT_EQ(vx::net::EncodeAddressList("\"Doe, J\" <j@x>"), "\"Doe, J\" <j@x>") << "ASCII stays as written";
    EXPECT_EQ(vx::net::EncodeAddressList("\"Jos\xE9, M\" <j@x>, <k@y>, Ann <a@z>"),
              "=?windows-1252?Q?Jos=E9=2C_M?= <j@x>, <k@y>, \"Ann\" <a@z>");
    TStringList body;
    body.Add("plain");
    body.Add("caf\xE9");
    EXPECT_STREQ(vx::net::BodyCharset(body), "ISO-8859-1");
    body.Add("\x80 5");
    EXPECT_STREQ(vx::net::BodyCharset(body), "windows-1252");
}

TEST(MailAddressTest, DottedAddressesHaveFourPartsFrom1To254)
{
    for (const char* yes : {"127.0.0.1x", "1.1.1.1", "254.254.254.254", "10.20.30.40"})
        EXPECT_EQ(vx::net::IsDottedIPAddress(yes), std::string(yes) != "127.0.0.1x") << yes;
    for (const char* no : {"127.0.0.1", "1.1.1", "1.1.1.1.1", "1.1.1.255", "a.b.c.d", "", "1..1.1", "0001.1.1.1"})
        EXPECT_FALSE(vx::net::IsDottedIPAddress(no)) << no;
}

TEST(MailDateTest, ZoneAndDateTexts)
{
    struct Case {
        long bias;
        const char* zone;
    };
    for (const Case& c : {Case{0, "GMT"}, Case{-60, "+0100"}, Case{60, "-0100"}, Case{-330, "+0530"},
                          Case{600, "-1000"}})
        EXPECT_EQ(vx::net::MailZoneText(c.bias), c.zone);
    std::tm t{};
    t.tm_year = 126;
    t.tm_mon = 11;
    t.tm_mday = 7;
    t.tm_wday = 1;
    t.tm_hour = 9;
    t.tm_min = 5;
    t.tm_sec = 3;
    EXPECT_EQ(vx::net::MailDateText(t, 3600), "Mon, 7 Dec 2026 09:05:03 +0100");
    EXPECT_EQ(vx::net::MailDateText(t, -18000), "Mon, 7 Dec 2026 09:05:03 -0500");
    EXPECT_EQ(vx::net::MailDateText(t, 0), "Mon, 7 Dec 2026 09:05:03 GMT");
}

TEST(Base64Test, LinesOf76AndPadding)
{
    EXPECT_EQ(vx::net::Base64Encode(""), "");
    EXPECT_EQ(vx::net::Base64Encode("a"), "YQ==");
    EXPECT_EQ(vx::net::Base64Encode("ab"), "YWI=");
    EXPECT_EQ(vx::net::Base64Encode("abc"), "YWJj");
    EXPECT_EQ(vx::net::Base64Encode("\xff\xfe\xfd"), "//79");
    EXPECT_EQ(vx::net::Base64Lines("ab"), std::vector<std::string>{"YWI="});
    std::vector<std::size_t> done;
    auto lines = vx::net::Base64Lines(std::string(58, 'z'), [&](std::size_t d) { done.push_back(d); });
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), 76u);
    EXPECT_EQ(lines[1], "eg==");
    EXPECT_EQ(done, (std::vector<std::size_t>{57, 58}));
}

TEST(MailBuilderTest, DataLinesSplitBreaksAndStuffDots)
{
    EXPECT_EQ(vx::net::DataLines({".", "a\r\n.b", "c\rd\ne", "", "x."}),
              (std::vector<std::string>{"..", "a", "..b", "c", "d", "e", "", "x."}));
}

TEST(MailBuilderTest, MultipartBodyFramesTheTextAndEachAttachment)
{
    TSakMsg msg;
    msg.From = "me";
    msg.UserName = "Me";
    msg.SendTo = "you@x";
    msg.Text().Add("hello");
    TAttachedFile& file = msg.AttachedFiles().Add("/tmp/none", "a\"b.txt", "text/plain");
    file.EncodedLines.Add("YWI=");
    std::mt19937 random(1);
    auto lines = vx::net::BuildMailLines(msg, {"host.test", "mail.test", "Vellumix"}, random);
    auto at = [&](const std::string& prefix) {
        return std::find_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
    };
    ASSERT_NE(at("Message-Id: <SAK."), lines.end());
    EXPECT_EQ(at("Message-Id: ")->find("@host.test>"), at("Message-Id: ")->size() - 11);
    EXPECT_EQ(*at("From: "), "From: \"Me\" <me@mail.test>");
    auto type = at("Content-Type: multipart/mixed; boundary=\"");
    ASSERT_NE(type, lines.end());
    std::string boundary = type->substr(41, type->size() - 42);
    ASSERT_EQ(boundary.size(), 25u);
    EXPECT_EQ(boundary.substr(0, 13), "--_SAK_bound_");
    EXPECT_TRUE(std::all_of(boundary.begin() + 13, boundary.end(), [](char c) { return c >= 'a' && c <= 'y'; }));
    std::string delimiter = "--" + boundary;
    auto blank = std::find(lines.begin(), lines.end(), std::string());
    std::vector<std::string> body(blank + 1, lines.end());
    EXPECT_EQ(body, (std::vector<std::string>{delimiter, "Content-Type: Text/Plain; charset=ISO-8859-1",
                                              "Content-Transfer-Encoding: 8bit", "", "hello", delimiter,
                                              "Content-Type: text/plain; name=\"a'b.txt\"",
                                              "Content-Transfer-Encoding: base64",
                                              "Content-Disposition: inline; FileName=\"a'b.txt\"", "", "YWI=", "",
                                              delimiter + "--", ""}));
    std::mt19937 r(5);
    std::string letters = vx::net::RandomLetters(200, 't', r);
    EXPECT_TRUE(std::all_of(letters.begin(), letters.end(), [](char c) { return c >= 'a' && c <= 't'; }));
}

} // namespace
