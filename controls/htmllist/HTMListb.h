// An owner-drawn list box whose items are short texts in a small HTML subset,
// with links that open through the desktop or are reported to the owner.
#pragma once

#include "controls/common/Events.h"
#include "controls/htmllist/htmleng.h"
#include "platform/TStringList.h"

#include <QListWidget>

#include <functional>
#include <string>

namespace vx {

class THTMListbox;

// The list box's items: changing the list changes the rows shown.
class THTMListItems : public TStringList {
public:
    explicit THTMListItems(THTMListbox& owner) : owner_(owner) {}

protected:
    void Changed() override;

private:
    THTMListbox& owner_;
};

class THTMListbox : public QListWidget {
public:
    using TAnchorEvent = std::function<void(QObject* Sender, int index, const std::string& anchor)>;

    explicit THTMListbox(QWidget* parent = nullptr);
    ~THTMListbox() override;

    TStrings& Items() { return items_; }
    const TStrings& Items() const { return items_; }
    // The selected item's index; the current item that taking the focus
    // gives a list is no choice of the user's.
    int ItemIndex() const { return currentItem() && currentItem()->isSelected() ? currentRow() : -1; }
    void SetItemIndex(int value) { setCurrentRow(value); }

    TColor URLColor() const { return urlColor_; }
    void SetURLColor(TColor value);
    bool Multiline() const { return multiline_; }
    void SetMultiline(bool value);
    const THTMLImages* Images() const { return images_; }
    void SetImages(const THTMLImages* value);
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int value);
    bool MultiSelect() const { return selectionMode() != QAbstractItemView::SingleSelection; }
    void SetMultiSelect(bool value);
    bool ExtendedSelect() const { return extendedSelect_; }
    void SetExtendedSelect(bool value);
    // Above 0: items flow down into columns of this many per view width.
    int Columns() const { return columns_; }
    void SetColumns(int value);
    bool Sorted() const { return items_.Sorted(); }
    void SetSorted(bool value) { items_.SetSorted(value); }

    // Height of an item as the list asks for it.
    int MeasureItem(int index) const;
    int ItemWidth() const;
    // The link under a point of the viewport, when there is one.
    bool LinkAt(const QPoint& point, int& index, std::string& anchor) const;

    TAnchorEvent OnAnchorClick;
    TAnchorEvent OnAnchorEnter;
    TNotifyEvent OnDblClick;
    // Opens a link with a scheme; the desktop's handler unless replaced.
    std::function<void(const std::string& url)> ShellOpen;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class THTMListItems;
    friend class THTMItemDelegate;
    void ItemsChanged();
    void Remeasure();
    void UpdateSelectionMode(bool multi);

    THTMListItems items_{*this};
    TColor urlColor_ = clBlue;
    bool multiline_ = false;
    const THTMLImages* images_ = nullptr;
    int itemHeight_ = 16;
    int columns_ = 0;
    bool extendedSelect_ = true;
    bool remeasuring_ = false;
};

} // namespace vx
