// TitaMenu: a main menu whose items can be measured and drawn by its owner's events.
#pragma once

#include <QMenuBar>
#include <QRect>

#include <functional>

class QAction;
class QPainter;
class TitaMenuStyle;

enum TMenuStyle { msStandard, msOwnerDraw };
// Item state bits handed to OnDrawItem.
enum TOwnerDrawState { odSelected = 1, odGrayed = 2, odDisabled = 4, odChecked = 8 };

class TitaCustomMenu : public QMenuBar {
public:
    explicit TitaCustomMenu(QWidget* parent = nullptr);
    ~TitaCustomMenu() override;

    TMenuStyle Style() const { return style_; }
    // Switches every item and sub-item between standard and owner drawing.
    void SetStyle(TMenuStyle value);
    // Applies the style to items added since it was set.
    void Loaded();

    // Width and Height start at the standard size; Canvas carries the menu's font.
    std::function<void(QObject* Sender, QAction* Item, QPainter& Canvas, int& Width, int& Height)> OnMeasureItem;
    // Canvas has a solid brush and no pen; State is a set of TOwnerDrawState bits.
    std::function<void(QObject* Sender, QAction* Item, QPainter& Canvas, QRect Rect, unsigned State)> OnDrawItem;

private:
    void Apply(QWidget* menu);

    TMenuStyle style_ = msStandard;
    TitaMenuStyle* drawStyle_;
};

class TitaMenu : public TitaCustomMenu {
public:
    using TitaCustomMenu::TitaCustomMenu;
};
