#include "database/qt/DataSetModel.h"
#include "tests/database/QueryTestSupport.h"

#include <QLineEdit>
#include <QTableView>
#include <QTest>

using vx::test::DatabaseTest;

namespace {

class DataSetModelTest : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        Exec("create table t(id integer primary key, name varchar(20))");
        Exec("insert into t with recursive c(x) as (select 1 union all select x + 1 from c where x < 600) "
             "select x, 'row ' || x from c");
    }

    // A live query on t shown in a grid view.
    void ShowGrid()
    {
        q = Open("select id, name from t order by id", true);
        source.SetDataSet(q.get());
        model.SetDataSource(&source);
        view.setModel(&model);
        view.resize(400, 300);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }

    std::unique_ptr<TmQuery> q;
    TDataSource source;
    TDataSetModel model;
    QTableView view;
};

} // namespace

TEST_F(DataSetModelTest, AGridViewShowsTheRowsAsItScrolls)
{
    ShowGrid();
    EXPECT_EQ(model.columnCount(), 2);
    EXPECT_EQ(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "name");
    EXPECT_GE(model.rowCount(), 1);
    EXPECT_EQ(model.data(model.index(0, 1), Qt::DisplayRole).toString(), "row 1");
    while (model.canFetchMore({}))
        model.fetchMore({});
    EXPECT_EQ(model.rowCount(), 600);
    EXPECT_EQ(model.data(model.index(599, 0), Qt::DisplayRole).toString(), "600");
    EXPECT_EQ(q->FieldByName("id").AsInteger(), 1) << "reading the rows leaves the dataset where it was";
}

TEST_F(DataSetModelTest, AnEditedCellIsPostedToTheDatabase)
{
    ShowGrid();
    QModelIndex cell = model.index(2, 1);
    view.setCurrentIndex(cell);
    view.edit(cell);
    auto* editor = view.findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, "edited");
    QTest::keyClick(editor, Qt::Key_Return);
    // The view takes the editor's text after the key event has been handled.
    QTest::qWait(0);
    EXPECT_EQ(model.data(cell, Qt::DisplayRole).toString(), "edited");
    EXPECT_EQ(q->FieldByName("id").AsInteger(), 3);
    q->Close();
    EXPECT_EQ(Scalar("select name from t where id = 3"), "edited");
}

TEST_F(DataSetModelTest, ClosingTheDatasetEmptiesTheModel)
{
    q = Open("select id, name from t order by id");
    source.SetDataSet(q.get());
    model.SetDataSource(&source);
    model.fetchMore({});
    EXPECT_GT(model.rowCount(), 0);
    EXPECT_EQ(model.flags(model.index(0, 0)) & Qt::ItemIsEditable, 0);
    q->Close();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.columnCount(), 0);
}

TEST_F(DataSetModelTest, ACalculatedColumnIsShownButNotTypedInto)
{
    q = std::make_unique<TmQuery>();
    q->SetDataBase(&db);
    q->RequestLive = true;
    q->SetSQLText("select id, name from t where id <= 3 order by id");
    q->AddField("name", ftString, fkData, 20);
    q->AddField("shout", ftString, fkCalculated, 20);
    q->OnCalcFields = [](TDataSet* dataSet) {
        dataSet->FieldByName("shout").SetAsString(dataSet->FieldByName("name").AsString() + "!");
    };
    q->Open();
    source.SetDataSet(q.get());
    model.SetDataSource(&source);
    model.fetchMore({});
    ASSERT_EQ(model.columnCount(), 2);
    EXPECT_EQ(model.data(model.index(2, 1), Qt::DisplayRole).toString(), "row 3!");
    EXPECT_NE(model.flags(model.index(0, 0)) & Qt::ItemIsEditable, 0);
    EXPECT_EQ(model.flags(model.index(0, 1)) & Qt::ItemIsEditable, 0);
}
