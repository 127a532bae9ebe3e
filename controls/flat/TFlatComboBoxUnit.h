// TFlatComboBox: a combo box with a flat frame and a flat drop-down button.
#pragma once

#include "controls/common/Events.h"
#include "controls/flat/FlatUtilitys.h"
#include "controls/flat/TFlatColorControl.h"
#include "platform/TStringList.h"

#include <QComboBox>

#include <functional>
#include <string>

enum class TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

// Owner-draw state bits of an item.
enum TOwnerDrawStateBit { odSelected = 1, odFocused = 2, odDisabled = 4, odComboBoxEdit = 8 };

class TFlatComboBox;

// The combo box's items: changing the list changes the items shown.
class TComboItems : public TStringList {
public:
    explicit TComboItems(TFlatComboBox& combo) : combo_(combo) {}

protected:
    void Changed() override;

private:
    TFlatComboBox& combo_;
};

class TFlatComboBox : public TFlatColorControl<QComboBox> {
public:
    using TDrawItemEvent = std::function<void(QObject* Control, int Index, const QRect& Rect, int State, QPainter& Canvas)>;
    using TMeasureItemEvent = std::function<void(QObject* Control, int Index, int& Height)>;

    static constexpr int ButtonWidth = 11;

    explicit TFlatComboBox(QWidget* parent = nullptr);

    TColor ColorArrow() const { return colors_[0]; }
    void SetColorArrow(TColor value) { SetColors(colors_[0], value); }
    TColor ColorArrowBackground() const { return colors_[1]; }
    void SetColorArrowBackground(TColor value) { SetColors(colors_[1], value); }
    TColor ColorBorder() const { return colors_[2]; }
    void SetColorBorder(TColor value) { SetColors(colors_[2], value); }
    vx::TAdvColors AdvColorBorder() const { return adv_[0]; }
    void SetAdvColorBorder(int value) { SetAdvColor(adv_[0], value); }
    vx::TAdvColors AdvColorArrowBackground() const { return adv_[1]; }
    void SetAdvColorArrowBackground(int value) { SetAdvColor(adv_[1], value); }

    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle value);
    TStrings& Items() { return items_; }
    const TStrings& Items() const { return items_; }
    int ItemIndex() const { return currentIndex(); }
    void SetItemIndex(int value);
    std::string Text() const;
    void SetText(const std::string& value);
    int DropDownCount() const { return maxVisibleItems(); }
    void SetDropDownCount(int value) { setMaxVisibleItems(value); }
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int value) { itemHeight_ = value; }
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int value);
    bool Sorted() const { return items_.Sorted(); }
    void SetSorted(bool value) { items_.SetSorted(value); }

    bool DroppedDown() const { return droppedDown_; }
    // Dropped down, or the focus is on the combo box or its edit.
    bool Active() const { return active_; }
    QRect ButtonRect() const;

    void showPopup() override;
    void hidePopup() override;

    vx::TNotifyEvent OnChange;
    vx::TNotifyEvent OnClick;
    vx::TNotifyEvent OnDropDown;
    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

protected:
    void CalcAdvColors() override;
    void ColorChanged() override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void changeEvent(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    friend class TComboItems;
    class ItemDelegate;
    void ItemsChanged();
    void UpdateActive();
    void PlaceEdit();
    bool HasEdit() const { return style_ == TComboBoxStyle::csDropDown || style_ == TComboBoxStyle::csSimple; }
    void PaintText(QPainter& p);
    void PaintButton(QPainter& p);

    TComboItems items_{*this};
    TColor colors_[3] = {clBlack, vx::clFlatDown, vx::clFlatBorder};
    vx::TAdvColors adv_[2] = {50, 10};
    TComboBoxStyle style_ = TComboBoxStyle::csDropDown;
    int itemHeight_ = 13;
    int maxLength_ = 0;
    bool droppedDown_ = false;
    bool active_ = false;
    bool syncing_ = false;
};
