// Local HTML pages reach the browser engine through a URL scheme of the
// program's own, whose handler hands over the file's bytes with the character
// set the page declares for itself in a meta element, and a page that
// declares none with the character set the editor reads it in: UTF-8 when its
// bytes are well-formed UTF-8, windows-1252 otherwise. Loaded as file://
// addresses, a page that declares no character set is left to the engine's
// guess, which takes many Windows-1252 pages for another code page. Every
// other file (pictures, style sheets, scripts, which take the page's
// character set) goes on as a file:// address.
#pragma once

#include <QString>
#include <QUrl>

class QWebEngineProfile;

namespace vx {

// Before the application object exists.
void RegisterLocalPageScheme();
// Once per profile the browser's pages use.
void InstallLocalPageHandler(QWebEngineProfile& profile);
// A local HTML file's address as the engine is to load it; any other address as it is.
QUrl EngineUrl(const QUrl& url);
// An address the engine shows as the user knows it: a local page's as its file:// address.
QUrl ShownUrl(const QUrl& url);
QString ShownUrlText(const QString& text);
// The engine titles a page without a title by its address, a file:// page by
// its file name.
QString ShownTitle(const QString& title);

} // namespace vx
