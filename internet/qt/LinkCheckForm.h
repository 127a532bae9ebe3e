// TfrmLinkChecking, "Link and File validator": walks a site from a start page
// (web address or local file) and shows every page and link as a tree with
// check states and status numbers. The walk runs on the user-interface thread
// and processes pending events after each page, which is how a cancel click
// reaches it. LinkCheckDone is false while a validation runs.
#pragma once

#include <QDialog>

#include "internet/CurlHttpFetcher.h"
#include "internet/LinkCrawl.h"

#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QTreeWidget;
class QTreeWidgetItem;

extern bool LinkCheckDone;

class TfrmLinkChecking : public QDialog {
public:
    explicit TfrmLinkChecking(QWidget* parent = nullptr);
    // For tests and benchmarks: another fetcher.
    TfrmLinkChecking(QWidget* parent, std::unique_ptr<IHttpFetcher> fetcher);
    ~TfrmLinkChecking() override;

    // The proxy, when the settings name one (otherwise http_proxy applies).
    void SetProxy(const std::string& host, int port);
    const TLinkCrawl& Crawl() const { return crawl_; }
    std::string StatusPanel(int index) const;

    QLineEdit* edtHTML;
    QPushButton* btnBrowse;
    QPushButton* btnCheck;
    QPushButton* btnCheck1;
    QTreeWidget* trvLinks;
    QStatusBar* stbStatus;

    void btnCheck1Click();
    void btnBrowseClick();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildWindow();
    void Walk();
    void NodeAdded(int index);
    void NodeChanged(int index);
    void trvLinksChange(QTreeWidgetItem* item);
    void SetPanel(int index, const std::string& text);

    std::unique_ptr<IHttpFetcher> fetcher_;
    TLinkCrawl crawl_;
    std::vector<QTreeWidgetItem*> items_;
    bool running_ = false;
    QLabel* panels_[2] = {};
};
