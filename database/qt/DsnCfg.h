// The DSN configuration dialog: lists the ODBC data sources and adds,
// configures and removes user and system data sources through the installer;
// adding asks for the name, driver and attributes in the add dialog.
#pragma once

#include "database/mSession.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class TFlatMemo;

class TAddDlg : public QDialog {
public:
    explicit TAddDlg(QWidget* parent = nullptr);

    QLineEdit* EditName;
    QComboBox* DriverCB;
    TFlatMemo* ParamMemo;
    QPushButton* AddBtn;
    QPushButton* BitBtn2;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // "&Add" is offered once a name and a driver are given.
    void PropChange();
};

// The one add dialog, made on first use.
TAddDlg* AddDlg();

class Tfrm_dsncfg : public QDialog {
public:
    explicit Tfrm_dsncfg(QWidget* parent = nullptr);

    TmDataBase mDataBase1;
    QLabel* Image1;
    QListWidget* DsnList;
    QPushButton* Button1;
    QPushButton* ConfigDsnBtn;
    QPushButton* RemoveDsnBtn;
    QPushButton* button4;
    QPushButton* button2;
    QPushButton* RemoveSysDsnBtn;
    QPushButton* SpeedButton1;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fillList();
    void addDataSource(int mode);
    void changeDataSource(int mode);
};
