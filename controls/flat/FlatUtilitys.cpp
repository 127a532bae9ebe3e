// Shared arithmetic of the flat-look controls.
#include "controls/flat/FlatUtilitys.h"

#include "platform/qt/QtText.h"
#include "controls/common/SysColors.h"
#include "controls/common/VCLUtils.h"
#include "controls/flat/HSLUtils.h"

#include <QFont>
#include <QFontMetrics>
#include <QKeySequence>
#include <QPainter>
#include <QShortcutEvent>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace vx {

namespace {
constexpr int LightenCap = 100;
}

TColor CalcAdvancedColor(TColor parentColor, TColor originalColor, int percent, bool darken)
{
    if (percent == 0)
        return originalColor;
    int h, s, l;
    RGBtoHSLRange(ColorToRGB(parentColor), h, s, l);
    l += 10;
    // Lightening stops at 100 of the 240 steps: the flat look's derived colours
    // never come near white, whatever the parent colour.
    l = darken ? std::clamp(l - percent, 0, HSLRange) : std::min(l + percent, LightenCap);
    return HSLRangeToRGB(h, s, l);
}

int GetFontHeight(const QFont& font)
{
    return static_cast<int>(std::nearbyint(QFontMetrics(font).height() * 9.0 / 8.0));
}

bool RectInRect(const QRect& a, const QRect& b)
{
    return a.intersects(b);
}

void CalcButtonLayout(const QFontMetrics& metrics, const QRect& client, QPoint offset, const std::string& caption,
                      TButtonLayout layout, int margin, int spacing, QPoint& glyphPos, QRect& textBounds,
                      int numGlyphs, const QImage& glyph)
{
    const int cx = client.width();
    const int cy = client.height();
    QSize glyphSize(0, 0);
    if (!glyph.isNull() && numGlyphs > 0)
        glyphSize = QSize(glyph.width() / numGlyphs, glyph.height());
    QSize textSize(0, 0);
    if (!caption.empty()) {
        QRect r = metrics.boundingRect(QRect(0, 0, cx, 0), Qt::TextSingleLine | Qt::TextShowMnemonic, ToQString(caption));
        textSize = r.size();
    }

    const bool horizontal = layout == TButtonLayout::blGlyphLeft || layout == TButtonLayout::blGlyphRight;
    if (textSize.width() == 0 || glyphSize.width() == 0)
        spacing = 0;
    const int clientAxis = horizontal ? cx : cy;
    const int glyphAxis = horizontal ? glyphSize.width() : glyphSize.height();
    const int textAxis = horizontal ? textSize.width() : textSize.height();
    if (margin == -1) {
        if (spacing == -1) {
            margin = (clientAxis - (glyphAxis + textAxis)) / 3;
            spacing = margin;
        } else {
            margin = (clientAxis - (glyphAxis + spacing + textAxis) + 1) / 2;
        }
    } else if (spacing == -1) {
        spacing = (clientAxis - (margin + glyphAxis) - textAxis) / 2;
    }

    QPoint textPos;
    PlaceGlyphAndText(client, offset, layout, glyphSize, textSize, margin, spacing, glyphPos, textPos);
    textBounds = QRect(textPos, textSize);
}

void PlaceGlyphAndText(const QRect& client, QPoint offset, TButtonLayout layout, QSize glyph, QSize text, int margin,
                       int spacing, QPoint& glyphPos, QPoint& textPos)
{
    const int cx = client.width(), cy = client.height();
    if (layout == TButtonLayout::blGlyphLeft || layout == TButtonLayout::blGlyphRight) {
        glyphPos.setY((cy - glyph.height() + 1) / 2);
        textPos.setY((cy - text.height() + 1) / 2);
    } else {
        glyphPos.setX((cx - glyph.width() + 1) / 2);
        textPos.setX((cx - text.width() + 1) / 2);
    }
    switch (layout) {
    case TButtonLayout::blGlyphLeft:
        glyphPos.setX(margin);
        textPos.setX(glyphPos.x() + glyph.width() + spacing);
        break;
    case TButtonLayout::blGlyphRight:
        glyphPos.setX(cx - margin - glyph.width());
        textPos.setX(glyphPos.x() - spacing - text.width());
        break;
    case TButtonLayout::blGlyphTop:
        glyphPos.setY(margin);
        textPos.setY(glyphPos.y() + glyph.height() + spacing);
        break;
    case TButtonLayout::blGlyphBottom:
        glyphPos.setY(cy - margin - glyph.height());
        textPos.setY(glyphPos.y() - spacing - text.height());
        break;
    }
    const QPoint shift = client.topLeft() + offset;
    glyphPos += shift;
    textPos += shift;
}

QImage CreateDisabledBitmap(const QImage& source, TColor maskColor, TColor backColor, bool drawHighlight,
                            TColor shadowColor, TColor highlightColor)
{
    return CreateDisabledBitmapEx(source, maskColor, backColor, drawHighlight, shadowColor, highlightColor);
}

void DrawCaption(QPainter& painter, const QRect& rect, int flags, const QString& text, bool enabled,
                 const QColor& color)
{
    if (enabled) {
        painter.setPen(color);
        painter.drawText(rect, flags, text);
        return;
    }
    painter.setPen(ToQColor(clBtnHighlight));
    painter.drawText(rect.translated(1, 1), flags, text);
    painter.setPen(ToQColor(clBtnShadow));
    painter.drawText(rect, flags, text);
}

int GrabMnemonic(QWidget& widget, int oldId, const std::string& caption)
{
    if (oldId)
        widget.releaseShortcut(oldId);
    QKeySequence mnemonic = QKeySequence::mnemonic(ToQString(caption));
    return mnemonic.isEmpty() ? 0 : widget.grabShortcut(mnemonic);
}

bool IsMnemonic(const QEvent* event, int id)
{
    return event->type() == QEvent::Shortcut && static_cast<const QShortcutEvent*>(event)->shortcutId() == id;
}

} // namespace vx
