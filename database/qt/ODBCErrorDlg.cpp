#include "database/qt/ODBCErrorDlg.h"

#include "localisation/RunTimeText.h"
#include "localisation/qt/KMLang.h"
#include "platform/qt/QtText.h"

#include <QApplication>
#include <algorithm>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

QPointer<TmODBCErrorDlg>& instance()
{
    static QPointer<TmODBCErrorDlg> dialog;
    return dialog;
}

} // namespace

TmODBCErrorDlg::TmODBCErrorDlg(QWidget* owner) : QDialog(owner)
{
    setObjectName("ODBCErrorDlg");
    setWindowTitle("ODBC Error");
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    setProperty("Tag", 0);

    IconImage = new QLabel(this);
    IconImage->setObjectName("IconImage");
    IconImage->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(32, 32));
    ErrorLabel = new QLabel(this);
    ErrorLabel->setObjectName("ErrorLabel");
    // The driver's words as it gave them, or a message of ours in the chosen
    // language: plain text either way.
    ErrorLabel->setTextFormat(Qt::PlainText);
    ErrorLabel->setWordWrap(true);
    ErrorLabel->setMinimumWidth(320);

    auto* panel = new QWidget(this);
    panel->setObjectName("Panel1");
    OKBtn = new QPushButton("OK", panel);
    OKBtn->setObjectName("OKBtn");
    OKBtn->setDefault(true);
    BackBtn = new QPushButton("< &Back", panel);
    BackBtn->setObjectName("BackBtn");
    NextBtn = new QPushButton("Next >", panel);
    NextBtn->setObjectName("NextBtn");
    auto* buttons = new QHBoxLayout(panel);
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(BackBtn);
    buttons->addWidget(NextBtn);

    auto* top = new QHBoxLayout;
    top->addWidget(IconImage, 0, Qt::AlignTop);
    top->addWidget(ErrorLabel, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(panel);

    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(BackBtn, &QPushButton::clicked, this, [this] { displayPage(Page() - 1); });
    connect(NextBtn, &QPushButton::clicked, this, [this] { displayPage(Page() + 1); });

    savedHandler_ = vx::ApplicationOnException();
    vx::ApplicationOnException() = [this](const std::exception& e) { handleException(e); };
    TranslateWindow(this);
}

TmODBCErrorDlg::~TmODBCErrorDlg()
{
    vx::ApplicationOnException() = savedHandler_;
}

void TmODBCErrorDlg::handleException(const std::exception& e)
{
    auto* error = dynamic_cast<const ESQLerror*>(&e);
    if (error && !error_ && !QCoreApplication::closingDown()) {
        ShowException(*error);
        return;
    }
    if (savedHandler_)
        savedHandler_(e);
    else
        vx::ShowException(e);
}

int TmODBCErrorDlg::ShowException(const ESQLerror& error)
{
    error_ = std::make_unique<ESQLerror>(error);
    displayPage(0);
    OKBtn->setFocus();
    int result = exec();
    error_.reset();
    return result;
}

void TmODBCErrorDlg::displayPage(int page)
{
    setProperty("Tag", page);
    BackBtn->setEnabled(page > 0);
    if (error_ && error_->Errors().Count() > 0) {
        int count = error_->Errors().Count();
        NextBtn->setEnabled(page < count - 1);
        ErrorLabel->setText(vx::ToQString(error_->Errors()[std::min(page, count - 1)]));
    } else {
        NextBtn->setEnabled(false);
        ErrorLabel->setText(error_ ? vx::ToQString(ErrorText(*error_)) : QString());
    }
}

TmODBCErrorDlg* ODBCErrorDlg()
{
    if (!instance()) {
        instance() = new TmODBCErrorDlg;
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, instance(), &QObject::deleteLater);
    }
    return instance();
}
