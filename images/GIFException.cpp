// The wordings the parts of the GIF library share.
#include "images/GIFException.h"

const TWording PrematureEndOfData{"Premature end of data"};
const TWording InvalidGIFData{"Invalid GIF data"};
const TWording InvalidColorIndex{"Invalid color index"};
const TWording InvalidImageDimensions{"Invalid image dimensions"};
const TWording UnsupportedPixelFormat{"Unsupported PixelFormat"};
const TWording InvalidReductionMethod{"Invalid reduction method"};
const TWording ImageWidthTooSmall{"Image width too small for contained frames"};
const TWording ImageHeightTooSmall{"Image height too small for contained frames"};
