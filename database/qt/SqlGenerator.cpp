#include "database/qt/SqlGenerator.h"

#include "controls/flat/TFlatMemoUnit.h"
#include "controls/flat/TFlatSpeedButtonUnit.h"
#include "database/SqlBuilder.h"
#include "database/SqlNames.h"
#include "database/qt/DataSetModel.h"
#include "database/qt/ODBCErrorDlg.h"
#include "localisation/RunTimeText.h"
#include "platform/qt/Application.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const TRunTimeText NoTables{" Sorry no tables found in this datasource "};

const char* const kHelp[] = {
    "Follow the steps to generate a sql query,",
    "",
    "1) Select a datasource from the list, double click on it.",
    "2) Select a database from the database list, click on it.",
    "3) Select the fields you want to appear in the query.",
    "4) Click on generate SQL and the proper syntax will be generated",
    "",
    "You can add extra information by setting the extra variables.",
    "For example where {selected field} = value, could be,",
    "where field1 = 'car', don't forget to tick the checkmark if the value you",
    "use is a string type (eg. not a number)",
};

template <class W>
W* named(W* widget, const char* name)
{
    widget->setObjectName(name);
    return widget;
}

QPushButton* button(const char* name, const QString& caption, QWidget* parent, const QString& hint = {})
{
    auto* b = named(new QPushButton(caption, parent), name);
    b->setToolTip(hint);
    return b;
}

QListWidget* listBox(const char* name, const QString& hint, QWidget* parent)
{
    auto* list = named(new QListWidget(parent), name);
    list->setToolTip(hint);
    return list;
}

// An event handler of the dialog: whatever it raises is shown, never passed into Qt.
template <typename F>
auto handler(F f)
{
    return [f] { vx::DeliverShowingExceptions([&] {
                     f();
                     return true;
                 }); };
}

std::string currentText(const QListWidget* list)
{
    const QListWidgetItem* item = list->currentItem();
    return item && item->isSelected() ? vx::FromQString(item->text()) : std::string{};
}

} // namespace

Tfrm_sql_generator::Tfrm_sql_generator(QWidget* parent)
    : GeneratorDialog("frm_sql_generator", "SQL Query Builder", parent)
{
    ODBCErrorDlg();
    // The cursor library only where the driver cannot scroll: unixODBC's does not
    // pass commits on, and the changes made in the grid would be lost.
    mDB.OdbcCursors = ocUSE_IF_NEEDED;
    mQuery.SetDataBase(&mDB);
    mQuery.RequestLive = true;
    mTable1.SetDataBase(&mDB);
    DataSource1.SetDataSet(&mQuery);
    buildLayout();
    connectHandlers();
    // FormCreate
    TStringList names;
    vx::DeliverShowingExceptions([&] {
        mDB.GetDataSourceNames(names);
        return true;
    });
    for (int i = 0; i < names.Count(); ++i)
        ListBox1->addItem(vx::ToQString(names[i]));
    Notebook1->setCurrentIndex(0);
    Loaded();
}

Tfrm_sql_generator::~Tfrm_sql_generator()
{
    mQuery.AfterOpen = nullptr;
    mQuery.AfterClose = nullptr;
    mQuery.Close();
}

void Tfrm_sql_generator::buildLayout()
{
    auto* left = new QWidget(this);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    ListBox1 = listBox("ListBox1", "Double click to select a datasouce", left);
    ListBox2 = listBox("ListBox2", "Click the desired database, then you can start selecting the fields you want to include", left);
    ListBox3 = listBox("ListBox3", "Select fields, then click on generate SQL", left);
    ListBox3->setSelectionMode(QAbstractItemView::MultiSelection);
    leftLayout->addWidget(new QLabel(" Datasources", left));
    leftLayout->addWidget(ListBox1);
    leftLayout->addWidget(new QLabel(" Databases", left));
    leftLayout->addWidget(ListBox2);
    leftLayout->addWidget(new QLabel(" Records", left));
    leftLayout->addWidget(ListBox3);
    SpeedButton1 = button("SpeedButton1", "Generate SQL ", left);
    SpeedButton1->setEnabled(false);
    leftLayout->addWidget(SpeedButton1);

    Notebook1 = named(new QStackedWidget(this), "Notebook1");
    auto* defaultPage = named(new QWidget(Notebook1), "Default");
    buildStatementPages(defaultPage);
    Notebook1->addWidget(defaultPage);
    Notebook1->addWidget(buildResultPage());
    auto* top = new QHBoxLayout;
    top->addWidget(left);
    top->addWidget(Notebook1, 1);
    Client()->insertLayout(0, top, 1);

    // Memo1 already holds the statement: Ok keeps it, or turns it into the ASP text first.
    SpeedButton3 = AddCommandButton("SpeedButton3", "&Ok", [this] {
        if (CheckBox2->isChecked())
            aspFunction();
        done(mrOk);
    });
    SpeedButton3->setToolTip("Close the SQL generator and copy current statement into docume");
    SpeedButton4 = AddCancelButton("SpeedButton4", "&Cancel");
    SpeedButton4->setToolTip("Cancel operation and return to document");
    bitbtn1 = AddCommandButton("bitbtn1", "Test SQL", handler([this] { testSql(); }));
    bitbtn1->setToolTip("Test Compiled query on live data");
    bitbtn1->setEnabled(false);
    bitbtn2 = AddCommandButton("bitbtn2", "Close Query", handler([this] { mQuery.Close(); }));
    bitbtn2->setToolTip("Close result screen and return to first screen");
    bitbtn2->setEnabled(false);
}

void Tfrm_sql_generator::buildStatementPages(QWidget* page)
{
    QWidget* selectTab = AddPage("TabSheet1", "select statement");
    QWidget* insertTab = AddPage("TabSheet2", "Insert statement");
    QWidget* updateTab = AddPage("TabSheet3", "update statement");
    QWidget* deleteTab = AddPage("TabSheet4", "delete statement");
    // The statement pages stand on the notebook's first page.
    Client()->removeWidget(PageControl1);
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->addWidget(PageControl1);
    const std::pair<QWidget*, TFlatMemo**> memos[] = {{insertTab, &Memo2}, {updateTab, &Memo3}, {deleteTab, &Memo4}};
    const char* const memoNames[] = {"Memo2", "Memo3", "Memo4"};
    for (int i = 0; i < 3; ++i) {
        auto [tab, memo] = memos[i];
        *memo = named(new TFlatMemo(tab), memoNames[i]);
        (new QVBoxLayout(tab))->addWidget(*memo);
    }
    // The statement itself is the dialog's result memo, shown here.
    Memo1->setParent(selectTab);
    Memo1->show();
    GroupBox1 = named(new QGroupBox("< Extra SQL Information >", selectTab), "GroupBox1");
    ComboBox1 = named(new QComboBox(GroupBox1), "ComboBox1");
    ComboBox2 = named(new QComboBox(GroupBox1), "ComboBox2");
    for (const std::string& op : BuilderOperators())
        ComboBox2->addItem(vx::ToQString(op));
    Edit1 = named(new QLineEdit("value", GroupBox1), "Edit1");
    CheckBox1 = named(new QCheckBox("Value is a string type", GroupBox1), "CheckBox1");
    SpeedButton2 = button("SpeedButton2", "&Add to statement", GroupBox1);
    GroupBox1->setEnabled(false);
    SpeedButton2->setEnabled(false);
    auto* extra = new QGridLayout(GroupBox1);
    extra->addWidget(new QLabel("Where ", GroupBox1), 0, 0);
    extra->addWidget(ComboBox1, 0, 1);
    extra->addWidget(ComboBox2, 0, 2);
    extra->addWidget(new QLabel("=", GroupBox1), 0, 3);
    extra->addWidget(Edit1, 0, 4);
    extra->addWidget(CheckBox1, 1, 1, 1, 2);
    extra->addWidget(SpeedButton2, 1, 4);

    GroupBox3 = named(new QGroupBox("< Generator options >", selectTab), "GroupBox3");
    Edit3 = named(new QLineEdit("My_dsn_name", GroupBox3), "Edit3");
    Edit4 = named(new QLineEdit("Db_sample_value", GroupBox3), "Edit4");
    Edit2 = named(new QLineEdit("my_sql_function_Call", GroupBox3), "Edit2");
    CheckBox2 = named(new QCheckBox("Make Query a ASP Function", GroupBox3), "CheckBox2");
    SpeedButton5 = button("SpeedButton5", "ASP Function", GroupBox3);
    auto* options = new QGridLayout(GroupBox3);
    options->addWidget(new QLabel("DSN Name", GroupBox3), 0, 0);
    options->addWidget(Edit3, 0, 1);
    // The generated connection string takes this value as its UID.
    options->addWidget(new QLabel("DSN User ID", GroupBox3), 1, 0);
    options->addWidget(Edit4, 1, 1);
    options->addWidget(new QLabel("Function name", GroupBox3), 2, 0);
    options->addWidget(Edit2, 2, 1);
    options->addWidget(CheckBox2, 3, 0, 1, 2);
    options->addWidget(SpeedButton5, 4, 1);

    auto* help = named(new QGroupBox("< Help >", selectTab), "GroupBox2");
    Memo5 = named(new TFlatMemo(help), "Memo5");
    Memo5->setReadOnly(true);
    // The page leaves the help a few lines: the rest is scrolled to.
    Memo5->SetScrollBars(TScrollStyle::ssVertical);
    for (const char* line : kHelp)
        Memo5->Lines().Add(line);
    (new QHBoxLayout(help))->addWidget(Memo5);

    auto* selectLayout = new QVBoxLayout(selectTab);
    selectLayout->addWidget(Memo1, 1);
    selectLayout->addWidget(GroupBox1);
    selectLayout->addWidget(GroupBox3);
    selectLayout->addWidget(help);
}

QWidget* Tfrm_sql_generator::buildResultPage()
{
    auto* page = named(new QWidget, "result");
    DBGrid1 = named(new QTableView(page), "DBGrid1");
    model_ = new TDataSetModel(this);
    model_->SetDataSource(&DataSource1);
    DBGrid1->setModel(model_);
    DBMemo1 = named(new TFlatMemo(page), "DBMemo1");
    DBMemo1->setReadOnly(true);
    DBNavigator1 = named(new QWidget(page), "DBNavigator1");
    auto* navigator = new QHBoxLayout(DBNavigator1);
    struct Step {
        const char* name;
        const char* caption;
        int to;
    } steps[] = {{"First", "|<", -2}, {"Prior", "<", -1}, {"Next", ">", 1}, {"Last", ">|", 2}};
    for (const Step& step : steps) {
        QPushButton* b = button(step.name, step.caption, DBNavigator1);
        navigator->addWidget(b);
        int to = step.to;
        connect(b, &QPushButton::clicked, this, [this, to] { moveGrid(to); });
    }
    navigator->addStretch();
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(DBNavigator1);
    layout->addWidget(DBGrid1, 3);
    layout->addWidget(DBMemo1, 1);
    return page;
}

void Tfrm_sql_generator::connectHandlers()
{
    connect(ListBox1, &QListWidget::itemClicked, this, handler([this] { dataSourceChosen(); }));
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, handler([this] { dataSourceChosen(); }));
    connect(ListBox2, &QListWidget::itemClicked, this, handler([this] { tableChosen(); }));
    connect(ListBox3, &QListWidget::itemClicked, this, handler([this] { fieldsChosen(); }));
    connect(SpeedButton1, &QPushButton::clicked, this, handler([this] { generateSql(); }));
    connect(SpeedButton2, &QPushButton::clicked, this, handler([this] { addToStatement(); }));
    connect(SpeedButton5, &QPushButton::clicked, this, handler([this] { aspFunction(); }));
    connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { showCurrentField(); });
    mQuery.AfterOpen = [this](TDataSet*) {
        Notebook1->setCurrentIndex(1);
        bitbtn1->setEnabled(false);
        bitbtn2->setEnabled(true);
    };
    mQuery.AfterClose = [this](TDataSet*) {
        Notebook1->setCurrentIndex(0);
        bitbtn2->setEnabled(false);
        bitbtn1->setEnabled(true);
    };
}

void Tfrm_sql_generator::Activated()
{
    ComboBox2->setCurrentIndex(0);
}

std::string Tfrm_sql_generator::quote()
{
    mDB.Connect();
    return IdentifierQuote(mDB.Handle());
}

void Tfrm_sql_generator::dataSourceChosen()
{
    ListBox2->clear();
    ListBox3->clear();
    std::string name = currentText(ListBox1);
    if (name.empty())
        return;
    mQuery.Close();
    mDB.Disconnect();
    mDB.SetDataBaseName(name);
    mDB.Connect();
    TStringList tables;
    mDB.GetTableNames(tables);
    mDB.Disconnect();
    for (int i = 0; i < tables.Count(); ++i)
        ListBox2->addItem(vx::ToQString(tables[i]));
    if (tables.Empty())
        MessageDlg(NoTables(), mtInformation, mbOK);
}

void Tfrm_sql_generator::tableChosen()
{
    ListBox3->clear();
    std::string table = currentText(ListBox2);
    if (table.empty())
        return;
    TStringList columns;
    mTable1.ReadColumns(table, columns);
    for (int i = 0; i < columns.Count(); ++i)
        ListBox3->addItem(vx::ToQString(columns[i]));
    if (ListBox3->count() > 0)
        ListBox3->setCurrentRow(0, QItemSelectionModel::Select);
}

void Tfrm_sql_generator::fieldsChosen()
{
    if (currentText(ListBox2).empty())
        return;
    SpeedButton1->setEnabled(true);
    bitbtn1->setEnabled(true);
}

void Tfrm_sql_generator::generateSql()
{
    std::string table = currentText(ListBox2);
    if (table.empty())
        return;
    ComboBox1->clear();
    SpeedButton1->setEnabled(false);
    std::vector<std::string> fields;
    for (int i = 0; i < ListBox3->count(); ++i)
        if (ListBox3->item(i)->isSelected())
            fields.push_back(vx::FromQString(ListBox3->item(i)->text()));
    // With no field chosen the condition may name any field of the table.
    for (int i = 0; i < ListBox3->count(); ++i)
        if (fields.empty() || ListBox3->item(i)->isSelected())
            ComboBox1->addItem(ListBox3->item(i)->text());
    ComboBox1->setCurrentIndex(ComboBox1->count() > 0 ? 0 : -1);
    Memo1->Lines().Clear();
    Memo1->Lines().Add(BuilderSelect(fields, table, quote()));
    GroupBox1->setEnabled(true);
    SpeedButton2->setEnabled(ComboBox1->count() > 0);
}

void Tfrm_sql_generator::addToStatement()
{
    if (ComboBox1->currentIndex() < 0 || Memo1->Lines().Empty())
        return;
    GroupBox1->setEnabled(false);
    SpeedButton2->setEnabled(false);
    std::string line = Memo1->Lines()[0];
    Memo1->Lines().Put(0, BuilderCondition(line, vx::FromQString(ComboBox1->currentText()),
                                           vx::FromQString(ComboBox2->currentText()), vx::FromQString(Edit1->text()),
                                           CheckBox1->isChecked(), quote()));
}

void Tfrm_sql_generator::testSql()
{
    std::string name = currentText(ListBox1);
    if (!name.empty() && name != mDB.DataBaseName()) {
        mQuery.Close();
        mDB.Disconnect();
        mDB.SetDataBaseName(name);
    }
    mQuery.Close();
    mQuery.SetSQL(Memo1->Lines());
    // Switching between positioned operations and statements needs the query closed, as it is here.
    mQuery.SetInsertSQL(Memo2->Lines());
    mQuery.SetModifySQL(Memo3->Lines());
    mQuery.SetDeleteSQL(Memo4->Lines());
    DBMemo1->Lines().Clear();
    mQuery.Open();
}

void Tfrm_sql_generator::aspFunction()
{
    std::string statement = Memo1->Lines().Empty() ? std::string{} : Memo1->Lines()[0];
    TStringList lines;
    for (const std::string& line :
         BuilderAspFunction(statement, vx::FromQString(Edit3->text()), vx::FromQString(Edit4->text())))
        lines.Add(line);
    Memo1->Lines().Assign(lines);
}

void Tfrm_sql_generator::showCurrentField()
{
    QModelIndex current = DBGrid1->currentIndex();
    DBMemo1->Lines().SetText(model_->CellText(current.row(), current.column()));
}

void Tfrm_sql_generator::moveGrid(int to)
{
    if (model_->rowCount() == 0)
        return;
    if (to == 2)
        while (model_->canFetchMore({}))
            model_->fetchMore({});
    int row = DBGrid1->currentIndex().row();
    int column = std::max(DBGrid1->currentIndex().column(), 0);
    int last = model_->rowCount() - 1;
    int target = to == -2 ? 0 : to == 2 ? last : std::clamp(row + to, 0, last);
    DBGrid1->setCurrentIndex(model_->index(target, column));
}
