#include "database/mQuery.h"
#include "database/mSession.h"
#include "database/qt/ODBCErrorDlg.h"
#include "localisation/RunTimeText.h"
#include "platform/qt/Application.h"
#include "tests/database/MissingDataSource.h"
#include "tests/database/OdbcTestEnv.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

struct Seen {
    bool shown = false;
    QString text;
    bool back = true;
    bool next = true;
};

// Looks at the dialog once it is up, then presses OK as the user would.
void answerWhenShown(TmODBCErrorDlg& dialog, Seen& seen)
{
    QTimer::singleShot(0, &dialog, [&] {
        seen.shown = dialog.isVisible();
        seen.text = dialog.ErrorLabel->text();
        seen.back = dialog.BackBtn->isEnabled();
        seen.next = dialog.NextBtn->isEnabled();
        QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
    });
}

// A language that words one message of the database components.
std::string Dutch(std::string_view english)
{
    return english == "ODBC datasource not defined" ? "Geen ODBC-gegevensbron opgegeven" : std::string(english);
}

} // namespace

TEST(ODBCErrorDlg, ShowsTheDriverManagersTextForABadDataSource)
{
    TmODBCErrorDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), "ODBC Error");
    Seen seen;
    answerWhenShown(dialog, seen);
    vx::test::ConnectToMissingDataSource();
    EXPECT_TRUE(seen.shown);
    EXPECT_TRUE(seen.text.startsWith("IM002:")) << seen.text.toStdString();
    EXPECT_TRUE(seen.text.contains("Data source name not found")) << seen.text.toStdString();
    EXPECT_FALSE(seen.back);
    EXPECT_FALSE(seen.next);
}

TEST(ODBCErrorDlg, AFixedTextShowsInTheChosenLanguageWithBothPagingButtonsDisabled)
{
    TmODBCErrorDlg dialog;
    Seen seen;
    answerWhenShown(dialog, seen);
    const TRunTimeLookup before = SetRunTimeLookup(&Dutch);
    vx::DeliverShowingExceptions([] {
        TmQuery query; // of no data source
        query.SetSQLText("select 1");
        query.Open();
        return true;
    });
    SetRunTimeLookup(before);
    EXPECT_TRUE(seen.shown);
    EXPECT_EQ(seen.text.toStdString(), "Geen ODBC-gegevensbron opgegeven");
    EXPECT_FALSE(seen.back);
    EXPECT_FALSE(seen.next);
}

TEST(ODBCErrorDlg, OtherExceptionsGoToTheHandlerItReplacedAndItIsPutBack)
{
    std::string passedOn;
    vx::ApplicationOnException() = [&](const std::exception& e) { passedOn = e.what(); };
    {
        TmODBCErrorDlg dialog;
        vx::DeliverShowingExceptions([]() -> bool { throw EConvertError("not a number"); });
        EXPECT_EQ(passedOn, "not a number");
        EXPECT_FALSE(dialog.isVisible());
    }
    passedOn.clear();
    vx::DeliverShowingExceptions([]() -> bool { throw ESQLerror("after the dialog"); });
    EXPECT_EQ(passedOn, "after the dialog");
    vx::ApplicationOnException() = nullptr;
}
