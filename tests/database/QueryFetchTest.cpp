#include "database/SQLError.h"
#include "tests/database/QueryTestSupport.h"

#include <cmath>
#include <functional>

using vx::test::DatabaseTest;

namespace {

class QueryFetch : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        Exec("create table t(id integer primary key, name varchar(10), big bigint, f double, d date, "
             "ts timestamp, bl blob, bo bit, tm time, sm smallint, tx text);"
             "insert into t values(1, 'abc', 9007199254740993, 1.5, '2020-01-02', '2020-01-02 03:04:05', "
             "x'00ff0041', 1, '10:11:12', -3, 'long text');"
             "insert into t(id) values(2);"
             "insert into t(id, name) values(3, 'Charlie');"
             "insert into t(id, name) values(4, 'delta')");
    }
};

} // namespace

TEST_F(QueryFetch, MapsEveryColumnTypeAndReadsTheValues)
{
    auto q = Open("select * from t order by id");
    struct Expect {
        const char* name;
        TFieldType type;
    } fields[] = {
        {"id", ftInteger}, {"name", ftString}, {"big", ftLargeint}, {"f", ftFloat},
        {"d", ftDate},     {"ts", ftDateTime}, {"bl", ftMemo},      {"bo", ftBoolean},
        {"tm", ftTime},    {"sm", ftSmallint}, {"tx", ftMemo},
    };
    ASSERT_EQ(q->FieldCount(), 11);
    for (const Expect& e : fields)
        EXPECT_EQ(q->FieldByName(e.name).DataType(), e.type) << e.name;
    EXPECT_EQ(q->FieldByName("name").Size(), 10);
    EXPECT_EQ(q->FieldByName("id").AsInteger(), 1);
    EXPECT_EQ(q->FieldByName("name").AsString(), "abc");
    EXPECT_EQ(q->FieldByName("big").AsInteger(), 9007199254740993LL);
    EXPECT_DOUBLE_EQ(q->FieldByName("f").AsFloat(), 1.5);
    EXPECT_DOUBLE_EQ(q->FieldByName("d").AsDateTime(), EncodeDate(2020, 1, 2));
    EXPECT_NEAR(q->FieldByName("ts").AsDateTime(), EncodeDate(2020, 1, 2) + EncodeTime(3, 4, 5, 0), 1e-9);
    EXPECT_EQ(q->FieldByName("bl").AsString(), std::string("\0\xff\0A", 4));
    EXPECT_TRUE(q->FieldByName("bo").AsBoolean());
    EXPECT_NEAR(q->FieldByName("tm").AsDateTime(), EncodeTime(10, 11, 12, 0), 1e-9);
    EXPECT_EQ(q->FieldByName("sm").AsInteger(), -3);
    EXPECT_EQ(q->FieldByName("tx").AsString(), "long text");

    q->Next();
    EXPECT_EQ(q->FieldByName("id").AsInteger(), 2);
    for (const Expect& e : fields) {
        if (std::string(e.name) != "id") {
            EXPECT_TRUE(q->FieldByName(e.name).IsNull()) << e.name;
        }
    }
    EXPECT_EQ(q->FieldByName("tx").AsString(), "");
}

// The column's size counts characters: a text arrives with up to that many,
// whole, however many bytes they take.
TEST_F(QueryFetch, ATextLongerThanItsColumnArrivesCutToTheFieldSize)
{
    const struct {
        std::string stored;
        std::string arrives;
    } rows[] = {
        {"abcdefghijklmnop", "abcdefghij"},
        {"K\u00f6lnerstra\u00dfe", "K\u00f6lnerstra"},
        {"\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9", "\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9"},
        {"\u4f60\u597d\u4f60\u597d\u4f60\u597d\u4f60\u597d\u4f60\u597d\u4f60\u597d", "\u4f60\u597d\u4f60\u597d\u4f60\u597d\u4f60\u597d\u4f60\u597d"},
        {"\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600",
         "\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600"},
    };
    int id = 5;
    for (const auto& row : rows) {
        Exec("insert into t(id, name) values(" + std::to_string(id) + ", '" + row.stored + "')");
        auto q = Open("select id, name from t where id = " + std::to_string(id++));
        EXPECT_EQ(q->FieldByName("name").AsString(), row.arrives);
    }
}

TEST_F(QueryFetch, MovesForwardBackwardAndByBookmark)
{
    auto q = Open("select id from t order by id");
    EXPECT_TRUE(q->Bof());
    EXPECT_EQ(q->Fields(0).AsInteger(), 1);
    q->Next();
    q->Next();
    EXPECT_EQ(q->Fields(0).AsInteger(), 3);
    TBookmark third = q->GetBookmark();
    q->Next();
    q->Next();
    EXPECT_TRUE(q->Eof());
    EXPECT_EQ(q->Fields(0).AsInteger(), 4);
    q->Prior();
    EXPECT_EQ(q->Fields(0).AsInteger(), 3);
    q->First();
    q->Prior();
    EXPECT_TRUE(q->Bof());
    EXPECT_EQ(q->Fields(0).AsInteger(), 1);
    q->Next();
    EXPECT_EQ(q->Fields(0).AsInteger(), 2);
    q->Last();
    EXPECT_TRUE(q->Eof());
    EXPECT_EQ(q->Fields(0).AsInteger(), 4);
    q->GotoBookmark(third);
    EXPECT_EQ(q->Fields(0).AsInteger(), 3);
    EXPECT_EQ(q->RecordCount(), 4);
    EXPECT_EQ(q->Fields(0).AsInteger(), 3);
    EXPECT_EQ(q->MoveBy(-2), -2);
    EXPECT_EQ(q->Fields(0).AsInteger(), 1);
}

TEST_F(QueryFetch, AnEmptyResultIsBothBofAndEof)
{
    auto q = Open("select id from t where id > 100");
    EXPECT_TRUE(q->IsEmpty());
    EXPECT_TRUE(q->Bof());
    EXPECT_TRUE(q->Eof());
    EXPECT_EQ(q->RecordCount(), 0);
    EXPECT_TRUE(q->Fields(0).IsNull());
}

TEST_F(QueryFetch, DuplicateColumnNamesGetACounter)
{
    auto q = Open("select id, id, id, name from t");
    ASSERT_EQ(q->FieldCount(), 4);
    EXPECT_EQ(q->Fields(0).FieldName(), "id");
    EXPECT_EQ(q->Fields(1).FieldName(), "id_1");
    EXPECT_EQ(q->Fields(2).FieldName(), "id_2");
}

TEST_F(QueryFetch, LocatesByTextNumberAndSeveralFields)
{
    auto q = Open("select id, name from t order by id");
    struct Case {
        const char* fields;
        std::vector<TVariant> values;
        TLocateOptions options;
        bool found;
        int id;
    } cases[] = {
        {"name", {std::string("Charlie")}, 0, true, 3},
        {"name", {std::string("charlie")}, 0, true, 3},
        {"name", {std::string("charlie")}, loCaseInsensitive, false, 4},
        {"name", {std::string("ELT")}, loPartialKey, true, 4},
        {"name", {std::string("elt")}, loPartialKey | loCaseInsensitive, true, 4},
        {"id", {std::int64_t{2}}, 0, true, 2},
        {"id", {std::string("2")}, 0, true, 2},
        {"id;name", {std::int64_t{4}, std::string("delta")}, 0, true, 4},
        {"id;name", {std::int64_t{3}, std::string("delta")}, 0, false, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fields);
        EXPECT_EQ(q->Locate(c.fields, c.values, c.options), c.found);
        EXPECT_EQ(q->FieldByName("id").AsInteger(), c.id);
    }
}

TEST_F(QueryFetch, ParametersAreBoundFromTheirValues)
{
    TmQuery q;
    q.SetDataBase(&db);
    q.SetSQLText("select id from t where name = :name or id = :id or d = :d or sm = :sm");
    ASSERT_EQ(q.Params().Count(), 4);
    q.ParamByName("name").SetAsString("delta");
    q.ParamByName("id").SetAsInteger(2);
    q.ParamByName("d").SetAsDate(EncodeDate(2020, 1, 2));
    q.ParamByName("sm").Clear();
    q.Open();
    EXPECT_EQ(q.RecordCount(), 3);
    q.Close();
    q.ParamByName("d").Clear();
    q.ParamByName("name").SetAsString("nobody");
    q.Open();
    EXPECT_EQ(q.RecordCount(), 1);
}

TEST_F(QueryFetch, ParameterTypesItCannotBindAreRefusedUnlessNull)
{
    TmQuery q;
    q.SetDataBase(&db);
    q.SetSQLText("select id from t where tm = :p or id = 4");
    struct Case {
        const char* type;
        std::function<void(TmParam&)> set;
    } cases[] = {
        {"time", [](TmParam& p) { p.SetAsTime(EncodeTime(10, 11, 12, 0)); }},
        {"large integer", [](TmParam& p) { p.SetAsLargeInt(9007199254740993LL); }},
        {"blob", [](TmParam& p) { p.SetAsBlob(std::string("\0\1", 2)); }},
        {"picture", [](TmParam& p) { p.AssignGraphic("BM"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        TmParam& param = q.ParamByName("p");
        c.set(param);
        try {
            q.Open();
            ADD_FAILURE() << "bound a parameter of a refused type";
        } catch (const EDatabaseError& e) {
            EXPECT_STREQ(e.what(), "Field 'p' is of an unsupported type");
        }
        EXPECT_FALSE(q.Active());
        EXPECT_TRUE(q.Handle() == SQL_NULL_HSTMT);
        param.Clear();
        q.Open();
        EXPECT_EQ(q.RecordCount(), 1) << "a null value of the type is bound as NULL";
        q.Close();
    }
}

TEST_F(QueryFetch, BinaryColumnsAreMemosReadWholeWithTheirBytesExact)
{
    Exec("create table b(id integer primary key, bl blob, vb varbinary(300), lvb longvarbinary)");
    std::string every;
    for (int i = 0; i < 256; ++i)
        every += static_cast<char>(i);
    const std::string values[] = {std::string(), std::string("\0", 1), every, std::string(5000, '\0') + every};
    {
        TmQuery insert;
        insert.SetDataBase(&db);
        insert.SetSQLText("insert into b values(:id, :bl, :vb, :lvb)");
        for (int i = 0; i < 4; ++i) {
            insert.ParamByName("id").SetAsInteger(i);
            for (const char* name : {"bl", "vb", "lvb"}) {
                insert.ParamByName(name).SetAsMemo(values[i]);
                insert.ParamByName(name).Binary = true;
            }
            insert.ExecSQL();
        }
    }
    EXPECT_EQ(Scalar("select count(*) from b where typeof(bl) = 'blob' and typeof(lvb) = 'blob'"), "4");
    auto q = Open("select bl, vb, lvb from b order by id");
    for (const char* name : {"bl", "vb", "lvb"}) {
        EXPECT_EQ(q->FieldByName(name).DataType(), ftMemo) << name;
        EXPECT_EQ(q->FieldByName(name).Size(), 0) << name;
        EXPECT_TRUE(q->FieldByName(name).Binary()) << name;
    }
    for (const std::string& value : values) {
        for (const char* name : {"bl", "vb", "lvb"})
            EXPECT_EQ(q->FieldByName(name).AsString(), value) << name << " of " << value.size() << " bytes";
        q->Next();
    }
}

TEST_F(QueryFetch, MasterMovesTheDetail)
{
    Exec("create table d(mid integer, what varchar(20));"
         "insert into d values(1, 'one a'); insert into d values(1, 'one b'); insert into d values(3, 'three')");
    auto master = Open("select id from t order by id");
    TDataSource source;
    source.SetDataSet(master.get());
    TmQuery detail;
    detail.SetDataBase(&db);
    detail.SetSQLText("select what from d where mid = :id order by what");
    detail.SetDataSource(&source);
    detail.Open();
    EXPECT_EQ(detail.RecordCount(), 2);
    EXPECT_EQ(detail.Fields(0).AsString(), "one a");
    master->Next();
    EXPECT_TRUE(detail.IsEmpty());
    master->Next();
    EXPECT_EQ(detail.RecordCount(), 1);
    EXPECT_EQ(detail.Fields(0).AsString(), "three");
    TDataSource own;
    own.SetDataSet(&detail);
    EXPECT_THROW(detail.SetDataSource(&own), EDatabaseError);
}

TEST_F(QueryFetch, FailuresLeaveNoStatement)
{
    TmQuery noDatabase;
    noDatabase.SetSQLText("select 1");
    try {
        noDatabase.Open();
        FAIL();
    } catch (const ESQLerror& e) {
        EXPECT_STREQ(e.what(), "ODBC datasource not defined");
    }
    TmQuery bad;
    bad.SetDataBase(&db);
    bad.SetSQLText("select nothing from nowhere");
    EXPECT_THROW(bad.Open(), ESQLerror);
    EXPECT_FALSE(bad.Active());
    EXPECT_TRUE(bad.Handle() == SQL_NULL_HSTMT);
}

TEST_F(QueryFetch, AReadOnlyQueryCannotBeEdited)
{
    auto q = Open("select id from t");
    EXPECT_FALSE(q->CanModify());
    EXPECT_THROW(q->Edit(), EDatabaseError);
}

TEST_F(QueryFetch, DisconnectingFreesTheStatementsOfItsQueries)
{
    auto q = Open("select id from t");
    db.Disconnect();
    EXPECT_FALSE(q->Active());
    EXPECT_TRUE(q->Handle() == SQL_NULL_HSTMT);
}

TEST(ParseSQLParams, ReplacesMarkersAndKeepsQuotedTextAndDoubleColons)
{
    struct Case {
        const char* text;
        const char* driverText;
        std::vector<std::string> names;
    } cases[] = {
        {"select * from t where a = :a and b = ':b'", "select * from t where a = ? and b = ':b'", {"a"}},
        {"select '::' || x from t where t = 'a::b'", "select '::' || x from t where t = 'a::b'", {}},
        {"select a::b from t", "select a:b from t", {}},
        {"f(:x,:y);", "f(?,?);", {"x", "y"}},
        {"where a=:\"odd name\" and b=:'q'", "where a=? and b=?", {"odd name", "q"}},
        {"x = :last", "x = ?", {"last"}},
        {"a=:p\r\nb=:q\n", "a=?\r\nb=?\n", {"p", "q"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> names;
        EXPECT_EQ(ParseSQLParams(c.text, &names), c.driverText);
        EXPECT_EQ(names, c.names) << c.text;
    }
}

// The SQLite driver does not tell row numbers: the dataset counts the rows
// itself, and a bookmark brings the row number back with the row.
TEST_F(QueryFetch, CountsRowNumbersTheDriverDoesNotTell)
{
    auto q = Open("select id from t order by id");
    EXPECT_EQ(q->RecNo(), 1);
    q->Next();
    q->Next();
    EXPECT_EQ(q->RecNo(), 3);
    TBookmark third = q->GetBookmark();
    EXPECT_EQ(q->RecordCount(), 4);
    q->Last();
    EXPECT_EQ(q->Fields(0).AsInteger(), 4);
    EXPECT_EQ(q->RecNo(), 4);
    q->GotoBookmark(third);
    EXPECT_EQ(q->Fields(0).AsInteger(), 3);
    EXPECT_EQ(q->RecNo(), 3);
    q->Prior();
    EXPECT_EQ(q->RecNo(), 2);
    EXPECT_EQ(q->Fields(0).AsInteger(), 2);
}
