// Image decoding through Qt's image readers.
#include "shell/qt/windows/NViewLib.h"

#include "platform/qt/QtText.h"

#include <QImageReader>

QImage NViewLibLoad(const std::string& fileName, unsigned)
{
    QImageReader reader(vx::ToQString(fileName));
    reader.setDecideFormatFromContent(true);
    // A header that claims a huge picture must not make us allocate it.
    reader.setAllocationLimit(256);
    return reader.read();
}
