// TfrmLinkChecking, "Link and File validator": walks a site from a start page
// (web address or local file) and shows every page and link as a tree with
// check states and status numbers. The walk runs on the user-interface thread
// and processes pending events while it waits, which is how a cancel click
// reaches it. LinkCheckDone is false while a validation runs. The tree is a
// view over the walk's nodes, so only the rows shown cost the window anything.
#pragma once

#include <QDialog>

#include "internet/CurlHttpFetcher.h"
#include "internet/LinkCrawl.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QTreeView;
class TLinkTreeModel;

extern bool LinkCheckDone;

class TfrmLinkChecking : public QDialog {
public:
    explicit TfrmLinkChecking(QWidget* parent = nullptr);
    ~TfrmLinkChecking() override;

    // The proxy, when the settings name one (otherwise http_proxy applies).
    void SetProxy(const std::string& host, int port);
    TLinkCrawl& Crawl() { return crawl_; }
    std::string StatusPanel(int index) const;

    QLineEdit* edtHTML;
    QPushButton* btnBrowse;
    QPushButton* btnCheck;
    QPushButton* btnCheck1;
    QTreeView* trvLinks;
    QStatusBar* stbStatus;

    void btnCheck1Click();
    void btnBrowseClick();
    // Escape or closing while walking stops the walk; the window goes once it has ended.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildWindow();
    void Walk();
    void trvLinksChange(const QModelIndex& index);
    void SetPanel(int index, const std::string& text);

    TCurlHttpFetcher fetcher_;
    TLinkCrawl crawl_;
    TLinkTreeModel* model_;
    bool running_ = false;
    QLabel* panels_[2] = {};
};
