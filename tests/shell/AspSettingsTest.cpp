// The web server's ASP settings: reading the key by name, keeping whole
// DWORDs, and writing nothing while a field is wrong; through the store and
// through the dialog's fields and buttons.
#include "tests/shell/ShellFixture.h"

#include "shell/qt/windows/RegEdit.h"
#include "shell/AspSettings.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace vx::test {
namespace {

using vx::shell::AspParametersKey;

class AspSettingsTest : public ShellTest {
protected:
    void SetUp() override { StartAndActivate(); }
    // Values in the order given, as the server's installation wrote them.
    void Seed(const std::vector<std::pair<std::string, std::variant<int, std::string>>>& values)
    {
        TRegistry reg;
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        ASSERT_TRUE(reg.OpenKey(AspParametersKey, true));
        for (const auto& [name, value] : values) {
            if (const int* number = std::get_if<int>(&value))
                reg.WriteInteger(name, *number);
            else
                reg.WriteString(name, std::get<std::string>(value));
        }
        reg.CloseKey();
    }
    static bool KeyExists()
    {
        TRegistry reg;
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        return reg.KeyExists(AspParametersKey);
    }
    static std::string Stored(const std::string& name)
    {
        TRegistry reg;
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        if (!reg.OpenKeyReadOnly(AspParametersKey) || !reg.ValueExists(name))
            return "<missing>";
        if (reg.GetDataType(name) == TRegDataType::rdInteger)
            return std::to_string(static_cast<std::uint32_t>(reg.ReadInteger(name)));
        return reg.ReadString(name);
    }
    // Opens the dialog through its menu item and runs act on it while it is up.
    void WithDialog(const std::function<void(Tfrm_regedit&)>& act)
    {
        QAction* command = MenuCommand("EditASPregistryentries1");
        WhenModal([&](QWidget& window) {
            auto* dialog = dynamic_cast<Tfrm_regedit*>(&window);
            ASSERT_NE(dialog, nullptr);
            act(*dialog);
            if (dialog->isVisible())
                QTest::mouseClick(dialog->SpeedButton1, Qt::LeftButton);
        });
        command->trigger();
    }
    static std::vector<std::string> ListLines(const Tfrm_regedit& dialog)
    {
        std::vector<std::string> lines;
        for (int i = 0; i < dialog.ListBox1->count(); ++i)
            lines.push_back(dialog.ListBox1->item(i)->text().toStdString());
        return lines;
    }
    static void Type(QLineEdit* field, const char* text)
    {
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
    }
};

TEST_F(AspSettingsTest, DwordTextsAreWholeNumbersOfThirtyTwoBits)
{
    const std::pair<const char*, std::optional<std::uint32_t>> cases[] = {
        {"0", 0u},        {"65537", 65537u}, {" 42 ", 42u},          {"4294967295", 4294967295u},
        {"4294967296", {}}, {"-1", {}},      {"abc", {}},            {"1 2", {}},
        {"", {}},         {"   ", {}},       {"99999999999999999999", {}}, {"0x10", {}},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(vx::shell::ParseDword(text), value) << '"' << text << '"';
}

TEST_F(AspSettingsTest, AMissingKeyShowsEmptyFieldsAndSaveWritesNothing)
{
    WithDialog([](Tfrm_regedit& dialog) {
        for (QLineEdit* field : dialog.Fields)
            EXPECT_TRUE(field->text().isEmpty()) << field->objectName().toStdString();
        EXPECT_EQ(dialog.ListBox1->count(), 0);
        QTest::mouseClick(dialog.Button1, Qt::LeftButton);
        EXPECT_FALSE(dialog.isVisible()) << "Save closes";
    });
    EXPECT_FALSE(KeyExists()) << "nothing was written";
    ASSERT_EQ(dialogs.requests.size(), 1u) << "only the warning, no success message";
    EXPECT_EQ(dialogs.requests[0].text,
              "Warning!\r\rYou are about to make changes to this systems registry, make sure you are aware of what you "
              "are altering\rIf something goes wrong use the backup.reg file in the registry subdirectory of vellumix");
}

TEST_F(AspSettingsTest, APartialKeyFillsTheFieldsOfItsValuesByName)
{
    Seed({{"ScriptErrorMessage", std::string("An error occurred")},
          {"BUFFERINGON", 1},
          {"Scripttimeout", 90},
          {"DefaultScriptLanguage", std::string("VBScript")},
          {"Sessiontimeout", 65537}});
    const vx::shell::TAspSettings settings = vx::shell::LoadAspSettings();
    ASSERT_TRUE(settings.KeyExists);
    EXPECT_EQ(settings.Texts, (std::array<std::string, vx::shell::AspFieldCount>{
                                  "1", "", "", "", "An error occurred", "", "", "90", "65537", "VBScript", ""}));
    EXPECT_EQ(settings.DwordLines, (std::vector<std::string>{"1) 1", "2) 90", "4) 65537"}));

    WithDialog([](Tfrm_regedit& dialog) {
        EXPECT_EQ(dialog.Field("sessiontimeout")->text(), "65537") << "the whole DWORD, not its low half";
        EXPECT_EQ(dialog.Field("buffering")->text(), "1");
        EXPECT_EQ(dialog.Field("errormsg")->text(), "An error occurred");
        EXPECT_EQ(ListLines(dialog), (std::vector<std::string>{"1) 1", "2) 90", "4) 65537"}));
        Type(dialog.Field("cachettl"), "300");
        QTest::mouseClick(dialog.Button1, Qt::LeftButton);
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_EQ(Stored("Sessiontimeout"), "65537");
    EXPECT_EQ(Stored("Scriptfilecachettl"), "300");
    EXPECT_EQ(Stored("bufferingon"), "1");
    EXPECT_EQ(Stored("processorthreadmax"), "<missing>") << "an empty field leaves its value as it is";
    EXPECT_EQ(dialogs.requests.back().text, "Registry updated successfully");
}

TEST_F(AspSettingsTest, ABadFieldWritesNothingAndNamesTheField)
{
    Seed({{"bufferingon", 1}, {"Scripttimeout", 90}, {"ScriptErrorMessage", std::string("old")}});
    WithDialog([](Tfrm_regedit& dialog) {
        Type(dialog.Field("buffering"), "0");
        Type(dialog.Field("errormsg"), "new");
        Type(dialog.Field("timeout"), "ninety");
        QTest::mouseClick(dialog.Button1, Qt::LeftButton);
        EXPECT_TRUE(dialog.isVisible()) << "the dialog stays open";
    });
    EXPECT_EQ(Stored("bufferingon"), "1");
    EXPECT_EQ(Stored("ScriptErrorMessage"), "old");
    EXPECT_EQ(Stored("Scripttimeout"), "90");
    EXPECT_EQ(dialogs.requests.back().text,
              "Script timeout: 'ninety' is not a valid integer value (a whole number from 0 to 4294967295)");
}

TEST_F(AspSettingsTest, TheLargestDwordSurvivesARoundTrip)
{
    Seed({{"Startconnectionpool", -1}});
    WithDialog([](Tfrm_regedit& dialog) {
        EXPECT_EQ(dialog.Field("pooling")->text(), "4294967295");
        QTest::mouseClick(dialog.Button1, Qt::LeftButton);
    });
    EXPECT_EQ(Stored("Startconnectionpool"), "4294967295");
    WithDialog([](Tfrm_regedit& dialog) { QTest::mouseClick(dialog.Button2, Qt::LeftButton); });
}

} // namespace
} // namespace vx::test
