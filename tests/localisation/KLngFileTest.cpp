#include "localisation/KLangEd.h"
#include "platform/Utf8.h"
#include "tests/localisation/LngBytes.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <sstream>

using vx::test::LngBytes;

namespace {

// A file of the given version with one section "Form1" and three records:
// 1 "Titel", 2 a two-line text under Memo1.Lines.Text, 3 "" (flags 1 when version > 3.0).
std::string oldLayout(const std::string& version)
{
    const double v = std::stod(version);
    LngBytes b;
    b.raw("LF").raw(version);
    if (v > 3.0)
        b.u8(0);
    if (v > 2.0)
        b.u8(1);
    b.locale("loc", ';').u8(1).zeros(10).u8(238);
    b.i32(1).str("Arial").u16(10).u8(1).zeros(20);
    b.u16(1).str("first name");
    b.u16(1).str("Form1").u16(3);
    b.str("Caption").u16(1).str("Memo1.Lines.Text").u16(2).str(std::string("Button1.Caption\0junk", 20)).u16(3);
    const std::string pool = std::string("Titel\0a\r\nb\0\0", 12);
    const int offsets[3] = {0, 6, 11};
    b.u16(3);
    for (int i = 0; i < 3; ++i) {
        if (v > 3.0)
            b.u8(i == 2 ? 1 : 0);
        b.u16(static_cast<unsigned>(i + 1));
        if (v <= 1.5)
            b.u16(static_cast<unsigned>(offsets[i]));
        else
            b.i32(offsets[i]);
        b.u16(i == 0 ? 1 : 0);
    }
    return b.raw(pool).bytes;
}

TKLangFile& readBytes(TKLangFile& file, const std::string& bytes)
{
    file.LoadFromBytes(bytes);
    return file;
}

// A native file with every kind of content, built through the editor.
void fillNative(TkLangFileEdit& f)
{
    f.SetFlag(lfNative, true);
    f.SetHasLocale(true);
    f.CaptureLocale();
    f.SetCharset(204);
    f.SetBiDiMode(2);
    EXPECT_EQ(f.AddFont("Tahoma", 8, 0), 0);
    EXPECT_EQ(f.AddFont("Courier New", 12, 1 | 8), 1);
    EXPECT_EQ(f.AddFont("Tahoma", 8, 0), 0) << "an equal font is found";
    f.AddString(10, "Form1", "Caption", 1, "Main window");
    f.AddString(30, "Form1", "Memo1.Lines", 0, "one\r\ntwo");
    f.AddString(20, "form2", "ListView1.Columns.Item0.Caption", 2, "");
    f.AddString(40, "Form2", "Button1.Hint", 0, "Kopi\xC3\xABren \xC3\xA9\xE2\x82\xAC\xCE\xB1\xE4\xBD\xA0\xF0\x9F\x98\x80");
}

} // namespace

TEST(KLngFile, RoundTripKeepsEveryKindOfContent)
{
    vx::test::TempDir dir;
    TkLangFileEdit f;
    f.SetFileName(dir.file("native.lng"));
    EXPECT_TRUE(f.IsEmpty()) << "a missing file reads as empty";
    fillNative(f);
    f.WriteFile();
    EXPECT_FALSE(f.IsEmpty());

    TKLangFile r;
    r.SetFileName(dir.file("native.lng"));
    ASSERT_FALSE(r.IsEmpty());
    EXPECT_DOUBLE_EQ(r.Version(), 3.10);
    EXPECT_TRUE(r.HasFlag(lfNative));
    EXPECT_TRUE(r.HasLocale());
    EXPECT_EQ(r.Locale(), vx::FormatSettings());
    EXPECT_EQ(r.Charset(), 204);
    EXPECT_EQ(r.BiDiMode(), 2);
    ASSERT_EQ(r.FontCount(), 2);
    EXPECT_EQ(r.FontAt(1).Name, "Courier New");
    EXPECT_EQ(r.FontAt(1).Size, 12);
    EXPECT_EQ(r.FontAt(1).Style, 9);
    EXPECT_EQ(r.FindFont("courier new", 12, 9), -1) << "font names compare case-sensitively";
    ASSERT_EQ(r.StringCount(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(r.StringAt(i)->Ident(), 10 * (i + 1)) << "records stay in ident order";
    EXPECT_EQ(r.LastIdent(), 40);

    TKLangStr* s = r.FindString("FORM1", "memo1.lines");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->Text(), "one\r\ntwo");
    EXPECT_TRUE(s->IsMultiLine());
    EXPECT_EQ(s->Key(), "Memo1.Lines");
    ASSERT_NE(s = r.FindString("Form2", "ListView1.Columns.Item0.Caption"), nullptr);
    EXPECT_EQ(s->Text(), "");
    EXPECT_EQ(s->FontNo(), 2);
    EXPECT_EQ(s->Section(), "form2") << "sections merge case-insensitively and keep their first spelling";
    ASSERT_NE(s = r.FindString("form2", "Button1.Hint"), nullptr);
    EXPECT_EQ(s->Text(), "Kopi\xC3\xABren \xC3\xA9\xE2\x82\xAC\xCE\xB1\xE4\xBD\xA0\xF0\x9F\x98\x80");
    EXPECT_EQ(r.FindString("Form1", "Nothing"), nullptr);
    EXPECT_EQ(r.FindString("NoForm", "Caption"), nullptr);
}

TEST(KLngFile, WriterLayoutOfRecordsAndPool)
{
    vx::test::TempDir dir;
    TkLangFileEdit f;
    f.SetFileName(dir.file("x.lng"));
    f.AddString(7, "S", "K", 0, "");
    f.WriteFile();
    const std::string bytes = vx::test::readFile(dir.file("x.lng"));
    // head 6, flags, locale flag, order, 10, charset, font count 4, 20, names 2,
    // sections 2 + "S" 2 + count 2 + "K" 2 + ident 2, strings 2, record 9, pool 1
    ASSERT_EQ(bytes.size(), 6u + 3 + 10 + 1 + 4 + 20 + 2 + 10 + 2 + 9 + 1);
    EXPECT_EQ(bytes.substr(0, 6), "LF3.10");
    const std::string record = bytes.substr(bytes.size() - 10, 9);
    EXPECT_EQ(record, std::string("\0\x07\0\0\0\0\0\0\0", 9)) << "an empty text has a real offset";
    EXPECT_EQ(bytes.back(), '\0');
}

TEST(KLngFile, NativeOnlyTextsStayOutOfOtherFiles)
{
    vx::test::TempDir dir;
    const std::string bytes = oldLayout("3.10");
    TkLangFileEdit f;
    readBytes(f, bytes);
    ASSERT_TRUE(f.StringAt(2)->HasFlags(lsNativeOnly));
    f.AddString(5, "Form1", "Extra", 0, "x");
    f.SetString(3, "native text", 0);
    f.SetFlag(lfNative, false);
    f.SetFileName(dir.file("other.lng"));
    f.WriteFile();
    TKLangFile back;
    back.SetFileName(dir.file("other.lng"));
    ASSERT_NE(back.StringByIdent(3), nullptr);
    EXPECT_EQ(back.StringByIdent(3)->Text(), "") << "written with offset -1";
    EXPECT_TRUE(back.StringByIdent(3)->HasFlags(lsNativeOnly));
    EXPECT_EQ(back.StringByIdent(5)->Text(), "x");
}

TEST(KLngFile, OldVersionsReadByTheirLayout)
{
    for (const char* version : {"1.50", "1.51", "2.00"}) {
        TKLangFile f;
        readBytes(f, oldLayout(version));
        SCOPED_TRACE(version);
        EXPECT_FALSE(f.HasFlag(lfNative));
        EXPECT_TRUE(f.HasLocale()) << "always a locale block up to 2.0";
        EXPECT_EQ(f.Locale().ShortDateFormat, "loc");
        EXPECT_EQ(f.Locale().EraYearOffsets[0], -3);
        EXPECT_EQ(f.Locale().TwoDigitYearCenturyWindow, 50);
        EXPECT_EQ(f.BiDiMode(), 0) << "reading order forced to left to right";
        EXPECT_EQ(f.Charset(), 238);
        EXPECT_EQ(f.Names()[0], "first name");
        ASSERT_NE(f.FindString("Form1", "Caption"), nullptr);
        EXPECT_EQ(f.FindString("Form1", "Caption")->Text(), "Titel");
        ASSERT_NE(f.FindString("Form1", "Memo1.Lines"), nullptr) << "Memo1.Lines.Text becomes Memo1.Lines";
        EXPECT_EQ(f.FindString("Form1", "Memo1.Lines")->Text(), "a\r\nb");
        ASSERT_NE(f.FindString("Form1", "Button1.Caption"), nullptr) << "names end at their first NUL";
        EXPECT_FALSE(f.StringAt(2)->HasFlags(lsNativeOnly));
    }
    TKLangFile three;
    readBytes(three, oldLayout("3.00"));
    EXPECT_EQ(three.BiDiMode(), 1);
    EXPECT_NE(three.FindString("Form1", "Memo1.Lines.Text"), nullptr) << "a 3.00 file keeps .Text keys";

    vx::test::TempDir dir;
    vx::test::writeFile(dir.file("NATIVE.LNG"), oldLayout("2.00"));
    TKLangFile native;
    native.SetFileName(dir.file("NATIVE.LNG"));
    EXPECT_TRUE(native.HasFlag(lfNative));
}

TEST(KLngFile, EmptyWrongAndUnreadableFiles)
{
    vx::test::TempDir dir;
    vx::test::writeFile(dir.file("zero.lng"), "");
    TKLangFile f;
    f.SetFileName(dir.file("zero.lng"));
    EXPECT_TRUE(f.IsEmpty());
    EXPECT_FALSE(f.HasLocale());
    f.SetFileName(dir.file("missing.lng"));
    EXPECT_TRUE(f.IsEmpty());
    EXPECT_FALSE(f.OpenFile());

    try {
        readBytes(f, "LX3.10");
        FAIL();
    } catch (const ELangFileError& e) {
        EXPECT_STREQ(e.what(), "Not a language file or old version (1.1)");
    }
    EXPECT_THROW(readBytes(f, "LF3,1x" + std::string(100, '\0')), EConvertError);
    EXPECT_TRUE(f.IsEmpty());
}

TEST(KLngFile, TruncatedFilesRaiseAndChangeNothing)
{
    TKLangFile f;
    readBytes(f, oldLayout("3.10"));
    const std::string good = oldLayout("2.00");
    for (size_t n = 1; n < good.size(); ++n) {
        EXPECT_THROW(readBytes(f, good.substr(0, n)), ELangFileError) << n;
        ASSERT_EQ(f.StringCount(), 3);
        EXPECT_DOUBLE_EQ(f.Version(), 3.10) << "the previous contents stay";
        EXPECT_TRUE(f.StringAt(2)->HasFlags(lsNativeOnly));
    }
}

TEST(KLngFile, HostileCountsAndOffsetsAreRejected)
{
    const std::string good = oldLayout("3.10");
    const size_t fontCountAt = good.find("Arial") - 1 - 4;
    std::string hugeFonts = good;
    hugeFonts.replace(fontCountAt, 4, std::string("\xFF\xFF\xFF\x7F", 4));
    std::string negativeFonts = good;
    negativeFonts.replace(fontCountAt, 4, std::string("\xFE\xFF\xFF\xFF", 4));
    const size_t poolAt = good.size() - 12;
    const size_t lastOffsetAt = poolAt - 2 - 4;
    std::string pastPool = good;
    pastPool.replace(lastOffsetAt, 4, std::string("\x0C\0\0\0", 4));
    std::string negative = good;
    negative.replace(lastOffsetAt, 4, std::string("\xFE\xFF\xFF\xFF", 4));
    std::string noNul = good;
    noNul.back() = 'x';
    std::string manyStrings = good.substr(0, poolAt - 3 * 9 - 2) + "\xFF\xFF";
    for (const std::string* bad : {&hugeFonts, &negativeFonts, &pastPool, &negative, &noNul, &manyStrings}) {
        TKLangFile f;
        EXPECT_THROW(readBytes(f, *bad), ELangFileError);
        EXPECT_TRUE(f.IsEmpty());
    }
}

TEST(KLngFile, LocaleTextsNeverOverflowTheirWidths)
{
    // Widths count characters, and a cut never splits one.
    for (const std::string letter : {"w", "\xC3\xA9", "\xE4\xBD\xA0"}) {
        std::string text;
        for (int i = 0; i < 40; ++i)
            text += letter;
        TKLangFile f;
        readBytes(f, LngBytes()
                         .raw("LF2.00")
                         .locale(text, '.')
                         .u8(0)
                         .zeros(10)
                         .u8(0)
                         .i32(0)
                         .zeros(20)
                         .u16(0)
                         .u16(0)
                         .u16(0)
                         .bytes);
        const std::pair<const std::string*, std::size_t> widths[] = {
            {&f.Locale().LongMonthNames[11], 20}, {&f.Locale().ShortDayNames[0], 6},
            {&f.Locale().CurrencyString, 10},    {&f.Locale().LongDateFormat, 30},
        };
        for (const auto& [read, width] : widths) {
            EXPECT_EQ(vx::utf8::CountChars(*read), width) << letter;
            EXPECT_EQ(read->size(), width * letter.size()) << letter;
        }
    }

    const vx::TFormatSettings saved = vx::FormatSettings();
    vx::FormatSettings().LongMonthNames[0] = std::string(300, 'm');
    vx::FormatSettings().TimeAMString = "morning";
    vx::FormatSettings().TimePMString = "\xD0\xB2\xD0\xB5\xD1\x87\xD0\xB5\xD1\x80\xD0\xBE\xD0\xBC"; // вечером
    TkLangFileEdit e;
    e.CaptureLocale();
    vx::FormatSettings() = saved;
    EXPECT_EQ(e.Locale().LongMonthNames[0], std::string(20, 'm'));
    EXPECT_EQ(e.Locale().TimeAMString, "mornin");
    EXPECT_EQ(e.Locale().TimePMString, "\xD0\xB2\xD0\xB5\xD1\x87\xD0\xB5\xD1\x80\xD0\xBE");

    TKLangFile f;
    readBytes(f, LngBytes().raw("LF2.00").locale("w", '.').u8(0).zeros(10).u8(0).i32(0).zeros(20).u16(0).u16(0).u16(0).bytes);
    f.ApplyLocale();
    EXPECT_EQ(vx::FormatSettings().DecimalSeparator, '.');
    EXPECT_EQ(vx::FormatSettings().ShortDateFormat, "w");
    vx::FormatSettings() = saved;
}

// A file an earlier version wrote holds Windows-1252 texts: every text of it
// (locale, fonts, names, sections, keys and records) reads as its characters,
// even one whose bytes happen to be UTF-8; written again, it is UTF-8.
TEST(KLngFile, AFileOfAnEarlierVersionInWindows1252ReadsAsItsCharacters)
{
    LngBytes b;
    b.raw("LF3.10").u8(0).u8(1).locale("M\xE4rz", '\xA0').u8(0).zeros(10).u8(0);
    b.i32(1).str("Sch\xF6n").u16(10).u8(0).zeros(20);
    b.u16(2).str("N\xE4me").str("\xC3\xA9");
    b.u16(1).str("Form\xE9").u16(1).str("Caption\xE9").u16(1);
    b.u16(1).u8(0).u16(1).i32(0).u16(0).raw(std::string("Kopi\xEBren \x80\0", 11));
    TkLangFileEdit f;
    readBytes(f, b.bytes);
    const std::pair<std::string, std::string> texts[] = {
        {f.Locale().LongMonthNames[0], "M\xC3\xA4rz"},
        {f.Locale().CurrencyString, "M\xC3\xA4rz"},
        {std::string(1, f.Locale().ThousandSeparator), " "}, // a no-break space, no byte of UTF-8 alone
        {f.FontAt(0).Name, "Sch\xC3\xB6n"},
        {f.Names()[0], "N\xC3\xA4me"},
        {f.Names()[1], "\xC3\x83\xC2\xA9"},
        {f.Props().SectionName(0), "Form\xC3\xA9"},
        {f.Props().KeyName(0, 0), "Caption\xC3\xA9"},
        {f.Record(0).Text, "Kopi\xC3\xABren \xE2\x82\xAC"},
    };
    for (const auto& [read, text] : texts)
        EXPECT_EQ(read, text);
    ASSERT_NE(f.FindString("FORM\xC3\x89", "caption\xC3\x89"), nullptr);

    vx::test::TempDir dir;
    f.SaveAs(dir.file("again.lng"));
    const std::string written = vx::test::readFile(dir.file("again.lng"));
    EXPECT_NE(written.find("Kopi\xC3\xABren \xE2\x82\xAC"), std::string::npos);
    EXPECT_NE(written.find("Sch\xC3\xB6n"), std::string::npos);
    TKLangFile again;
    again.SetFileName(dir.file("again.lng"));
    EXPECT_EQ(again.Names()[1], "\xC3\x83\xC2\xA9") << "read once, as UTF-8";
    ASSERT_NE(again.FindString("Form\xC3\xA9", "Caption\xC3\xA9"), nullptr);
    EXPECT_EQ(again.FindString("Form\xC3\xA9", "Caption\xC3\xA9")->Text(), "Kopi\xC3\xABren \xE2\x82\xAC");
}

TEST(KLngFile, LookupByIdentUsesTheOrderOfRecords)
{
    TkLangFileEdit f;
    for (std::uint16_t id : {50, 10, 30, 40, 20})
        EXPECT_GE(f.InsertString(id, "t" + std::to_string(id), 0), 0);
    ASSERT_EQ(f.StringCount(), 5);
    EXPECT_EQ(f.StringAt(0)->Ident(), 10);
    EXPECT_EQ(f.StringAt(4)->Ident(), 50);
    EXPECT_EQ(f.StringByIdent(10)->Text(), "t10");
    EXPECT_EQ(f.StringByIdent(50)->Text(), "t50");
    EXPECT_EQ(f.StringByIdent(35), nullptr);
    EXPECT_EQ(f.StringByIdent(0), nullptr);
    EXPECT_EQ(f.StringByIdent(65535), nullptr);
    EXPECT_THROW(f.StringAt(5), ELangFileError);
}

TEST(KLngFile, EditingStringsAndKeys)
{
    TkLangFileEdit f;
    fillNative(f);
    try {
        f.SetString(99, "x", 0);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "No such Ident number (99)");
    }
    f.SetString(10, "Hoofdvenster", 2);
    EXPECT_EQ(f.FindString("Form1", "Caption")->Text(), "Hoofdvenster");
    EXPECT_EQ(f.FindString("Form1", "Caption")->FontNo(), 2);

    f.Props().Add("Form1", "Orphan", 77);
    try {
        f.DeleteString("Form1", "Orphan");
        FAIL();
    } catch (const ELangStrNotFound& e) {
        EXPECT_STREQ(e.what(), "Can't find language string. [Form1.Orphan]");
    }
    f.DeleteString("Form1", "NotThere");
    f.DeleteString("form1", "MEMO1.LINES");
    EXPECT_EQ(f.StringByIdent(30), nullptr);
    EXPECT_FALSE(f.Props().Find("Form1", "Memo1.Lines"));

    f.AddString(60, "Form2", "ListView1.Items.Item0.Caption", 0, "row");
    f.AddString(70, "Form1", "ListView1.Hint", 0, "other window");
    f.DeleteComponentStrings("Form2", "listview1.");
    EXPECT_EQ(f.StringByIdent(20), nullptr);
    EXPECT_EQ(f.StringByIdent(60), nullptr);
    EXPECT_NE(f.StringByIdent(70), nullptr) << "only the named section";
    EXPECT_NE(f.StringByIdent(40), nullptr);
}

TEST(KLngFile, PropsIndexRenames)
{
    TkLangProps p;
    EXPECT_THROW(p.CurrentIdent(), ELangFileError);
    p.Add("Form1", "Button1.Caption", 1);
    p.Add("Form1", "Button1.Hint", 2);
    p.Add("Form1", "Button10.Caption", 3);
    p.Add("Form2", "Caption", 4);
    ASSERT_TRUE(p.Find("Form1", "Button1.Hint"));
    p.RenamePrefix("button1", "OkButton");
    EXPECT_TRUE(p.Find("Form1", "OkButton.Caption"));
    EXPECT_TRUE(p.Find("Form1", "OkButton.Hint"));
    EXPECT_TRUE(p.Find("Form1", "Button10.Caption")) << "only whole components are renamed";

    ASSERT_TRUE(p.Find("Form2", "Caption"));
    p.RenameSection("Form3");
    EXPECT_TRUE(p.Find("form3", "caption"));
    EXPECT_EQ(p.CurrentSection(), "Form3");
    p.RenameSection("");
    EXPECT_EQ(p.SectionCount(), 1) << "the emptied section goes";
    EXPECT_FALSE(p.Find("Form3", "Caption"));
    EXPECT_EQ(p.SectionIndex(), -1);
    EXPECT_EQ(p.KeyIndex(), -1);

    ASSERT_TRUE(p.FindIdent(3));
    EXPECT_EQ(p.CurrentKey(), "Button10.Caption");
    p.RenameKey("Zed");
    EXPECT_EQ(p.KeyName(0, p.KeyCount(0) - 1), "Zed") << "sorted again";
    p.RenameKey("");
    EXPECT_FALSE(p.FindIdent(3));
}

TEST(KLngFile, ListLanguageFilesKeepsDottedNames)
{
    vx::test::TempDir dir;
    for (const char* name : {"Nederlands.lng", "native.LNG", "Portugu\xC3\xAAs.BR.lng", "readme.txt", "x.lng.bak"})
        vx::test::writeFile(dir.file(name), "");
    TStringList list;
    list.Add("stale");
    TKLangFile::ListLanguageFiles(dir.path().string(), list);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list[0], "native");
    EXPECT_EQ(list[1], "Nederlands");
    EXPECT_EQ(list[2], "Portugu\xC3\xAAs.BR");
}

TEST(KLngFile, LoadFromStreamReadsAStoredLanguage)
{
    std::istringstream in(oldLayout("3.10"));
    TKLangFile f;
    f.LoadFromStream(in);
    EXPECT_EQ(f.StringCount(), 3);
}

TEST(KLngFile, RandomDamageNeverReadsPastTheData)
{
    const std::string good = oldLayout("3.10");
    std::uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
    int read = 0, refused = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string bytes = good;
        for (int flips = 1 + next() % 4; flips > 0; --flips)
            bytes[next() % bytes.size()] = static_cast<char>(next() >> 24);
        if (next() % 3 == 0)
            bytes.resize(next() % bytes.size());
        TKLangFile f;
        try {
            f.LoadFromBytes(bytes);
            for (int i = 0; i < f.StringCount(); ++i)
                EXPECT_LE(f.StringAt(i)->Text().size(), bytes.size());
            ++read;
        } catch (const ELangFileError&) {
            ++refused;
        } catch (const EConvertError&) {
            ++refused;
        }
    }
    // Anything else escaping, or a read out of bounds under the sanitizer, fails the test.
    EXPECT_GT(read, 0);
    EXPECT_GT(refused, 0);
}

TEST(KLngFile, ZeroBytesLeaveTheFileEmptyAfterAnEarlierFile)
{
    TKLangFile f;
    readBytes(f, oldLayout("3.10"));
    ASSERT_FALSE(f.IsEmpty());
    ASSERT_NE(f.StringByIdent(3), nullptr);
    f.LoadFromBytes("");
    EXPECT_TRUE(f.IsEmpty());
    EXPECT_FALSE(f.HasLocale());
    EXPECT_EQ(f.StringByIdent(3), nullptr);
}
