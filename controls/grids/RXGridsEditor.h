// The draw grid's in-place editor: TRxInplaceEdit, a line editor with an
// ellipsis button or a drop-down pick list at its right edge, and
// TPopupListbox, the pick list, a pop-up list with incremental search that
// never takes the focus from the editor.
#pragma once

#include "controls/common/VCLUtils.h"
#include "controls/grids/RXGrids.h"

#include <QLineEdit>
#include <QListWidget>

#include <cstdint>
#include <functional>
#include <string>

class TPopupListbox : public QListWidget {
public:
    explicit TPopupListbox(QWidget* owner);

    // Milliseconds since some fixed moment; replaceable so a pause can be simulated.
    std::function<std::int64_t()> Clock;
    const QString& SearchText() const { return searchText_; }

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    friend class TRxInplaceEdit;
    // Rows the list shows at most before it scrolls.
    static constexpr int MaxRows = 8;
    QString searchText_;
    std::int64_t lastKey_ = 0;
    std::function<void(bool accept)> onClose_;
};

class TRxInplaceEdit : public QLineEdit {
public:
    explicit TRxInplaceEdit(TRxDrawGrid* grid);

    TRxDrawGrid* Grid() const { return grid_; }
    vx::TAlignment Alignment() const { return alignment_; }
    void SetAlignment(vx::TAlignment value);
    TInplaceEditStyle EditStyle() const { return editStyle_; }
    void SetEditStyle(TInplaceEditStyle value);
    int ButtonWidth() const { return buttonWidth_; }
    // The pick list; created on first need.
    TPopupListbox* PickList();
    bool ListVisible() const { return listVisible_; }
    // The button's place in the editor; empty in the simple style.
    QRect ButtonRect() const;

    void DropDown();
    void CloseUp(bool accept);

protected:
    void paintEvent(QPaintEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    void DrawButton(QPainter& canvas);
    void SetPressed(bool value);
    void StopTracking();
    void ButtonClick();

    TRxDrawGrid* grid_;
    vx::TAlignment alignment_ = vx::taLeftJustify;
    TInplaceEditStyle editStyle_ = ieSimple;
    int buttonWidth_;
    TPopupListbox* pickList_ = nullptr;
    bool listVisible_ = false;
    bool tracking_ = false;
    bool pressed_ = false;
};

namespace vx {

// Where the three dots of an ellipsis button of that width go: dot size and
// the left edge of the first dot (the others follow size + 2 apart).
struct TEllipsisDots {
    int size;
    int left;
};
TEllipsisDots EllipsisDots(int buttonLeft, int buttonWidth, bool pressed);

} // namespace vx
