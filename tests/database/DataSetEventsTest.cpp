#include "database/SQLError.h"
#include "tests/database/QueryTestSupport.h"

#include <functional>

using vx::test::DatabaseTest;

namespace {

class DataSetEvents : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        Exec("create table t(id integer primary key, name varchar(10), price double, qty integer);"
             "insert into t values(1, 'one', 1.5, 2);"
             "insert into t values(2, 'two', 2.5, 4);"
             "insert into t values(3, 'three', 10, 1);"
             "create table locks(flag integer); insert into locks values(0)");
        // Rows are locked against changes while the flag is set.
        for (const char* change : {"update", "delete"}) {
            TmQuery trigger;
            trigger.SetDataBase(&db);
            trigger.ParamCheck = false;
            trigger.SetSQLText(std::string("create trigger no_") + change + " before " + change +
                               " on t when (select flag from locks) = 1 begin select raise(abort, 'row is locked'); end");
            trigger.ExecSQL();
        }
    }

    std::unique_ptr<TmQuery> Live()
    {
        auto q = std::make_unique<TmQuery>();
        q->SetDataBase(&db);
        q->RequestLive = true;
        q->SetSQLText("select id, name, price, qty from t order by id");
        return q;
    }

    // Every notify event of the dataset writes its name into log.
    static void Record(TDataSet& dataSet, std::string& log)
    {
        struct Event {
            TDataSet::TDataSetNotifyEvent TDataSet::*member;
            const char* name;
        } events[] = {
            {&TDataSet::BeforeOpen, "BeforeOpen"},     {&TDataSet::AfterOpen, "AfterOpen"},
            {&TDataSet::BeforeClose, "BeforeClose"},   {&TDataSet::AfterClose, "AfterClose"},
            {&TDataSet::BeforeInsert, "BeforeInsert"}, {&TDataSet::AfterInsert, "AfterInsert"},
            {&TDataSet::BeforeEdit, "BeforeEdit"},     {&TDataSet::AfterEdit, "AfterEdit"},
            {&TDataSet::BeforePost, "BeforePost"},     {&TDataSet::AfterPost, "AfterPost"},
            {&TDataSet::BeforeCancel, "BeforeCancel"}, {&TDataSet::AfterCancel, "AfterCancel"},
            {&TDataSet::BeforeDelete, "BeforeDelete"}, {&TDataSet::AfterDelete, "AfterDelete"},
            {&TDataSet::BeforeScroll, "BeforeScroll"}, {&TDataSet::AfterScroll, "AfterScroll"},
            {&TDataSet::OnNewRecord, "OnNewRecord"},
        };
        for (const Event& e : events) {
            std::string name = e.name;
            dataSet.*e.member = [&log, name](TDataSet*) { log += name + " "; };
        }
    }
};

} // namespace

TEST_F(DataSetEvents, ComeInTheFrameworksOrderForEveryOperation)
{
    auto q = Live();
    std::string log;
    Record(*q, log);
    struct Step {
        const char* what;
        std::function<void()> run;
        const char* events;
    } steps[] = {
        {"open", [&] { q->Open(); }, "BeforeOpen AfterOpen AfterScroll "},
        {"next", [&] { q->Next(); }, "BeforeScroll AfterScroll "},
        {"edit", [&] { q->Edit(); }, "BeforeEdit AfterEdit "},
        {"post", [&] { q->FieldByName("name").SetAsString("TWO"); q->Post(); }, "BeforePost AfterPost "},
        {"edit and cancel", [&] { q->Edit(); q->Cancel(); }, "BeforeEdit AfterEdit BeforeCancel AfterCancel "},
        {"insert",
         [&] { q->Insert(); },
         "BeforeInsert BeforeScroll OnNewRecord AfterInsert AfterScroll "},
        {"post the insert",
         [&] { q->FieldByName("id").SetAsInteger(4); q->Post(); },
         "BeforePost AfterPost "},
        {"last", [&] { q->Last(); }, "BeforeScroll AfterScroll "},
        {"next at the end", [&] { q->Next(); }, "BeforeScroll "},
        {"delete", [&] { q->Delete(); }, "BeforeDelete BeforeScroll AfterDelete AfterScroll "},
        {"first", [&] { q->First(); }, "BeforeScroll AfterScroll "},
        {"move by two", [&] { q->MoveBy(2); }, "BeforeScroll AfterScroll "},
        {"counting the rows", [&] { q->RecordCount(); }, ""},
        {"locate", [&] { q->Locate("name", {std::string("TWO")}, 0); }, "BeforeScroll AfterScroll "},
        {"locate nothing", [&] { q->Locate("name", {std::string("none")}, 0); }, "BeforeScroll "},
        {"close", [&] { q->Close(); }, "BeforeClose AfterClose "},
    };
    for (const Step& step : steps) {
        log.clear();
        step.run();
        EXPECT_EQ(log, step.events) << step.what;
    }
    // The static cursor does not show the added row: Last went to the third, which was deleted.
    EXPECT_EQ(Scalar("select group_concat(id || ':' || ifnull(name, '-')) from (select * from t order by id)"),
              "1:one,2:TWO,4:-");
}

TEST_F(DataSetEvents, AFailedPostGoesToOnPostErrorWhichMayRetryAbortOrFail)
{
    auto q = Live();
    std::vector<std::string> errors;
    TDataAction answer = daFail;
    q->OnPostError = [&](TDataSet*, const Exception& e, TDataAction& action) {
        errors.push_back(e.what());
        EXPECT_EQ(action, daFail);
        action = answer;
        if (answer == daRetry) {
            // Unlock and try again.
            Exec("update locks set flag = 0");
            answer = daFail;
        }
    };
    std::string afterPost;
    q->AfterPost = [&](TDataSet*) { afterPost = "posted"; };
    q->Open();
    Exec("update locks set flag = 1");
    q->Edit();
    q->FieldByName("name").SetAsString("ONE");

    answer = daFail;
    EXPECT_THROW(q->Post(), ESQLerror);
    answer = daAbort;
    EXPECT_THROW(q->Post(), EAbort);
    EXPECT_EQ(q->State(), dsEdit) << "a failed post keeps the record for the user";
    EXPECT_EQ(afterPost, "");
    ASSERT_EQ(errors.size(), 2u);
    for (const std::string& error : errors)
        EXPECT_NE(error.find("row is locked"), std::string::npos) << error;

    answer = daRetry;
    q->Post();
    EXPECT_EQ(errors.size(), 3u);
    EXPECT_EQ(q->State(), dsBrowse);
    EXPECT_EQ(afterPost, "posted");
    q->Close();
    EXPECT_EQ(Scalar("select name from t where id = 1"), "ONE");
}

TEST_F(DataSetEvents, AFailedDeleteGoesToOnDeleteError)
{
    auto q = Live();
    int calls = 0;
    q->OnDeleteError = [&](TDataSet* dataSet, const Exception& e, TDataAction& action) {
        EXPECT_EQ(dataSet, q.get());
        EXPECT_NE(std::string(e.what()).find("row is locked"), std::string::npos) << e.what();
        if (++calls == 2) {
            Exec("update locks set flag = 0");
            action = daRetry;
        }
    };
    q->Open();
    Exec("update locks set flag = 1");
    EXPECT_THROW(q->Delete(), ESQLerror);
    EXPECT_EQ(q->FieldByName("id").AsInteger(), 1);
    q->Delete();
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(q->FieldByName("id").AsInteger(), 2);
    q->Close();
    EXPECT_EQ(Scalar("select count(*) from t"), "2");
}

TEST_F(DataSetEvents, CalculatedFieldsAreComputedForEveryRecordAndEveryChange)
{
    auto q = Live();
    q->AddField("id", ftInteger);
    q->AddField("price", ftFloat);
    q->AddField("qty", ftInteger);
    TField& total = q->AddField("total", ftFloat, fkCalculated);
    TField& label = q->AddField("label", ftString, fkCalculated, 20);
    int calculations = 0;
    q->OnCalcFields = [&](TDataSet* dataSet) {
        ++calculations;
        EXPECT_EQ(dataSet->State(), dsCalcFields);
        dataSet->FieldByName("total").SetAsFloat(dataSet->FieldByName("price").AsFloat() *
                                                 dataSet->FieldByName("qty").AsFloat());
        if (dataSet->FieldByName("qty").AsInteger() > 1)
            dataSet->FieldByName("label").SetAsString("x" + dataSet->FieldByName("qty").AsString());
    };
    q->Open();
    ASSERT_EQ(q->FieldCount(), 5) << "defined fields replace the default ones";
    EXPECT_EQ(q->FindField("name"), nullptr);
    EXPECT_EQ(total.FieldKind(), fkCalculated);
    EXPECT_LT(total.FieldNo(), 1);
    struct Row {
        double total;
        const char* label;
    } rows[] = {{3, "x2"}, {10, "x4"}, {10, nullptr}};
    for (const Row& row : rows) {
        EXPECT_DOUBLE_EQ(total.AsFloat(), row.total);
        if (row.label)
            EXPECT_EQ(label.AsString(), row.label);
        else
            EXPECT_TRUE(label.IsNull()) << "calculated values start empty for every record";
        q->Next();
    }
    EXPECT_THROW(total.SetAsFloat(1), EDatabaseError) << "written only while calculating or editing";

    q->First();
    q->Edit();
    q->FieldByName("qty").SetAsInteger(10);
    EXPECT_DOUBLE_EQ(total.AsFloat(), 15);
    q->AutoCalcFields = false;
    int before = calculations;
    q->FieldByName("qty").SetAsInteger(20);
    EXPECT_EQ(calculations, before);
    EXPECT_DOUBLE_EQ(total.AsFloat(), 15);
    q->Post();
    q->Close();
    EXPECT_EQ(Scalar("select qty from t where id = 1"), "20");

    // The defined fields stay across closing, and must match the columns.
    EXPECT_EQ(q->FieldCount(), 5);
    q->AddField("nothing", ftString, fkData, 10);
    try {
        q->Open();
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "Field 'nothing' not found");
    }
    TmQuery mismatch;
    mismatch.SetDataBase(&db);
    mismatch.SetSQLText("select id from t");
    mismatch.AddField("id", ftString, fkData, 10);
    try {
        mismatch.Open();
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "Type mismatch for field 'id'");
    }
}
