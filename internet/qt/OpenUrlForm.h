// Tfrm_openurl, "Open URL": fetches a web page chosen from the address history
// (url.dat in the user's data folder) and saves it as a local file to be edited. The
// launcher opens SavedFile() in a free document slot when it is not empty.
// The page is fetched while the window goes on taking input, so "Cancel"
// stops a fetch that takes too long.
#pragma once

#include <QDialog>

#include <string>

class QComboBox;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class TAsyncFetch;
struct TFetchReply;

class Tfrm_openurl : public QDialog {
public:
    explicit Tfrm_openurl(QWidget* parent = nullptr);
    ~Tfrm_openurl() override;

    // The file the page was saved to, "" when none was.
    const std::string& SavedFile() const { return savedFile_; }
    TAsyncFetch& Fetch() { return *fetch_; }

    QComboBox* ComboBox1;
    QPushButton* SpeedButton1;
    QPushButton* SpeedButton2;
    QPlainTextEdit* memo1;
    QStatusBar* StatusBar1;

    void FormActivate();
    void SpeedButton1Click();
    // However the window goes (Cancel, Escape, closing), a running fetch goes with it.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetStatus(const std::string& text);
    void Fetched(const TFetchReply& reply);
    void SavePage(const std::string& page);

    TAsyncFetch* fetch_;
    std::string savedFile_;
};
