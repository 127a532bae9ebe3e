// The preview's browser control: a window that hosts a web browser engine,
// made on first use through the engine the program installs. The shell knows
// only this control; the engine lives in a library of its own, so that only
// the program and the browser's tests link it.
#pragma once

#include <QUrl>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>

namespace vx {

// What the control asks of a browser engine. Events fire only when set.
class TWebBrowser {
public:
    virtual ~TWebBrowser() = default;
    // The engine's own window, a child of the control.
    virtual QWidget* View() = 0;
    virtual void Navigate(const QUrl& url) = 0;
    virtual void GoBack() = 0;
    virtual void GoForward() = 0;
    virtual void Refresh() = 0;
    // Stops the page load in progress; a loaded page stays as it is.
    virtual void Stop() = 0;
    // True from the start of a page load until it completes or is stopped.
    virtual bool Busy() const = 0;
    virtual QUrl LocationURL() const = 0;

    std::function<void(const QString&)> OnTitleChange;
    std::function<void(const QString&)> OnStatusTextChange;
    // A page load ended: true when it completed, false when it failed or was stopped.
    std::function<void(bool)> OnDocumentComplete;
};

using TWebBrowserFactory = std::function<std::unique_ptr<TWebBrowser>(QWidget* parent)>;
// The engine that browser controls made from now on use; an empty one leaves
// them without a browser.
void SetWebBrowserFactory(TWebBrowserFactory factory);
bool WebBrowserInstalled();

class TPreviewHTML : public QWidget {
public:
    explicit TPreviewHTML(QWidget* parent = nullptr);
    ~TPreviewHTML() override;

    // Each call reaches the browser, made on first use. Without an engine they
    // do nothing; what the engine raises is dropped.
    void Navigate(const QUrl& url);
    void GoBack();
    void GoForward();
    void Refresh();
    void Stop();
    bool Busy() const;
    QUrl LocationURL() const;

    std::function<void(TPreviewHTML& sender, const std::string& text)> OnTitleChange;
    std::function<void(TPreviewHTML& sender, const std::string& text)> OnStatusTextChange;
    std::function<void(TPreviewHTML& sender, bool completed)> OnDocumentComplete;

private:
    TWebBrowser* Browser();
    void Call(const std::function<void(TWebBrowser&)>& call);

    std::unique_ptr<TWebBrowser> browser_;
};

} // namespace vx
