// Glyph cells, the glyph cache, and glyph-and-caption layout of the speed button.
#include "controls/buttons/RxButtonGlyph.h"

#include "controls/common/SysColors.h"
#include "controls/common/VCLUtils.h"
#include "platform/qt/QtText.h"

#include <QFontMetrics>
#include <QIcon>
#include <QPainter>
#include <QStringList>

#include <algorithm>

namespace {

std::unique_ptr<TGlyphCache> gCache;
int gLiveGlyphs = 0;

QImage Masked(const QImage& image, QRgb maskColor)
{
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    maskColor |= 0xFF000000u;
    for (int y = 0; y < out.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if ((line[x] | 0xFF000000u) == maskColor)
                line[x] = 0;
    }
    return out;
}

// A picture with an alpha channel as a bitmap with a transparent colour: the
// clear pixels take a colour the picture does not use, the half-clear ones are
// blended over the button face. Without this its clear pixels read as black,
// and every black line of the picture would vanish with them.
QImage Opaque(const QImage& glyph, QRgb& transparent)
{
    const QImage argb = glyph.convertToFormat(QImage::Format_ARGB32);
    const QColor face = vx::ToQColor(clBtnFace);
    QImage out(argb.size(), QImage::Format_RGB32);
    transparent = qRgb(255, 0, 255);
    for (bool clash = true; clash;) {
        clash = false;
        for (int y = 0; y < argb.height() && !clash; ++y)
            for (int x = 0; x < argb.width() && !clash; ++x)
                clash = qAlpha(argb.pixel(x, y)) > 0 && (argb.pixel(x, y) | 0xFF000000u) == (transparent | 0xFF000000u);
        if (clash)
            transparent = qRgb(qRed(transparent), qGreen(transparent) + 1, qBlue(transparent));
    }
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb p = argb.pixel(x, y);
            const int a = qAlpha(p);
            auto blend = [a](int c, int f) { return (c * a + f * (255 - a)) / 255; };
            out.setPixel(x, y, a == 0 ? transparent
                                      : qRgb(blend(qRed(p), face.red()), blend(qGreen(p), face.green()),
                                             blend(qBlue(p), face.blue())));
        }
    return out;
}

} // namespace

int TGlyphList::Add(const QImage& image)
{
    auto it = std::find(used_.begin(), used_.end(), false);
    int index = static_cast<int>(it - used_.begin());
    if (it == used_.end()) {
        images_.push_back(image);
        used_.push_back(true);
    } else {
        images_[index] = image;
        *it = true;
    }
    ++count_;
    return index;
}

int TGlyphList::AddMasked(const QImage& image, QRgb maskColor)
{
    return Add(Masked(image, maskColor));
}

void TGlyphList::Delete(int index)
{
    if (index < 0 || index >= static_cast<int>(used_.size()) || !used_[index])
        return;
    used_[index] = false;
    images_[index] = QImage();
    --count_;
}

TGlyphList* TGlyphCache::GetList(int width, int height)
{
    for (auto& list : lists_)
        if (list->Width() == width && list->Height() == height)
            return list.get();
    lists_.push_back(std::make_unique<TGlyphList>(width, height));
    return lists_.back().get();
}

void TGlyphCache::ReturnList(TGlyphList* list)
{
    if (!list || list->Count() != 0)
        return;
    std::erase_if(lists_, [list](const std::unique_ptr<TGlyphList>& l) { return l.get() == list; });
}

TGlyphCache* TGlyphCache::Instance()
{
    return gCache.get();
}

int TGlyphCache::LiveGlyphs()
{
    return gLiveGlyphs;
}

namespace vx {

int GlyphCellCount(const QImage& bitmap, int maxCells)
{
    if (bitmap.isNull() || bitmap.height() <= 0 || bitmap.width() <= 0)
        return 0;
    if (bitmap.width() % bitmap.height() != 0)
        return 1;
    int cells = bitmap.width() / bitmap.height();
    return cells >= 1 && cells <= maxCells ? cells : 1;
}

int GlyphCellIndex(TRxButtonState state, int count)
{
    if (state == rbsDown && count < 3)
        return 0;
    return state < count ? state : 0;
}

QImage GrayedGlyph(const QImage& cell, QRgb transparent)
{
    QImage out = cell.convertToFormat(QImage::Format_RGB32);
    const QRgb face = ToQColor(clBtnFace).rgb() | 0xFF000000u;
    transparent |= 0xFF000000u;
    for (int y = 0; y < out.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            QRgb p = line[x] | 0xFF000000u;
            if (p == transparent || p == face)
                continue;
            int grey = (77 * qRed(p) + 150 * qGreen(p) + 29 * qBlue(p)) / 256;
            line[x] = qRgb(grey, grey, grey);
        }
    }
    return out;
}

QImage IconGlyph(const QIcon& icon)
{
    const QSize size = icon.availableSizes().value(0, QSize(16, 16));
    QImage image(size, QImage::Format_RGB32);
    image.fill(qRgb(255, 0, 255));
    QPainter p(&image);
    icon.paint(&p, image.rect());
    return image;
}

} // namespace vx

TRxButtonGlyph::TRxButtonGlyph()
{
    indexes_.fill(-1);
    if (gLiveGlyphs++ == 0 && !gCache)
        gCache = std::make_unique<TGlyphCache>();
}

TRxButtonGlyph::~TRxButtonGlyph()
{
    Invalidate();
    if (--gLiveGlyphs == 0 && gCache && gCache->Empty())
        gCache.reset();
}

void TRxButtonGlyph::SetGlyph(const QImage& glyph)
{
    Invalidate();
    glyph_ = glyph;
    const int cells = vx::GlyphCellCount(glyph, MaxGlyphs);
    if (cells == 0) {
        glyph_ = QImage();
        transparent_ = qRgb(255, 0, 255);
        return;
    }
    numGlyphs_ = cells;
    if (glyph_.hasAlphaChannel())
        glyph_ = Opaque(glyph_, transparent_);
    else
        transparent_ = glyph_.pixel(0, glyph_.height() - 1);
}

void TRxButtonGlyph::SetTransparentColor(QRgb value)
{
    Invalidate();
    transparent_ = value;
}

void TRxButtonGlyph::SetNumGlyphs(int value)
{
    value = std::clamp(value, 1, MaxGlyphs);
    if (value == numGlyphs_)
        return;
    Invalidate();
    numGlyphs_ = value;
}

QSize TRxButtonGlyph::GlyphSize() const
{
    if (glyph_.isNull())
        return QSize(0, 0);
    return QSize(glyph_.width() / numGlyphs_, glyph_.height());
}

QImage TRxButtonGlyph::Cell(int index) const
{
    const QSize size = GlyphSize();
    return glyph_.copy(index * size.width(), 0, size.width(), size.height());
}

QImage TRxButtonGlyph::Render(TRxButtonState state) const
{
    const int index = vx::GlyphCellIndex(state, numGlyphs_);
    switch (state) {
    case rbsDisabled:
        if (numGlyphs_ >= 2)
            return Masked(Cell(index), transparent_);
        return Masked(vx::MakeDisabledBitmap(Cell(0), vx::FromQColor(QColor(transparent_))),
                      vx::ToQColor(clBtnFace).rgb());
    case rbsInactive:
        if (numGlyphs_ == 5)
            return Masked(Cell(index), transparent_);
        return Masked(vx::GrayedGlyph(Cell(0), transparent_), transparent_);
    default:
        return Masked(Cell(index), transparent_);
    }
}

QImage TRxButtonGlyph::GlyphFor(TRxButtonState state)
{
    if (glyph_.isNull())
        return QImage();
    if (indexes_[state] < 0) {
        if (!list_) {
            const QSize size = GlyphSize();
            list_ = gCache->GetList(size.width(), size.height());
        }
        indexes_[state] = list_->Add(Render(state));
    }
    return list_->Image(indexes_[state]);
}

void TRxButtonGlyph::Invalidate()
{
    if (!list_)
        return;
    for (int& index : indexes_) {
        list_->Delete(index);
        index = -1;
    }
    gCache->ReturnList(list_);
    list_ = nullptr;
}

void TRxButtonGlyph::CalcLayout(const QFontMetrics& metrics, const QRect& client, const QPoint& offset,
                                const std::string& caption, TRxButtonLayout layout, int margin, int spacing,
                                bool dropDownMark, QPoint& glyphPos, QRect& textBounds, QString& shownText) const
{
    const int cx = client.width(), cy = client.height();
    QSize glyph = GlyphSize();
    const bool horizontal = layout == TRxButtonLayout::blGlyphLeft || layout == TRxButtonLayout::blGlyphRight;
    const int extraSpacing = spacing == -1 ? 0 : spacing;
    const int extraMargin = margin == -1 ? 0 : margin;
    int limitWidth, limitHeight;
    if (horizontal) {
        limitWidth = cx - glyph.width() - 2 - extraSpacing - extraMargin - (dropDownMark ? 9 : 0);
        limitHeight = cy - 2;
    } else {
        limitWidth = cx - 2;
        limitHeight = cy - glyph.height() - 2 - extraSpacing - extraMargin;
    }
    limitWidth = std::max(0, limitWidth);
    limitHeight = std::max(0, limitHeight);

    shownText = vx::ToQString(caption);
    QSize text(0, 0);
    if (!shownText.isEmpty()) {
        if (!wordWrap_) {
            QStringList lines = shownText.split('\n');
            for (QString& line : lines)
                line = vx::MinimizeText(line, metrics, limitWidth);
            shownText = lines.join('\n');
        }
        int flags = Qt::AlignCenter | Qt::TextShowMnemonic | (wordWrap_ ? Qt::TextWordWrap : 0);
        text = metrics.boundingRect(QRect(0, 0, limitWidth, limitHeight), flags, shownText).size();
    }
    if (dropDownMark) {
        if (glyph.isEmpty() || layout == TRxButtonLayout::blGlyphLeft)
            text.rwidth() += 9;
        else
            glyph.rwidth() += 6;
    }

    const int extent = horizontal ? cx : cy;
    const int g = horizontal ? glyph.width() : glyph.height();
    const int t = horizontal ? text.width() : text.height();
    if (margin == -1) {
        if (spacing == -1) {
            margin = (extent - g - t) / 3;
            spacing = margin;
        } else {
            margin = (extent - g - spacing - t) / 2;
        }
    } else if (spacing == -1) {
        spacing = (extent - margin - g - t) / 2;
    }
    QPoint textPos;
    vx::PlaceGlyphAndText(client, offset, layout, glyph, text, margin, spacing, glyphPos, textPos);
    textBounds = QRect(textPos, text);
}

namespace {

// Rows of 7, 5, 3 and 1 pixels; the top row one pixel above point.
void DrawDropDownMark(QPainter& canvas, QPoint point, const QColor& colour)
{
    for (int i = 0; i < 4; ++i)
        canvas.fillRect(point.x() + i, point.y() - 1 + i, 7 - 2 * i, 1, colour);
}

} // namespace

QRect TRxButtonGlyph::Draw(QPainter& canvas, const QRect& client, const QPoint& offset, const std::string& caption,
                           TRxButtonLayout layout, int margin, int spacing, bool dropDownMark, TRxButtonState state,
                           TColor textColor)
{
    QPoint glyphPos;
    QRect textBounds;
    QString text;
    const QFontMetrics metrics(canvas.font());
    CalcLayout(metrics, client, offset, caption, layout, margin, spacing, dropDownMark, glyphPos, textBounds, text);

    const QImage picture = GlyphFor(state);
    if (!picture.isNull())
        canvas.drawImage(glyphPos, picture);

    QRect textRect = textBounds;
    if (dropDownMark && (glyph_.isNull() || layout == TRxButtonLayout::blGlyphLeft))
        textRect.setWidth(textRect.width() - 9);
    if (!text.isEmpty()) {
        int flags = Qt::AlignVCenter | Qt::TextShowMnemonic | (wordWrap_ ? Qt::TextWordWrap : 0);
        flags |= alignment_ == TRxAlignment::taLeftJustify    ? Qt::AlignLeft
                 : alignment_ == TRxAlignment::taRightJustify ? Qt::AlignRight
                                                              : Qt::AlignHCenter;
        if (state == rbsDisabled) {
            canvas.setPen(Qt::white);
            canvas.drawText(textRect.translated(1, 1), flags, text);
            canvas.setPen(QColor(128, 128, 128));
        } else {
            canvas.setPen(vx::ToQColor(textColor));
        }
        canvas.drawText(textRect, flags, text);
    }

    if (dropDownMark) {
        const QSize glyphSize = GlyphSize();
        QPoint mark;
        if (!glyph_.isNull() && layout != TRxButtonLayout::blGlyphLeft)
            mark = QPoint(glyphPos.x() + glyphSize.width() + 1, glyphPos.y() + glyphSize.height() / 2);
        else if (!text.isEmpty())
            mark = QPoint(textRect.left() + textRect.width() + 3, textRect.top() + textRect.height() / 2);
        else
            mark = QPoint((client.left() + client.left() + client.width() - 7) / 2,
                          client.top() + client.height() / 2);
        if (state == rbsDisabled) {
            DrawDropDownMark(canvas, mark + QPoint(1, 1), vx::ToQColor(clBtnHighlight));
            DrawDropDownMark(canvas, mark, vx::ToQColor(clBtnShadow));
        } else {
            DrawDropDownMark(canvas, mark, vx::ToQColor(clBtnText));
        }
    }
    return textBounds;
}
