// The translation table (gettext layout, UTF-8) and the language file made
// from a native one through it.
#include "localisation/KLangEd.h"
#include "localisation/LangTranslator.h"
#include "localisation/TranslationTable.h"
#include "platform/Cp1252.h"
#include "platform/Utf8.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace {

std::string translated(const TTranslationTable& table, const std::string& context, const std::string& text)
{
    const std::string* found = table.Find(context, text);
    return found ? *found : "<none>";
}

TEST(TranslationTable, ReadsEntriesEscapesContinuationsAndContexts)
{
    const TTranslationTable table = TTranslationTable::Parse(
        "# a comment\r\n"
        "msgid \"\"\n"
        "msgstr \"\"\n"
        "\"Language: nl\\n\"\n"
        "\"X-Thing:  two words \\n\"\n"
        "\n"
        "msgid \"&Save\"\n"
        "msgstr \"Op&slaan\"\n"
        "msgid \"Line one\\r\\nline \\\"two\\\"\\tand \\\\n\"\n"
        "msgstr \"Regel \"\n"
        "       \"een\"\n"
        "\n"
        "msgctxt \"frm_marquee.RadioGroup1.Items\"\n"
        "msgid \"Left\"\n"
        "msgstr \"Links\"\n"
        "msgid \"Left\"\n"
        "msgstr \"Left\"\n"
        "msgid \"Caf\xC3\xA9 \xE2\x82\xAC\"\n"
        "msgstr \"Caf\xC3\xA9 \xE2\x82\xAC 5 \xCE\xB1\xE4\xBD\xA0\xF0\x9F\x98\x80\"\n"
        "msgid \"Later\"\n"
        "msgstr \"\"\n");
    EXPECT_EQ(table.Count(), 6);
    EXPECT_EQ(translated(table, "", "&Save"), "Op&slaan");
    EXPECT_EQ(translated(table, "x.y", "Line one\r\nline \"two\"\tand \\n"), "Regel een");
    EXPECT_EQ(translated(table, "frm_marquee.RadioGroup1.Items", "Left"), "Links");
    EXPECT_EQ(translated(table, "FRM_MARQUEE.radiogroup1.items", "Left"), "Links") << "places compare as keys do";
    EXPECT_EQ(translated(table, "Form1.Left1.Caption", "Left"), "Left") << "elsewhere the general entry";
    EXPECT_EQ(translated(table, "", "left"), "<none>") << "texts compare exactly";
    EXPECT_EQ(translated(table, "", "Caf\xC3\xA9 \xE2\x82\xAC"), "Caf\xC3\xA9 \xE2\x82\xAC 5 \xCE\xB1\xE4\xBD\xA0\xF0\x9F\x98\x80")
        << "texts stay UTF-8, characters of every script";
    EXPECT_EQ(translated(table, "", "Later"), "<none>") << "an empty msgstr is not translated yet";
    EXPECT_EQ(table.HeaderField("language"), "nl");
    EXPECT_EQ(table.HeaderField("X-Thing"), "two words");
    EXPECT_EQ(table.HeaderField("Missing"), "");
}

TEST(TranslationTable, RefusesWhatIsNoEntryAndSaysWhere)
{
    const struct {
        const char* table;
        const char* message;
    } cases[] = {
        {"msgid \"a\"\nmsgstr \"b\"\nmsgid \"a\"\nmsgstr \"c\"\n", "line 3: a second entry for \"a\""},
        {"msgid \"a\"\n\nmsgid \"b\"\nmsgstr \"c\"\n", "line 1: the entry has no msgstr"},
        {"msgctxt \"w.k\"\nmsgstr \"c\"\n", "line 2: msgstr must follow a msgid"},
        {"msgctxt \"w.k\"\n", "line 1: the entry has no msgid"},
        {"\"loose\"\n", "line 1: a text without msgctxt, msgid or msgstr before it"},
        {"msgid_plural \"a\"\n", "line 1: unknown keyword \"msgid_plural\""},
        {"msgid a\nmsgstr \"b\"\n", "line 1: a text must stand between double quotes"},
        {"msgid \"a\"b\"\nmsgstr \"b\"\n", "line 1: a double quote inside a text needs a backslash before it"},
        {"msgid \"a\\q\"\nmsgstr \"b\"\n", "line 1: unknown escape \\q"},
        {"msgid \"a\\\"\nmsgstr \"b\"\n", "line 1: the text ends in a lone backslash"},
        {"msgid \"a\"\nmsgstr \"\xC3\"\n", "line 2: the text is not UTF-8"},
        {"msgid \"a\"\nmsgstr \"\xC0\xAF\"\n", "line 2: the text is not UTF-8"},
        {"msgid \"a\"\nmsgstr \"\xE9t\xE9\"\n", "line 2: the text is not UTF-8"},
        {"msgid \"\"\nmsgstr \"\"\nmsgid \"\"\nmsgstr \"\"\n", "line 3: only the first entry may have an empty msgid"},
    };
    for (const auto& c : cases) {
        try {
            TTranslationTable::Parse(c.table);
            ADD_FAILURE() << c.table << " was read";
        } catch (const ETranslationTableError& e) {
            EXPECT_EQ(std::string(e.what()).rfind(c.message, 0), 0u) << e.what();
        }
    }
}

TEST(TranslationTable, AnEntryToPasteReadsBackAsTheSameTextNotTranslatedYet)
{
    const std::string text = "Say \"hi\"\\ \xE2\x82\xAC\r\n\tthere";
    const std::string entry = FormatTableEntry(text, {"Form1.Label1.Caption", "frm_x.Memo1.Lines"});
    EXPECT_EQ(entry, "#: Form1.Label1.Caption\n#: frm_x.Memo1.Lines\n"
                     "msgid \"Say \\\"hi\\\"\\\\ \xE2\x82\xAC\\r\\n\\tthere\"\nmsgstr \"\"\n\n");
    const TTranslationTable back = TTranslationTable::Parse(entry + "msgid \"other\"\nmsgstr \"ander\"\n");
    EXPECT_EQ(back.Count(), 2);
    EXPECT_EQ(back.Find("", text), nullptr);
    const std::size_t at = entry.find("msgstr \"\"");
    const TTranslationTable filled = TTranslationTable::Parse(entry.substr(0, at) + "msgstr \"Zeg hoi\"\n");
    EXPECT_EQ(translated(filled, "", text), "Zeg hoi");
}

// A native file: a caption, a list with a line of digits only, a text two keys share.
void fillNative(TkLangFileEdit& native)
{
    native.SetFlag(lfNative, true);
    const int font = native.AddFont("Sans", 9, 1) + 1;
    native.AddString(1, "Form1", "Caption", static_cast<std::uint16_t>(font), "Editor");
    native.AddString(2, "Form1", "ListBox1.Items", 0, "Left\r\n12:30\r\nRight\r\n");
    native.AddString(3, "frm_pref", "Button1.Caption", 0, "&Cancel");
    native.Props().Add("frm_search", "Button2.Caption", 3);
    native.AddString(4, "frm_pref", "Label9.Caption", 0, "New text");
}

TEST(LangTranslator, TranslatesLineByLineAndListsWhatTheTableLacks)
{
    TkLangFileEdit native;
    fillNative(native);
    const TTranslationTable table = TTranslationTable::Parse("msgid \"Editor\"\nmsgstr \"Bewerker\"\n"
                                                             "msgid \"Left\"\nmsgstr \"Links\"\n"
                                                             "msgid \"&Cancel\"\nmsgstr \"&Annuleren\"\n"
                                                             "msgid \"New text\"\nmsgstr \"\"\n");
    TkLangFileEdit dutch;
    const std::vector<TUntranslatedText> missing = TranslateLanguage(native, table, dutch);
    EXPECT_FALSE(dutch.HasFlag(lfNative));
    EXPECT_EQ(dutch.FontCount(), 0) << "the windows keep their designed fonts";
    const struct {
        const char* section;
        const char* key;
        const char* text;
    } expected[] = {
        {"Form1", "Caption", "Bewerker"},
        {"Form1", "ListBox1.Items", "Links\r\n12:30\r\nRight\r\n"},
        {"frm_pref", "Button1.Caption", "&Annuleren"},
        {"frm_search", "Button2.Caption", "&Annuleren"},
        {"frm_pref", "Label9.Caption", "New text"},
    };
    for (const auto& e : expected) {
        TKLangStr* s = dutch.FindString(e.section, e.key);
        ASSERT_NE(s, nullptr) << e.section << "." << e.key;
        EXPECT_EQ(s->Text(), e.text) << e.key;
        EXPECT_EQ(s->FontNo(), 0);
    }
    EXPECT_EQ(dutch.StringCount(), 4) << "keys sharing a text share its record";
    ASSERT_EQ(missing.size(), 2u);
    EXPECT_EQ(missing[0].Key, "ListBox1.Items");
    EXPECT_EQ(missing[0].Text, "Right");
    EXPECT_EQ(missing[1].Section, "frm_pref");
    EXPECT_EQ(missing[1].Text, "New text");
    EXPECT_EQ(UntranslatedEntries(missing), "#: Form1.ListBox1.Items\nmsgid \"Right\"\nmsgstr \"\"\n\n"
                                            "#: frm_pref.Label9.Caption\nmsgid \"New text\"\nmsgstr \"\"\n\n");
}

TEST(LangTranslator, ATextMissingInSeveralPlacesIsListedOnceWithEveryPlace)
{
    const std::vector<TUntranslatedText> missing = {
        {"A", "B.Caption", "Same"}, {"C", "D.Hint", "Other"}, {"E", "F.Caption", "Same"}};
    EXPECT_EQ(UntranslatedEntries(missing), "#: A.B.Caption\n#: E.F.Caption\nmsgid \"Same\"\nmsgstr \"\"\n\n"
                                            "#: C.D.Hint\nmsgid \"Other\"\nmsgstr \"\"\n\n");
}

TEST(LangTranslator, TheTableHeaderGivesTheLanguagesFormats)
{
    const TTranslationTable table = TTranslationTable::Parse(
        "msgid \"\"\nmsgstr \"\"\n"
        "\"X-Locale-CurrencyString: \xE2\x82\xAC\\n\"\n"
        "\"X-Locale-LongMonthNames: \xCE\x99\xCE\xB1\xCE\xBD\xCE\xBF\xCF\x85\xCE\xB1\xCF\x81\xCE\xAF\xCE\xBF\xCF\x85, b, c, d, e, f, g, h, i, j, k, "
        "\xCE\xA3\xCE\xB5\xCF\x80\xCF\x84\xCE\xB5\xCE\xBC\xCE\xB2\xCF\x81\xCE\xAF\xCE\xBF\xCF\x85\xCE\xB1\xCE\xB1\xCE\xB1\xCE\xB1\xCE\xB1\xCE\xB1\xCE\xB1\xCE\xB1\xCE\xB1\\n\"\n"
        "\"X-Locale-DecimalSeparator: ,\\n\"\n"
        "\"X-Locale-NegCurrFormat: 12\\n\"\n"
        "\"X-Locale-TimeAMString: \\n\"\n"
        "\"X-Locale-ShortDayNames: zo, ma, di, wo, do, vr, za\\n\"\n"
        "\"Language: nl\\n\"\n");
    const vx::TFormatSettings dutch = TableLocale(table);
    EXPECT_EQ(dutch.CurrencyString, "\xE2\x82\xAC");
    EXPECT_EQ(dutch.LongMonthNames[0], "\xCE\x99\xCE\xB1\xCE\xBD\xCE\xBF\xCF\x85\xCE\xB1\xCF\x81\xCE\xAF\xCE\xBF\xCF\x85");
    EXPECT_EQ(vx::utf8::CountChars(dutch.LongMonthNames[11]), 20u) << "widths count characters, not bytes";
    EXPECT_EQ(dutch.DecimalSeparator, ',');
    EXPECT_EQ(dutch.NegCurrFormat, 12);
    EXPECT_EQ(dutch.TimeAMString, "");
    EXPECT_EQ(dutch.ShortDayNames[0], "zo");
    EXPECT_EQ(dutch.ShortDayNames[6], "za");
    EXPECT_EQ(dutch.ShortDateFormat, vx::TFormatSettings().ShortDateFormat) << "what the header leaves out stays";

    TkLangFileEdit native, out;
    fillNative(native);
    TranslateLanguage(native, table, out);
    EXPECT_TRUE(out.HasLocale());
    EXPECT_EQ(out.Locale(), dutch);

    const char* bad[] = {"X-Locale-Colour: red", "X-Locale-DecimalSeparator: ,,", "X-Locale-CurrencyFormat: 4",
                         "X-Locale-CurrencyFormat: x", "X-Locale-ShortDayNames: a, b",
                         "X-Locale-ShortDayNames: a, b, c, d, e, f, g, h", "X-Locale-ShortDayNames: a, b, c, d, e, f, sundays",
                         "X-Locale-CurrencyString: 12345678901", "X-Locale-ThousandSeparator: \xC2\xA0",
                         "X-Locale-LongMonthNames: a, b, c, d, e, f, g, h, i, j, k, \xCE\xB1" "aaaaaaaaaaaaaaaaaaaa"};
    for (const char* field : bad) {
        const TTranslationTable t =
            TTranslationTable::Parse(std::string("msgid \"\"\nmsgstr \"") + field + "\\n\"\n");
        EXPECT_THROW(TableLocale(t), ETranslationTableError) << field;
    }
}

TEST(LangTranslator, WritesTheLanguageFileFromTheFiles)
{
    vx::test::TempDir dir("vellumix-translate");
    TkLangFileEdit native;
    fillNative(native);
    native.SaveAs(dir.file("native.lng"));
    vx::test::writeFile(dir.file("Nederlands.po"), "msgid \"Editor\"\nmsgstr \"Bewerker\"\n"
                                                   "msgid \"Left\"\nmsgstr \"Kopi\xC3\xABren \xCE\xB1\xE4\xBD\xA0\"\n"
                                                   "msgid \"&Cancel\"\nmsgstr \"&Annuleren \xC3\xA9\xE2\x82\xAC\"\n");
    const auto missing =
        TranslateLanguageFile(dir.file("native.lng"), dir.file("Nederlands.po"), dir.file("Nederlands.lng"));
    EXPECT_EQ(missing.size(), 2u);
    TKLangFile written;
    written.SetFileName(dir.file("Nederlands.lng"));
    const std::pair<std::pair<const char*, const char*>, std::string> rows[] = {
        {{"Form1", "Caption"}, "Bewerker"},
        {{"Form1", "ListBox1.Items"}, "Kopi\xC3\xABren \xCE\xB1\xE4\xBD\xA0\r\n12:30\r\nRight\r\n"},
        {{"frm_search", "Button2.Caption"}, "&Annuleren \xC3\xA9\xE2\x82\xAC"},
    };
    for (const auto& [place, text] : rows) {
        const TKLangStr* found = written.FindString(place.first, place.second);
        ASSERT_NE(found, nullptr) << place.second;
        EXPECT_EQ(found->Text(), text) << place.second;
    }

    vx::test::writeFile(dir.file("Broken.po"), "msgid \"x\"\n");
    EXPECT_THROW(TranslateLanguageFile(dir.file("native.lng"), dir.file("Broken.po"), dir.file("Broken.lng")),
                 ETranslationTableError);
    EXPECT_FALSE(std::filesystem::exists(dir.file("Broken.lng"))) << "nothing half-made is written";
}

TEST(Cp1252Utf8, EveryByteMakesTheRoundTripAndOtherCharactersAreRefused)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(vx::Utf8ToCp1252(vx::Cp1252ToUtf8(all)), all);
    std::size_t at = 99;
    EXPECT_EQ(vx::Utf8ToCp1252("ok \xF0\x9F\x98\x80", &at), std::nullopt);
    EXPECT_EQ(at, 3u);
    for (const char* bad : {"\xED\xA0\x80", "\xE0\x80\x80", "\xF8\x88\x80\x80\x80", "\x80", "\xE2\x82"})
        EXPECT_EQ(vx::Utf8ToCp1252(bad), std::nullopt) << bad;
}

} // namespace
