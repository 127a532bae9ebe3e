// The palette window: picks one colour of a palette from a grid of cells.
#pragma once

#include "images/GIFColor.h"
#include "images/RxGIFTypes.h"

#include <QDialog>

class QWidget;

class TPaletteForm : public QDialog {
public:
    TPaletteForm(QWidget* parent, const TGIFPalette& palette, RxGIF::TColor color);
    // The colour of the selected cell; the given colour when no cell is selected.
    RxGIF::TColor Color() const;
    int Selected() const { return selected_; }
    int Columns() const { return columns_; }
    int CellSize() const { return cell_; }

private:
    friend class TColorGrid;
    void Select(int index);

    TGIFPalette palette_;
    RxGIF::TColor color_;
    int selected_ = -1;
    int columns_ = 8;
    int rows_ = 2;
    int cell_ = 31;
    QWidget* grid_ = nullptr;
};

// Shows the palette window modally: the chosen colour, or colour when cancelled.
// Without a palette the system beeps and colour comes back.
RxGIF::TColor SelectPaletteColor(QWidget* parent, const TGIFPalette& palette, RxGIF::TColor color);
