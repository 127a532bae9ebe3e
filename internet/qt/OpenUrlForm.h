// Tfrm_openurl, "Open URL": fetches a web page chosen from the address history
// (url.dat beside the program) and saves it as a local file to be edited. The
// launcher opens SavedFile() in a free document slot when it is not empty.
#pragma once

#include <QDialog>

#include "internet/HttpFetcher.h"

#include <memory>
#include <string>

class QComboBox;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;

class Tfrm_openurl : public QDialog {
public:
    explicit Tfrm_openurl(QWidget* parent = nullptr);
    // For tests: another fetcher.
    Tfrm_openurl(QWidget* parent, std::unique_ptr<IHttpFetcher> fetcher);
    ~Tfrm_openurl() override;

    // The file the page was saved to, "" when none was.
    const std::string& SavedFile() const { return savedFile_; }

    QComboBox* ComboBox1;
    QPushButton* SpeedButton1;
    QPushButton* SpeedButton2;
    QPlainTextEdit* memo1;
    QStatusBar* StatusBar1;

    void FormActivate();
    void SpeedButton1Click();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetStatus(const char* text);
    // The page's lines, or false with the status set when the fetch failed.
    bool FetchPage(const std::string& url, std::string& page);

    std::unique_ptr<IHttpFetcher> fetcher_;
    std::string savedFile_;
};
