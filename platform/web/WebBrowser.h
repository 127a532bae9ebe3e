// The browser engine of the preview: Qt WebEngine behind the browser control's
// interface.
#pragma once

namespace vx {

// Makes browser controls use Qt WebEngine. Call before the application object
// is created: the engine shares its graphics context with the application's,
// and the scheme of local pages must be known before.
// Run as root, the engine's sandbox cannot start; it is then switched off.
void InstallWebBrowser();

} // namespace vx
