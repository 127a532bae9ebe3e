// The local pages' scheme and its handler.
#include "platform/web/LocalPages.h"

#include "platform/DeclaredCharset.h"
#include "platform/TextEncoding.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>

#include <string_view>

namespace vx {

namespace {

constexpr char kScheme[] = "vellumix-page";

bool IsHtmlFile(const QFileInfo& file)
{
    return file.isFile() &&
           QMimeDatabase().mimeTypeForFile(file, QMimeDatabase::MatchExtension).inherits("text/html");
}

bool IsPageUrl(const QUrl& url)
{
    return url.scheme() == QLatin1String(kScheme);
}

QUrl FileUrl(const QUrl& pageUrl)
{
    QUrl file = QUrl::fromLocalFile(pageUrl.path());
    file.setQuery(pageUrl.query());
    file.setFragment(pageUrl.fragment());
    return file;
}

class TLocalPageHandler : public QWebEngineUrlSchemeHandler {
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;

    void requestStarted(QWebEngineUrlRequestJob* job) override
    {
        const QUrl url = job->requestUrl();
        const QFileInfo info(url.path());
        // Pipes and devices are never read here: the engine reads them as it reads any file.
        if (!IsHtmlFile(info)) {
            job->redirect(FileUrl(url));
            return;
        }
        QFile file(info.filePath());
        if (!file.open(QIODevice::ReadOnly)) {
            job->fail(QWebEngineUrlRequestJob::RequestDenied);
            return;
        }
        auto* page = new QBuffer(job);
        page->setData(file.readAll());
        page->open(QIODevice::ReadOnly);
        const QByteArray& bytes = page->data();
        const std::string_view text(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        // A page's own declaration is named in the reply too: the engine then
        // reads the page in it wherever in the head the declaration stands.
        const std::string_view charset = DeclaredCharset(text).value_or(CharsetName(DocumentEncoding(text)));
        job->reply(QByteArray("text/html;charset=") + QByteArray(charset.data(), static_cast<qsizetype>(charset.size())),
                   page);
    }
};

} // namespace

void RegisterLocalPageScheme()
{
    if (!QWebEngineUrlScheme::schemeByName(kScheme).name().isEmpty())
        return;
    QWebEngineUrlScheme scheme(kScheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    // Local like file://: only local pages may load it, and its pages may load files.
    scheme.setFlags(QWebEngineUrlScheme::LocalScheme | QWebEngineUrlScheme::LocalAccessAllowed);
    QWebEngineUrlScheme::registerScheme(scheme);
}

void InstallLocalPageHandler(QWebEngineProfile& profile)
{
    if (!profile.urlSchemeHandler(kScheme))
        profile.installUrlSchemeHandler(kScheme, new TLocalPageHandler(&profile));
}

QUrl EngineUrl(const QUrl& url)
{
    if (!url.isLocalFile() || !IsHtmlFile(QFileInfo(url.toLocalFile())))
        return url;
    QUrl page = url;
    page.setScheme(kScheme);
    return page;
}

QUrl ShownUrl(const QUrl& url)
{
    return IsPageUrl(url) ? FileUrl(url) : url;
}

QString ShownUrlText(const QString& text)
{
    const QUrl url(text);
    return IsPageUrl(url) ? FileUrl(url).toString() : text;
}

QString ShownTitle(const QString& title)
{
    const QUrl url(title);
    return IsPageUrl(url) ? QFileInfo(url.path()).fileName() : title;
}

} // namespace vx
