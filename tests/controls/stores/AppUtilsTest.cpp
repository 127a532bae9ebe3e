#include "controls/stores/AppUtils.h"

#include "platform/IniFile.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QScreen>
#include <QWidget>

using vx::test::TempDir;

namespace {

std::string ExeBase()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdString();
}

QRect Available()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

} // namespace

TEST(AppUtils, DefaultNames)
{
    EXPECT_EQ(vx::GetDefaultIniName(), ExeBase() + ".INI");
    EXPECT_EQ(vx::GetDefaultIniRegKey(), "Software\\" + ExeBase());

    QString oldName = QCoreApplication::applicationName();
    vx::DefCompanyName = "Orvane";
    vx::RegUseAppTitle = true;
    QCoreApplication::setApplicationName("Vellumix");
    EXPECT_EQ(vx::GetDefaultIniRegKey(), "Software\\Orvane\\Vellumix");
    vx::RegUseAppTitle = false;
    EXPECT_EQ(vx::GetDefaultIniRegKey(), "Software\\Orvane\\" + ExeBase());
    vx::DefCompanyName.clear();
    QCoreApplication::setApplicationName(oldName);

    QSize size = QGuiApplication::primaryScreen()->size();
    EXPECT_EQ(vx::GetScreenSuffix(),
              "(" + std::to_string(size.width()) + "x" + std::to_string(size.height()) + ")");
}

TEST(AppUtils, DefaultSections)
{
    QWidget form;
    form.setObjectName("Form1");
    auto* edit = new QLineEdit(&form);
    edit->setObjectName("Edit1");
    auto* mru = new QObject(&form);
    mru->setObjectName("mru");
    EXPECT_EQ(vx::GetDefaultSection(&form), "TForm1");
    EXPECT_EQ(vx::GetDefaultSection(edit), "TForm1Edit1");
    EXPECT_EQ(vx::GetDefaultSection(mru), "TForm1.mru");
}

TEST(AppUtils, QuotedAndBlankTextSurvivesAnIniFile)
{
    TempDir dir;
    TIniFile ini(dir.file("a.ini"));
    for (std::string text : {"'single'", "\"double\"", "  lead", "trail  ", " both ", "plain", "'x\""}) {
        vx::IniWriteString(&ini, "S", "V", text);
        EXPECT_EQ(vx::IniReadString(&ini, "S", "V", "?"), text);
    }
    vx::IniWriteString(&ini, "S", "Q", "'single'");
    EXPECT_NE(vx::test::readFile(dir.file("a.ini")).find("Q=\"'single'\""), std::string::npos);

    TRegIniFile reg("Software\\VellumixTest\\Quotes");
    vx::IniWriteString(&reg, "S", "V", "'single'");
    EXPECT_EQ(reg.ReadString("S", "V", ""), "'single'") << "the registry stores it unchanged";

    EXPECT_EQ(vx::IniReadString(nullptr, "S", "V", "def"), "def");
    vx::IniWriteString(nullptr, "S", "V", "ignored");
}

TEST(AppUtils, ScreenSuffixedValuesFallBackToThePlainOnes)
{
    TempDir dir;
    TIniFile ini(dir.file("a.ini"));
    ini.WriteString("S", "NormPos", "1,2,3,4");
    EXPECT_EQ(vx::IniReadStringScr(&ini, "S", "NormPos", ""), "1,2,3,4");
    vx::IniWriteStringScr(&ini, "S", "NormPos", "5,6,7,8");
    EXPECT_EQ(vx::IniReadStringScr(&ini, "S", "NormPos", ""), "5,6,7,8");
    EXPECT_EQ(ini.ReadString("S", "NormPos" + vx::GetScreenSuffix(), ""), "5,6,7,8");
}

TEST(AppUtils, PlacementRoundTripNormalAndMaximised)
{
    TempDir dir;
    TIniFile ini(dir.file("p.ini"));
    QRect avail = Available();
    QRect where(avail.left() + 30, avail.top() + 40, 320, 200);
    {
        QWidget form;
        form.setGeometry(where);
        vx::WriteFormPlacement(&form, &ini, "F");
    }
    EXPECT_EQ(ini.ReadInteger("F", "ShowCmd", 0), 1);
    EXPECT_FALSE(ini.ReadString("F", "NormPos", "").empty());
    {
        QWidget form;
        form.setGeometry(0, 0, 50, 50);
        vx::ReadFormPlacement(&form, &ini, "F", true, true);
        EXPECT_EQ(form.geometry(), where);
        EXPECT_FALSE(form.isMaximized());
    }
    {
        QWidget form;
        form.setGeometry(where);
        form.setWindowState(Qt::WindowMaximized);
        vx::WriteFormPlacement(&form, &ini, "M");
    }
    EXPECT_EQ(ini.ReadInteger("M", "ShowCmd", 0), 3);
    QWidget form;
    vx::ReadFormPlacement(&form, &ini, "M", true, false);
    EXPECT_TRUE(form.windowState() & Qt::WindowMaximized);
}

TEST(AppUtils, StoredPositionIsClampedIntoTheScreen)
{
    TempDir dir;
    TIniFile ini(dir.file("p.ini"));
    ini.WriteString("F", "NormPos", "5000,-7000,5400,-6700");
    QWidget form;
    vx::ReadFormPlacement(&form, &ini, "F", false, true);
    EXPECT_TRUE(Available().contains(form.geometry())) << form.geometry().x() << "," << form.geometry().y();
    EXPECT_EQ(form.size(), QSize(400, 300));

    ini.WriteString("F", "NormPos", "0,0,100000,100000");
    vx::ReadFormPlacement(&form, &ini, "F", false, true);
    EXPECT_TRUE(Available().contains(form.geometry())) << "too large a window is shrunk";
}

TEST(AppUtils, PlacementIsIgnoredWhenNotUsable)
{
    TempDir dir;
    TIniFile ini(dir.file("p.ini"));
    QRect avail = Available();
    QWidget form;
    form.setGeometry(avail.left() + 10, avail.top() + 10, 200, 100);
    QRect before = form.geometry();

    ini.WriteString("D", "NormPos", "20,20,220,120");
    ini.WriteInteger("D", "PixelsPerInch", 12345);
    vx::ReadFormPlacement(&form, &ini, "D", true, true);
    EXPECT_EQ(form.geometry(), before) << "another pixel density";

    ini.WriteString("E", "NormPos", "20,20,20,120");
    vx::ReadFormPlacement(&form, &ini, "E", true, true);
    EXPECT_EQ(form.geometry(), before) << "an empty rectangle";

    for (int showCmd : {4, 8}) {
        ini.WriteInteger("S", "ShowCmd", showCmd);
        vx::ReadFormPlacement(&form, &ini, "S", true, false);
        EXPECT_FALSE(form.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized));
    }

    form.setFixedSize(200, 100);
    ini.WriteString("X", "NormPos",
                    std::to_string(avail.left() + 50) + "," + std::to_string(avail.top() + 60) + ",900,900");
    vx::ReadFormPlacement(&form, &ini, "X", false, true);
    EXPECT_EQ(form.geometry(), QRect(avail.left() + 50, avail.top() + 60, 200, 100))
        << "a fixed-size window takes only the position";
}

TEST(AppUtils, FlagsAndMinMaxPositionsAreReadBack)
{
    TempDir dir;
    TIniFile ini(dir.file("p.ini"));
    ini.WriteInteger("F", "Flags", 2);
    ini.WriteString("F", "MinMaxPos", "-32000,-32000,-4,x");
    ini.WriteString("F", "NormPos", "10,10,210,110");
    QWidget form;
    form.move(5, 5);
    vx::TWindowPlacement read;
    vx::ReadFormPlacement(&form, &ini, "F", true, true, &read);
    EXPECT_EQ(read.flags, 2);
    EXPECT_EQ(read.minPosition, QPoint(-32000, -32000));
    EXPECT_EQ(read.maxPosition, QPoint(-4, 0)) << "a bad word reads as 0";
    EXPECT_EQ(read.showCmd, -1) << "no show command stored";
}

TEST(AppUtils, TheMainWindowStartsMaximisedUnlessTheShowCommandSaysOtherwise)
{
    TempDir dir;
    TIniFile ini(dir.file("p.ini"));
    struct Case {
        int showCmd; // -1: none stored
        bool moved;
        Qt::WindowStates state;
    };
    const Case cases[] = {
        {-1, false, Qt::WindowMaximized}, // position left to the window system
        {-1, true, Qt::WindowNoState},    // a designed position
        {4, false, Qt::WindowMaximized},  // an unknown command keeps the default
        {1, false, Qt::WindowNoState},
        {3, true, Qt::WindowMaximized},
        {2, true, Qt::WindowNoState},     // minimised: normal now, the application minimises after
    };
    for (const Case& c : cases) {
        QMainWindow main;
        if (c.moved)
            main.move(20, 20);
        ini.EraseSection("M");
        if (c.showCmd >= 0)
            ini.WriteInteger("M", "ShowCmd", c.showCmd);
        vx::ReadFormPlacement(&main, &ini, "M", true, false);
        EXPECT_EQ(main.windowState() & (Qt::WindowMaximized | Qt::WindowMinimized), c.state)
            << c.showCmd << (c.moved ? " moved" : "");
        if (c.showCmd == 2) {
            QCoreApplication::processEvents();
            EXPECT_TRUE(main.windowState() & Qt::WindowMinimized) << "then minimised as the application";
        }
        QWidget other;
        vx::ReadFormPlacement(&other, &ini, "M", true, false);
        if (c.showCmd < 0 || c.showCmd == 4) {
            EXPECT_FALSE(other.windowState() & Qt::WindowMaximized) << "only the main window starts maximised";
        }
    }
}
