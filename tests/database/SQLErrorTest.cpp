#include "database/SQLError.h"
#include "database/mQuery.h"
#include "tests/database/OdbcTestEnv.h"

#include <sqlext.h>

#include <gtest/gtest.h>

using vx::test::OdbcTestEnv;

TEST(SQLResultName, NamesEveryReturnCode)
{
    struct Case {
        SQLRETURN code;
        const char* name;
    } cases[] = {
        {SQL_SUCCESS, "SQL_SUCCESS"},
        {SQL_SUCCESS_WITH_INFO, "SQL_SUCCESS_WITH_INFO"},
        {SQL_STILL_EXECUTING, "SQL_STILL_EXECUTING"},
        {SQL_NEED_DATA, "SQL_NEED_DATA"},
        {SQL_NO_DATA, "SQL_NO_DATA"},
        {SQL_ERROR, "SQL_ERROR"},
        {SQL_INVALID_HANDLE, "SQL_INVALID_HANDLE"},
        {5, "unknown SQL result5"},
        {-7, "unknown SQL result-7"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SQLResultName(c.code).English(), c.name);
}

TEST(ESQLerror, WithoutRecordsTheMessageIsTheCodesName)
{
    ESQLerror info(SQL_HANDLE_STMT, SQL_SUCCESS_WITH_INFO, SQL_NULL_HANDLE);
    EXPECT_STREQ(info.what(), "SQL_SUCCESS_WITH_INFO");
    EXPECT_EQ(info.Errors().Count(), 0);
    EXPECT_EQ(info.SQLState(), "");
    EXPECT_EQ(info.NativeError(), SQL_SUCCESS_WITH_INFO);

    ESQLerror odd(SQL_HANDLE_STMT, 5, SQL_NULL_HANDLE);
    EXPECT_STREQ(odd.what(), "unknown SQL result5");
    EXPECT_EQ(odd.NativeError(), 5);

    ESQLerror fixed("ODBC datasource not defined");
    EXPECT_STREQ(fixed.what(), "ODBC datasource not defined");
    EXPECT_EQ(fixed.Errors().Count(), 0);
}

TEST(ESQLerror, StatementCheckRaisesForEveryCodeButSuccess)
{
    EXPECT_NO_THROW(CheckStatementResult(SQL_SUCCESS, SQL_NULL_HSTMT));
    struct Case {
        SQLRETURN code;
        const char* message;
    } cases[] = {
        {SQL_INVALID_HANDLE, ": SQL_INVALID_HANDLE"},
        {SQL_STILL_EXECUTING, "SQL_STILL_EXECUTING"},
        {SQL_NEED_DATA, "SQL_NEED_DATA"},
        {SQL_NO_DATA, "SQL_NO_DATA"},
        {42, "unknown SQL result"},
    };
    for (const Case& c : cases) {
        try {
            CheckStatementResult(c.code, SQL_NULL_HSTMT);
            ADD_FAILURE() << c.code;
        } catch (const ESQLerror& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
}

TEST(ESQLerror, KeepsADiagnosticLongerThanTheFirstBuffer)
{
    OdbcTestEnv::Get().AddDsn("longdiag");
    TmDataBase db;
    db.SetDataBaseName("longdiag");
    db.DriverCompletion = sdNoPrompt;
    std::string table(400, 'q');
    TmQuery q;
    q.SetDataBase(&db);
    q.SetSQLText("select * from " + table);
    try {
        q.Open();
        FAIL() << "opened a table that does not exist";
    } catch (const ESQLerror& e) {
        ASSERT_GE(e.Errors().Count(), 1);
        std::string message = e.what();
        EXPECT_NE(message.find(table), std::string::npos) << message.size();
        EXPECT_EQ(message.rfind(e.SQLState() + ":", 0), 0u);
        EXPECT_EQ(e.Errors()[0], message);
    }
    EXPECT_TRUE(q.Handle() == SQL_NULL_HSTMT);
}
