// A query parameter taken from a picture.
#pragma once

#include "database/mParams.h"

class QImage;

// The bitmap saved to a memory stream (a BMP file's bytes), type ftGraphic; a null image gives no bytes.
void AssignPicture(TmParam& param, const QImage& picture);
