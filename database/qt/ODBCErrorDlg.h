// The ODBC error dialog: takes over the application's display of unhandled
// ESQLerror exceptions and pages through their diagnostic records.
#pragma once

#include "database/SQLError.h"
#include "platform/qt/Application.h"

#include <QDialog>

#include <memory>

class QLabel;
class QPushButton;

class TmODBCErrorDlg : public QDialog {
public:
    explicit TmODBCErrorDlg(QWidget* owner = nullptr);
    ~TmODBCErrorDlg() override;

    // Shows error modally and answers the modal result.
    int ShowException(const ESQLerror& error);
    int Page() const { return property("Tag").toInt(); }

    QPushButton* OKBtn;
    QPushButton* BackBtn;
    QPushButton* NextBtn;
    QLabel* IconImage;
    QLabel* ErrorLabel;

private:
    void handleException(const std::exception& e);
    void displayPage(int page);

    vx::TExceptionEvent savedHandler_;
    std::unique_ptr<ESQLerror> error_;
};

// The one error dialog of the program, made on first call; the database
// windows make sure of it before they use ODBC.
TmODBCErrorDlg* ODBCErrorDlg();
