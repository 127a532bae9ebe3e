// Tfrm_update, "Update information": fetches the version file from the
// maker's web server and says whether a newer build exists. The window goes
// on taking input while the file is fetched.
#pragma once

#include <QDialog>

#include <string>

class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class TAsyncFetch;
struct TFetchReply;

class Tfrm_update : public QDialog {
public:
    explicit Tfrm_update(QWidget* parent = nullptr);
    ~Tfrm_update() override;

    // Where the version file is; tests point it at their own server.
    std::string VersionUrl = "https://vellumix.org/version.txt";
    TAsyncFetch& Fetch() { return *fetch_; }

    QPushButton* SpeedButton1;
    QPlainTextEdit* Memo1;
    QStatusBar* StatusBar1;

    void SpeedButton1Click();
    // However the window goes, a running fetch goes with it.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The text in the status bar, and as the window's hint the same or its own.
    void SetStatus(const std::string& text, const std::string& hint = {});
    void Fetched(const TFetchReply& reply);

    TAsyncFetch* fetch_;
};
