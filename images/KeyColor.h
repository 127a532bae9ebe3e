// A colour that no opaque pixel of a picture has, to stand for its transparent pixels.
#pragma once

#include "images/RxGIFTypes.h"

#include <functional>

class TGIFBitmap;

namespace RxGIF {

// The preferred colour when no opaque pixel has it, otherwise the first free colour
// from white down; the preferred one when every colour is taken. transparent(x, y)
// tells which pixels do not count.
TColor UnusedColor(const TGIFBitmap& bitmap, const std::function<bool(int x, int y)>& transparent, TColor preferred);

} // namespace RxGIF
