// The clipboard viewer: a scroll box that follows the clipboard and shows its
// content in the best available form (text, image, palette grid), and the
// palette grid it uses for palettes.
#pragma once

#include "controls/common/Events.h"
#include "editor/Colors.h"

#include <QScrollArea>
#include <QTableWidget>

#include <array>
#include <cstdint>
#include <vector>

class QMimeData;

namespace vx {

enum TClipboardViewFormat {
    cvDefault,
    cvEmpty,
    cvUnknown,
    cvText,
    cvBitmap,
    cvMetafile,
    cvPalette,
    cvOemText,
    cvPicture,
    cvComponent,
    cvIcon
};

// Private clipboard formats of the program for the kinds the desktop has no
// common type for.
inline constexpr const char* OemTextClipboardFormat = "application/x-vellumix-oemtext";
inline constexpr const char* PaletteClipboardFormat = "application/x-vellumix-palette";
inline constexpr const char* PictureClipboardFormat = "application/x-vellumix-picture";
inline constexpr const char* ComponentClipboardFormat = "application/x-vellumix-component";
inline constexpr const char* MetafileClipboardFormat = "image/x-wmf";
inline constexpr const char* EnhMetafileClipboardFormat = "image/x-emf";

struct TPaletteEntry {
    std::uint8_t Red = 0;
    std::uint8_t Green = 0;
    std::uint8_t Blue = 0;
    std::uint8_t Flags = 0;
};

// A palette's bytes on the clipboard: red, green, blue, flags per entry; a
// trailing partial entry and entries past 256 are dropped.
std::vector<TPaletteEntry> PaletteFromBytes(const QByteArray& bytes);

// A grid of colour cells, one per palette entry.
class TPaletteGrid : public QTableWidget {
public:
    static constexpr int MaxEntries = 256;

    explicit TPaletteGrid(QWidget* parent = nullptr);

    void SetPalette(const std::vector<TPaletteEntry>& palette);
    int Count() const { return count_; }
    const std::array<TPaletteEntry, MaxEntries>& Entries() const { return entries_; }
    // The colour of a cell; false beyond the last entry.
    bool CellColor(int col, int row, TColor& color) const;
    bool SelectCell(int col, int row) const;
    int DefaultColWidth() const { return 20; }
    int DefaultRowHeight() const { return 20; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class TPaletteCellDelegate;
    void Resize();

    std::vector<TPaletteEntry> palette_;
    int count_ = 0;
    std::array<TPaletteEntry, MaxEntries> entries_{};
    bool sizing_ = false;
};

class TCustomClipboardViewer : public QScrollArea {
public:
    explicit TCustomClipboardViewer(QWidget* parent = nullptr);
    ~TCustomClipboardViewer() override;

    TClipboardViewFormat ViewFormat() const { return viewFormat_; }
    void SetViewFormat(TClipboardViewFormat value);
    // The child that shows the clipboard now, or nullptr.
    QWidget* View() const;

    virtual bool ValidFormat(TClipboardViewFormat Format) const;
    virtual TClipboardViewFormat GetDrawFormat() const;
    virtual void Change();
    virtual void UpdateView();

    TNotifyEvent OnChange;

protected:
    // The clipboard's content changed (or was emptied by its owner).
    void ClipboardChanged();
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowText(TClipboardViewFormat format, const QMimeData* data);
    void ShowImage(TClipboardViewFormat format, const QMimeData* data);
    void ShowPalette(const QMimeData* data);
    void ShowComponent(const QMimeData* data);
    void Place(QWidget* child, bool fill);
    // A child smaller than the viewer sits at ((client - size) div 2) in
    // that direction, where Qt's own centring rounds the other way.
    void CenterView();

    TClipboardViewFormat viewFormat_ = cvDefault;
};

class TClipboardViewer : public TCustomClipboardViewer {
public:
    using TCustomClipboardViewer::TCustomClipboardViewer;
};

} // namespace vx
