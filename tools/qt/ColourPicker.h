// The 216 web-safe colours as a picture the user points into: six levels
// (00, 33, 66, 99, CC, FF) of red, green and blue, 18 columns by 12 rows.
#pragma once

#include <QWidget>

#include <cstdint>
#include <functional>

class TWebColourImage : public QWidget {
public:
    static constexpr int Columns = 18, Rows = 12, Cell = 12;

    explicit TWebColourImage(QWidget* parent = nullptr);

    // The colour (red in the low byte) of the cell under a point of the picture.
    static std::uint32_t ColourAt(QPoint point);

    // The mouse moved over a colour; a button was released over one.
    std::function<void(std::uint32_t)> OnMove;
    std::function<void(std::uint32_t)> OnPick;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
};
