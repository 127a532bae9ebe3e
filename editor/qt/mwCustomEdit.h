// The editor control: a scroll area that owns the editor model, gives it the
// window's metrics and carries out the updates it asks for.
#pragma once

#include "editor/mwCustomEditModel.h"
#include "editor/mwEditSearch.h"
#include "editor/qt/mwQtClipboard.h"

#include <QAbstractScrollArea>
#include <QFont>
#include <QPoint>
#include <QRect>

#include <functional>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QScrollBar;
class QTimer;
class TheTextDrawer;
class TmwInternalImage;
class TmwCustomExport;

// The standard edit actions an editor carries out.
enum class TmwEditAction { Cut, Copy, Paste };

// Where a print job of the editor's text stands.
enum TmwPrintStatus { psBegin, psNewPage, psEnd };

class TmwCustomEdit : public QAbstractScrollArea, private TmwEditMetrics, private TmwEditView {
    Q_OBJECT

public:
    explicit TmwCustomEdit(QWidget* parent = nullptr);
    ~TmwCustomEdit() override;

    TmwCustomEditModel& Model() { return *model_; }
    const TmwCustomEditModel& Model() const { return *model_; }

    // The editor font; proportional fonts give their size and style to a fixed-pitch face.
    const QFont& Font() const { return font_; }
    void SetFont(const QFont& font);

    // Runs a standard edit action on this editor.
    void ExecuteAction(TmwEditAction action);
    // While this editor has the focus, enables the action when it can run: cut
    // and copy with a selection, paste with something to paste. An unfocused
    // editor leaves the action alone; false then.
    bool UpdateAction(TmwEditAction action, QAction& target) const;

    // --- export
    // Exports the selection (when selectionOnly and there is one) or every
    // line through exporter, coloured by the editor's highlighter, and writes
    // the result to fileName. False, with nothing written, without an
    // exporter or when there is no text to export.
    bool ExportToFile(bool selectionOnly, const std::string& fileName, TmwCustomExport* exporter);
    // Puts the selection, exported, on the clipboard in the exporter's format.
    void ExportToClipboard(TmwCustomExport* exporter);

    // --- painting
    using TPaintEvent = std::function<void(TmwCustomEdit* Sender, QPainter& Canvas)>;
    // Paints the part clip of the client area: gutter, text lines, OnPaint, caret.
    void Paint(QPainter& canvas, const QRect& clip);
    // Lines are 1-based and inclusive.
    virtual void PaintGutter(QPainter& canvas, const QRect& clip, int firstLine, int lastLine);
    virtual void PaintTextLines(QPainter& canvas, const QRect& clip, int firstLine, int lastLine, int firstCol,
                                int lastCol);
    TheTextDrawer& TextDrawer() { return *textDrawer_; }
    // The colour text is drawn in where no attribute says otherwise.
    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor value);
    TPaintEvent OnPaint;

    // --- pixels and cells (column, line), 1-based
    // The caret position a click at (x, y) gives: the nearest cell boundary.
    TPoint PixelsToRowColumn(int x, int y) const;
    // The same on the given line, whatever row the pixel lies in.
    TPoint PointAtPixel(int x, int line) const;
    // The top left pixel of a cell.
    TPoint RowColumnToPixels(TPoint rowColumn) const;
    void SetCaretAtPixel(int x, int y);

    // --- mouse, drag and drop
    using TDropFilesEvent = std::function<void(TmwCustomEdit* Sender, int X, int Y, TStrings& Files)>;
    // Selects the word at (column, line); at or past the line end only moves the caret there.
    void SetWordBlock(TPoint value);
    // Drops the selection dragged from source at pixel (x, y): moved, or copied with copy.
    // Drops from other sources and into read-only editors do nothing.
    void DragDrop(QObject* source, int x, int y, bool copy);
    // Shown on a right click; a right click inside a selection keeps it for the menu. Not owned.
    QMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(QMenu* menu) { popupMenu_ = menu; }
    // Files dropped from outside while the mweoDropFiles option is on.
    TDropFilesEvent OnDropFiles;

    // --- printing progress, reported by whoever prints the text
    using TPrintStatusEvent =
        std::function<void(TmwCustomEdit* Sender, TmwPrintStatus Status, int PageNumber, bool& Abort)>;
    virtual void DoOnPrintStatus(TmwPrintStatus status, int pageNumber, bool& abort)
    {
        if (OnPrintStatus)
            OnPrintStatus(this, status, pageNumber, abort);
    }
    TPrintStatusEvent OnPrintStatus;

    // The editor's search object; no editor operation searches with it.
    TmwEditSearch& Search() { return search_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void scrollContentsBy(int dx, int dy) override;
    // Tab stays in the editor when it wants tabs.
    bool focusNextPrevChild(bool next) override;
    // Starts dragging the selection; a drop back into this editor lands in DragDrop.
    virtual void StartTextDrag();
    // One pass of scrolling while a selection is dragged outside the text area,
    // the pointer at pos; false when the pointer is back inside. far tells
    // whether it is so far out that the next pass follows without a pause.
    bool AutoScrollStep(QPoint pos, bool& far);
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // One key press is one key-down and at most one typed character.
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Hooks the destruction of the bookmark image list the options hold now.
    void WatchBookmarkImages(TImageList* images);
    // TmwEditMetrics
    bool WindowExists() const override { return true; }
    int ClientWidth() const override;
    int ClientHeight() const override;
    int CharWidth(bool bold) const override;
    int CharHeight(bool italic) const override;
    // TmwEditView
    void InvalidateRect(const TRect& rect) override;
    void ScrollText(int dy) override;
    void UpdateScrollBars() override;
    static void SetBar(QScrollBar& bar, int maximum, int page, int value);
    void UpdateCaret() override;
    void RecreateCaret() override;
    void WindowStyleChanged() override;
    void ShowScrollBars();

    // The caret's rectangle in the client area; empty when it is not shown.
    QRect CaretRect() const;
    void UpdateCursorShape(QPoint pos);
    // Sets up the mouse, drop, input-method and scroll-bar handling; once, from the constructor.
    void InitMouseAndScrolling();
    void AutoScrollTimeout();
    void StopAutoScroll();
    // The top-line hint beside the vertical scroll bar while its thumb is dragged.
    void ShowScrollHint(bool show);

    QFont font_;
    std::unique_ptr<TheTextDrawer> textDrawer_;
    std::unique_ptr<TmwInternalImage> internalImage_;
    TImageList* watchedImages_ = nullptr;
    TmwChainHandle imagesHook_ = 0;
    TColor fontColor_ = clWindowText;
    QRect caretRect_;
    QMenu* popupMenu_ = nullptr;
    QTimer* autoScrollTimer_ = nullptr;
    QLabel* scrollHint_ = nullptr;
    bool mouseCaptured_ = false;
    bool updatingBars_ = false; // the scroll bars are being set from the model
    QPoint mouseDownPoint_;
    TPoint dragBlockBegin_;
    TPoint dragBlockEnd_;
    int wheelAccumulator_ = 0;
    TmwEditSearch search_;
    TmwQtClipboard clipboard_;
    std::unique_ptr<TmwCustomEditModel> model_;
};
