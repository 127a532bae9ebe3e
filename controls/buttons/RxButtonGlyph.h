// The glyph renderer of the speed button: the states of a glyph bitmap made
// once and kept in a process-wide cache of image lists, and the layout and
// drawing of glyph, caption and drop-down mark on a button face.
#pragma once

#include "controls/flat/FlatUtilitys.h"
#include "editor/Colors.h"

#include <QImage>
#include <QRect>

#include <array>
#include <memory>
#include <string>
#include <vector>

class QFontMetrics;
class QIcon;
class QPainter;

enum TRxButtonState { rbsUp = 0, rbsDisabled = 1, rbsDown = 2, rbsExclusive = 3, rbsInactive = 4 };
// Where the glyph sits beside the caption: the same layout as the flat buttons'.
using TRxButtonLayout = vx::TButtonLayout;
enum class TRxAlignment { taLeftJustify, taRightJustify, taCenter };

// An image list of one glyph size whose slots are reused once released.
class TGlyphList {
public:
    TGlyphList(int width, int height) : width_(width), height_(height) {}
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Stores image (already masked) in the first free slot.
    int Add(const QImage& image);
    // Stores image with every pixel of maskColor made transparent.
    int AddMasked(const QImage& image, QRgb maskColor);
    void Delete(int index);
    const QImage& Image(int index) const { return images_.at(index); }
    int Count() const { return count_; }

private:
    int width_, height_;
    std::vector<QImage> images_;
    std::vector<bool> used_;
    int count_ = 0;
};

// The process-wide lists, one per glyph size; it exists while any glyph does.
class TGlyphCache {
public:
    TGlyphList* GetList(int width, int height);
    // Drops list when it holds no glyphs any more.
    void ReturnList(TGlyphList* list);
    bool Empty() const { return lists_.empty(); }

    // The cache of the live glyphs (created by the first, freed with the last).
    static TGlyphCache* Instance();
    static int LiveGlyphs();

private:
    friend class TRxButtonGlyph;
    std::vector<std::unique_ptr<TGlyphList>> lists_;
};

namespace vx {

// Cells of a glyph bitmap: width / height when that is 1..maxCells, 1 for
// other widths and for more cells, 0 for an empty or zero-height bitmap.
int GlyphCellCount(const QImage& bitmap, int maxCells);
// The cell shown in a state by a glyph of count cells.
int GlyphCellIndex(TRxButtonState state, int count);
// A glyph cell turned grey: pixels of the transparent colour or the button face stay.
QImage GrayedGlyph(const QImage& cell, QRgb transparent);
// An icon painted on fuchsia at its first size (16 x 16 when it names none).
QImage IconGlyph(const QIcon& icon);

} // namespace vx

class TRxButtonGlyph {
public:
    static constexpr int MaxGlyphs = 5;

    TRxButtonGlyph();
    ~TRxButtonGlyph();
    TRxButtonGlyph(const TRxButtonGlyph&) = delete;
    TRxButtonGlyph& operator=(const TRxButtonGlyph&) = delete;

    const QImage& Glyph() const { return glyph_; }
    // A bitmap of 1..5 square cells sets NumGlyphs; its bottom-left pixel is the transparent colour,
    // or, for a picture with an alpha channel, its clear pixels are transparent.
    void SetGlyph(const QImage& glyph);
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int value);
    QRgb TransparentColor() const { return transparent_; }
    // Overrides the colour taken from the bitmap.
    void SetTransparentColor(QRgb value);
    TRxAlignment Alignment() const { return alignment_; }
    void SetAlignment(TRxAlignment value) { alignment_ = value; }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value) { wordWrap_ = value; }

    // Size of one cell; 0 x 0 without a glyph.
    QSize GlyphSize() const;
    // The rendered picture of a state (made once, then taken from the cache); null without a glyph.
    QImage GlyphFor(TRxButtonState state);
    // Releases every cached picture (after a change of the bitmap or of the system colours).
    void Invalidate();
    bool Cached(TRxButtonState state) const { return indexes_[state] >= 0; }

    // Places glyph and caption in client and draws them, the caption in textColor
    // unless disabled; returns the text rectangle.
    QRect Draw(QPainter& canvas, const QRect& client, const QPoint& offset, const std::string& caption,
               TRxButtonLayout layout, int margin, int spacing, bool dropDownMark, TRxButtonState state,
               TColor textColor = clBtnText);

    // Computes the positions Draw uses.
    void CalcLayout(const QFontMetrics& metrics, const QRect& client, const QPoint& offset,
                    const std::string& caption, TRxButtonLayout layout, int margin, int spacing,
                    bool dropDownMark, QPoint& glyphPos, QRect& textBounds, QString& shownText) const;

private:
    QImage Cell(int index) const;
    QImage Render(TRxButtonState state) const;

    QImage glyph_;
    int numGlyphs_ = 1;
    QRgb transparent_ = qRgb(255, 0, 255);
    TRxAlignment alignment_ = TRxAlignment::taCenter;
    bool wordWrap_ = false;
    TGlyphList* list_ = nullptr;
    std::array<int, MaxGlyphs> indexes_;
};
