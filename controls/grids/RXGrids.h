// TRxDrawGrid: a grid of owner-drawn cells whose column widths are kept in a
// window's placement storage, whose fixed cells can act as push buttons, and
// whose cells are edited in place (TRxInplaceEdit) with the owner deciding per
// cell whether, and with which editor style, a cell is edited. The grid shows
// every cell from the first one (it has no scroll bars); the current cell
// moves with the mouse and the arrow keys, columns and rows are sized by
// dragging their lines in the fixed cells.
#pragma once

#include "controls/common/Events.h"
#include "controls/common/VCLUtils.h"
#include "controls/stores/Placemnt.h"
#include "editor/Colors.h"
#include "platform/Exception.h"

#include <QWidget>

#include <functional>
#include <vector>

class QPainter;
class TRxInplaceEdit;

// How the in-place editor of a cell looks: a plain line, a line with an
// ellipsis button, or a line with a drop-down pick list.
enum TInplaceEditStyle { ieSimple = 0, ieEllipsis = 1, iePickList = 2 };

// A fixed row or column count that leaves no cell unfixed.
VX_DECLARE_EXCEPTION(EInvalidGridOperation, Exception);

enum TGridOption : unsigned {
    goFixedVertLine = 0x1,
    goFixedHorzLine = 0x2,
    goVertLine = 0x4,
    goHorzLine = 0x8,
    goRangeSelect = 0x10,
    goDrawFocusSelected = 0x20,
    goRowSizing = 0x40,
    goColSizing = 0x80,
    goRowMoving = 0x100,
    goColMoving = 0x200,
    goEditing = 0x400,
    goTabs = 0x800,
    goRowSelect = 0x1000,
    goAlwaysShowEditor = 0x2000,
    goThumbTracking = 0x4000,
};
using TGridOptions = unsigned;

enum TGridDrawStateFlag : unsigned { gdSelected = 1, gdFocused = 2, gdFixed = 4 };
using TGridDrawState = unsigned;

using TDrawCellEvent =
    std::function<void(QObject* Sender, int ACol, int ARow, const QRect& Rect, TGridDrawState State)>;
using TFixedCellClickEvent = std::function<void(QObject* Sender, int ACol, int ARow)>;
using TFixedCellCheckEvent = std::function<void(QObject* Sender, int ACol, int ARow, bool& Enabled)>;

class TRxDrawGrid : public QWidget {
public:
    explicit TRxDrawGrid(QWidget* parent = nullptr);
    ~TRxDrawGrid() override;

    int ColCount() const { return static_cast<int>(colWidths_.size()); }
    void SetColCount(int value);
    int RowCount() const { return static_cast<int>(rowHeights_.size()); }
    void SetRowCount(int value);
    int FixedCols() const { return fixedCols_; }
    void SetFixedCols(int value);
    int FixedRows() const { return fixedRows_; }
    void SetFixedRows(int value);
    // Setting a default size resizes every column (row) to it.
    int DefaultColWidth() const { return defaultColWidth_; }
    void SetDefaultColWidth(int value);
    int DefaultRowHeight() const { return defaultRowHeight_; }
    void SetDefaultRowHeight(int value);
    int ColWidths(int col) const { return colWidths_.at(static_cast<std::size_t>(col)); }
    void SetColWidths(int col, int value);
    int RowHeights(int row) const { return rowHeights_.at(static_cast<std::size_t>(row)); }
    void SetRowHeights(int row, int value);
    int GridLineWidth() const { return gridLineWidth_; }
    void SetGridLineWidth(int value);
    // The current cell; it stays among the cells that are not fixed.
    int Col() const { return col_; }
    void SetCol(int value);
    int Row() const { return row_; }
    void SetRow(int value);
    TGridOptions Options() const { return options_; }
    void SetOptions(TGridOptions value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    TColor FixedColor() const { return fixedColor_; }
    void SetFixedColor(TColor value);
    // The grid fills cells and draws edges and the focus itself; off, OnDrawCell does it all.
    bool DefaultDrawing() const { return defaultDrawing_; }
    void SetDefaultDrawing(bool value);
    // Where column widths are saved and restored, as section "<root>" + the grid's section.
    TFormPlacement* IniStorage() const { return iniLink_.Storage(); }
    void SetIniStorage(TFormPlacement* value) { iniLink_.SetStorage(value); }
    bool FixedButtons() const { return fixedButtons_; }
    void SetFixedButtons(bool value) { fixedButtons_ = value; }

    // The painter of the paint in progress, else null.
    QPainter* Canvas() const { return canvas_; }
    QRect CellRect(int col, int row) const;
    // The cell under a point, false outside every cell.
    bool MouseToCell(QPoint pos, int& col, int& row) const;

    TDrawCellEvent OnDrawCell;
    TFixedCellCheckEvent OnCheckButton;
    vx::TNotifyEvent OnChangeFocus;
    TFixedCellClickEvent OnFixedCellClick;
    vx::TNotifyEvent OnColumnSized;
    vx::TNotifyEvent OnRowSized;

    // Editing: the editor is shown for the current cell while EditorMode is on.
    bool EditorMode() const;
    void SetEditorMode(bool value);
    // The editor once created, else null.
    TRxInplaceEdit* InplaceEditor() const { return editor_; }

    // Asked for each key typed into a cell; setting Key to #0 rejects it.
    std::function<void(QObject* Sender, char& Key)> OnAcceptEditKey;
    vx::TNotifyEvent OnCancelEdit;
    std::function<void(QObject* Sender, int& MaxLength)> OnGetEditLimit;
    vx::TNotifyEvent OnEditChange;
    std::function<void(QObject* Sender, int ACol, int ARow, bool& AllowEdit)> OnShowEditor;
    std::function<void(QObject* Sender, int ACol, int ARow, vx::TAlignment& Alignment)> OnGetEditAlign;
    std::function<void(QObject* Sender, int ACol, int ARow, TInplaceEditStyle& Style)> OnGetEditStyle;
    std::function<void(QObject* Sender, int ACol, int ARow, TStrings& PickList)> OnGetPicklist;
    vx::TNotifyEvent OnEditButtonClick;
    // The text a cell's editor starts with, and where the edited text goes.
    std::function<void(QObject* Sender, int ACol, int ARow, std::string& Value)> OnGetEditText;
    std::function<void(QObject* Sender, int ACol, int ARow, const std::string& Value)> OnSetEditText;

    QSize sizeHint() const override;

protected:
    virtual TRxInplaceEdit* CreateEditor();
    virtual bool CanEditAcceptKey(char& key);
    // The editor's text limit; 0 for none.
    virtual int GetEditLimit();
    virtual bool CanEditShow();

    virtual void ColWidthsChanged();
    virtual void RowHeightsChanged();
    virtual void DrawCell(QPainter& canvas, int col, int row, QRect rect, TGridDrawState state);

    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    bool event(QEvent* e) override;

private:
    friend class TRxInplaceEdit;
    void ShowEditor();
    // Hides the editor; the text goes to the cell unless the edit is cancelled.
    void HideEditor(bool store);
    void UpdateEditor();
    void StoreEditText();
    // A key the editor hands on: Escape, Enter and the keys that move the current cell.
    bool EditorKey(QKeyEvent* e);
    // Line positions along one axis: where each cell starts, from sizes and the line width.
    int CellStart(const std::vector<int>& sizes, int index) const;
    // The column (row) whose far line lies within the sizing zone of pos, else -1.
    int SizingLine(const std::vector<int>& sizes, int pos) const;
    TGridDrawState StateOf(int col, int row) const;
    void FireFocus();
    void StopTracking();
    void SetPressed(bool value);
    void SaveWidths();
    void LoadWidths();
    void Resize(std::vector<int>& sizes, int count, int size);
    void MoveCurrent(int col, int row);

    std::vector<int> colWidths_;
    std::vector<int> rowHeights_;
    int fixedCols_ = 1;
    int fixedRows_ = 1;
    int defaultColWidth_ = 64;
    int defaultRowHeight_ = 18;
    int gridLineWidth_ = 1;
    int col_ = 1;
    int row_ = 1;
    TGridOptions options_ = goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goDrawFocusSelected |
                            goColSizing;
    TColor color_ = clWindow;
    TColor fixedColor_ = clBtnFace;
    bool defaultDrawing_ = true;
    bool fixedButtons_ = false;
    TIniLink iniLink_;
    QPainter* canvas_ = nullptr;
    TRxInplaceEdit* editor_ = nullptr;

    // Fixed-cell button state.
    int pressedCol_ = -1;
    int pressedRow_ = -1;
    bool tracking_ = false;
    bool pressed_ = false;
    // Column (row) being sized by dragging its line, and which axis.
    int sizing_ = -1;
    bool sizingRows_ = false;
    int sizingOrigin_ = 0;
};
