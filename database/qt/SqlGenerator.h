// The SQL query builder: picks a data source, a table and fields, generates a
// SELECT with an optional condition, runs it against the live data in a grid,
// and can turn it into ASP functions. The caller inserts the lines of Memo1
// after the dialog closes; Cancel empties it first.
#pragma once

#include "database/mQuery.h"
#include "database/mTable.h"
#include "tools/qt/framework/GeneratorDialog.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QStackedWidget;
class QTabWidget;
class QTableView;
class TDataSetModel;
class TFlatMemo;
class TFlatSpeedButton;

class Tfrm_sql_generator : public vx::tools::GeneratorDialog {
public:
    explicit Tfrm_sql_generator(QWidget* parent = nullptr);
    ~Tfrm_sql_generator() override;

    TmDataBase mDB;
    TmQuery mQuery;
    TmTable mTable1;
    TDataSource DataSource1;

    QListWidget* ListBox1;
    QListWidget* ListBox2;
    QListWidget* ListBox3;
    QPushButton* SpeedButton1;
    QStackedWidget* Notebook1;
    TFlatMemo* Memo2;
    TFlatMemo* Memo3;
    TFlatMemo* Memo4;
    QGroupBox* GroupBox1;
    QComboBox* ComboBox1;
    QComboBox* ComboBox2;
    QLineEdit* Edit1;
    QCheckBox* CheckBox1;
    QPushButton* SpeedButton2;
    QGroupBox* GroupBox3;
    QLineEdit* Edit3;
    QLineEdit* Edit4;
    QLineEdit* Edit2;
    QCheckBox* CheckBox2;
    QPushButton* SpeedButton5;
    TFlatMemo* Memo5;
    TFlatSpeedButton* SpeedButton3;
    TFlatSpeedButton* SpeedButton4;
    QTableView* DBGrid1;
    TFlatMemo* DBMemo1;
    QWidget* DBNavigator1;
    TFlatSpeedButton* bitbtn1;
    TFlatSpeedButton* bitbtn2;

protected:
    void Activated() override;

private:
    void buildLayout();
    void buildStatementPages(QWidget* page);
    QWidget* buildResultPage();
    void connectHandlers();
    void dataSourceChosen();
    void tableChosen();
    void fieldsChosen();
    void generateSql();
    void addToStatement();
    void testSql();
    void aspFunction();
    void showCurrentField();
    void moveGrid(int to);
    std::string quote();

    TDataSetModel* model_;
};
