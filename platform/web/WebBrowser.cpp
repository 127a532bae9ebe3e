// Qt WebEngine as the preview's browser.
#include "platform/web/WebBrowser.h"

#include "platform/qt/PreviewHTML.h"
#include "platform/web/LocalPages.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <unistd.h>

namespace vx {

namespace {

class TWebEngineBrowser : public TWebBrowser {
public:
    explicit TWebEngineBrowser(QWidget* parent) : view_(new QWebEngineView(parent))
    {
        view_->setObjectName("WebBrowser");
        InstallLocalPageHandler(*view_->page()->profile());
        QObject::connect(view_, &QWebEngineView::titleChanged, view_, [this](const QString& title) {
            if (OnTitleChange)
                OnTitleChange(ShownTitle(title));
        });
        QObject::connect(view_->page(), &QWebEnginePage::linkHovered, view_, [this](const QString& url) {
            if (OnStatusTextChange)
                OnStatusTextChange(ShownUrlText(url));
        });
        QObject::connect(view_, &QWebEngineView::loadStarted, view_, [this] { busy_ = true; });
        QObject::connect(view_, &QWebEngineView::loadFinished, view_, [this](bool ok) {
            busy_ = false;
            // The engine is silent about a title that did not change, as on a
            // page loaded again: whoever shows it hears it after every load.
            if (OnTitleChange)
                OnTitleChange(ShownTitle(view_->title()));
            if (OnDocumentComplete)
                OnDocumentComplete(ok);
        });
    }
    // The view goes first, so that nothing it signals on its way out reaches
    // a browser that is gone.
    ~TWebEngineBrowser() override { delete view_.data(); }

    QWidget* View() override { return view_; }
    void Navigate(const QUrl& url) override { view_->load(EngineUrl(url)); }
    void GoBack() override { view_->back(); }
    void GoForward() override { view_->forward(); }
    void Refresh() override { view_->reload(); }
    void Stop() override { view_->stop(); }
    bool Busy() const override { return busy_; }
    QUrl LocationURL() const override { return ShownUrl(view_->url()); }

private:
    QPointer<QWebEngineView> view_;
    bool busy_ = false;
};

} // namespace

void InstallWebBrowser()
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    RegisterLocalPageScheme();
    SetWebBrowserFactory([](QWidget* parent) { return std::make_unique<TWebEngineBrowser>(parent); });
}

} // namespace vx
