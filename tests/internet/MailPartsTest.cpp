// The pieces the SMTP component is made of: replies, lines, addresses, dates,
// base64, quoted-printable, the body's encoding and the message builder.
#include "internet/Base64.h"
#include "internet/LineBuffer.h"
#include "internet/MailAddress.h"
#include "internet/MailBody.h"
#include "internet/MailBuilder.h"
#include "internet/MailDate.h"
#include "internet/SmtpReply.h"
#include "internet/MailHeaderText.h"
#include "internet/QuotedPrintable.h"

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

TEST(MailHeaderTextTest, TextOutsideAsciiGoesAsUtf8EncodedWords)
{
    using V = std::vector<std::string>;
    auto times = [](int n, const std::string& piece) {
        std::string q;
        for (int i = 0; i < n; ++i)
            q += piece;
        return "=?UTF-8?Q?" + q + "?=";
    };
    const std::string smiles = "\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600";
    const struct {
        std::string text;
        V words;
    } rows[] = {
        {"Plain subject", V{"Plain subject"}},
        {"Caf\u00e9 \u20ac 5_=?", V{"=?UTF-8?Q?Caf=C3=A9_=E2=82=AC_5=5F=3D=3F?="}},
        {"\u03b1\u4f60", V{"=?UTF-8?Q?=CE=B1=E4=BD=A0?="}},
        // A long text goes as several words of at most 75 characters ...
        {std::string(30, 'a') + "\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9",
         V{"=?UTF-8?Q?" + std::string(30, 'a') + "=C3=A9=C3=A9=C3=A9=C3=A9=C3=A9?=", times(1, "=C3=A9")}},
        // ... and none ends inside a character.
        {"a" + smiles, V{"=?UTF-8?Q?a" + std::string("=F0=9F=98=80=F0=9F=98=80=F0=9F=98=80=F0=9F=98=80=F0=9F=98=80?="),
                         times(1, "=F0=9F=98=80")}},
        {std::string(20, '\xE9'), V{times(20, "=E9")}},
    };
    for (const auto& row : rows) {
        const V words = vx::net::EncodedWords(row.text);
        EXPECT_EQ(words, row.words) << row.text;
        for (const std::string& word : words)
            EXPECT_LE(word.size(), 75u) << word;
    }
    EXPECT_EQ(vx::net::EncodeAddressList("\"Doe, J\" <j@x>"), "\"Doe, J\" <j@x>") << "ASCII stays as written";
    EXPECT_EQ(vx::net::EncodeAddressList("\"Jos\u00e9, M\" <j@x>, <k@y>, Ann <a@z>"),
              "=?UTF-8?Q?Jos=C3=A9=2C_M?= <j@x>, <k@y>, \"Ann\" <a@z>");
}

TEST(QuotedPrintableTest, BytesOutsidePrintableAsciiAndLinesOf76)
{
    using V = std::vector<std::string>;
    const struct {
        std::string line;
        V encoded;
    } rows[] = {
        {"", V{""}},
        {"plain text, 100% <b>", V{"plain text, 100% <b>"}},
        {"a=b caf\xC3\xA9 \xE9", V{"a=3Db caf=C3=A9 =E9"}},
        {"tab\tin \x01", V{"tab\tin =01"}},
        // A blank that ends the line would be lost.
        {"end ", V{"end=20"}},
        {"end\t", V{"end=09"}},
        {std::string(76, 'x'), V{std::string(76, 'x')}},
        {std::string(77, 'x'), V{std::string(75, 'x') + "=", "xx"}},
        // An escape is never cut by a soft break.
        {std::string(74, 'x') + "\xE9", V{std::string(74, 'x') + "=", "=E9"}},
        {std::string(73, 'x') + "\xE9", V{std::string(73, 'x') + "=E9"}},
        {std::string(73, 'x') + "\xE9y", V{std::string(73, 'x') + "=", "=E9y"}},
        {std::string(75, 'x') + " ", V{std::string(75, 'x') + "=", "=20"}},
    };
    for (const auto& row : rows) {
        const V encoded = vx::net::QuotedPrintableLines(row.line);
        EXPECT_EQ(encoded, row.encoded) << row.line;
        for (const std::string& line : encoded)
            EXPECT_LE(line.size(), 76u);
    }
}

// The body goes in its document's bytes and character set, as it is when it
// is ASCII in lines a server takes, quoted-printable otherwise.
TEST(MailBodyTest, CharsetAndTransferEncodingFollowTheDocument)
{
    using V = std::vector<std::string>;
    using vx::TTextEncoding;
    const struct {
        V text;
        TTextEncoding encoding;
        const char* charset;
        const char* transfer;
        V lines;
    } rows[] = {
        {V{"plain", ".dot"}, TTextEncoding::Utf8, "UTF-8", "7bit", V{"plain", ".dot"}},
        {V{"caf\u00e9 10\u20ac", "\u03b1\u4f60\U0001F600"}, TTextEncoding::Utf8, "UTF-8", "quoted-printable",
         V{"caf=C3=A9 10=E2=82=AC", "=CE=B1=E4=BD=A0=F0=9F=98=80"}},
        {V{"a\r\nb\rc\nd"}, TTextEncoding::Utf8, "UTF-8", "7bit", V{"a", "b", "c", "d"}},
        {V{std::string(998, 'x')}, TTextEncoding::Utf8, "UTF-8", "7bit", V{std::string(998, 'x')}},
        {V{std::string(999, 'x')}, TTextEncoding::Utf8, "UTF-8", "quoted-printable",
         V{std::string(75, 'x') + "=", std::string(75, 'x') + "=", std::string(75, 'x') + "=",
           std::string(75, 'x') + "=", std::string(75, 'x') + "=", std::string(75, 'x') + "=",
           std::string(75, 'x') + "=", std::string(75, 'x') + "=", std::string(75, 'x') + "=",
           std::string(75, 'x') + "=", std::string(75, 'x') + "=", std::string(75, 'x') + "=",
           std::string(75, 'x') + "=", std::string(24, 'x')}},
        {V{"plain"}, TTextEncoding::Windows1252, "ISO-8859-1", "7bit", V{"plain"}},
        {V{"caf\u00e9"}, TTextEncoding::Windows1252, "ISO-8859-1", "quoted-printable", V{"caf=E9"}},
        {V{"caf\u00e9", "10\u20ac \u0178"}, TTextEncoding::Windows1252, "windows-1252", "quoted-printable",
         V{"caf=E9", "10=80 =9F"}},
        // A character the code page cannot store goes as UTF-8 rather than be lost.
        {V{"caf\u00e9", "\u03b1"}, TTextEncoding::Windows1252, "UTF-8", "quoted-printable",
         V{"caf=C3=A9", "=CE=B1"}},
    };
    for (const auto& row : rows) {
        TStringList text;
        for (const std::string& line : row.text)
            text.Add(line);
        const vx::net::TMailBody body = vx::net::EncodeMailBody(text, row.encoding);
        EXPECT_EQ(body.Charset, row.charset) << row.text.front();
        EXPECT_EQ(body.TransferEncoding, row.transfer) << row.text.front();
        EXPECT_EQ(body.Lines, row.lines) << row.text.front();
    }
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
    EXPECT_EQ(body, (std::vector<std::string>{delimiter, "Content-Type: Text/Plain; charset=UTF-8",
                                              "Content-Transfer-Encoding: 7bit", "", "hello", delimiter,
                                              "Content-Type: text/plain; name=\"a'b.txt\"",
                                              "Content-Transfer-Encoding: base64",
                                              "Content-Disposition: inline; FileName=\"a'b.txt\"", "", "YWI=", "",
                                              delimiter + "--", ""}));
    std::mt19937 r(5);
    std::string letters = vx::net::RandomLetters(200, 't', r);
    EXPECT_TRUE(std::all_of(letters.begin(), letters.end(), [](char c) { return c >= 'a' && c <= 't'; }));
}

} // namespace
