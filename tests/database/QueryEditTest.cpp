#include "database/SQLError.h"
#include "tests/database/QueryTestSupport.h"

#include <functional>

using vx::test::DatabaseTest;

namespace {

class QueryEdit : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        Exec("create table t(id bigint primary key, name varchar(10), bl blob, tm time, tx text);"
             "insert into t values(1, 'one', x'01', '01:02:03', 'text one');"
             "insert into t values(2, 'two', null, null, null);"
             "insert into t values(3, 'three', null, null, null)");
    }

    // A live query on db, not yet open, for change statements to be given.
    std::unique_ptr<TmQuery> Live(const std::string& sql)
    {
        auto query = std::make_unique<TmQuery>();
        query->SetDataBase(&db);
        query->RequestLive = true;
        query->SetSQLText(sql);
        return query;
    }

    static TStringList Lines(const std::string& text)
    {
        TStringList lines;
        lines.SetText(text);
        return lines;
    }

    // Every row as "id:name", in id order.
    std::string Rows()
    {
        auto q = Open("select id, name from t order by id");
        std::string out;
        for (; !q->Eof(); q->Next())
            out += q->Fields(0).AsString() + ":" + q->Fields(1).AsString() + " ";
        return out;
    }
};

const std::string kBlob("\0a\0\xff\0", 5);

} // namespace

TEST_F(QueryEdit, PositionedOperationsEditInsertAndDelete)
{
    auto q = Open("select id, name, bl, tx from t order by id", true);
    ASSERT_TRUE(q->CanModify());
    q->Next();
    q->Edit();
    q->FieldByName("name").SetAsString("TWO");
    q->FieldByName("bl").SetValue(kBlob);
    q->Post();
    EXPECT_EQ(q->FieldByName("name").AsString(), "TWO");
    // A cursor that does not show its own updates shows them from the cache, the latest each time.
    q->Edit();
    q->FieldByName("name").SetAsString("Two");
    q->Post();
    q->First();
    q->Next();
    EXPECT_EQ(q->FieldByName("name").AsString(), "Two");
    EXPECT_EQ(q->FieldByName("bl").AsString(), kBlob);

    q->Append();
    q->FieldByName("id").SetAsInteger(4);
    q->FieldByName("name").SetAsString("four");
    q->Post();

    q->First();
    EXPECT_EQ(q->FieldByName("id").AsInteger(), 1);
    q->Edit();
    q->FieldByName("tx").Clear();
    q->Post();
    q->Delete();
    EXPECT_EQ(q->FieldByName("id").AsInteger(), 2);
    q->First();
    EXPECT_EQ(q->FieldByName("id").AsInteger(), 2) << "a deleted row stays hidden while the query is open";
    q->Close();

    EXPECT_EQ(Rows(), "2:Two 3:three 4:four ");
    EXPECT_EQ(Scalar("select bl from t where id = 2"), kBlob);
    EXPECT_EQ(Scalar("select tx from t where id = 4"), "NULL") << "a null long value is written as NULL";
    EXPECT_EQ(Scalar("select tx from t where id = 2"), "NULL");
}

// A text longer than its column is written cut to the column's size, which
// counts characters, in whole characters.
TEST_F(QueryEdit, ATextLongerThanItsColumnIsWrittenCutToItsCharacters)
{
    const struct {
        std::string written;
        std::string stored;
    } rows[] = {
        {"abcdefghijklmnop", "abcdefghij"},
        {"K\u00f6lnerstra\u00dfe", "K\u00f6lnerstra"},
        {"\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9", "\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9"},
        {"\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600",
         "\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600"},
    };
    for (const auto& row : rows) {
        auto q = Open("select id, name from t where id = 2", true);
        ASSERT_TRUE(q->CanModify());
        q->Edit();
        q->FieldByName("name").SetAsString(row.written);
        q->Post();
        q->Close();
        auto stored = Open("select hex(name) from t where id = 2");
        auto expected = Open("select hex('" + row.stored + "')");
        EXPECT_EQ(stored->Fields(0).AsString(), expected->Fields(0).AsString()) << row.written;
    }
}

TEST_F(QueryEdit, ChangeStatementsTakeOldAndNewValues)
{
    Exec("update t set id = 9007199254740993 where id = 3");
    auto q = Live("select id, name, bl, tx from t order by id");
    q->SetModifySQL(Lines("update t set id = :id, name = :name, bl = :bl, tx = :tx where id = :OLD_id"));
    q->SetInsertSQL(Lines("insert into t(id, name, bl) values(:id, :name, :bl)"));
    q->SetDeleteSQL(Lines("delete from t where id = :old_id"));
    q->Open();
    q->Last();
    ASSERT_EQ(q->FieldByName("id").AsInteger(), 9007199254740993LL);
    q->Edit();
    q->FieldByName("id").SetAsInteger(9007199254740995LL);
    q->FieldByName("name").SetAsString("a name that is too long");
    q->Post();
    EXPECT_EQ(q->FieldByName("name").AsString(), "a name tha");

    q->Append();
    q->FieldByName("id").SetAsInteger(5);
    q->FieldByName("name").SetAsString("O'Brien");
    q->FieldByName("bl").SetValue(kBlob);
    q->Post();

    q->First();
    q->Delete();
    // What the change statements did is committed: another connection sees it while the query is open.
    TmDataBase other;
    other.SetParams(db.Params());
    other.DriverCompletion = sdNoPrompt;
    TmQuery seen;
    seen.SetDataBase(&other);
    seen.SetSQLText("select count(*) from t");
    seen.Open();
    EXPECT_EQ(seen.Fields(0).AsInteger(), 3);
    seen.Close();
    other.Disconnect();
    q->Close();
    EXPECT_EQ(Rows(), "2:two 5:O'Brien 9007199254740995:a name tha ");
    EXPECT_EQ(Scalar("select bl from t where id = 5"), kBlob);
    EXPECT_EQ(Scalar("select tx from t where id = 9007199254740995"), "NULL");
}

TEST_F(QueryEdit, AnUpdateThatWouldTouchTwoRowsIsRolledBackAndReported)
{
    Exec("update t set name = 'same' where id in (2, 3)");
    auto q = Live("select id, name from t order by id");
    q->SetModifySQL(Lines("update t set name = :name where name = :old_name"));
    q->Open();
    q->Next();
    q->Edit();
    q->FieldByName("name").SetAsString("changed");
    try {
        q->Post();
        FAIL() << "an update of two rows was posted";
    } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "More then one rows affected");
    }
    EXPECT_EQ(q->State(), dsEdit);
    q->Cancel();
    EXPECT_EQ(q->FieldByName("name").AsString(), "same");
    q->Close();
    EXPECT_EQ(Rows(), "1:one 2:same 3:same ");
    EXPECT_FALSE(db.InTransaction());
}

TEST_F(QueryEdit, AnUpdateThatFindsNoRowIsReported)
{
    auto q = Live("select id, name from t order by id");
    q->SetModifySQL(Lines("update t set name = :name where id = :old_id + 100"));
    q->Open();
    q->Edit();
    q->FieldByName("name").SetAsString("x");
    try {
        q->Post();
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "No rows affected");
    }
}

TEST_F(QueryEdit, RefusesWritesItCannotMake)
{
    auto q = Open("select id, tm from t order by id", true);
    EXPECT_THROW(q->FieldByName("id").SetAsInteger(5), EDatabaseError);
    q->Edit();
    try {
        q->FieldByName("tm").SetAsDateTime(EncodeTime(1, 2, 3, 0));
        FAIL();
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Sorry :(  but this type not supported for update. Look SetFieldData function");
    }
    q->FieldByName("id").ReadOnly = true;
    EXPECT_THROW(q->FieldByName("id").SetAsInteger(7), EDatabaseError);
    q->Cancel();
    try {
        q->SetModifySQL(Lines("update t set id = :id where id = :old_id"));
        FAIL();
    } catch (const ESQLerror& e) {
        EXPECT_STREQ(e.what(), "You can't change Post metod while query is active");
    }
}

TEST_F(QueryEdit, BlobStreamsReadAndWriteTheLongValue)
{
    auto q = Live("select id, bl from t order by id");
    q->SetModifySQL(Lines("update t set bl = :bl where id = :old_id"));
    q->Open();
    {
        TmBlobStream in(q->FieldByName("bl"), TmBlobStream::bmRead);
        char byte = 0;
        EXPECT_EQ(in.Size(), 1u);
        EXPECT_EQ(in.Read(&byte, 10), 1u);
        EXPECT_EQ(byte, '\x01');
        EXPECT_EQ(in.Read(&byte, 1), 0u);
    }
    q->Edit();
    {
        TmBlobStream out(q->FieldByName("bl"), TmBlobStream::bmWrite);
        EXPECT_EQ(out.Size(), 0u);
        out.Write(kBlob.data(), 3);
        out.Seek(0, TmBlobStream::soEnd);
        out.Write(kBlob.data() + 3, 2);
    }
    q->Post();
    q->Close();
    EXPECT_EQ(Scalar("select bl from t where id = 1"), kBlob);
}

TEST_F(QueryEdit, APositionedChangeTheDriverRefusesCarriesTheDriversText)
{
    // A table without a key: the driver cannot find the row again.
    Exec("create table nokey(id integer, name varchar(10)); insert into nokey values(1, 'one')");
    auto q = Open("select id, name from nokey", true);
    q->Edit();
    q->FieldByName("name").SetAsString("uno");
    try {
        q->Post();
        FAIL() << "the driver took the update";
    } catch (const ESQLerror& e) {
        EXPECT_EQ(e.SQLState(), "HY000");
        EXPECT_NE(std::string(e.what()).find("[SQLite]"), std::string::npos) << e.what();
        EXPECT_FALSE(e.WithoutDetail());
    }
    EXPECT_EQ(q->State(), dsEdit);
    q->Cancel();
    EXPECT_EQ(Scalar("select name from nokey"), "one");
}

TEST_F(QueryEdit, AChangeTheDriverRefusesWithoutAWordNamesTheChangeAndTheTable)
{
    vx::test::OdbcTestEnv::Get().AddDsn("silent", vx::test::OdbcTestEnv::kQuirkDriver);
    TmDataBase silent;
    TStringList params;
    params.Add("DSN=silent");
    params.Add("Quirk=silent");
    silent.SetParams(params);
    silent.DriverCompletion = sdNoPrompt;
    vx::test::OdbcTestEnv::Exec(silent, "create table kept(id integer primary key, name varchar(10));"
                                        "insert into kept values(1, 'one')");
    TmQuery q;
    q.SetDataBase(&silent);
    q.RequestLive = true;
    q.SetSQLText("select id, name from kept");
    q.Open();
    struct Case {
        const char* expected;
        std::function<void()> change;
    } cases[] = {
        {"Update of table 'kept' failed: the driver gave no detail (SQL_ERROR)",
         [&] {
             q.Edit();
             q.FieldByName("name").SetAsString("uno");
             q.Post();
         }},
        {"Insert of table 'kept' failed: the driver gave no detail (SQL_ERROR)",
         [&] {
             q.Append();
             q.FieldByName("id").SetAsInteger(2);
             q.Post();
         }},
        {"Delete of table 'kept' failed: the driver gave no detail (SQL_ERROR)", [&] { q.Delete(); }},
    };
    for (const Case& c : cases) {
        try {
            c.change();
            ADD_FAILURE() << "the change went through: " << c.expected;
        } catch (const ESQLerror& e) {
            EXPECT_STREQ(e.what(), c.expected);
            EXPECT_TRUE(e.WithoutDetail());
        }
        q.Cancel();
    }
    q.Close();
    q.Open();
    EXPECT_EQ(q.RecordCount(), 1);
    EXPECT_EQ(q.FieldByName("name").AsString(), "one");
}

TEST_F(QueryEdit, ChangeStatementsWriteBinaryValuesAsBytes)
{
    auto q = Live("select id, bl from t order by id");
    q->SetModifySQL(Lines("update t set bl = :bl where id = :old_id"));
    q->Open();
    q->Edit();
    q->FieldByName("bl").SetValue(kBlob);
    q->Post();
    q->Close();
    EXPECT_EQ(Scalar("select bl from t where id = 1"), kBlob);
    EXPECT_EQ(Scalar("select typeof(bl) from t where id = 1"), "blob");
}
