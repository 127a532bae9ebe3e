// The GIF library's exception class and the severity of the warnings it reports.
#pragma once

#include "images/GraphicException.h"

// Raised by the GIF library with one of its wordings.
VX_DECLARE_EXCEPTION(GIFException, EInvalidGraphic);

// How serious a reported warning is; reading goes on after every one of them.
enum class TGIFSeverity { gsInfo, gsWarning, gsError };

// The reasons more than one part of the library gives. A warning about the
// same fault carries the wording's English.
extern const TWording PrematureEndOfData;
extern const TWording InvalidGIFData;
extern const TWording InvalidColorIndex;
extern const TWording InvalidImageDimensions;
extern const TWording UnsupportedPixelFormat;
extern const TWording InvalidReductionMethod;
extern const TWording ImageWidthTooSmall;
extern const TWording ImageHeightTooSmall;
