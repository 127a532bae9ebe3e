// Drawing the link and structure pictures.
#include "internet/qt/LinkPictures.h"

#include <QPainter>

namespace {

constexpr int kSize = 16;

QPixmap Badge(QColor fill, const char* letter)
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(fill);
    painter.setPen(fill.darker(150));
    painter.drawRoundedRect(QRectF(0.5, 0.5, kSize - 1, kSize - 1), 3, 3);
    QFont font = painter.font();
    font.setPixelSize(11);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, kSize, kSize), Qt::AlignCenter, QString::fromLatin1(letter));
    return pixmap;
}

} // namespace

QPixmap LinkKindPicture(int kind)
{
    struct Kind {
        const char* letter;
        QColor color;
    };
    static const Kind kinds[] = {
        {"P", QColor(90, 90, 90)},   {"#", QColor(120, 80, 160)}, {"L", QColor(30, 90, 180)},
        {"I", QColor(0, 140, 120)},  {"F", QColor(170, 110, 0)},  {"M", QColor(80, 130, 40)},
        {"O", QColor(150, 60, 60)},  {"@", QColor(200, 90, 30)},  {"f", QColor(60, 60, 150)},
        {"T", QColor(60, 60, 60)},   {"N", QColor(110, 110, 30)}, {"G", QColor(100, 60, 20)},
    };
    const Kind& k = kinds[kind >= 0 && kind < 12 ? kind : 0];
    return Badge(k.color, k.letter);
}

QPixmap LinkStatePicture(int state)
{
    switch (state) {
    case 2: return Badge(QColor(40, 150, 60), "+");
    case 3: return Badge(QColor(200, 40, 40), "x");
    case 4: return Badge(QColor(60, 110, 200), "^");
    default: return Badge(QColor(150, 150, 150), "?");
    }
}

QIcon LinkNodeIcon(int state, int kind)
{
    QPixmap both(kSize * 2 + 2, kSize);
    both.fill(Qt::transparent);
    QPainter painter(&both);
    painter.drawPixmap(0, 0, LinkStatePicture(state));
    painter.drawPixmap(kSize + 2, 0, LinkKindPicture(kind));
    return QIcon(both);
}

QPixmap StructurePicture(int index)
{
    static const char* letters[] = {"D", "T", "E", "A", "C"};
    static const QColor colors[] = {QColor(90, 90, 90), QColor(0, 130, 90), QColor(30, 90, 180),
                                    QColor(170, 110, 0), QColor(120, 120, 120)};
    int i = index >= 0 && index < 5 ? index : 0;
    return Badge(colors[i], letters[i]);
}
