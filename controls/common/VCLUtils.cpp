// Drawing, bitmap, geometry, window, memory and cursor routines the controls share.
#include "controls/common/VCLUtils.h"

#include "controls/common/SysColors.h"
#include "localisation/RunTimeText.h"
#include "platform/qt/Dialogs.h"

#include <QApplication>
#include <QColor>
#include <QCoreApplication>
#include <QCursor>
#include <QDialog>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPicture>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace vx {

namespace {

const TRunTimeText NotYetImplemented{"Function not yet implemented"};
const TWording NoSuchResource{"Resource %1 not found"};

int waitCount = 0;

// Rounds to the nearest integer, halves away from zero, as the platform's MulDiv.
int MulDiv(int number, int numerator, int denominator)
{
    long long n = static_cast<long long>(number) * numerator;
    long long d = denominator;
    bool negative = (n < 0) != (d < 0);
    n = n < 0 ? -n : n;
    d = d < 0 ? -d : d;
    long long q = (2 * n + d) / (2 * d);
    return static_cast<int>(negative ? -q : q);
}

// An image of bitmap's size: color where the pixel is foreground, transparent elsewhere.
template <typename IsBackground>
QImage shapeImage(const QImage& bitmap, const QColor& color, IsBackground isBackground)
{
    QImage source = bitmap.convertToFormat(QImage::Format_ARGB32);
    QImage shape(source.size(), QImage::Format_ARGB32);
    shape.fill(Qt::transparent);
    QRgb ink = color.rgba();
    for (int y = 0; y < source.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        QRgb* out = reinterpret_cast<QRgb*>(shape.scanLine(y));
        for (int x = 0; x < source.width(); ++x)
            if (!isBackground(in[x]))
                out[x] = ink;
    }
    return shape;
}

bool isMaskPixel(QRgb pixel, QRgb mask)
{
    return qAlpha(pixel) == 0 || (pixel & 0xFFFFFF) == (mask & 0xFFFFFF);
}

// Nearest-neighbour stretching, as a colour-on-colour blit does.
class PlainScaling {
public:
    explicit PlainScaling(QPainter& canvas) : canvas_(canvas), smooth_(canvas.testRenderHint(QPainter::SmoothPixmapTransform))
    {
        canvas_.setRenderHint(QPainter::SmoothPixmapTransform, false);
    }
    ~PlainScaling() { canvas_.setRenderHint(QPainter::SmoothPixmapTransform, smooth_); }
    PlainScaling(const PlainScaling&) = delete;
    PlainScaling& operator=(const PlainScaling&) = delete;

private:
    QPainter& canvas_;
    bool smooth_;
};

// Cell index of a columns x rows grid over size.
QRect gridCell(const QSize& size, int columns, int rows, int index)
{
    columns = std::max(columns, 1);
    rows = std::max(rows, 1);
    index = std::max(index, 0);
    const int w = size.width() / columns;
    const int h = size.height() / rows;
    return QRect((index % columns) * w, (index / columns) * h, w, h);
}

// Makes the pixels of colour (alpha ignored) of an ARGB32 image fully transparent.
void clearColour(QImage& image, QRgb colour)
{
    for (int y = 0; y < image.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] & 0xFFFFFF) == (colour & 0xFFFFFF))
                line[x] = 0;
    }
}

class InvertFrame : public QWidget {
public:
    InvertFrame(const QRect& rect, int width) : width_(width)
    {
        setObjectName("InvertFrame");
        setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_TranslucentBackground);
        setAttribute(Qt::WA_DeleteOnClose);
        setAttribute(Qt::WA_ShowWithoutActivating);
        setGeometry(rect);
        setProperty("frameWidth", width);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        QRect r = rect();
        for (int i = 0; i < width_ && r.width() > 0 && r.height() > 0; ++i) {
            p.drawRect(r.adjusted(0, 0, -1, -1));
            r.adjust(1, 1, -1, -1);
        }
    }

private:
    int width_;
};

} // namespace

TColor PaletteColor(TColor color)
{
    return ColorToRGB(color) | 0x02000000;
}

int PaletteEntries(const QImage& image)
{
    return image.colorCount();
}

void ResourceNotFound(const std::string& resource)
{
    throw EResNotFound(TMessage(NoSuchResource, {resource}));
}

void ResourceNotFound(int resource)
{
    ResourceNotFound(std::to_string(resource));
}

QImage MakeBitmap(TModule module, const std::string& resource)
{
    QImage image;
    if (module)
        image.load(QString::fromLatin1(module) +
                   QString::fromLatin1(resource.data(), static_cast<qsizetype>(resource.size())));
    if (image.isNull())
        ResourceNotFound(resource);
    return image;
}

QImage MakeBitmap(TModule module, int resource)
{
    if (module)
        return MakeBitmap(module, std::to_string(resource));
    QImage image;
    if (resource >= 0 && static_cast<unsigned>(resource) < QStyle::SP_CustomBase)
        image = QApplication::style()->standardPixmap(static_cast<QStyle::StandardPixmap>(resource)).toImage();
    if (image.isNull())
        ResourceNotFound(resource);
    return image;
}

void AssignBitmapCell(const QImage& source, QImage& dest, int columns, int rows, int index)
{
    const QRect cell = gridCell(source.size(), columns, rows, index);
    dest = source.copy(cell);
}

void AssignBitmapCell(const QPicture& source, bool transparent, QImage& dest, int columns, int rows, int index)
{
    const QRect bounds = source.boundingRect();
    const QRect cell = gridCell(bounds.size(), columns, rows, index);
    const QRgb silver = qRgb(0xC0, 0xC0, 0xC0);
    QImage image(cell.size(), QImage::Format_ARGB32);
    image.fill(silver);
    if (!image.isNull()) {
        // A picture plays at its own coordinates; shift so the cell's corner lands at (0, 0).
        QPainter p(&image);
        p.translate(-bounds.topLeft() - cell.topLeft());
        QPicture(source).play(&p); // play is not const; the copy shares the data
    }
    if (transparent)
        clearColour(image, silver);
    dest = image;
}

void StretchBltTransparent(QPainter& canvas, const QRect& dest, const QImage& bitmap, const QRect& srcRect,
                           QRgb transparent)
{
    QImage part = bitmap.copy(srcRect).convertToFormat(QImage::Format_ARGB32);
    clearColour(part, transparent);
    PlainScaling plain(canvas);
    canvas.drawImage(dest, part);
}

void DrawTransparentBitmapRect(QPainter& canvas, int x, int y, int width, int height, const QRect& srcRect,
                               const QImage& bitmap, TColor transparent)
{
    if (bitmap.isNull())
        return;
    QRect source = srcRect.isEmpty() ? bitmap.rect() : srcRect;
    QRect dest(x, y, width < 1 ? bitmap.width() : width, height < 1 ? bitmap.height() : height);
    if (transparent == clNone) {
        PlainScaling plain(canvas);
        canvas.drawImage(dest, bitmap, source);
        return;
    }
    QRgb key;
    if (bitmap.depth() == 1)
        key = qRgb(255, 255, 255);
    else if (transparent == clDefault)
        key = bitmap.pixel(0, bitmap.height() - 1);
    else
        key = ToQColor(transparent).rgb();
    StretchBltTransparent(canvas, dest, bitmap, source, key);
}

void DrawTransparentBitmap(QPainter& canvas, int x, int y, const QImage& bitmap, TColor transparent)
{
    DrawTransparentBitmapRect(canvas, x, y, bitmap.width(), bitmap.height(), bitmap.rect(), bitmap, transparent);
}

void StretchBitmapRectTransparent(QPainter& canvas, int x, int y, int width, int height, const QRect& srcRect,
                                  const QImage& bitmap, TColor transparent)
{
    DrawTransparentBitmapRect(canvas, x, y, width, height, srcRect, bitmap, transparent);
}

QImage CreateDisabledBitmapEx(const QImage& source, TColor maskColor, TColor backColor, bool drawHighlight,
                              TColor shadowColor, TColor highlightColor)
{
    QImage result(source.size(), QImage::Format_ARGB32);
    result.fill(ToQColor(backColor));
    QRgb mask = ToQColor(maskColor).rgb();
    auto isBackground = [mask](QRgb p) { return isMaskPixel(p, mask); };
    QPainter p(&result);
    if (drawHighlight)
        p.drawImage(1, 1, shapeImage(source, ToQColor(highlightColor), isBackground));
    p.drawImage(0, 0, shapeImage(source, ToQColor(shadowColor), isBackground));
    return result;
}

QImage MakeDisabledBitmap(const QImage& source, TColor maskColor)
{
    return CreateDisabledBitmapEx(source, maskColor, clBtnFace, true, clBtnShadow, clBtnHighlight);
}

void ImageListDrawDisabled(const std::vector<QImage>& images, QPainter& canvas, int x, int y, int index,
                           TColor highlightColor, TColor shadowColor, bool drawHighlight)
{
    if (index < 0 || index >= static_cast<int>(images.size()))
        return;
    auto isBackground = [](QRgb p) { return qAlpha(p) == 0; };
    canvas.save();
    if (drawHighlight)
        canvas.drawImage(x + 1, y + 1, shapeImage(images[index], ToQColor(highlightColor), isBackground));
    canvas.drawImage(x, y, shapeImage(images[index], ToQColor(shadowColor), isBackground));
    canvas.restore();
}

void CopyParentImage(QWidget* control, QPainter& canvas)
{
    QWidget* parent = control ? control->parentWidget() : nullptr;
    if (!parent)
        return;
    const QRect own = control->geometry();
    const QPoint origin = own.topLeft();
    QRect behind = own & parent->rect();
    if (behind.isEmpty())
        return;
    parent->render(&canvas, behind.topLeft() - origin, QRegion(behind), QWidget::DrawWindowBackground);
    for (QObject* child : parent->children()) {
        if (child == control)
            break;
        auto* sibling = qobject_cast<QWidget*>(child);
        if (!sibling || sibling->isWindow() || !sibling->isVisible())
            continue;
        QRect overlap = sibling->geometry() & behind;
        if (overlap.isEmpty())
            continue;
        sibling->render(&canvas, overlap.topLeft() - origin, QRegion(overlap.translated(-sibling->pos())),
                        QWidget::DrawWindowBackground | QWidget::DrawChildren);
    }
}

void Frame3D(QPainter& canvas, QRect& rect, TColor topColor, TColor bottomColor)
{
    const QColor top = ToQColor(topColor), bottom = ToQColor(bottomColor);
    canvas.fillRect(rect.left(), rect.top(), rect.width(), 1, top);
    canvas.fillRect(rect.left(), rect.top(), 1, rect.height(), top);
    canvas.fillRect(rect.left(), rect.bottom(), rect.width(), 1, bottom);
    canvas.fillRect(rect.right(), rect.top(), 1, rect.height(), bottom);
    rect.adjust(1, 1, -1, -1);
}

void GradientFillRect(QPainter& canvas, const QRect& rect, TColor beginColor, TColor endColor,
                      TFillDirection direction, int colors)
{
    const bool vertical = direction == fdTopToBottom || direction == fdBottomToTop;
    const int extent = vertical ? rect.height() : rect.width();
    if (extent <= 0 || rect.isEmpty())
        return;
    QColor from = ToQColor(beginColor);
    QColor to = ToQColor(endColor);
    if (direction == fdBottomToTop || direction == fdRightToLeft)
        std::swap(from, to);
    const int bands = std::max(1, std::min(colors, extent));
    const int size = extent / bands;
    auto channel = [bands](int start, int end, int i) {
        return bands == 1 ? start : start + MulDiv(i, end - start, bands - 1);
    };
    auto band = [&](int offset, int length) {
        return vertical ? QRect(rect.left(), rect.top() + offset, rect.width(), length)
                        : QRect(rect.left() + offset, rect.top(), length, rect.height());
    };
    for (int i = 0; i < bands; ++i) {
        QColor c(channel(from.red(), to.red(), i), channel(from.green(), to.green(), i),
                 channel(from.blue(), to.blue(), i));
        canvas.fillRect(band(i * size, size), c);
    }
    if (extent > bands * size)
        canvas.fillRect(band(bands * size, extent - bands * size), to);
}

void DrawInvertFrame(const QRect& screenRect, int width)
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == "InvertFrame" && w->geometry() == screenRect &&
            w->property("frameWidth").toInt() == width && w->isVisible()) {
            w->close();
            return;
        }
    }
    auto* frame = new InvertFrame(screenRect, width); // deletes itself on close
    frame->show();
}

int RectWidth(const QRect& rect)
{
    return rect.width();
}

int RectHeight(const QRect& rect)
{
    return rect.height();
}

bool PointInRect(const QPoint& point, const QRect& rect)
{
    return point.x() >= rect.left() && point.x() <= rect.left() + rect.width() && point.y() >= rect.top() &&
           point.y() <= rect.top() + rect.height();
}

void KillMessage(QObject* window, QEvent::Type type)
{
    if (type == QEvent::Quit)
        return;
    QCoreApplication::removePostedEvents(window, type);
}

void EndModal(QWidget& control, int modalResult)
{
    if (modalResult != 0)
        if (auto* dialog = qobject_cast<QDialog*>(control.window()))
            dialog->done(modalResult);
}

void CenterControl(QWidget* control)
{
    if (!control)
        return;
    // An MDI child form sits in a sub-window frame on the MDI area's viewport,
    // the main form's client area: the frame is what moves there.
    auto* frame = qobject_cast<QMdiSubWindow*>(control->parentWidget());
    if (frame && frame->widget() == control && frame->mdiArea())
        control = frame;
    QRect area;
    if (control->isWindow()) {
        QScreen* screen = control->screen() ? control->screen() : QGuiApplication::primaryScreen();
        if (screen)
            area = screen->geometry();
    } else if (QWidget* parent = control->parentWidget()) {
        parent->winId();
        area = parent->rect();
    }
    QPoint pos = control->pos();
    if (!area.isNull())
        pos = QPoint(area.left() + (area.width() - control->width()) / 2,
                     area.top() + (area.height() - control->height()) / 2);
    control->move(std::max(pos.x(), 0), std::max(pos.y(), 0));
}

QString MinimizeText(const QString& text, const QFontMetrics& metrics, int maxWidth)
{
    if (metrics.horizontalAdvance(text) <= maxWidth)
        return text;
    const QString ellipsis = QStringLiteral("...");
    for (qsizetype n = text.size() - 2; n > 0; --n) {
        QString candidate = text.left(n) + ellipsis;
        if (metrics.horizontalAdvance(candidate) <= maxWidth)
            return candidate;
    }
    return ellipsis;
}

void DrawCellTextEx(QPainter& canvas, const QRect& rect, int dx, bool rightToLeft, bool wordWrap,
                    TAlignment alignment, const QString& text, int dy)
{
    if (canvas.layoutDirection() == Qt::RightToLeft && !rightToLeft && alignment != taCenter)
        alignment = alignment == taLeftJustify ? taRightJustify : taLeftJustify;
    canvas.save();
    canvas.setClipRect(rect, Qt::IntersectClip);
    if (canvas.brush().style() == Qt::SolidPattern)
        canvas.fillRect(rect, canvas.brush());
    const QFontMetrics metrics = canvas.fontMetrics();
    if (!wordWrap && canvas.brush().style() == Qt::SolidPattern && !text.contains(QLatin1Char('\r'))) {
        const int width = metrics.horizontalAdvance(text);
        int x = rect.left() + dx;
        if (alignment == taRightJustify)
            x = rect.left() + rect.width() - width - 3;
        else if (alignment == taCenter)
            x = rect.left() + rect.width() / 2 - width / 2;
        canvas.drawText(QRect(x, rect.top() + dy, width + 1, metrics.height()),
                        Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    } else {
        int flags = Qt::AlignTop | Qt::TextExpandTabs;
        flags |= alignment == taRightJustify ? Qt::AlignRight : alignment == taCenter ? Qt::AlignHCenter : Qt::AlignLeft;
        if (wordWrap)
            flags |= Qt::TextWordWrap;
        canvas.setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
        canvas.drawText(rect.adjusted(dx, dy, -dx, 0), flags, text);
    }
    canvas.restore();
}

void DrawCellText(QPainter& canvas, const QRect& rect, bool rightToLeft, bool wordWrap, TVertAlignment vertAlignment,
                  TAlignment alignment, const QString& text)
{
    const int lineHeight = canvas.fontMetrics().height();
    int dy = 2;
    if (vertAlignment == vaCenter)
        dy = std::max((rect.height() - lineHeight) / 2, 1);
    else if (vertAlignment == vaBottomJustify)
        dy = std::max(rect.height() - lineHeight, 2);
    DrawCellTextEx(canvas, rect, 2, rightToLeft, wordWrap, alignment, text, dy);
}

bool IsForegroundTask()
{
    return QApplication::activeWindow() != nullptr;
}

void DefaultBeep()
{
    QApplication::beep();
}

void NotImplemented()
{
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    waitCount = 0;
    MessageDlg(NotYetImplemented(), mtInformation, mbOK);
    throw EAbort("");
}

void FreeDeleter::operator()(void* block) const
{
    std::free(block);
}

TGlobalBlock AllocGlobalMem(long size)
{
    if (size < 1)
        return TGlobalBlock();
    return TGlobalBlock(static_cast<std::byte*>(std::calloc(static_cast<std::size_t>(size), 1)));
}

void FreeGlobalMem(TGlobalBlock& block)
{
    block.reset();
}

bool MemBlocksEqual(const void* a, const void* b, std::size_t length)
{
    return length == 0 || std::memcmp(a, b, length) == 0;
}

void* OffsetPointer(void* pointer, std::ptrdiff_t offset)
{
    return static_cast<std::byte*>(pointer) + offset;
}

void CopyMemBlock(const void* source, void* dest, std::size_t length)
{
    if (length > 0)
        std::memmove(dest, source, length);
}

void StartWait()
{
    if (waitCount++ == 0)
        QApplication::setOverrideCursor(Qt::WaitCursor);
}

void StopWait()
{
    if (waitCount == 0)
        return;
    if (--waitCount == 0)
        QApplication::restoreOverrideCursor();
}

int WaitCount()
{
    return waitCount;
}

} // namespace vx
