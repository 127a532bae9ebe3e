#include "controls/stores/Placemnt.h"

#include "platform/IniFile.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCloseEvent>
#include <QDoubleSpinBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSlider>
#include <QSpinBox>
#include <QWidget>

#include <filesystem>
#include <memory>

using vx::test::TempDir;

namespace {

QRect Available()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

// A window whose close handler can refuse.
class TClosingForm : public QWidget {
public:
    bool allowClose = true;

protected:
    void closeEvent(QCloseEvent* event) override { event->setAccepted(allowClose); }
};

// A window class of its own, as the program's windows are.
class TMainForm : public QWidget {
    Q_OBJECT
};

std::unique_ptr<TClosingForm> MakeForm(const char* name)
{
    auto form = std::make_unique<TClosingForm>();
    form->setObjectName(name);
    return form;
}

} // namespace

TEST(TFormPlacement, Defaults)
{
    auto form = MakeForm("Form1");
    TFormPlacement placement(form.get());
    EXPECT_TRUE(placement.Active());
    EXPECT_EQ(placement.Options(), unsigned(fpState | fpPosition));
    EXPECT_FALSE(placement.PreventResize());
    EXPECT_FALSE(placement.UseRegistry());
    EXPECT_TRUE(placement.MinMaxInfo().DefaultMinMaxInfo());
    EXPECT_EQ(placement.IniSection(), "TForm1");
    EXPECT_EQ(placement.IniFileName(), vx::GetDefaultIniName());
    placement.SetUseRegistry(true);
    EXPECT_EQ(placement.IniFileName(), vx::GetDefaultIniRegKey());
    EXPECT_EQ(placement.IniObject(), nullptr) << "the store is open only during a save or restore";
}

TEST(TFormPlacement, ShowRestoresCloseSaves)
{
    QRect avail = Available();
    QRect where(avail.left() + 25, avail.top() + 35, 330, 210);
    {
        auto form = MakeForm("PlaceA");
        TFormPlacement placement(form.get());
        placement.SetUseRegistry(true);
        placement.SetIniFileName("Software\\VellumixTest\\Placement");
        int restored = 0, saved = 0;
        placement.OnRestorePlacement = [&](QObject* sender) {
            EXPECT_EQ(sender, &placement);
            ++restored;
        };
        placement.OnSavePlacement = [&](QObject*) { ++saved; };
        form->show();
        EXPECT_EQ(restored, 1);
        form->setGeometry(where);
        form->close();
        EXPECT_EQ(saved, 1);
    }
    TRegIniFile reg("Software\\VellumixTest\\Placement");
    EXPECT_EQ(reg.ReadString("TPlaceA", "Visible", ""), "0") << "saved on closing";
    EXPECT_EQ(reg.ReadInteger("TPlaceA", "ShowCmd", 0), 1);

    auto form = MakeForm("PlaceA");
    TFormPlacement placement(form.get());
    placement.SetUseRegistry(true);
    placement.SetIniFileName("Software\\VellumixTest\\Placement");
    form->show();
    EXPECT_EQ(form->geometry(), where);
}

TEST(TFormPlacement, NothingIsSavedBeforeARestore)
{
    TempDir dir;
    auto form = MakeForm("Never");
    auto* placement = new TFormPlacement(form.get());
    placement->SetIniFileName(dir.file("never.ini"));
    placement->SaveFormPlacement();
    form.reset();
    EXPECT_FALSE(std::filesystem::exists(dir.file("never.ini")));
}

TEST(TFormPlacement, RefusedCloseSavesNothingAndDestructionSaves)
{
    TempDir dir;
    std::string file = dir.file("p.ini");
    auto form = MakeForm("Closing");
    auto* placement = new TFormPlacement(form.get());
    placement->SetIniFileName(file);
    form->show();
    form->allowClose = false;
    form->close();
    EXPECT_EQ(TIniFile(file).ReadString("TClosing", "Visible", "none"), "none");

    form.reset();
    EXPECT_EQ(TIniFile(file).ReadString("TClosing", "Visible", "none"), "1") << "saved while being destroyed";
}

TEST(TFormPlacement, DestructionSavesUnderTheWindowsClassName)
{
    TempDir dir;
    std::string file = dir.file("c.ini");
    {
        TMainForm form;
        form.setObjectName("Form1");
        auto* placement = new TFormPlacement(&form);
        placement->SetIniFileName(file);
        EXPECT_EQ(placement->IniSection(), "TMainForm");
        form.show();
    }
    TIniFile ini(file);
    TStringList sections;
    ini.ReadSections(sections);
    EXPECT_EQ(sections.Text(), "TMainForm\r\n") << "not the name a dying window would give";
    EXPECT_EQ(ini.ReadString("TMainForm", "Visible", "none"), "1");
}

// The window's parts are all still there when it goes: its stored properties
// and its links are saved with the placement, whether the storage is the
// window's own child or a child of one of its panels.
TEST(TFormStorage, DestroyedWindowSavesItsPropertiesAndLinks)
{
    TempDir dir;
    for (bool onPanel : {false, true}) {
        const std::string file = dir.file(onPanel ? "panel.ini" : "own.ini");
        int saves = 0;
        TIniLink link;
        {
            TMainForm form;
            auto* panel = new QWidget(&form);
            auto* edit = new QLineEdit(panel);
            edit->setObjectName("Edit1");
            auto* storage = new TFormStorage(onPanel ? panel : static_cast<QWidget*>(&form));
            storage->SetIniFileName(file);
            storage->StoredProps().Add("Edit1.Text");
            link.SetStorage(storage);
            link.OnSave = [&] {
                ++saves;
                link.IniObject()->WriteString(link.RootSection() + "List", "Item_0", "recent.htm");
            };
            form.show();
            edit->setText("typed");
        }
        EXPECT_EQ(saves, 1) << onPanel;
        EXPECT_EQ(link.Storage(), nullptr) << "the storage went with its window";
        TIniFile ini(file);
        EXPECT_EQ(ini.ReadString("TMainForm", "Edit1_Text", ""), "typed") << onPanel;
        EXPECT_EQ(ini.ReadString("TMainForm\\List", "Item_0", ""), "recent.htm") << onPanel;
        EXPECT_EQ(ini.ReadString("TMainForm", "Visible", "none"), onPanel ? "none" : "1")
            << "placement values only for a storage the window owns itself";
    }
}

TEST(TFormPlacement, PreventResizeAndLimits)
{
    auto form = MakeForm("Fixed");
    form->resize(300, 200);
    Qt::WindowFlags design = form->windowFlags();
    TFormPlacement placement(form.get());
    placement.SetPreventResize(true);
    EXPECT_EQ(form->minimumSize(), QSize(300, 200));
    EXPECT_EQ(form->maximumSize(), QSize(300, 200));
    EXPECT_FALSE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(form->windowFlags() & Qt::CustomizeWindowHint);
    placement.SetPreventResize(false);
    EXPECT_EQ(form->windowFlags(), design);
    EXPECT_NE(form->minimumSize(), form->maximumSize());

    placement.MinMaxInfo().SetMinTrackWidth(250);
    placement.MinMaxInfo().SetMaxTrackHeight(400);
    EXPECT_EQ(form->minimumWidth(), 250);
    EXPECT_EQ(form->maximumHeight(), 400);
    EXPECT_FALSE(placement.MinMaxInfo().DefaultMinMaxInfo());
}

TEST(TFormStorage, StoredPropertiesRoundTripInIniAndRegistry)
{
    TempDir dir;
    for (bool registry : {false, true}) {
        auto build = [&](std::unique_ptr<TClosingForm>& form, std::unique_ptr<TFormStorage>& storage) {
            form = MakeForm("Props");
            auto* edit = new QLineEdit(form.get());
            edit->setObjectName("Edit1");
            auto* check = new QCheckBox(form.get());
            check->setObjectName("Check1");
            auto* spin = new QSpinBox(form.get());
            spin->setObjectName("Spin1");
            spin->setRange(-100, 100);
            auto* real = new QDoubleSpinBox(form.get());
            real->setObjectName("Real1");
            auto* slider = new QSlider(form.get());
            slider->setObjectName("Slider1");
            auto* label = new QLabel(form.get());
            label->setObjectName("Label1");
            storage = std::make_unique<TFormStorage>(form.get());
            storage->SetOptions(0);
            storage->SetUseRegistry(registry);
            storage->SetIniFileName(registry ? "Software\\VellumixTest\\Storage" : dir.file("s.ini"));
            storage->StoredProps().SetText(
                "Edit1.Text\nCheck1.Checked\nSpin1.Value\nReal1.Value\nSlider1.Orientation\nLabel1.Alignment\n"
                "Missing.Text\nEdit1.NoSuchProperty\nbroken line");
        };
        std::unique_ptr<TClosingForm> form;
        std::unique_ptr<TFormStorage> storage;
        build(form, storage);
        form->show();
        form->findChild<QLineEdit*>("Edit1")->setText("  keeps its blanks  ");
        form->findChild<QCheckBox*>("Check1")->setChecked(true);
        form->findChild<QSpinBox*>("Spin1")->setValue(-42);
        form->findChild<QDoubleSpinBox*>("Real1")->setValue(2.75);
        form->findChild<QSlider*>("Slider1")->setOrientation(Qt::Horizontal);
        form->findChild<QLabel*>("Label1")->setAlignment(Qt::AlignRight | Qt::AlignBottom);
        form->close();
        storage.reset();
        form.reset();

        build(form, storage);
        form->show();
        EXPECT_EQ(form->findChild<QLineEdit*>("Edit1")->text(), "  keeps its blanks  ") << registry;
        EXPECT_TRUE(form->findChild<QCheckBox*>("Check1")->isChecked());
        EXPECT_EQ(form->findChild<QSpinBox*>("Spin1")->value(), -42);
        EXPECT_DOUBLE_EQ(form->findChild<QDoubleSpinBox*>("Real1")->value(), 2.75);
        EXPECT_EQ(form->findChild<QSlider*>("Slider1")->orientation(), Qt::Horizontal);
        EXPECT_EQ(form->findChild<QLabel*>("Label1")->alignment(), Qt::AlignRight | Qt::AlignBottom);
    }
    TIniFile ini(dir.file("s.ini"));
    EXPECT_EQ(ini.ReadString("TProps", "Check1_Checked", ""), "True");
    EXPECT_EQ(ini.ReadString("TProps", "Slider1_Orientation", ""), "Horizontal");
    EXPECT_EQ(ini.ReadString("TProps", "ShowCmd", "none"), "none") << "Options empty: no placement, still the list";
}

TEST(TFormPlacement, ActiveControlIsKeptWithItsOption)
{
    TempDir dir;
    for (int round = 0; round < 2; ++round) {
        auto form = MakeForm("Focus");
        auto* first = new QLineEdit(form.get());
        first->setObjectName("First");
        auto* second = new QLineEdit(form.get());
        second->setObjectName("Second");
        TFormPlacement placement(form.get());
        placement.SetIniFileName(dir.file("f.ini"));
        placement.SetOptions(fpActiveControl);
        form->show();
        if (round == 0) {
            second->setFocus();
            form->close();
            EXPECT_EQ(TIniFile(dir.file("f.ini")).ReadString("TFocus", "ActiveControl", ""), "Second");
        } else {
            EXPECT_EQ(form->focusWidget(), second);
        }
    }
}

TEST(TIniLink, CalledWithTheOpenStoreAfterThePlacement)
{
    TempDir dir;
    auto form = MakeForm("Linked");
    // A designed position: the window does not start maximised.
    form->move(30, 30);
    auto placement = std::make_unique<TFormPlacement>(form.get());
    placement->SetIniFileName(dir.file("l.ini"));
    placement->SetIniSection("Main");
    TIniLink link;
    EXPECT_EQ(link.RootSection(), "");
    link.SetStorage(placement.get());
    EXPECT_EQ(link.RootSection(), "Main\\");
    int loads = 0, saves = 0;
    link.OnLoad = [&] {
        ++loads;
        ASSERT_NE(link.IniObject(), nullptr);
        EXPECT_EQ(link.IniObject()->ReadString("Main", "ShowCmd", "unset"), "unset") << "first restore";
    };
    link.OnSave = [&] {
        ++saves;
        ASSERT_NE(link.IniObject(), nullptr);
        EXPECT_EQ(link.IniObject()->ReadString("Main", "ShowCmd", ""), "1") << "placement values come first";
        link.IniObject()->WriteString(link.RootSection() + "Mine", "Value", "x");
    };
    form->show();
    form->close();
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(TIniFile(dir.file("l.ini")).ReadString("Main\\Mine", "Value", ""), "x");

    placement.reset();
    EXPECT_EQ(link.Storage(), nullptr) << "a placement that goes takes its links off";
}

#include "PlacemntTest.moc"

TEST(TFormPlacement, StoredFlagsAndMinimisedPositionGoBackAsTheyCame)
{
    TempDir dir;
    {
        TIniFile ini(dir.file("f.ini"));
        ini.WriteInteger("Kept", "Flags", 2);
        ini.WriteString("Kept", "MinMaxPos", "-32000,-32000,-4,-4");
        ini.WriteString("Kept", "NormPos", "40,40,340,240");
        ini.WriteInteger("Kept", "ShowCmd", 1);
    }
    auto form = MakeForm("Kept");
    auto placement = std::make_unique<TFormPlacement>(form.get());
    placement->SetIniFileName(dir.file("f.ini"));
    placement->SetIniSection("Kept");
    form->show();
    form->close();
    TIniFile ini(dir.file("f.ini"));
    EXPECT_EQ(ini.ReadInteger("Kept", "Flags", 0), 2);
    EXPECT_EQ(ini.ReadString("Kept", "MinMaxPos", "").rfind("-32000,-32000,", 0), 0u) << ini.ReadString("Kept", "MinMaxPos", "");
}
