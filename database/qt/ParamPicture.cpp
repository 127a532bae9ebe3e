#include "database/qt/ParamPicture.h"

#include <QBuffer>
#include <QImage>

void AssignPicture(TmParam& param, const QImage& picture)
{
    QByteArray bytes;
    if (!picture.isNull()) {
        QBuffer stream(&bytes);
        stream.open(QIODevice::WriteOnly);
        picture.save(&stream, "BMP");
    }
    param.AssignGraphic(std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}
