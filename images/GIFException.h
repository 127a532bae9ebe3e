// The GIF library's exception class and the severity of the warnings it reports.
#pragma once

#include "images/GraphicException.h"

// Raised by the GIF library with one of its fixed English messages.
VX_DECLARE_EXCEPTION(GIFException, EInvalidGraphic);

// How serious a reported warning is; reading goes on after every one of them.
enum class TGIFSeverity { gsInfo, gsWarning, gsError };
