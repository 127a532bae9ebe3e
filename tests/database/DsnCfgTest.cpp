#include "controls/flat/TFlatMemoUnit.h"
#include "database/qt/DsnCfg.h"
#include "database/qt/ODBCErrorDlg.h"
#include "tests/database/ListClick.h"
#include "tests/database/OdbcTestEnv.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using vx::test::OdbcTestEnv;

namespace {

bool listed(const QListWidget* list, const QString& name)
{
    return !list->findItems(name, Qt::MatchExactly).isEmpty();
}

class DsnCfgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    }
    Tfrm_dsncfg dialog;
};

} // namespace

TEST_F(DsnCfgTest, AddsAUserDataSourceThroughTheAddDialog)
{
    EXPECT_EQ(dialog.windowTitle(), "Configure DSN");
    EXPECT_EQ(dialog.pos(), QPoint(20, 20));
    bool addOfferedEarly = true;
    QTimer::singleShot(0, [&] {
        TAddDlg* add = AddDlg();
        EXPECT_EQ(add->windowTitle(), "Add ODBC DSN");
        addOfferedEarly = add->AddBtn->isEnabled();
        QTest::keyClicks(add->EditName, "added_dsn");
        add->DriverCB->setCurrentIndex(add->DriverCB->findText(OdbcTestEnv::kDriver));
        add->ParamMemo->Lines().Add("Database=" + OdbcTestEnv::Get().Folder() + "/added.db");
        QTest::mouseClick(add->AddBtn, Qt::LeftButton);
    });
    QTest::mouseClick(dialog.Button1, Qt::LeftButton);
    EXPECT_FALSE(addOfferedEarly);
    EXPECT_TRUE(listed(dialog.DsnList, "added_dsn"));
    TmDataBase db;
    EXPECT_EQ(db.GetDataSourceDriver("added_dsn"), OdbcTestEnv::kDriver);

    vx::test::ClickItem(dialog.DsnList, "added_dsn");
    QTest::mouseClick(dialog.RemoveDsnBtn, Qt::LeftButton);
    EXPECT_FALSE(listed(dialog.DsnList, "added_dsn"));
}

// The installer's own words, framed by what it refused, in the ODBC error dialog.
TEST_F(DsnCfgTest, AnAddTheInstallerRefusesShowsItsReason)
{
    QTimer::singleShot(0, [] {
        TAddDlg* add = AddDlg();
        add->EditName->clear();
        QTest::keyClicks(add->EditName, "refused_dsn");
        add->DriverCB->setCurrentIndex(add->DriverCB->findText(OdbcTestEnv::kNoSetupDriver));
        QTest::mouseClick(add->AddBtn, Qt::LeftButton);
    });
    QString shown;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* box = dynamic_cast<TmODBCErrorDlg*>(QApplication::activeModalWidget())) {
            poll.stop();
            shown = box->ErrorLabel->text();
            QTest::mouseClick(box->OKBtn, Qt::LeftButton);
        }
    });
    poll.start(5);
    QTest::mouseClick(dialog.Button1, Qt::LeftButton);
    EXPECT_EQ(shown.toStdString(), std::string("The ODBC installer did not add the data source \"refused_dsn\" of the "
                                               "driver \"") + OdbcTestEnv::kNoSetupDriver +
                                       "\":\r\nGeneral installer error");
    EXPECT_FALSE(listed(dialog.DsnList, "refused_dsn"));
}

TEST_F(DsnCfgTest, CancellingTheAddDialogChangesNothing)
{
    int before = dialog.DsnList->count();
    QTimer::singleShot(0, [&] {
        QTest::keyClicks(AddDlg()->EditName, "never_added");
        QTest::mouseClick(AddDlg()->BitBtn2, Qt::LeftButton);
    });
    QTest::mouseClick(dialog.button4, Qt::LeftButton);
    EXPECT_EQ(dialog.DsnList->count(), before);
    EXPECT_FALSE(listed(dialog.DsnList, "never_added"));
}

TEST_F(DsnCfgTest, RemovesASystemDataSourceWithoutAskingForTheDriver)
{
    TmDataBase db;
    db.ConfigDataSource(3, "system_one", nullptr, OdbcTestEnv::kDriver);
    QTest::mouseClick(dialog.SpeedButton1, Qt::LeftButton);
    dialog.show();
    dialog.DsnList->clear();
    QTest::mouseClick(dialog.ConfigDsnBtn, Qt::LeftButton);
    ASSERT_TRUE(listed(dialog.DsnList, "system_one"));
    // With nothing chosen the buttons do nothing.
    QTest::mouseClick(dialog.RemoveSysDsnBtn, Qt::LeftButton);
    EXPECT_TRUE(listed(dialog.DsnList, "system_one"));
    vx::test::ClickItem(dialog.DsnList, "system_one");
    QTest::mouseClick(dialog.RemoveSysDsnBtn, Qt::LeftButton);
    EXPECT_FALSE(listed(dialog.DsnList, "system_one"));
}
