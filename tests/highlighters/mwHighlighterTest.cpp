// Highlighter framework: attributes and their notification, the attribute
// list, change hooks, registry persistence and the class list.
#include "editor/mwHighlighter.h"
#include "tests/highlighters/TestSyn.h"

#include <gtest/gtest.h>

using namespace vx::test;

namespace {

const std::string kBase = "Software\\VellumixTest\\Attributes";

// Writes Background/Foreground/Style (whichever are given) under HKCU\path.
void WriteAttributeKey(const std::string& path, std::optional<int> back, std::optional<int> fore,
                       std::optional<int> style)
{
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKey("\\" + path, true));
    if (back)
        reg.WriteInteger("Background", *back);
    if (fore)
        reg.WriteInteger("Foreground", *fore);
    if (style)
        reg.WriteInteger("Style", *style);
    reg.CloseKey();
}

void DeleteKey(const std::string& path)
{
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    reg.DeleteKey("\\" + path);
}

} // namespace

TEST(HighLightAttributes, DefaultsAndNotificationOnlyOnChange)
{
    TmwHighLightAttributes a("Comment");
    EXPECT_EQ(a.Background(), clWindow);
    EXPECT_EQ(a.Foreground(), clWindowText);
    EXPECT_TRUE(a.Style().Empty());
    int changes = 0;
    a.OnChange = [&](TmwHighLightAttributes* sender) {
        EXPECT_EQ(sender, &a);
        ++changes;
    };
    a.SetForeground(clWindowText);
    a.SetBackground(clWindow);
    a.SetStyle({});
    EXPECT_EQ(changes, 0);
    a.SetForeground(clRed);
    a.SetStyle(fsBold | fsItalic);
    a.SetStyle(fsBold | fsItalic);
    EXPECT_EQ(changes, 2);
}

TEST(HighLightAttributes, AssignOfUnlistedAttributesCopiesTheName)
{
    TmwHighLightAttributes a("A"), b("B");
    int changes = 0;
    a.OnChange = [&](TmwHighLightAttributes*) { ++changes; };
    a.Assign(b); // equal colours and style
    EXPECT_EQ(a.Name(), "B");
    EXPECT_EQ(changes, 0);
    b.SetStyle(fsUnderline);
    b.SetBackground(clYellow);
    a.Assign(b);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(a.Style(), TFontStyles(fsUnderline));
    EXPECT_EQ(a.Background(), clYellow);
}

TEST(HighLightAttributes, AssignNeverRenamesAListedAttribute)
{
    TTestSyn hl;
    hl.key->SetForeground(clNavy);
    hl.comment->Assign(*hl.key);
    EXPECT_EQ(hl.comment->Name(), "Comment");
    EXPECT_EQ(hl.comment->Foreground(), clNavy);
    EXPECT_EQ(hl.comment->Style(), TFontStyles(fsBold));
    // The list still finds it under its own name, so it is saved under it.
    bool found = false;
    for (int i = 0; i < hl.GetAttribCount(); ++i)
        found = found || hl.GetAttribute(i) == hl.comment;
    EXPECT_TRUE(found);
}

TEST(CustomHighLighter, AttributeListIsSortedAndBounded)
{
    TTestSyn hl;
    ASSERT_EQ(hl.GetAttribCount(), 7);
    EXPECT_EQ(hl.GetAttribute(-1), nullptr);
    EXPECT_EQ(hl.GetAttribute(7), nullptr);
    for (int i = 1; i < hl.GetAttribCount(); ++i)
        EXPECT_LT(CompareText(hl.GetAttribute(i - 1)->Name(), hl.GetAttribute(i)->Name()), 0);
    EXPECT_EQ(hl.GetAttribute(0)->Name(), "Comment");
    EXPECT_EQ(hl.GetAttribute(0)->Owner(), &hl);
}

TEST(CustomHighLighter, AttributeChangesReachEveryHookedEditor)
{
    TTestSyn hl;
    int first = 0, second = 0;
    auto h1 = hl.AddChangeHook([&](void* sender) {
        EXPECT_EQ(sender, &hl);
        ++first;
    });
    hl.AddChangeHook([&](void*) { ++second; });
    hl.comment->SetForeground(hl.comment->Foreground());
    EXPECT_EQ(first + second, 0);
    hl.comment->SetForeground(clGreen);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 1);
    hl.RemoveChangeHook(h1);
    hl.key->SetStyle({});
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 2);
}

TEST(CustomHighLighter, DefaultFilterAndUserSettingsOfTheBase)
{
    TTestSyn hl;
    hl.SetDefaultFilter("Test files (*.t)|*.t");
    EXPECT_EQ(hl.GetDefaultFilter(), "Test files (*.t)|*.t");
    TStringList settings;
    settings.Add("x");
    hl.EnumUserSettings(settings);
    EXPECT_EQ(settings.Count(), 0);
    EXPECT_FALSE(hl.UseUserSettings(0));
}

TEST(AttributeRegistry, RoundTripThroughTheStore)
{
    const std::string key = kBase + "\\RoundTrip";
    TTestSyn saved;
    saved.comment->SetForeground(0x123456);
    saved.comment->SetBackground(clInfoBk);
    saved.comment->SetStyle(fsItalic | fsStrikeOut);
    saved.key->SetForeground(clRed);
    ASSERT_TRUE(saved.SaveToRegistry(HKEY_CURRENT_USER, key));

    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKeyReadOnly("\\" + key + "\\Reserved word"));
    EXPECT_EQ(reg.ReadInteger("Style"), 1);
    EXPECT_EQ(static_cast<TColor>(reg.ReadInteger("Foreground")), clRed);
    reg.CloseKey();

    TTestSyn loaded;
    int changes = 0;
    loaded.AddChangeHook([&](void*) { ++changes; });
    ASSERT_TRUE(loaded.LoadFromRegistry(HKEY_CURRENT_USER, key));
    EXPECT_EQ(loaded.comment->Foreground(), 0x123456u);
    EXPECT_EQ(loaded.comment->Background(), clInfoBk);
    EXPECT_EQ(loaded.comment->Style(), fsItalic | fsStrikeOut);
    EXPECT_EQ(loaded.key->Foreground(), clRed);
    EXPECT_GT(changes, 0);
    DeleteKey(key);
}

TEST(AttributeRegistry, StyleBitsAndMissingOrMistypedValues)
{
    const std::string key = kBase + "\\Styles";
    DeleteKey(key);
    TBetterRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKey("\\" + key, true));

    WriteAttributeKey(key + "\\Five", std::nullopt, std::nullopt, 5);
    TmwHighLightAttributes five("Five");
    five.SetForeground(clLime);
    ASSERT_TRUE(five.LoadFromRegistry(reg));
    EXPECT_EQ(five.Style(), fsBold | fsUnderline);
    EXPECT_EQ(five.Foreground(), clLime); // only "Style" was there

    WriteAttributeKey(key + "\\Sixteen", std::nullopt, std::nullopt, 16);
    TmwHighLightAttributes sixteen("Sixteen");
    sixteen.SetStyle(fsBold);
    ASSERT_TRUE(sixteen.LoadFromRegistry(reg));
    EXPECT_TRUE(sixteen.Style().Empty());

    {
        TRegistry writer;
        writer.SetRootKey(HKEY_CURRENT_USER);
        ASSERT_TRUE(writer.OpenKey("\\" + key + "\\Typed", true));
        writer.WriteString("Foreground", "255");
        writer.WriteBinaryData("Background", std::string("\x01\x02\x03\x04", 4));
        writer.WriteInteger("Style", 2);
    }
    TmwHighLightAttributes typed("Typed");
    ASSERT_TRUE(typed.LoadFromRegistry(reg));
    EXPECT_EQ(typed.Foreground(), clWindowText); // a string reads as absent
    EXPECT_EQ(typed.Background(), clWindow);
    EXPECT_EQ(typed.Style(), TFontStyles(fsItalic));

    TmwHighLightAttributes missing("Missing");
    missing.SetForeground(clAqua);
    EXPECT_FALSE(missing.LoadFromRegistry(reg));
    EXPECT_EQ(missing.Foreground(), clAqua);
    reg.CloseKey();
    DeleteKey(key);
}

TEST(AttributeRegistry, TheCurrentKeyIsRestoredOnEveryPath)
{
    const std::string key = kBase + "\\Restore";
    WriteAttributeKey(key + "\\Here", 1, 2, 0);
    TBetterRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.OpenKeyReadOnly("\\" + key));
    const std::string where = reg.CurrentPath();

    TmwHighLightAttributes here("Here"), missing("Absent");
    EXPECT_TRUE(here.LoadFromRegistry(reg));
    EXPECT_EQ(reg.CurrentPath(), where);
    EXPECT_FALSE(missing.LoadFromRegistry(reg));
    EXPECT_EQ(reg.CurrentPath(), where);
    EXPECT_TRUE(missing.SaveToRegistry(reg));
    EXPECT_EQ(reg.CurrentPath(), where);
    // A handler that throws while a value is applied leaves the key restored too.
    here.SetBackground(clWhite);
    here.OnChange = [](TmwHighLightAttributes*) { throw std::runtime_error("handler"); };
    EXPECT_ANY_THROW(here.LoadFromRegistry(reg));
    EXPECT_EQ(reg.CurrentPath(), where);
    reg.CloseKey();
    DeleteKey(key);
}

TEST(AttributeRegistry, HighlighterLoadStopsAtTheFirstMissingAttribute)
{
    const std::string key = kBase + "\\Partial";
    DeleteKey(key);
    // In list order: Comment, Identifier, Number, Reserved word, Space, ...
    WriteAttributeKey(key + "\\Comment", static_cast<int>(clRed), static_cast<int>(clRed), 0);
    WriteAttributeKey(key + "\\Number", static_cast<int>(clRed), static_cast<int>(clRed), 0);
    TTestSyn hl;
    TColor numberBefore = hl.GetAttribute(2)->Foreground();
    ASSERT_EQ(hl.GetAttribute(2)->Name(), "Number");
    EXPECT_FALSE(hl.LoadFromRegistry(HKEY_CURRENT_USER, key));
    EXPECT_EQ(hl.comment->Foreground(), clRed);
    EXPECT_EQ(hl.GetAttribute(2)->Foreground(), numberBefore); // after the missing Identifier
    EXPECT_FALSE(hl.LoadFromRegistry(HKEY_CURRENT_USER, kBase + "\\NoSuchKey"));
    EXPECT_FALSE(hl.LoadFromRegistry(0x12345678, key)); // not a root: a result, not an exception
    DeleteKey(key);
}

namespace {

std::unique_ptr<TmwCustomHighLighter> MakeTestSyn() { return std::make_unique<TTestSyn>(); }
const TmwHighlighterClass kTestSynClass{"TTestSyn", &MakeTestSyn};
const TmwHighlighterClass kOtherClass{"TOtherSyn", &MakeTestSyn};

} // namespace

TEST(HighlighterList, RegistrationIsOncePerClass)
{
    int first = RegisterHighlighter(kTestSynClass);
    int count = HighlighterList().Count();
    EXPECT_EQ(RegisterHighlighter(kTestSynClass), first);
    EXPECT_EQ(HighlighterList().Count(), count);
    int other = RegisterHighlighter(kOtherClass);
    EXPECT_EQ(other, count);
    EXPECT_EQ(HighlighterList()[other], &kOtherClass);
    EXPECT_EQ(HighlighterList().IndexOf(&kTestSynClass), first);
    auto made = HighlighterList()[first]->Create();
    EXPECT_EQ(made->GetLanguageName(), "Test");
}
