#include "database/SQLError.h"
#include "database/mQuery.h"
#include "database/mSession.h"
#include "tests/database/OdbcTestEnv.h"

#include <gtest/gtest.h>

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
        EXPECT_EQ(std::string(e.what()).rfind("SQLConfigDataSource:\r", 0), 0u) << e.what();
        EXPECT_GT(std::string(e.what()).size(), std::string("SQLConfigDataSource:\r").size());
    }
}
