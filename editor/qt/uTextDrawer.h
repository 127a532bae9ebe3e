// The text drawer: draws UTF-8 text in a grid of equal cells, a character in
// one cell or, when wide, two, whatever the glyphs' own widths, with the font
// stock that measures and
// keeps one font per style, and the process-wide manager that shares those
// fonts between every editor using the same base font. Used on the
// user-interface thread only.
#pragma once

#include "editor/Colors.h"
#include "platform/Exception.h"

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRawFont>
#include <QRectF>
#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

class QPainter;
class QRect;

VX_DECLARE_EXCEPTION(EheTextDrawerException, Exception);
VX_DECLARE_EXCEPTION(EheFontStockException, Exception);

// A character's glyph in one font, and where its ink lies around its origin
// on the baseline; glyph 0 where the font has none.
struct TheGlyph {
    uint32_t Glyph = 0;
    QRectF Ink;
};

// One style of a base font: the font, its glyphs, and its cell.
struct TheFontData {
    bool Created = false;
    QFont Font;
    QRawFont Raw;
    std::array<TheGlyph, 128> Ascii{};
    // Other characters' glyphs, looked up when first drawn.
    mutable std::unordered_map<char32_t, TheGlyph> Others;
    int CharAdv = 0;    // the advance of "M"
    int CharHeight = 0; // the line height of the font
    int Ascent = 0;
};

constexpr int StyleCount = 16; // every combination of bold, italic, underline, strike-out

// The fonts of every style of one base font.
struct TheSharedFontsInfo {
    int RefCount = 0;
    int LockCount = 0;
    QFont BaseFont;
    QString Key; // the base font without its style, so all styles share one record
    bool IsDBCSFont = false; // wide characters take two cells whatever the font
    std::array<TheFontData, StyleCount> FontsData;
};

class TheFontsInfoManager {
public:
    ~TheFontsInfoManager();
    // The record of font's base description, made on first request; each call takes a reference.
    TheSharedFontsInfo* GetFontsInfo(const QFont& font);
    // Drops a reference; the record goes with its last one. Freeing a record
    // that is still locked is a programming error and raises EheFontStockException.
    void ReleaseFontsInfo(TheSharedFontsInfo* info);
    void LockFontsInfo(TheSharedFontsInfo* info);
    void UnLockFontsInfo(TheSharedFontsInfo* info);
    int Count() const { return static_cast<int>(records_.size()); }

private:
    std::vector<std::unique_ptr<TheSharedFontsInfo>> records_;
};

// The one manager of the process.
TheFontsInfoManager& GetFontsInfoManager();

// The font the editor really draws with: the requested one (or whatever the
// machine gives for it) when its characters measure alike, otherwise the first
// installed font of a known monospace family, or the system's fixed-pitch font,
// at the requested size and style.
QFont ResolveFixedPitchFont(const QFont& requested);
// Fixed pitch as the grid needs it: every sample character, plain and bold,
// advances by the same width. Font flags are not asked (some monospace fonts
// do not set them, and a substitute may differ in name only).
bool MeasuresFixedPitch(const QFont& font);

class TheFontStock {
public:
    explicit TheFontStock(const QFont& baseFont);
    ~TheFontStock();
    TheFontStock(const TheFontStock&) = delete;
    TheFontStock& operator=(const TheFontStock&) = delete;

    // nullptr raises EheFontStockException.
    void SetBaseFont(const QFont* value);
    const QFont& BaseFont() const { return info_->BaseFont; }
    // Selects (creating and measuring on first use) the font of a style.
    void SetStyle(TFontStyles value);
    TFontStyles Style() const { return style_; }
    const TheFontData& Current() const { return *current_; }
    int CharAdvance() const { return current_->CharAdv; }
    int CharHeight() const { return current_->CharHeight; }
    // Lets the manager drop this stock's record when nobody else uses it.
    void ReleaseFontsInfo();
    const TheSharedFontsInfo* FontsInfo() const { return info_; }

private:
    void UseFontsInfo(TheSharedFontsInfo* info);

    TheSharedFontsInfo* info_ = nullptr;
    bool locked_ = false;
    TFontStyles style_;
    TheFontData* current_ = nullptr;
};

// Options of ExtTextOut.
enum : unsigned { etoOpaque = 2, etoClipped = 4 };

class TheTextDrawer {
public:
    // calcExtentBaseStyle is the style cells are measured in.
    TheTextDrawer(TFontStyles calcExtentBaseStyle, const QFont& baseFont);
    virtual ~TheTextDrawer();
    TheTextDrawer(const TheTextDrawer&) = delete;
    TheTextDrawer& operator=(const TheTextDrawer&) = delete;

    virtual int CharWidth() const { return baseCharWidth_ + charExtra_; }
    virtual int CharHeight() const { return baseCharHeight_; }
    // Drawing calls go to painter between BeginDrawing and EndDrawing; the
    // pair nests, and the painter's state is as before after the outermost end.
    virtual void BeginDrawing(QPainter& painter);
    virtual void EndDrawing();
    // Draws length bytes of UTF-8 text, each character in its cells of the
    // current char width, the top of the cells at y, in the foreground colour;
    // a character the font lacks is drawn from a font that has it, and one
    // with zero-width characters after it (a letter and its combining accent)
    // with them in its cells, as the font composes them.
    virtual void TextOut(int x, int y, const char* text, int length);
    // etoOpaque fills rect with the background colour first; etoClipped keeps
    // the glyphs inside rect.
    virtual void ExtTextOut(int x, int y, unsigned options, const QRect& rect, const char* text, int length);
    // nullptr raises EheTextDrawerException.
    virtual void SetBaseFont(const QFont* value);
    virtual void SetBaseStyle(TFontStyles value);
    virtual void SetStyle(TFontStyles value);
    virtual void SetForeColor(TColor value);
    virtual void SetBackColor(TColor value);
    virtual void SetCharExtra(int value);
    virtual void ReleaseTemporaryResources();

    const QFont& BaseFont() const { return stock_.BaseFont(); }
    TFontStyles Style() const { return stock_.Style(); }
    // Entries of the per-character position buffer; grows in steps of 64, never shrinks.
    int DistanceCapacity() const { return static_cast<int>(positions_.size()); }

private:
    void MeasureBase();

    TheFontStock stock_;
    TFontStyles calcExtentBaseStyle_;
    int baseCharWidth_ = 0;
    int baseCharHeight_ = 0;
    int charExtra_ = 0;
    QPainter* painter_ = nullptr;
    int drawingCount_ = 0;
    TColor foreColor_ = clWindowText;
    TColor backColor_ = clWindow;
    QColor fore_;
    QColor back_;
    std::vector<QPointF> positions_;
    std::vector<uint32_t> glyphs_;
    // Characters of the text being drawn that the font lacks, and characters
    // with zero-width characters after them, with the left of their cells:
    // drawn by the painter's text.
    struct TShaped {
        QString Text;
        qreal X;
    };
    std::vector<TShaped> shaped_;
};
