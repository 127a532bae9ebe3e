// The wordings the picture classes share.
#include "images/GraphicException.h"

const TWording BitmapNotValid{"Bitmap image is not valid"};
const TWording ScanLineOutOfRange{"Scan line index out of range"};
