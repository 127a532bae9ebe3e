// The program's language file against its windows: native.lng beside the
// program holds exactly the texts the windows are built with, a language made
// from it reaches the main window's and the preferences' texts, and a
// language whose file is missing is reported.
#include "tests/shell/ShellFixture.h"

#include "controls/display/RxLabel.h"
#include "controls/flat/TFlatCheckBoxUnit.h"
#include "controls/speedbar/SpeedBar.h"
#include "localisation/KLangEd.h"
#include "localisation/qt/KMLangAdapters.h"
#include "localisation/qt/KLangTool.h"
#include "localisation/qt/KMLang.h"
#include "platform/FileIO.h"
#include "shell/qt/mainwindow/LanguageWindows.h"
#include "shell/qt/mainwindow/PrefForm.h"
#include "shell/qt/windows/SearchForm.h"
#include "shell/qt/mainwindow/StatusBar.h"

#include <QAbstractButton>
#include <QLabel>
#include <QListWidget>
#include <QMenu>

#include <map>

namespace vx::test {
namespace {

using TTexts = std::map<std::pair<std::string, std::string>, std::string>;

TTexts TextsOf(TKLangFile& file)
{
    TTexts texts;
    for (int i = 0; i < file.StringCount(); ++i) {
        TKLangStr* s = file.StringAt(i);
        texts[{s->Section(), s->Key()}] = s->Text();
    }
    return texts;
}

class LanguageTest : public ShellTest {
protected:
    void TearDown() override
    {
        if (!TKAppLanguage::Instance().IsNativeCurrent())
            TKAppLanguage::Instance().SetLanguage("Native");
        TKAppLanguage::Instance().SetLangDir("");
    }
};

TEST_F(LanguageTest, TheBuiltNativeFileHoldsTheTextsTheWindowsAreBuiltWith)
{
    TLangWindowRegistry registry;
    vx::shell::RegisterLanguageWindows(registry);
    TempDir fresh("vellumix-lng");
    const TNativeFileReport report = WriteNativeLanguage(registry, fresh.path().string());
    EXPECT_GT(report.Windows, 20);
    TkLangFileEdit written;
    written.LoadFromBytes(ReadWholeFile(fresh.file("native.lng")));
    ASSERT_TRUE(FileExists(VX_NATIVE_LNG)) << "the build writes " << VX_NATIVE_LNG;
    TkLangFileEdit built;
    built.LoadFromBytes(ReadWholeFile(VX_NATIVE_LNG));
    const TTexts windows = TextsOf(written);
    const TTexts file = TextsOf(built);
    for (const auto& [key, text] : windows) {
        const auto found = file.find(key);
        if (found == file.end())
            ADD_FAILURE() << key.first << "/" << key.second << " is missing from native.lng";
        else
            EXPECT_EQ(found->second, text) << key.first << "/" << key.second;
    }
    for (const auto& [key, text] : file)
        EXPECT_TRUE(windows.count(key)) << key.first << "/" << key.second << " belongs to no window";
    for (const char* section : {"Form1", "frm_pref", "frm_search", "frm_regedit", "frm_about", "frm_meta"})
        EXPECT_TRUE(std::any_of(file.begin(), file.end(), [section](const auto& t) { return t.first.first == section; }))
            << section;
}

TEST_F(LanguageTest, ALanguageWhoseFileIsMissingIsReported)
{
    StartAndActivate();
    QAction* dutch = MenuCommand("Nederlands1");
    dialogs.requests.clear();
    dutch->trigger();
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_NE(dialogs.requests[0].text.find("No such language file"), std::string::npos) << dialogs.requests[0].text;
    EXPECT_TRUE(TKAppLanguage::Instance().IsNativeCurrent());
}

// Every text of a window: captions, titles, hints and list items.
std::vector<std::pair<std::string, QString>> WindowTexts(QWidget& window)
{
    std::vector<std::pair<std::string, QString>> texts;
    auto add = [&texts](const QObject* o, const char* what, const QString& text) {
        // The file panel's folder label shows the folder's path, which is no text.
        if (o->objectName() == "dirlabel")
            return;
        if (HasTranslatableChars(text.toStdString()))
            texts.emplace_back(o->objectName().toStdString() + "." + what, text);
    };
    add(&window, "Caption", window.windowTitle());
    for (const QAction* a : window.findChildren<QAction*>())
        if (!a->isSeparator())
            add(a, "Caption", a->text());
    for (const QMenu* m : window.findChildren<QMenu*>())
        add(m, "Caption", m->title());
    for (const QAbstractButton* b : window.findChildren<QAbstractButton*>())
        add(b, "Caption", b->text());
    for (const QLabel* l : window.findChildren<QLabel*>())
        add(l, "Caption", l->text());
    for (const QWidget* w : window.findChildren<QWidget*>())
        add(w, "Hint", w->toolTip());
    for (const QListWidget* list : window.findChildren<QListWidget*>())
        for (int i = 0; i < list->count(); ++i)
            add(list, "Items", list->item(i)->text());
    return texts;
}

TEST_F(LanguageTest, OurOwnComponentsGoByTheirOwnClassNames)
{
    Start();
    QWidget window;
    const std::pair<QObject*, std::string> cases[] = {
        {new TFlatCheckBox(&window), "TFlatCheckBox"},
        {new TRxLabel(&window), "TRxLabel"},
        {form->SpeedBar1->FindItemByName("SpeedButton1"), "TSpeedItem"},
        {frm_search, "Tfrm_search"},
        {form->StatusBar1, "TStatusBar"},
        {new QLabel(&window), "TLabel"},
    };
    for (const auto& [object, name] : cases)
        EXPECT_EQ(TransClassName(object), name);
}

TEST_F(LanguageTest, ALanguageReachesEveryTextOfTheMainWindowAndThePreferences)
{
    Start();
    TkLangFileEdit language;
    language.LoadFromBytes(ReadWholeFile(VX_NATIVE_LNG));
    language.SetFlag(lfNative, false);
    for (int i = 0; i < language.StringCount(); ++i) {
        TKLangStr* s = language.StringAt(i);
        // Every line of a list gets the mark.
        TStringList lines;
        lines.SetText(s->Text());
        for (int line = 0; line < lines.Count(); ++line)
            lines.Put(line, "ZZ" + lines[line]);
        language.SetString(s->Ident(), lines.Count() > 1 ? lines.Text() : "ZZ" + s->Text(), s->FontNo());
    }
    const TempDir folder("vellumix-languages");
    language.SaveAs(folder.file("Test.lng"));
    TKAppLanguage::Instance().SetLangDir(folder.path().string());
    TKAppLanguage::Instance().SetLanguage("Test");
    for (QWidget* window : {static_cast<QWidget*>(form.get()), static_cast<QWidget*>(frm_pref)})
        for (const auto& [what, text] : WindowTexts(*window))
            EXPECT_TRUE(text.startsWith("ZZ")) << window->objectName().toStdString() << ": " << what << " = "
                                                << text.toStdString();
    TSpeedItem* item = form->SpeedBar1->FindItemByName("SpeedButton1");
    EXPECT_EQ(item->Caption(), "ZZNew file");
    // A caption change rewrites the short part of the hint: "short|long".
    EXPECT_TRUE(item->Hint() == "ZZNew file" || item->Hint() == "ZZNew file|") << item->Hint();
    EXPECT_EQ(form->StatusBar1->PanelText(3), "ZZ IP-Address") << "status-bar panels";
    EXPECT_EQ(form->glob_stat->PanelText(4), "ZZModified");
}

} // namespace
} // namespace vx::test
