// The picture exceptions of the graphics layer: a picture that cannot be read or
// used, and an operation a picture cannot do (a row outside it, for one).
#pragma once

#include "platform/Exception.h"

VX_DECLARE_EXCEPTION(EInvalidGraphic, Exception);
VX_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception);

// The reasons more than one picture class gives.
extern const TWording BitmapNotValid;
extern const TWording ScanLineOutOfRange;
