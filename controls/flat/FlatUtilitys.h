// What the flat-look controls share: their palette, derived colours, font
// height, and the glyph-and-caption layout and disabled glyph of the speed button.
#pragma once

#include "editor/Colors.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <cstdint>
#include <string>


class QEvent;
class QFont;
class QFontMetrics;
class QPainter;
class QString;
class QWidget;

namespace vx {

// A lightness step in per cent (0..100) for derived colours.
using TAdvColors = std::uint8_t;
inline TAdvColors ClampAdvColor(int value) { return static_cast<TAdvColors>(value < 0 ? 0 : value > 100 ? 100 : value); }
// Stores value, clamped, in step; answers whether that changed it.
inline bool StoreAdvColor(TAdvColors& step, int value)
{
    const TAdvColors clamped = ClampAdvColor(value);
    if (clamped == step)
        return false;
    step = clamped;
    return true;
}

constexpr TColor clFlatFocused = 0x00FFFFFF;
constexpr TColor clFlatBorder = 0x008396A0;
constexpr TColor clFlatBackground = 0x00E1EAEB;
constexpr TColor clFlatDown = 0x00C5D6D9;
constexpr TColor clGaugeBackground = 0x00E0E9EF;
constexpr TColor clGaugeBorder = 0x00555E66;
constexpr TColor clGaugeBar = 0x00996633;

// The parent's colour made lighter or darker on the HSL scale; Percent 0 keeps
// OriginalColor. Lightness is kept inside the scale both ways.
TColor CalcAdvancedColor(TColor parentColor, TColor originalColor, int percent, bool darken);

// Text-metric height plus one eighth of it.
int GetFontHeight(const QFont& font);
bool RectInRect(const QRect& a, const QRect& b);
// A rectangle given as left, top and exclusive right and bottom.
inline QRect WinRect(int left, int top, int right, int bottom) { return QRect(left, top, right - left, bottom - top); }

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// The last step of every button layout: glyph and text of the given sizes,
// margin and spacing already resolved, placed along the layout's axis of
// client and centred across it; both positions then move by client's origin
// plus offset.
void PlaceGlyphAndText(const QRect& client, QPoint offset, TButtonLayout layout, QSize glyph, QSize text, int margin,
                       int spacing, QPoint& glyphPos, QPoint& textPos);

// Places glyph and caption in client; Margin -1 centres, Spacing -1 spreads.
// glyph holds numGlyphs images side by side; a null glyph takes no room.
void CalcButtonLayout(const QFontMetrics& metrics, const QRect& client, QPoint offset, const std::string& caption,
                      TButtonLayout layout, int margin, int spacing, QPoint& glyphPos, QRect& textBounds,
                      int numGlyphs, const QImage& glyph);

// The embossed grey form of source: maskColor pixels are background.
QImage CreateDisabledBitmap(const QImage& source, TColor maskColor, TColor backColor, bool drawHighlight,
                            TColor shadowColor, TColor highlightColor);

// Caption text in color, or, when disabled, embossed: once one pixel down and
// right in the button-highlight colour, then in place in the button-shadow colour.
void DrawCaption(QPainter& painter, const QRect& rect, int flags, const QString& text, bool enabled,
                 const QColor& color);

// Registers the "&" accelerator of caption as a shortcut of widget in place of
// the one registered before (id 0 = none); returns the new id, 0 without accelerator.
int GrabMnemonic(QWidget& widget, int oldId, const std::string& caption);
// Whether event is the accelerator registered under id.
bool IsMnemonic(const QEvent* event, int id);

} // namespace vx
