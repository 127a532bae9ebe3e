// The text drawer, its font stock and the shared fonts-info manager.
#include "editor/qt/uTextDrawer.h"

#include "editor/qt/SysColors.h"
#include "platform/Utf8.h"
#include "platform/qt/QtText.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr char kNoFont[] = "SetBaseFont: 'Value' must be specified.";
constexpr int kDistanceStep = 64;

QFont WithStyle(QFont font, TFontStyles style)
{
    font.setBold(style.Contains(fsBold));
    font.setItalic(style.Contains(fsItalic));
    font.setUnderline(style.Contains(fsUnderline));
    font.setStrikeOut(style.Contains(fsStrikeOut));
    return font;
}

QString BaseKey(const QFont& font) { return WithStyle(font, TFontStyles()).key(); }

TheGlyph GlyphOf(const QRawFont& raw, char32_t code)
{
    TheGlyph result;
    if (!raw.isValid())
        return result;
    const QString text = QString::fromUcs4(&code, 1);
    quint32 glyphs[2] = {};
    int count = 2;
    if (raw.glyphIndexesForChars(text.constData(), static_cast<int>(text.size()), glyphs, &count) && count == 1)
        result.Glyph = glyphs[0];
    if (result.Glyph != 0)
        result.Ink = raw.boundingRect(result.Glyph);
    return result;
}

void CreateFontData(const QFont& base, int style, TheFontData& data)
{
    data.Font = WithStyle(base, TFontStyles::FromBits(static_cast<unsigned>(style)));
    // Every glyph is placed at its own cell, so pair kerning has nothing to say.
    data.Font.setKerning(false);
    QFontMetrics metrics(data.Font);
    data.CharAdv = std::max(1, metrics.horizontalAdvance(QLatin1Char('M')));
    data.CharHeight = std::max(1, metrics.height());
    data.Ascent = metrics.ascent();
    data.Raw = QRawFont::fromFont(data.Font);
    for (char32_t code = 0; code < 128; ++code)
        data.Ascii[code] = GlyphOf(data.Raw, code);
    data.Created = true;
}

} // namespace

// ---------------------------------------------------------------- manager

TheFontsInfoManager::~TheFontsInfoManager() = default;

TheFontsInfoManager& GetFontsInfoManager()
{
    static TheFontsInfoManager manager;
    return manager;
}

TheSharedFontsInfo* TheFontsInfoManager::GetFontsInfo(const QFont& font)
{
    QString key = BaseKey(font);
    for (auto& record : records_)
        if (record->Key == key) {
            ++record->RefCount;
            return record.get();
        }
    auto record = std::make_unique<TheSharedFontsInfo>();
    record->RefCount = 1;
    record->BaseFont = WithStyle(font, TFontStyles());
    record->Key = key;
    records_.push_back(std::move(record));
    return records_.back().get();
}

void TheFontsInfoManager::ReleaseFontsInfo(TheSharedFontsInfo* info)
{
    auto it = std::find_if(records_.begin(), records_.end(), [info](const auto& r) { return r.get() == info; });
    if (it == records_.end())
        return;
    if (info->RefCount >= 2) {
        --info->RefCount;
        return;
    }
    if (info->LockCount > 0)
        throw EheFontStockException("ReleaseFontsInfo: the font information is locked.");
    records_.erase(it);
}

void TheFontsInfoManager::LockFontsInfo(TheSharedFontsInfo* info) { ++info->LockCount; }

void TheFontsInfoManager::UnLockFontsInfo(TheSharedFontsInfo* info)
{
    if (info->LockCount > 0)
        --info->LockCount;
}

namespace {

// Families known to be of fixed pitch, tried in order when the requested font
// is not: whichever the machine has, the grid stays the same.
constexpr const char* kMonospaceFamilies[] = {"DejaVu Sans Mono", "Liberation Mono", "Noto Sans Mono",
                                              "Noto Mono", "FreeMono", "Courier New"};

} // namespace

bool MeasuresFixedPitch(const QFont& font)
{
    static const QString sample = QStringLiteral("iWm. 0_|MlL");
    for (bool bold : {false, true}) {
        QFont styled = font;
        styled.setBold(bold);
        const QFontMetricsF metrics(styled);
        const qreal width = metrics.horizontalAdvance(sample[0]);
        if (width <= 0)
            return false;
        for (QChar c : sample)
            if (std::abs(metrics.horizontalAdvance(c) - width) > 0.01)
                return false;
    }
    return true;
}

namespace {

QFont SizedAndStyledLike(QFont font, const QFont& requested)
{
    if (requested.pointSizeF() > 0)
        font.setPointSizeF(requested.pointSizeF());
    else if (requested.pixelSize() > 0)
        font.setPixelSize(requested.pixelSize());
    font.setBold(requested.bold());
    font.setItalic(requested.italic());
    font.setUnderline(requested.underline());
    font.setStrikeOut(requested.strikeOut());
    return font;
}

} // namespace

QFont ResolveFixedPitchFont(const QFont& requested)
{
    if (MeasuresFixedPitch(requested))
        return requested;
    for (const char* family : kMonospaceFamilies) {
        QFont candidate = SizedAndStyledLike(QFont(QString::fromLatin1(family)), requested);
        if (QFontInfo(candidate).family().compare(QString::fromLatin1(family), Qt::CaseInsensitive) == 0 &&
            MeasuresFixedPitch(candidate))
            return candidate;
    }
    QFont fallback = SizedAndStyledLike(QFontDatabase::systemFont(QFontDatabase::FixedFont), requested);
    fallback.setStyleHint(QFont::Monospace);
    return fallback;
}

// ---------------------------------------------------------------- font stock

TheFontStock::TheFontStock(const QFont& baseFont) { SetBaseFont(&baseFont); }

TheFontStock::~TheFontStock() { ReleaseFontsInfo(); }

void TheFontStock::UseFontsInfo(TheSharedFontsInfo* info)
{
    ReleaseFontsInfo();
    info_ = info;
    current_ = nullptr;
}

void TheFontStock::ReleaseFontsInfo()
{
    if (!info_)
        return;
    if (locked_) {
        GetFontsInfoManager().UnLockFontsInfo(info_);
        locked_ = false;
    }
    GetFontsInfoManager().ReleaseFontsInfo(info_);
    info_ = nullptr;
    current_ = nullptr;
}

void TheFontStock::SetBaseFont(const QFont* value)
{
    if (!value)
        throw EheFontStockException(kNoFont);
    QFont font = ResolveFixedPitchFont(*value);
    if (info_ && info_->Key == BaseKey(font))
        return;
    UseFontsInfo(GetFontsInfoManager().GetFontsInfo(font));
    SetStyle(style_);
}

void TheFontStock::SetStyle(TFontStyles value)
{
    TheFontData& data = info_->FontsData[value.Bits()];
    if (!data.Created) {
        if (!locked_) {
            GetFontsInfoManager().LockFontsInfo(info_);
            locked_ = true;
        }
        CreateFontData(info_->BaseFont, static_cast<int>(value.Bits()), data);
    }
    style_ = value;
    current_ = &data;
}

// ---------------------------------------------------------------- text drawer

TheTextDrawer::TheTextDrawer(TFontStyles calcExtentBaseStyle, const QFont& baseFont)
    : stock_(baseFont), calcExtentBaseStyle_(calcExtentBaseStyle)
{
    fore_ = vx::ToQColor(foreColor_);
    back_ = vx::ToQColor(backColor_);
    MeasureBase();
}

TheTextDrawer::~TheTextDrawer() = default;

void TheTextDrawer::MeasureBase()
{
    TFontStyles selected = stock_.Style();
    stock_.SetStyle(calcExtentBaseStyle_);
    baseCharWidth_ = stock_.CharAdvance();
    baseCharHeight_ = stock_.CharHeight();
    stock_.SetStyle(selected);
}

void TheTextDrawer::SetBaseFont(const QFont* value)
{
    if (!value)
        throw EheTextDrawerException(kNoFont);
    TFontStyles selected = stock_.Style();
    stock_.SetBaseFont(value);
    MeasureBase();
    stock_.SetStyle(selected);
}

void TheTextDrawer::SetBaseStyle(TFontStyles value)
{
    if (value == calcExtentBaseStyle_)
        return;
    calcExtentBaseStyle_ = value;
    MeasureBase();
}

void TheTextDrawer::SetStyle(TFontStyles value) { stock_.SetStyle(value); }

void TheTextDrawer::SetForeColor(TColor value)
{
    if (value == foreColor_)
        return;
    foreColor_ = value;
    fore_ = vx::ToQColor(value);
}

void TheTextDrawer::SetBackColor(TColor value)
{
    if (value == backColor_)
        return;
    backColor_ = value;
    back_ = vx::ToQColor(value);
}

void TheTextDrawer::SetCharExtra(int value) { charExtra_ = value; }

void TheTextDrawer::BeginDrawing(QPainter& painter)
{
    if (drawingCount_++ == 0) {
        painter_ = &painter;
        painter_->save();
    }
}

void TheTextDrawer::EndDrawing()
{
    if (drawingCount_ == 0)
        return;
    if (--drawingCount_ == 0) {
        painter_->restore();
        painter_ = nullptr;
    }
}

void TheTextDrawer::ReleaseTemporaryResources()
{
    positions_.clear();
    positions_.shrink_to_fit();
    glyphs_.clear();
    glyphs_.shrink_to_fit();
}

void TheTextDrawer::TextOut(int x, int y, const char* text, int length)
{
    ExtTextOut(x, y, 0, QRect(), text, length);
}

void TheTextDrawer::ExtTextOut(int x, int y, unsigned options, const QRect& rect, const char* text, int length)
{
    if (!painter_)
        return;
    if ((options & etoOpaque) && !rect.isEmpty())
        painter_->fillRect(rect, back_);
    if (length <= 0 || !text)
        return;
    if (static_cast<int>(positions_.size()) < length) {
        size_t grown = static_cast<size_t>(length / kDistanceStep * kDistanceStep + kDistanceStep);
        positions_.resize(grown);
        glyphs_.resize(grown);
    }
    const TheFontData& font = stock_.Current();
    const qreal cell = CharWidth();
    const qreal baseline = y + font.Ascent;
    const std::string_view bytes(text, static_cast<size_t>(length));
    QRectF ink;
    int glyphCount = 0;
    int cells = 0;
    shaped_.clear();
    for (size_t i = 0; i < bytes.size();) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        const qreal left = x + cells * cell;
        char32_t code = byte;
        size_t size = 1;
        if (byte >= 0x80)
            code = vx::utf8::Decode(bytes, i, &size);
        const int width = code < 0x80 ? 1 : vx::utf8::CellWidth(code);
        // With nothing before it in the text, a zero-width character has a cell of its own.
        cells += std::max(width, 1);
        const size_t length = vx::utf8::SkipZeroWidth(bytes, i + size) - i;
        const std::string_view cluster = bytes.substr(i, length);
        i += length;
        // A character with zero-width characters after it is drawn with them,
        // so that the font composes them; a zero-width character standing
        // alone is drawn as the font shows it alone.
        if (length > size || width == 0) {
            shaped_.push_back({vx::ToQString(cluster), left});
            continue;
        }
        const TheGlyph* glyph = nullptr;
        if (code < 0x80) {
            glyph = &font.Ascii[code];
        } else {
            auto [found, made] = font.Others.try_emplace(code);
            if (made)
                found->second = GlyphOf(font.Raw, code);
            glyph = &found->second;
            if (glyph->Glyph == 0) {
                shaped_.push_back({QString::fromUcs4(&code, 1), left});
                continue;
            }
        }
        const auto at = static_cast<size_t>(glyphCount++);
        glyphs_[at] = glyph->Glyph;
        positions_[at] = QPointF(left, baseline);
        ink |= glyph->Ink.translated(positions_[at]);
    }
    QGlyphRun run;
    run.setRawFont(font.Raw);
    run.setRawData(glyphs_.data(), positions_.data(), glyphCount);
    run.setUnderline(font.Font.underline());
    run.setStrikeOut(font.Font.strikeOut());
    // A clip costs the paint engine more than the text: it is left out where
    // it would cut nothing, the ink (to whole pixels, as glyphs are drawn at
    // whole pixels) inside the rectangle. Text the painter shapes is not
    // measured here: it is always clipped.
    const bool decorated = font.Font.underline() || font.Font.strikeOut();
    const bool clip = (options & etoClipped) && !rect.isEmpty() &&
                      (decorated || !shaped_.empty() || (!ink.isNull() && !rect.contains(ink.toAlignedRect())));
    if (clip) {
        painter_->save();
        painter_->setClipRect(rect, Qt::IntersectClip);
    }
    painter_->setPen(fore_);
    if (glyphCount > 0)
        painter_->drawGlyphRun(QPointF(0, 0), run);
    if (!shaped_.empty()) {
        // The painter's text finds a font that has the character, and places
        // marks on the character they follow.
        painter_->setFont(font.Font);
        for (const TShaped& shaped : shaped_)
            painter_->drawText(QPointF(shaped.X, baseline), shaped.Text);
    }
    if (clip)
        painter_->restore();
}
