// Tells the translator about the texts of our own components: the flat and
// speed buttons' and labels' captions, the gradient caption's pieces, the
// speed bar's sections and items; and hands it the windows the component
// layer builds.
#pragma once

namespace vx::shell {

// Once per process; later calls do nothing.
void RegisterComponentTranslation();

// The property of a tab page whose caption is its document's: never translated.
inline constexpr const char* DocumentCaptionProperty = "vxDocumentCaption";

} // namespace vx::shell
