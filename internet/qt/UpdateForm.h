// Tfrm_update, "Update information": fetches the version file from the
// maker's web server and says whether a newer build exists.
#pragma once

#include <QDialog>

#include "internet/HttpFetcher.h"

#include <memory>
#include <string>

class QPlainTextEdit;
class QPushButton;
class QStatusBar;

class Tfrm_update : public QDialog {
public:
    explicit Tfrm_update(QWidget* parent = nullptr);
    Tfrm_update(QWidget* parent, std::unique_ptr<IHttpFetcher> fetcher);
    ~Tfrm_update() override;

    // Where the version file is; tests point it at their own server.
    std::string VersionUrl = "https://vellumix.org/version.txt";

    QPushButton* SpeedButton1;
    QPlainTextEdit* Memo1;
    QStatusBar* StatusBar1;

    void SpeedButton1Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void SetStatus(const std::string& text);

    std::unique_ptr<IHttpFetcher> fetcher_;
};
