// Importing one attribute's colours from an editor colour scheme, in the new
// (one key per attribute) and the old (one comma-separated value) form.
#include "editor/mwHighlighter.h"

#include <gtest/gtest.h>

namespace {

const std::string kSchemes = "Software\\VellumixTest\\Schemes";

struct NewScheme {
    std::optional<int> fore = 12, back = 14;
    std::optional<std::string> bold = "True", italic = "False", underline = "0", defaultFore = "False",
                               defaultBack = "FALSE";
};

void Write(const std::string& attr, const NewScheme& s)
{
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    reg.DeleteKey("\\" + kSchemes + "\\" + attr);
    ASSERT_TRUE(reg.OpenKey("\\" + kSchemes + "\\" + attr, true));
    if (s.fore)
        reg.WriteInteger("Foreground Color", *s.fore);
    if (s.back)
        reg.WriteInteger("Background Color", *s.back);
    auto str = [&](const char* name, const std::optional<std::string>& v) {
        if (v)
            reg.WriteString(name, *v);
    };
    str("Bold", s.bold);
    str("Italic", s.italic);
    str("Underline", s.underline);
    str("Default Foreground", s.defaultFore);
    str("Default Background", s.defaultBack);
}

void WriteOld(const std::string& name, const std::string& value)
{
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKey("\\" + kSchemes + "\\Old", true));
    reg.WriteString(name, value);
}

// An attribute with colours no import produces, counting its notifications.
struct Probe {
    TmwHighLightAttributes attr{"Probe"};
    int changes = 0;
    Probe()
    {
        attr.SetForeground(0x010203);
        attr.SetBackground(0x040506);
        attr.SetStyle(fsStrikeOut);
        attr.OnChange = [this](TmwHighLightAttributes*) { ++changes; };
    }
    bool Unchanged() const
    {
        return changes == 0 && attr.Foreground() == 0x010203u && attr.Background() == 0x040506u &&
               attr.Style() == TFontStyles(fsStrikeOut);
    }
    bool ImportNew(const std::string& name) { return attr.ImportColorScheme(HKEY_CURRENT_USER, kSchemes, name, false); }
    bool ImportOld(const std::string& name)
    {
        return attr.ImportColorScheme(HKEY_CURRENT_USER, kSchemes + "\\Old", name, true);
    }
};

} // namespace

TEST(ImportColorScheme, NewFormPaletteColoursAndFlags)
{
    Write("Plain", NewScheme{});
    Probe p;
    ASSERT_TRUE(p.ImportNew("Plain"));
    EXPECT_EQ(p.attr.Foreground(), clBlue);
    EXPECT_EQ(p.attr.Background(), clAqua);
    EXPECT_EQ(p.attr.Style(), TFontStyles(fsBold)); // "False" and "0" are false
}

TEST(ImportColorScheme, NewFormDefaultFlagsAnyTextButFalseOrZeroIsTrue)
{
    for (std::string flag : {"", "yes", "1", "false ", "TRUE"}) {
        NewScheme s;
        s.defaultBack = flag;
        s.defaultFore = flag;
        s.italic = flag;
        Write("Defaults", s);
        Probe p;
        ASSERT_TRUE(p.ImportNew("Defaults")) << flag;
        EXPECT_EQ(p.attr.Background(), clWindow) << flag;
        EXPECT_EQ(p.attr.Foreground(), clWindowText) << flag;
        EXPECT_EQ(p.attr.Style(), fsBold | fsItalic) << flag;
    }
    for (std::string flag : {"false", "FaLsE", "0"}) {
        NewScheme s;
        s.defaultBack = flag;
        Write("Defaults", s);
        Probe p;
        ASSERT_TRUE(p.ImportNew("Defaults"));
        EXPECT_EQ(p.attr.Background(), clAqua) << flag;
    }
}

TEST(ImportColorScheme, NewFormFailsWithNothingChanged)
{
    auto expectRejected = [](const NewScheme& s, const char* why) {
        Write("Bad", s);
        Probe p;
        EXPECT_FALSE(p.ImportNew("Bad")) << why;
        EXPECT_TRUE(p.Unchanged()) << why;
    };
    NewScheme s;
    s.underline.reset();
    expectRejected(s, "missing flag");
    s = {};
    s.back.reset();
    expectRejected(s, "missing index");
    s = {};
    s.fore = 16;
    expectRejected(s, "index 16");
    s = {};
    s.back = -1;
    expectRejected(s, "index -1");
    s = {};
    s.back = 99;
    s.defaultBack = "True"; // checked even when the default colour is taken
    expectRejected(s, "unused index 99");
    Probe p;
    EXPECT_FALSE(p.ImportNew("NoSuchAttribute"));
    EXPECT_TRUE(p.Unchanged());
    EXPECT_FALSE(p.attr.ImportColorScheme(0x1234, kSchemes, "Plain", false)); // bad root
    EXPECT_TRUE(p.Unchanged());
}

TEST(ImportColorScheme, NewFormMistypedValueReadsAsAbsent)
{
    Write("Typed", NewScheme{});
    {
        TRegistry reg;
        reg.SetRootKey(HKEY_CURRENT_USER);
        ASSERT_TRUE(reg.OpenKey("\\" + kSchemes + "\\Typed", true));
        reg.WriteString("Foreground Color", "3");
    }
    Probe p;
    EXPECT_FALSE(p.ImportNew("Typed"));
    EXPECT_TRUE(p.Unchanged());
}

TEST(ImportColorScheme, OldFormFields)
{
    WriteOld("Keyword", "x,y,BIU,0,0,9,10");
    Probe p;
    ASSERT_TRUE(p.ImportOld("Keyword"));
    EXPECT_EQ(p.attr.Foreground(), clRed);
    EXPECT_EQ(p.attr.Background(), clLime);
    EXPECT_EQ(p.attr.Style(), fsBold | fsItalic | fsUnderline);

    WriteOld("Defaults", ",,biu,1,1,3,4");
    Probe q;
    ASSERT_TRUE(q.ImportOld("Defaults"));
    EXPECT_EQ(q.attr.Foreground(), clWindowText);
    EXPECT_EQ(q.attr.Background(), clWindow);
    EXPECT_TRUE(q.attr.Style().Empty()); // lower-case letters count for nothing

    WriteOld("Spaced", ",,I,01,true, 15 ,0");
    Probe r;
    ASSERT_TRUE(r.ImportOld("Spaced"));
    EXPECT_EQ(r.attr.Foreground(), clWhite); // "01" is not exactly "1"
    EXPECT_EQ(r.attr.Background(), clBlack);
}

TEST(ImportColorScheme, OldFormFailsWithNothingChanged)
{
    for (std::string value : {",,B,0,0,16,0", ",,B,0,0,1,x", ",,B,0,0,1", ",,B,1,1,-1,0", "", ",,B,0,0,1,2x"}) {
        WriteOld("Bad", value);
        Probe p;
        EXPECT_FALSE(p.ImportOld("Bad")) << value;
        EXPECT_TRUE(p.Unchanged()) << value;
    }
    Probe p;
    EXPECT_FALSE(p.ImportOld("NoSuchValue"));
    EXPECT_FALSE(p.attr.ImportColorScheme(HKEY_CURRENT_USER, kSchemes + "\\NoSuchKey", "Keyword", true));
    EXPECT_TRUE(p.Unchanged());
}
