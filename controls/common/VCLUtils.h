// Drawing, bitmap, geometry, window, memory and cursor routines the controls
// share. Bitmaps are QImage, canvases QPainter; colours are TColor values
// (system colours resolve against the application palette when drawn).
#pragma once

#include "controls/common/Alignment.h"
#include "editor/Colors.h"
#include "platform/Exception.h"

#include <QEvent>
#include <QRect>
#include <QString>
#include <QtGui/qrgb.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

class QFontMetrics;
class QImage;
class QObject;
class QPainter;
class QPicture;
class QWidget;

// A resource the program asked for by name or number is missing.
VX_DECLARE_EXCEPTION(EResNotFound, Exception);

namespace vx {

enum TVertAlignment { vaTopJustify = 0, vaCenter = 1, vaBottomJustify = 2 };
enum TFillDirection { fdTopToBottom = 0, fdBottomToTop = 1, fdLeftToRight = 2, fdRightToLeft = 3 };

// --- colours
// The colour as RGB with the palette-relative flag 0x02000000.
TColor PaletteColor(TColor color);
// Number of colour-table entries of an indexed image (0 for other formats).
int PaletteEntries(const QImage& image);

// --- bitmaps
// Raises EResNotFound "Resource <name> not found".
[[noreturn]] void ResourceNotFound(const std::string& resource);
[[noreturn]] void ResourceNotFound(int resource);
// A module's bitmaps are the resources under its prefix; 0 stands for the
// system's predefined bitmaps, numbered as the style's standard pixmaps.
using TModule = const char*;
inline constexpr TModule ProgramModule = ":/";
// A bitmap of module by name or number; EResNotFound when missing.
QImage MakeBitmap(TModule module, const std::string& resource);
QImage MakeBitmap(TModule module, int resource);
// Cell `index` of a columns x rows grid of equal cells (each count at least 1,
// index below 0 taken as 0); the cell keeps the source's transparency.
void AssignBitmapCell(const QImage& source, QImage& dest, int columns, int rows, int index);
// The same for a drawing: it is played onto silver shifted so that the cell
// shows; when transparent, the silver left over becomes transparent.
void AssignBitmapCell(const QPicture& source, bool transparent, QImage& dest, int columns, int rows, int index);
// Stretches srcRect of bitmap onto dest, leaving out the pixels of colour transparent.
void StretchBltTransparent(QPainter& canvas, const QRect& dest, const QImage& bitmap, const QRect& srcRect,
                           QRgb transparent);
// Draws srcRect of bitmap stretched to width x height at (x, y). A width or height
// below 1 means the bitmap's own, an empty srcRect the whole bitmap. clNone draws
// opaque; clDefault takes the bottom-left pixel (white for a monochrome bitmap).
void DrawTransparentBitmapRect(QPainter& canvas, int x, int y, int width, int height, const QRect& srcRect,
                               const QImage& bitmap, TColor transparent);
void DrawTransparentBitmap(QPainter& canvas, int x, int y, const QImage& bitmap, TColor transparent);
void StretchBitmapRectTransparent(QPainter& canvas, int x, int y, int width, int height, const QRect& srcRect,
                                  const QImage& bitmap, TColor transparent);
// An embossed grey image of source: pixels of maskColor (and fully transparent
// ones) are background, filled with backColor; the rest is drawn at (1, 1) in
// highlightColor when asked, then at (0, 0) in shadowColor.
QImage CreateDisabledBitmapEx(const QImage& source, TColor maskColor, TColor backColor, bool drawHighlight,
                              TColor shadowColor, TColor highlightColor);
// CreateDisabledBitmapEx with the button face, shadow and highlight colours.
QImage MakeDisabledBitmap(const QImage& source, TColor maskColor);
// The same embossing for image `index` of an image list, drawn at (x, y).
void ImageListDrawDisabled(const std::vector<QImage>& images, QPainter& canvas, int x, int y, int index,
                           TColor highlightColor, TColor shadowColor, bool drawHighlight);

// --- drawing, geometry, windows
// Paints what lies behind control: its parent's own painting and the visible
// siblings before it that overlap it, in control coordinates.
void CopyParentImage(QWidget* control, QPainter& canvas);
// A 1-pixel 3-D frame: top and left edges in topColor, bottom and right in
// bottomColor; rect shrinks by the frame.
void Frame3D(QPainter& canvas, QRect& rect, TColor topColor, TColor bottomColor);
void GradientFillRect(QPainter& canvas, const QRect& rect, TColor beginColor, TColor endColor,
                      TFillDirection direction, int colors);
// Shows width nested dotted frames around a screen rectangle; the same call again removes them.
void DrawInvertFrame(const QRect& screenRect, int width);
// Rectangles with an exclusive right and bottom edge, as QRect's width and height count them.
int RectWidth(const QRect& rect);
int RectHeight(const QRect& rect);
// Edges included: left <= x <= left + width, top <= y <= top + height.
bool PointInRect(const QPoint& point, const QRect& rect);
// Drops pending posted events of that type for the object; a quit is kept.
void KillMessage(QObject* window, QEvent::Type type);
// A form in an MDI frame is centred in the frame's client area, another
// form on its screen, another control in its parent; no coordinate below 0.
void CenterControl(QWidget* control);
// Ends the dialog control sits in with modalResult; nothing for 0 or outside a dialog.
void EndModal(QWidget& control, int modalResult);
// The text when it fits in maxWidth; else the longest head of it followed by "...".
QString MinimizeText(const QString& text, const QFontMetrics& metrics, int maxWidth);
void DrawCellTextEx(QPainter& canvas, const QRect& rect, int dx, bool rightToLeft, bool wordWrap,
                    TAlignment alignment, const QString& text, int dy);
void DrawCellText(QPainter& canvas, const QRect& rect, bool rightToLeft, bool wordWrap, TVertAlignment vertAlignment,
                  TAlignment alignment, const QString& text);
bool IsForegroundTask();
void DefaultBeep();
// Restores the cursor, says "Function not yet implemented" and ends the
// current operation silently (raises EAbort).
[[noreturn]] void NotImplemented();

// --- memory
struct FreeDeleter {
    void operator()(void* block) const;
};
using TGlobalBlock = std::unique_ptr<std::byte[], FreeDeleter>;
// A zero-filled block; none for sizes below 1.
TGlobalBlock AllocGlobalMem(long size);
void FreeGlobalMem(TGlobalBlock& block);
bool MemBlocksEqual(const void* a, const void* b, std::size_t length);
void* OffsetPointer(void* pointer, std::ptrdiff_t offset);
// Safe for overlapping blocks.
void CopyMemBlock(const void* source, void* dest, std::size_t length);

// --- cursor and messages
// Nested wait cursor: the first StartWait shows the hourglass, the matching
// last StopWait restores the cursor; extra StopWait calls do nothing.
void StartWait();
void StopWait();
int WaitCount();

} // namespace vx
