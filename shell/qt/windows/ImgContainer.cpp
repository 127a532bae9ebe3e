// The image container and the side picture it holds.
#include "shell/qt/windows/ImgContainer.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>

Tfrm_imgcontainer* frm_imgcontainer = nullptr;

namespace {

// The side picture: a tall blue band with the product name written upwards.
QPixmap SidePicture()
{
    QPixmap picture(64, 300);
    QPainter p(&picture);
    QLinearGradient gradient(0, 0, 0, picture.height());
    gradient.setColorAt(0, QColor(0, 0, 128));
    gradient.setColorAt(1, QColor(60, 110, 200));
    p.fillRect(picture.rect(), gradient);
    p.setPen(Qt::white);
    QFont font = p.font();
    font.setPointSize(16);
    font.setBold(true);
    p.setFont(font);
    p.translate(picture.width() / 2 + 8, picture.height() - 12);
    p.rotate(-90);
    p.drawText(0, 0, "Vellumix");
    return picture;
}

} // namespace

Tfrm_imgcontainer::Tfrm_imgcontainer(QWidget* parent) : TShellDialog("frm_imgcontainer", "Images", parent)
{
    Image1 = new QLabel(this);
    Image1->setObjectName("Image1");
    Image1->setPixmap(SidePicture());
    Loaded();
}

void Tfrm_imgcontainer::CopySidePicture(QLabel& target) const
{
    target.setPixmap(Image1->pixmap().copy());
}
