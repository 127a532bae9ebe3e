// The flat gauge: range arithmetic and painting.
#include "controls/flat/TFlatGaugeUnit.h"

#include "platform/qt/QtText.h"
#include "controls/common/SysColors.h"

#include <QPainter>

#include <algorithm>

TFlatGauge::TFlatGauge(QWidget* parent) : TFlatColorControl<QWidget>(parent, vx::clGaugeBackground, false)
{
    resize(145, 25);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TFlatGauge::SetMinValue(int value)
{
    value = std::min(value, maxValue_);
    if (value == minValue_)
        return;
    minValue_ = value;
    progress_ = std::max(progress_, minValue_);
    update();
}

void TFlatGauge::SetMaxValue(int value)
{
    value = std::max(value, minValue_);
    if (value == maxValue_)
        return;
    maxValue_ = value;
    progress_ = std::min(progress_, maxValue_);
    update();
}

void TFlatGauge::SetProgress(int value)
{
    value = std::clamp(value, minValue_, maxValue_);
    if (value == progress_)
        return;
    progress_ = value;
    update();
}

void TFlatGauge::SetShowText(bool value)
{
    if (value == showText_)
        return;
    showText_ = value;
    update();
}

void TFlatGauge::CalcAdvColors()
{
    colors_[0] = vx::CalcAdvancedColor(Color(), colors_[0], advColorBorder_, true);
}

std::string TFlatGauge::PercentText() const
{
    if (maxValue_ == minValue_)
        return "error";
    long long percent = (static_cast<long long>(progress_) - minValue_) * 100 / (static_cast<long long>(maxValue_) - minValue_);
    return std::to_string(percent) + " %";
}

int TFlatGauge::BarLength(int pictureWidth) const
{
    if (maxValue_ == minValue_ || pictureWidth <= 0)
        return 0;
    return static_cast<int>(static_cast<long long>(pictureWidth) * (static_cast<long long>(progress_) - minValue_) /
                            (static_cast<long long>(maxValue_) - minValue_));
}

void TFlatGauge::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QColor background = vx::ToQColor(Color());
    const QColor bar = vx::ToQColor(colors_[1]);
    p.fillRect(rect(), background);
    p.setPen(vx::ToQColor(colors_[0]));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    const QRect area = rect().adjusted(3, 3, -3, -3);

    const QSize pictureSize(std::max(0, width() - 4), std::max(0, height() - 4));
    if (pictureSize.isEmpty())
        return;
    QImage barPicture(pictureSize, QImage::Format_RGB32);
    QImage emptyPicture(pictureSize, QImage::Format_RGB32);
    barPicture.fill(bar);
    emptyPicture.fill(background);

    if (showText_) {
        const QString text = vx::ToQString(PercentText());
        const QFontMetrics fm(font());
        const int x = width() / 2 - fm.horizontalAdvance(text) / 2;
        const int y = pictureSize.height() / 2 - fm.height() / 2;
        auto write = [&](QImage& picture, const QColor& colour) {
            QPainter tp(&picture);
            tp.setFont(font());
            tp.setPen(colour);
            tp.drawText(QRect(x, y, fm.horizontalAdvance(text) + 1, fm.height()), Qt::AlignLeft | Qt::AlignTop, text);
        };
        write(barPicture, background);
        write(emptyPicture, bar);
    }

    const int length = BarLength(pictureSize.width());
    const int gap = pictureSize.width() - length;
    // Both pictures are stretched into their parts of the drawing area, as a
    // block copy into a rectangle of another size does; an empty part is skipped.
    auto copy = [&](const QRect& target, const QImage& picture, const QRect& source) {
        if (target.width() > 0 && source.width() > 0)
            p.drawImage(target, picture, source);
    };
    copy(QRect(area.left(), area.top(), area.width() - gap, area.height()), barPicture,
         QRect(0, 0, length, pictureSize.height()));
    copy(QRect(area.left() + length, area.top(), area.width() - length, area.height()), emptyPicture,
         QRect(length, 0, gap, pictureSize.height()));
}
