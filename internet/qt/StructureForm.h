// TfrmHTMLParsing, "Structure": loads a page from a file or by HTTP GET,
// shows its source, and shows its element structure and its links as trees.
#pragma once

#include <QDialog>

#include "internet/CurlHttpFetcher.h"

#include <memory>
#include <string>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
class QStatusBar;
class QTabWidget;
class QTreeWidget;
struct TStructureNode;

class TfrmHTMLParsing : public QDialog {
public:
    explicit TfrmHTMLParsing(QWidget* parent = nullptr);
    ~TfrmHTMLParsing() override;

    // The proxy, when the settings name one (otherwise http_proxy applies).
    void SetProxy(const std::string& host, int port);

    QLineEdit* edtHTML;
    QPushButton* btnBrowse;
    QPushButton* btnparse;
    QPlainTextEdit* memHTML;
    QSplitter* pnlVertSplit;
    QTabWidget* pgcDetails;
    QTreeWidget* trvStructure;
    QTreeWidget* trvLinks;
    QStatusBar* StatusBar1;

    void btnParseClick();
    void btnBrowseClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildWindow();
    // The page's bytes; raises Exception with a message for the user.
    std::string LoadPage(const std::string& source);
    void ShowTree(QTreeWidget& tree, const std::vector<TStructureNode>& nodes, bool structure);

    std::unique_ptr<TCurlHttpFetcher> fetcher_;
};
