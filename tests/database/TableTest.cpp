#include "database/SqlNames.h"
#include "database/mTable.h"
#include "tests/database/QueryTestSupport.h"

using vx::test::DatabaseTest;

namespace {

class TableTest : public DatabaseTest {
protected:
    std::unique_ptr<TmTable> Table(const std::string& name, bool live)
    {
        auto table = std::make_unique<TmTable>();
        table->SetDataBase(&db);
        table->SetTableName(name);
        table->RequestLive = live;
        return table;
    }
};

} // namespace

TEST(SqlNames, QuotesOnlyNamesThatNeedIt)
{
    struct Case {
        const char* name;
        const char* quoted;
    } cases[] = {
        {"NAME", "NAME"},           {"first_name", "first_name"}, {"first name", "\"first name\""},
        {"select", "\"select\""},   {"Order", "\"Order\""},       {"1st", "\"1st\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QuoteIdentifier(c.name, "\""), c.quoted);
    EXPECT_EQ(QuoteIdentifier("first name", ""), "first name");
}

TEST(SqlNames, MarkersNameListsAndLiterals)
{
    EXPECT_EQ(ParamMarker("id"), ":id");
    EXPECT_EQ(ParamMarker("first name"), ":\"first name\"");
    EXPECT_EQ(ParamMarker("say \"hi\""), ":'say \"hi\"'");
    std::vector<std::string> names;
    ParseSQLParams("x = " + ParamMarker("first name") + " and y = " + ParamMarker("old_id"), &names);
    EXPECT_EQ(names, (std::vector<std::string>{"first name", "old_id"}));
    EXPECT_EQ(SplitNameList(" A; B,,C  D;"), (std::vector<std::string>{"A", "B", "C", "D"}));
    EXPECT_EQ(NthName("A;B", 2), "B");
    EXPECT_EQ(NthName("A;B", 3), "");
    EXPECT_EQ(SqlStringLiteral("O'Brien"), "'O''Brien'");
}

TEST_F(TableTest, BuildsTheStatementsOfAReadOnlyAndALiveTable)
{
    Exec("create table T(ID integer primary key, NAME varchar(20))");
    auto table = Table("T", false);
    table->BuildStatements();
    EXPECT_EQ(table->SQL().Text(), "SELECT\r\n    _ROWID_ AS _ROWID_\r\n   ,*\r\n  FROM T\r\n");
    EXPECT_TRUE(table->ModifySQL().Empty());
    EXPECT_TRUE(table->InsertSQL().Empty());
    EXPECT_TRUE(table->DeleteSQL().Empty());

    table->RequestLive = true;
    table->IndexFieldNames = "NAME; ID";
    table->BuildStatements();
    EXPECT_EQ(table->SQL().Text(), "SELECT\r\n    _ROWID_ AS _ROWID_\r\n   ,*\r\n  FROM T\r\n  ORDER BY NAME,ID\r\n");
    EXPECT_EQ(table->InsertSQL().Text(),
              "INSERT INTO T\r\n    (ID\r\n    ,NAME\r\n    ) VALUES\r\n    (:ID\r\n    ,:NAME\r\n    )\r\n");
    EXPECT_EQ(table->ModifySQL().Text(),
              "UPDATE T SET\r\n    ID=:ID\r\n    ,NAME=:NAME\r\n  WHERE\r\n    _ROWID_=:old__ROWID_\r\n");
    EXPECT_EQ(table->DeleteSQL().Text(), "DELETE FROM T WHERE\r\n    _ROWID_=:old__ROWID_\r\n");
}

TEST_F(TableTest, ReportsWhatItCannotBuild)
{
    Exec("create table T(ID integer primary key)");
    TmTable unattached;
    unattached.SetTableName("T");
    try {
        unattached.BuildStatements();
        FAIL();
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "DataBase property not assigned");
    }
    auto master = Open("select ID from T");
    TDataSource source;
    source.SetDataSet(master.get());
    auto detail = Table("T", false);
    detail->SetDataSource(&source);
    detail->MasterFieldNames = "A B";
    detail->IndexFieldNames = "ID";
    try {
        detail->BuildStatements();
        FAIL();
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "index field not defined");
    }
}

TEST_F(TableTest, EditsATableWhoseNamesHoldBlanksAndReservedWords)
{
    Exec("create table \"order details\"(\"key\" integer primary key, \"first name\" varchar(20), \"select\" integer);"
         "insert into \"order details\" values(1, 'Ann', 10);"
         "insert into \"order details\" values(2, 'Bob', 20)");
    auto table = Table("order details", true);
    table->IndexFieldNames = "key";
    table->Open();
    EXPECT_EQ(table->FieldByName("first name").AsString(), "Ann");
    table->Edit();
    table->FieldByName("first name").SetAsString("O'Brien");
    table->FieldByName("select").SetAsInteger(11);
    table->Post();
    table->Append();
    table->FieldByName("key").SetAsInteger(3);
    table->FieldByName("first name").SetAsString("Cy");
    table->Post();
    // The static cursor shows the added row only after the table is opened again.
    table->Last();
    EXPECT_EQ(table->FieldByName("key").AsInteger(), 2);
    table->Delete();
    table->Close();
    EXPECT_EQ(Scalar("select group_concat(\"key\" || ':' || \"first name\" || ':' || ifnull(\"select\", '-'), ' ') "
                     "from \"order details\""),
              "1:O'Brien:11 3:Cy:-");
}

TEST_F(TableTest, FollowsItsMaster)
{
    Exec("create table M(ID integer primary key); insert into M values(1); insert into M values(2);"
         "create table D(MID integer, WHAT varchar(10)); insert into D values(1, 'a'); insert into D values(2, 'b');"
         "insert into D values(2, 'c')");
    auto master = Open("select ID from M order by ID");
    TDataSource source;
    source.SetDataSet(master.get());
    auto detail = Table("D", false);
    detail->SetDataSource(&source);
    detail->MasterFieldNames = "ID";
    detail->IndexFieldNames = "MID;WHAT";
    detail->Open();
    EXPECT_EQ(detail->RecordCount(), 1);
    master->Next();
    EXPECT_EQ(detail->RecordCount(), 2);
    EXPECT_EQ(detail->FieldByName("WHAT").AsString(), "b");
}
