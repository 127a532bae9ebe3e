// The preview's browser control and the engine it is made with.
#include "platform/qt/PreviewHTML.h"

#include "platform/qt/QtText.h"

#include <QVBoxLayout>

#include <exception>

namespace vx {

namespace {

TWebBrowserFactory& Factory()
{
    static TWebBrowserFactory factory;
    return factory;
}

} // namespace

void SetWebBrowserFactory(TWebBrowserFactory factory)
{
    Factory() = std::move(factory);
}

bool WebBrowserInstalled()
{
    return static_cast<bool>(Factory());
}

TPreviewHTML::TPreviewHTML(QWidget* parent) : QWidget(parent)
{
    resize(200, 200);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

TPreviewHTML::~TPreviewHTML() = default;

TWebBrowser* TPreviewHTML::Browser()
{
    if (browser_ || !WebBrowserInstalled())
        return browser_.get();
    browser_ = Factory()(this);
    layout()->addWidget(browser_->View());
    browser_->OnTitleChange = [this](const QString& title) {
        if (OnTitleChange)
            OnTitleChange(*this, FromQString(title));
    };
    browser_->OnStatusTextChange = [this](const QString& text) {
        if (OnStatusTextChange)
            OnStatusTextChange(*this, FromQString(text));
    };
    browser_->OnDocumentComplete = [this](bool completed) {
        if (OnDocumentComplete)
            OnDocumentComplete(*this, completed);
    };
    return browser_.get();
}

void TPreviewHTML::Call(const std::function<void(TWebBrowser&)>& call)
{
    try {
        if (TWebBrowser* browser = Browser())
            call(*browser);
    } catch (const std::exception&) {
        // The browser's own failures during these calls are not the user's to see.
    }
}

void TPreviewHTML::Navigate(const QUrl& url)
{
    Call([&url](TWebBrowser& b) { b.Navigate(url); });
}

void TPreviewHTML::GoBack()
{
    Call([](TWebBrowser& b) { b.GoBack(); });
}

void TPreviewHTML::GoForward()
{
    Call([](TWebBrowser& b) { b.GoForward(); });
}

void TPreviewHTML::Refresh()
{
    Call([](TWebBrowser& b) { b.Refresh(); });
}

void TPreviewHTML::Stop()
{
    Call([](TWebBrowser& b) { b.Stop(); });
}

bool TPreviewHTML::Busy() const
{
    return browser_ && browser_->Busy();
}

QUrl TPreviewHTML::LocationURL() const
{
    return browser_ ? browser_->LocationURL() : QUrl();
}

} // namespace vx
