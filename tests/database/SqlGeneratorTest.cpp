#include "controls/flat/TFlatMemoUnit.h"
#include "controls/flat/TFlatSpeedButtonUnit.h"
#include "database/qt/SqlGenerator.h"
#include "platform/qt/Dialogs.h"
#include "tests/database/ListClick.h"
#include "tests/controls/WaitFor.h"
#include "tests/database/OdbcTestEnv.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTableView>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

#include <gtest/gtest.h>

using vx::test::OdbcTestEnv;

namespace {

class SqlGeneratorTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        OdbcTestEnv::Get().AddDsn("builder");
        OdbcTestEnv::Get().AddDsn("builder_empty");
        OdbcTestEnv::Get().AddDsn("builder_utf8");
        TmDataBase db;
        db.SetDataBaseName("builder");
        db.DriverCompletion = sdNoPrompt;
        OdbcTestEnv::Exec(db, "create table \"order details\"(\"key\" integer primary key, \"first name\" varchar(20), "
                              "\"select\" integer);"
                              "insert into \"order details\" values(1, 'Ann', 10);"
                              "insert into \"order details\" values(2, 'O''Brien', 20);"
                              "insert into \"order details\" values(3, 'Cy', 30)");
        TmDataBase utf8;
        utf8.SetDataBaseName("builder_utf8");
        utf8.DriverCompletion = sdNoPrompt;
        // Column sizes count characters: "K\u00f6ln" fills four with five bytes.
        OdbcTestEnv::Exec(utf8, "create table \"St\u00e4dte\"(\"Nr\" integer primary key, \"Stra\u00dfe\" varchar(4), "
                                "\"Ort\" varchar(12), \"Notiz\" text);"
                                "insert into \"St\u00e4dte\" values(1, 'K\u00f6ln', '\u00e9\u20ac\u03b1\u4f60\U0001F600', '" +
                                std::string(255, 'x') + "\u00e9\u20ac');"
                                "insert into \"St\u00e4dte\" values(2, 'Graz', 'Graz', 'kurz')");
        OdbcTestEnv::Exec(utf8, "create table \"" + LongName("\u00e4") + "\"(\"" + LongName("\u00f6") + "\" integer)");
    }

    // A name of 150 characters, 300 bytes.
    static std::string LongName(const std::string& letter)
    {
        std::string name;
        for (int i = 0; i < 150; ++i)
            name += letter;
        return name;
    }

    static std::vector<std::string> Items(const QListWidget& list)
    {
        std::vector<std::string> items;
        for (int i = 0; i < list.count(); ++i)
            items.push_back(list.item(i)->text().toStdString());
        return items;
    }

    static std::vector<std::string> Headers(const QAbstractItemModel& model)
    {
        std::vector<std::string> headers;
        for (int column = 0; column < model.columnCount(); ++column)
            headers.push_back(model.headerData(column, Qt::Horizontal).toString().toStdString());
        return headers;
    }

    // Should the data raise an error, its window is closed and the text kept,
    // so that the test fails instead of waiting for a user.
    void CloseErrorWindows()
    {
        errorGuard.setInterval(50);
        QObject::connect(&errorGuard, &QTimer::timeout, [this] {
            if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != dialog.get()) {
                errors << modal->windowTitle();
                modal->close();
            }
        });
        errorGuard.start();
    }

    // The grid reads its rows as it lays itself out: how many it holds once
    // it has at least the least expected.
    int GridRows(int least) const
    {
        const QAbstractItemModel& model = *dialog->DBGrid1->model();
        (void)QTest::qWaitFor([&] { return model.rowCount() >= least; }, vx::test::kPatienceMs);
        return model.rowCount();
    }

    void SetUp() override
    {
        dialog = std::make_unique<Tfrm_sql_generator>();
        dialog->mDB.DriverCompletion = sdNoPrompt;
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    }

    void TearDown() override { vx::dialogs::SetAnswerer(nullptr); }

    // Chooses the data source, the table and the fields, and generates the statement.
    void generate(const QStringList& fields)
    {
        vx::test::ClickItem(dialog->ListBox1, "builder");
        vx::test::ClickItem(dialog->ListBox2, "order details");
        // The first field comes selected; the user's choice replaces it.
        dialog->ListBox3->clearSelection();
        for (const QString& field : fields)
            vx::test::ClickItem(dialog->ListBox3, field);
        if (fields.isEmpty()) {
            // Chosen and let go again: fields clicked, none selected.
            vx::test::ClickItem(dialog->ListBox3, "key");
            vx::test::ClickItem(dialog->ListBox3, "key");
        }
        QTest::mouseClick(dialog->SpeedButton1, Qt::LeftButton);
    }

    std::string statement() { return dialog->Memo1->Lines().Empty() ? "" : dialog->Memo1->Lines()[0]; }

    std::unique_ptr<Tfrm_sql_generator> dialog;
    QTimer errorGuard;
    QStringList errors;
};

} // namespace

TEST_F(SqlGeneratorTest, GeneratesTheStatementAndItsCondition)
{
    EXPECT_EQ(dialog->windowTitle(), "SQL Query Builder");
    EXPECT_EQ(dialog->pos(), QPoint(20, 20));
    EXPECT_EQ(dialog->ComboBox2->itemText(3), "<=");
    generate({"first name"});
    EXPECT_EQ(statement(), "Select \"first name\" from \"order details\"");
    EXPECT_FALSE(dialog->SpeedButton1->isEnabled());
    ASSERT_TRUE(dialog->SpeedButton2->isEnabled());
    dialog->ComboBox2->setCurrentText("=");
    dialog->Edit1->setText("O'Brien");
    QTest::mouseClick(dialog->CheckBox1, Qt::LeftButton);
    QTest::mouseClick(dialog->SpeedButton2, Qt::LeftButton);
    EXPECT_EQ(statement(), "Select \"first name\" from \"order details\" where \"first name\" = 'O''Brien'");
    EXPECT_FALSE(dialog->SpeedButton2->isEnabled()) << "one condition until the statement is generated again";
    EXPECT_FALSE(dialog->GroupBox1->isEnabled());
}

TEST_F(SqlGeneratorTest, WithNoFieldChosenTheConditionOffersEveryField)
{
    generate({});
    EXPECT_EQ(statement(), "Select * from \"order details\"");
    EXPECT_EQ(dialog->ComboBox1->count(), 3);
    EXPECT_TRUE(dialog->SpeedButton2->isEnabled());
}

TEST_F(SqlGeneratorTest, EveryOperatorRunsAgainstTheData)
{
    struct Case {
        const char* op;
        const char* value;
        int rows;
    } cases[] = {{"<", "20", 1}, {"<>", "20", 2}, {"=", "20", 1}, {"<=", "20", 2},
                 {">", "20", 1}, {">=", "20", 2}, {"is", "null", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.op);
        generate({"key", "select"});
        dialog->ComboBox1->setCurrentText("select");
        dialog->ComboBox2->setCurrentText(c.op);
        dialog->Edit1->setText(c.value);
        QTest::mouseClick(dialog->SpeedButton2, Qt::LeftButton);
        QTest::mouseClick(dialog->bitbtn1, Qt::LeftButton);
        ASSERT_TRUE(dialog->mQuery.Active()) << statement();
        EXPECT_EQ(dialog->Notebook1->currentIndex(), 1);
        EXPECT_FALSE(dialog->bitbtn1->isEnabled());
        EXPECT_EQ(dialog->mQuery.RecordCount(), c.rows);
        QTest::mouseClick(dialog->bitbtn2, Qt::LeftButton);
        EXPECT_FALSE(dialog->mQuery.Active());
        EXPECT_EQ(dialog->Notebook1->currentIndex(), 0);
    }
}

TEST_F(SqlGeneratorTest, GridEditsRunTheUpdateStatementGiven)
{
    generate({"key", "first name"});
    dialog->Memo3->Lines().Add("update \"order details\" set \"first name\" = :\"first name\" where \"key\" = :old_key");
    QTest::mouseClick(dialog->bitbtn1, Qt::LeftButton);
    ASSERT_TRUE(dialog->mQuery.Active());
    QAbstractItemModel* model = dialog->DBGrid1->model();
    ASSERT_EQ(GridRows(3), 3);
    QModelIndex cell = model->index(2, 1);
    dialog->DBGrid1->setCurrentIndex(cell);
    EXPECT_EQ(dialog->DBMemo1->Lines().Text(), "Cy\r\n");
    dialog->DBGrid1->edit(cell);
    auto* editor = dialog->DBGrid1->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, "Cyd");
    std::string said;
    vx::dialogs::SetAnswerer([&](const vx::dialogs::Request& request) {
        said = request.text;
        return vx::dialogs::Answer{};
    });
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::qWait(0);
    EXPECT_EQ(said, "");
    EXPECT_EQ(model->data(cell).toString(), "Cyd");
    QTest::mouseClick(dialog->bitbtn2, Qt::LeftButton);
    TmDataBase db;
    db.SetDataBaseName("builder");
    db.DriverCompletion = sdNoPrompt;
    TmQuery q;
    q.SetDataBase(&db);
    q.SetSQLText("select \"first name\" from \"order details\" where \"key\" = 3");
    q.Open();
    EXPECT_EQ(q.Fields(0).AsString(), "Cyd");
    OdbcTestEnv::Exec(db, "update \"order details\" set \"first name\" = 'Cy' where \"key\" = 3");
}

// Names outside ASCII, long ones too, show whole in the lists and as the
// grid's headers.
TEST_F(SqlGeneratorTest, NamesOutsideAsciiShowWhole)
{
    CloseErrorWindows();
    vx::test::ClickItem(dialog->ListBox1, "builder_utf8");
    const struct {
        std::string table;
        std::vector<std::string> fields;
    } rows[] = {
        {"St\u00e4dte", {"Nr", "Stra\u00dfe", "Ort", "Notiz"}},
        {LongName("\u00e4"), {LongName("\u00f6")}},
    };
    std::vector<std::string> tables;
    for (const auto& row : rows)
        tables.push_back(row.table);
    EXPECT_EQ(Items(*dialog->ListBox2), tables);
    for (const auto& row : rows) {
        vx::test::ClickItem(dialog->ListBox2, QString::fromStdString(row.table));
        EXPECT_EQ(Items(*dialog->ListBox3), row.fields);
        dialog->ListBox3->clearSelection();
        for (const std::string& field : row.fields)
            vx::test::ClickItem(dialog->ListBox3, QString::fromStdString(field));
        QTest::mouseClick(dialog->SpeedButton1, Qt::LeftButton);
        QTest::mouseClick(dialog->bitbtn1, Qt::LeftButton);
        ASSERT_TRUE(dialog->mQuery.Active()) << statement();
        EXPECT_EQ(Headers(*dialog->DBGrid1->model()), row.fields);
        QTest::mouseClick(dialog->bitbtn2, Qt::LeftButton);
    }
    EXPECT_EQ(errors.join(", ").toStdString(), "");
}

// Values outside ASCII show as their characters, whole, in the grid and the
// memo, and the statement the builder writes for the editor holds the
// condition's value as typed.
TEST_F(SqlGeneratorTest, ValuesOutsideAsciiShowWhole)
{
    CloseErrorWindows();
    vx::test::ClickItem(dialog->ListBox1, "builder_utf8");
    vx::test::ClickItem(dialog->ListBox2, QString::fromUtf8("St\u00e4dte"));
    dialog->ListBox3->clearSelection();
    for (const char* field : {"Stra\u00dfe", "Ort", "Notiz"})
        vx::test::ClickItem(dialog->ListBox3, QString::fromUtf8(field));
    QTest::mouseClick(dialog->SpeedButton1, Qt::LeftButton);
    dialog->ComboBox1->setCurrentText(QString::fromUtf8("Stra\u00dfe"));
    dialog->ComboBox2->setCurrentText("=");
    dialog->Edit1->setText(QString::fromUtf8("K\u00f6ln"));
    QTest::mouseClick(dialog->CheckBox1, Qt::LeftButton);
    QTest::mouseClick(dialog->SpeedButton2, Qt::LeftButton);
    EXPECT_EQ(statement(), "Select \"Stra\u00dfe\",Ort,Notiz from \"St\u00e4dte\" where \"Stra\u00dfe\" = 'K\u00f6ln'");

    QTest::mouseClick(dialog->bitbtn1, Qt::LeftButton);
    ASSERT_TRUE(dialog->mQuery.Active()) << statement();
    QAbstractItemModel* model = dialog->DBGrid1->model();
    ASSERT_EQ(GridRows(1), 1);
    const struct {
        int column;
        std::string shown;
        std::string memo;
    } cells[] = {
        {0, "K\u00f6ln", "K\u00f6ln\r\n"},
        {1, "\u00e9\u20ac\u03b1\u4f60\U0001F600", "\u00e9\u20ac\u03b1\u4f60\U0001F600\r\n"},
        // A long text shows its first 256 characters, the last of them whole.
        {2, std::string(255, 'x') + "\u00e9", std::string(255, 'x') + "\u00e9\u20ac\r\n"},
    };
    for (const auto& cell : cells) {
        const QModelIndex index = model->index(0, cell.column);
        EXPECT_EQ(model->data(index).toString().toStdString(), cell.shown);
        dialog->DBGrid1->setCurrentIndex(index);
        EXPECT_EQ(dialog->DBMemo1->Lines().Text(), cell.memo);
    }
    QTest::mouseClick(dialog->bitbtn2, Qt::LeftButton);
    EXPECT_EQ(errors.join(", ").toStdString(), "");
}

TEST_F(SqlGeneratorTest, ADataSourceWithoutTablesSaysSo)
{
    std::string said;
    vx::dialogs::SetAnswerer([&](const vx::dialogs::Request& request) {
        said = request.text;
        vx::dialogs::Answer answer;
        answer.result = mrOk;
        return answer;
    });
    vx::test::ClickItem(dialog->ListBox1, "builder_empty");
    EXPECT_EQ(said, " Sorry no tables found in this datasource ");
    EXPECT_EQ(dialog->ListBox2->count(), 0);
    EXPECT_EQ(dialog->ListBox3->count(), 0);
}

// The help has more lines than its box shows: a scroll bar brings its last line into view.
TEST_F(SqlGeneratorTest, TheHelpScrollsToItsLastLine)
{
    TFlatMemo& help = *dialog->Memo5;
    ASSERT_TRUE(help.isVisible());
    QScrollBar& bar = *help.verticalScrollBar();
    EXPECT_TRUE(bar.maximum() == 0 || bar.isVisible()) << "lines out of view and no scroll bar to reach them";
    bar.setValue(bar.maximum());
    const QTextCursor last(help.document()->lastBlock());
    EXPECT_TRUE(help.viewport()->rect().contains(help.cursorRect(last)))
        << last.block().text().toStdString() << " stays out of view";
}

TEST_F(SqlGeneratorTest, OkLeavesTheAspTextAndCancelLeavesNothing)
{
    generate({"first name"});
    // On the box: its row is wider than the box and its text.
    QTest::mouseClick(dialog->CheckBox2, Qt::LeftButton, {}, QPoint(8, dialog->CheckBox2->height() / 2));
    QTest::mouseClick(dialog->SpeedButton3, Qt::LeftButton);
    EXPECT_EQ(dialog->result(), mrOk);
    ASSERT_EQ(dialog->Memo1->Lines().Count(), 18);
    EXPECT_EQ(dialog->Memo1->Lines()[16], "Call Exec_Query(\"Select \"\"first name\"\" from \"\"order details\"\"\")");

    dialog->show();
    generate({"first name"});
    QTest::mouseClick(dialog->SpeedButton4, Qt::LeftButton);
    EXPECT_EQ(dialog->result(), mrCancel);
    EXPECT_TRUE(dialog->Memo1->Lines().Empty());
}

// Run under Xvfb with VX_SCREENSHOT_DIR set to keep pictures of the builder over the test database.
TEST_F(SqlGeneratorTest, Screenshot)
{
    auto shoot = [this](const char* name) {
        QTest::qWait(20);
        QImage shot = dialog->grab().toImage();
        ASSERT_FALSE(shot.isNull());
        EXPECT_EQ(shot.size(), dialog->size() * dialog->devicePixelRatio());
        if (const char* folder = std::getenv("VX_SCREENSHOT_DIR")) {
            EXPECT_TRUE(shot.save(QDir(folder).filePath(name)));
        }
    };
    generate({"key", "first name"});
    dialog->ComboBox2->setCurrentText(">");
    dialog->Edit1->setText("1");
    QTest::mouseClick(dialog->SpeedButton2, Qt::LeftButton);
    shoot("sql_query_builder.png");
    QTest::mouseClick(dialog->bitbtn1, Qt::LeftButton);
    shoot("sql_query_builder_result.png");
    QTest::mouseClick(dialog->bitbtn2, Qt::LeftButton);
}
