// The palette window and its colour grid.
#include "images/qt/PaletteForm.h"

#include "localisation/qt/KMLang.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <climits>

class TColorGrid : public QWidget {
public:
    explicit TColorGrid(TPaletteForm* form) : QWidget(form), form_(form)
    {
        setObjectName("ColorGrid");
        setFixedSize(form->columns_ * form->cell_, form->rows_ * form->cell_);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const int cell = form_->cell_;
        for (int row = 0; row < form_->rows_; ++row)
            for (int column = 0; column < form_->columns_; ++column) {
                const int index = row * form_->columns_ + column;
                const QRect box(column * cell, row * cell, cell, cell);
                painter.fillRect(box, palette().color(QPalette::Button));
                painter.setPen(palette().color(QPalette::Dark));
                painter.drawRect(box.adjusted(1, 1, -2, -2));
                painter.setPen(palette().color(QPalette::Light));
                painter.drawLine(box.left() + 2, box.bottom() - 1, box.right() - 1, box.bottom() - 1);
                const TGIFColor c = index < static_cast<int>(form_->palette_.size())
                                        ? form_->palette_[static_cast<size_t>(index)]
                                        : TGIFColor{128, 128, 128};
                painter.fillRect(box.adjusted(3, 3, -3, -3), QColor(c.Red, c.Green, c.Blue));
                if (index == form_->selected_) {
                    painter.setPen(QPen(palette().color(QPalette::Base), 1, Qt::DotLine));
                    painter.drawRect(box.adjusted(2, 2, -3, -3));
                }
            }
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        const QPoint p = event->position().toPoint();
        form_->Select(p.y() / form_->cell_ * form_->columns_ + p.x() / form_->cell_);
    }

private:
    TPaletteForm* form_;
};

TPaletteForm::TPaletteForm(QWidget* parent, const TGIFPalette& palette, RxGIF::TColor color)
    : QDialog(parent), palette_(palette), color_(color)
{
    setObjectName("PaletteForm");
    setWindowTitle("Palette");
    setWindowFlag(Qt::Tool);
    if (palette_.size() > 256)
        palette_.resize(256);
    if (palette_.size() > 16) {
        columns_ = 16;
        rows_ = static_cast<int>((palette_.size() + 15) / 16);
        cell_ = 18;
    }
    auto* layout = new QVBoxLayout(this);
    grid_ = new TColorGrid(this);
    layout->addWidget(grid_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText("OK");
    buttons->button(QDialogButtonBox::Ok)->setObjectName("OkBtn");
    buttons->button(QDialogButtonBox::Cancel)->setText("Cancel");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("CancelBtn");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // The nearest entry to the given colour starts selected.
    const TGIFColor wanted = RxGIF::GIFColorOf(color);
    int best = INT_MAX;
    for (size_t i = 0; i < palette_.size(); ++i) {
        const int dr = palette_[i].Red - wanted.Red, dg = palette_[i].Green - wanted.Green,
                  db = palette_[i].Blue - wanted.Blue;
        if (dr * dr + dg * dg + db * db < best) {
            best = dr * dr + dg * dg + db * db;
            selected_ = static_cast<int>(i);
        }
    }
    TranslateWindow(this);
}

void TPaletteForm::Select(int index)
{
    selected_ = index >= 0 && index < static_cast<int>(palette_.size()) ? index : -1;
    grid_->update();
}

RxGIF::TColor TPaletteForm::Color() const
{
    return selected_ >= 0 ? RxGIF::ColorOf(palette_[static_cast<size_t>(selected_)]) : color_;
}

RxGIF::TColor SelectPaletteColor(QWidget* parent, const TGIFPalette& palette, RxGIF::TColor color)
{
    if (palette.empty()) {
        QApplication::beep();
        return color;
    }
    TPaletteForm form(parent, palette, color);
    return form.exec() == QDialog::Accepted ? form.Color() : color;
}
