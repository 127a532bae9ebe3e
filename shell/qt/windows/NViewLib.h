// The image viewer library's one call: decodes an image file into a picture.
#pragma once

#include <QImage>

#include <string>

// The decoded image of the file, its format found from its content, not its
// name; a null image when the file is missing or no reader of the program
// decodes it. flags is reserved and always 0.
QImage NViewLibLoad(const std::string& fileName, unsigned flags);
