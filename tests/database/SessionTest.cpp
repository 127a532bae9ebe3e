#include "database/SQLError.h"
#include "database/mQuery.h"
#include "database/mSession.h"
#include "platform/qt/Application.h"
#include "tests/database/OdbcTestEnv.h"

#include <QMainWindow>
#include <QTest>

#include <sqlext.h>

#include <gtest/gtest.h>

#include <functional>

using vx::test::OdbcTestEnv;

namespace {

bool listed(const TStringList& list, const std::string& name)
{
    return list.IndexOf(name) >= 0 && list[list.IndexOf(name)] == name;
}

int countRows(TmDataBase& db, const std::string& table)
{
    TmQuery q;
    q.SetDataBase(&db);
    q.SetSQLText("select count(*) as N from " + table);
    q.Open();
    return static_cast<int>(q.FieldByName("N").AsInteger());
}

} // namespace

TEST(ConnectionString, JoinsParameterLinesWithSemicolons)
{
    struct Case {
        std::vector<std::string> lines;
        std::string expected;
    } cases[] = {
        {{}, ""},
        {{"DSN=a"}, "DSN=a"},
        {{"DSN=a", "UID=b"}, "DSN=a;UID=b"},
        {{"DSN=a", "UID=b", "PWD=c"}, "DSN=a;UID=b;PWD=c"},
    };
    for (const Case& c : cases) {
        TStringList params;
        for (const auto& line : c.lines)
            params.Add(line);
        EXPECT_EQ(ConnectionStringOf(params), c.expected);
    }
}

TEST(ConnectionString, DataBaseNameChangesOnlyTheDsnLine)
{
    TmDataBase db;
    db.Params().Add("DSN=Y");
    db.Params().Add("UID=u");
    db.SetDataBaseName("X");
    EXPECT_EQ(db.DataBaseName(), "X");
    EXPECT_EQ(ConnectionStringOf(db.Params()), "DSN=X;UID=u");
}

TEST(InstallerAttributes, AreNulSeparatedPairsEndingInDoubleNul)
{
    TStringList attributes;
    attributes.Add("DATABASE=x");
    attributes.Add("SERVER=y");
    EXPECT_EQ(InstallerAttributes("name", &attributes), std::string("DSN=name\0DATABASE=x\0SERVER=y\0\0", 30));
    EXPECT_EQ(InstallerAttributes("name", nullptr), std::string("DSN=name\0\0", 10));
}

TEST(DataBase, ConnectsThroughTheDriverAndDisconnects)
{
    OdbcTestEnv::Get().AddDsn("connect");
    TmDataBase db;
    db.SetDataBaseName("connect");
    db.DriverCompletion = sdNoPrompt;
    db.Connect();
    ASSERT_TRUE(db.Connected());
    EXPECT_NE(db.ConnectionString().find("DSN=connect"), std::string::npos);
    SQLHDBC first = db.Handle();
    db.Connect();
    EXPECT_EQ(db.Handle(), first);
    db.Disconnect();
    EXPECT_FALSE(db.Connected());
    db.Disconnect();
    EXPECT_FALSE(db.Connected());
}

TEST(DataBase, OnConnectMayChangeTheParameters)
{
    OdbcTestEnv::Get().AddDsn("onconnect");
    TmDataBase db;
    db.DriverCompletion = sdNoPrompt;
    db.OnConnect = [](TmDataBase* d) { d->SetDataBaseName("onconnect"); };
    db.Connect();
    EXPECT_TRUE(db.Connected());
}

TEST(DataBase, AnUnknownDataSourceFailsAndLeavesItDisconnected)
{
    TmDataBase db;
    db.SetDataBaseName("no_such_dsn");
    db.DriverCompletion = sdNoPrompt;
    try {
        db.Connect();
        FAIL() << "connected to a data source that does not exist";
    } catch (const ESQLerror& e) {
        EXPECT_EQ(e.SQLState(), "IM002");
        EXPECT_EQ(std::string(e.what()).rfind("IM002:", 0), 0u) << e.what();
        ASSERT_GE(e.Errors().Count(), 1);
        EXPECT_EQ(e.Errors()[0], e.what());
    }
    EXPECT_FALSE(db.Connected());
}

TEST(DataBase, AMissingDriverLibraryFailsTheConnectWithTheDriverManagersMessage)
{
    OdbcTestEnv::Get().AddDsn("missing", OdbcTestEnv::kMissingDriver);
    TmDataBase db;
    db.SetDataBaseName("missing");
    db.DriverCompletion = sdNoPrompt;
    auto expectDriverManagersMessage = [](const std::function<void()>& run) {
        try {
            run();
            ADD_FAILURE() << "connected through a driver that is not there";
        } catch (const ESQLerror& e) {
            std::string message = e.what();
            EXPECT_NE(message.find("Can't open lib"), std::string::npos) << message;
            EXPECT_NE(message.find("no-such-driver.so"), std::string::npos) << message;
        }
    };
    expectDriverManagersMessage([&] { db.Connect(); });
    EXPECT_FALSE(db.Connected());
    // A query on the data source reports the same, not a closed connection.
    TmQuery query;
    query.SetDataBase(&db);
    query.SetSQLText("select 1");
    expectDriverManagersMessage([&] { query.Open(); });
    EXPECT_FALSE(db.Connected());
}

TEST(DataBase, AConnectThatSucceedsWithInformationIsConnected)
{
    OdbcTestEnv::Get().AddDsn("warned", OdbcTestEnv::kQuirkDriver);
    TStringList params;
    params.Add("DSN=warned");
    params.Add("Quirk=warn");
    {
        // The driver does connect with information, and a state other than 01000.
        SQLHDBC hdbc = SQL_NULL_HDBC;
        ASSERT_EQ(SQLAllocHandle(SQL_HANDLE_DBC, TmSession::Default().Environment(), &hdbc), SQL_SUCCESS);
        std::string in = ConnectionStringOf(params);
        ASSERT_EQ(SQLDriverConnect(hdbc, nullptr, reinterpret_cast<SQLCHAR*>(in.data()), SQL_NTS, nullptr, 0, nullptr,
                                   SQL_DRIVER_NOPROMPT),
                  SQL_SUCCESS_WITH_INFO);
        EXPECT_EQ(ESQLerror(SQL_HANDLE_DBC, SQL_SUCCESS_WITH_INFO, hdbc).SQLState(), "01S00");
        SQLDisconnect(hdbc);
        SQLFreeHandle(SQL_HANDLE_DBC, hdbc);
    }
    TmDataBase db;
    db.SetParams(params);
    db.DriverCompletion = sdNoPrompt;
    db.Connect();
    ASSERT_TRUE(db.Connected());
    EXPECT_NE(db.ConnectionString().find("warned.db"), std::string::npos) << db.ConnectionString();
    OdbcTestEnv::Exec(db, "create table t(id integer); insert into t values(1)");
    EXPECT_EQ(countRows(db, "t"), 1);
}

// The driver manager lets a driver prompt only over a window.
TEST(DataBase, TheConnectPromptsOverTheMainWindow)
{
    OdbcTestEnv::Get().AddDsn("prompted");
    vx::SetApplicationWindowHandleSource(vx::MainWindowHandle);
    TmDataBase db;
    db.SetDataBaseName("prompted");
    db.DriverCompletion = sdPrompt;
    try {
        db.Connect();
        ADD_FAILURE() << "prompted without a window";
    } catch (const ESQLerror& e) {
        EXPECT_EQ(e.SQLState(), "HY092") << e.what();
    }
    EXPECT_FALSE(db.Connected());
    {
        QMainWindow main;
        main.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
        EXPECT_NE(vx::ApplicationWindowHandle(), 0u);
        db.Connect();
        EXPECT_TRUE(db.Connected());
        db.Disconnect();
    }
    EXPECT_EQ(vx::ApplicationWindowHandle(), 0u);
    vx::SetApplicationWindowHandleSource(nullptr);
}

TEST(DataBase, TransactionsCommitAndRollBack)
{
    OdbcTestEnv::Get().AddDsn("trans");
    TmDataBase db;
    db.SetDataBaseName("trans");
    db.DriverCompletion = sdNoPrompt;
    OdbcTestEnv::Exec(db, "create table t(id integer)");
    db.StartTransaction();
    OdbcTestEnv::Exec(db, "insert into t values(1)");
    db.Commit();
    TmDataBase other;
    other.SetDataBaseName("trans");
    other.DriverCompletion = sdNoPrompt;
    EXPECT_EQ(countRows(other, "t"), 1) << "committed rows are seen by other connections";
    other.Disconnect();
    db.StartTransaction();
    OdbcTestEnv::Exec(db, "insert into t values(2)");
    EXPECT_EQ(countRows(db, "t"), 2);
    db.Rollback();
    EXPECT_FALSE(db.InTransaction());
    EXPECT_EQ(countRows(db, "t"), 1);
    // A transaction still open when the connection closes is rolled back.
    db.StartTransaction();
    OdbcTestEnv::Exec(db, "insert into t values(3)");
    db.Disconnect();
    EXPECT_EQ(countRows(db, "t"), 1);
}

TEST(DataBase, ListsDriversDataSourcesAndTables)
{
    OdbcTestEnv::Get().AddDsn("lists");
    TmDataBase db;
    TStringList list;
    db.GetDriverNames(list);
    EXPECT_TRUE(listed(list, OdbcTestEnv::kDriver));
    db.GetDataSourceNames(list);
    EXPECT_TRUE(listed(list, "lists"));
    EXPECT_EQ(db.GetDataSourceDriver("lists"), OdbcTestEnv::kDriver);
    EXPECT_EQ(db.GetDataSourceDriver("LISTS"), "");
    db.SetDataBaseName("lists");
    db.DriverCompletion = sdNoPrompt;
    OdbcTestEnv::Exec(db, "create table a(x integer); create view v as select x from a");
    db.GetTableNames(list);
    EXPECT_TRUE(listed(list, "a"));
    EXPECT_TRUE(listed(list, "v"));
    EXPECT_FALSE(listed(list, "sqlite_master"));
}

TEST(DataBase, InstallerAddsConfiguresAndRemovesDataSources)
{
    OdbcTestEnv& env = OdbcTestEnv::Get();
    TmDataBase db;
    TStringList list;
    // The longest name ODBC allows is listed whole.
    std::string longName(32, 'n');
    TStringList attributes;
    attributes.Add("Database=" + env.Folder() + "/cfg.db");
    db.ConfigDataSource(0, longName, &attributes, OdbcTestEnv::kDriver);
    db.GetDataSourceNames(list);
    EXPECT_TRUE(listed(list, longName));

    // Configuring looks the driver up by the name.
    TStringList changed;
    changed.Add("Database=" + env.Folder() + "/cfg2.db");
    db.ConfigDataSource(1, longName, &changed, "");
    db.SetDataBaseName(longName);
    db.DriverCompletion = sdNoPrompt;
    db.Connect();
    EXPECT_NE(db.ConnectionString().find("cfg2.db"), std::string::npos) << db.ConnectionString();
    db.Disconnect();

    db.ConfigDataSource(2, longName, nullptr, "");
    db.GetDataSourceNames(list);
    EXPECT_FALSE(listed(list, longName));

    // System data sources go to the system file.
    db.ConfigDataSource(3, "sysdsn", &attributes, OdbcTestEnv::kDriver);
    db.GetDataSourceNames(list);
    EXPECT_TRUE(listed(list, "sysdsn"));
    db.ConfigDataSource(5, "sysdsn", nullptr, "");
    db.GetDataSourceNames(list);
    EXPECT_FALSE(listed(list, "sysdsn"));

    // Modes outside 0..5 do nothing.
    db.ConfigDataSource(6, "other", &attributes, OdbcTestEnv::kDriver);
    db.GetDataSourceNames(list);
    EXPECT_FALSE(listed(list, "other"));
}

TEST(DataBase, InstallerFailureCarriesTheInstallersMessage)
{
    TmDataBase db;
    try {
        db.ConfigDataSource(1, "never_added", nullptr, "");
        FAIL() << "configured a data source that does not exist";
    } catch (const ESQLerror& e) {
        const std::string refused = "The ODBC installer did not configure the data source \"never_added\":\r\n";
        EXPECT_EQ(std::string(e.what()).rfind(refused, 0), 0u) << e.what();
        EXPECT_GT(std::string(e.what()).size(), refused.size());
    }
}
