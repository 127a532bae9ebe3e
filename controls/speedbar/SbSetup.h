// The speed bar's customisation window: the bar's sections and the items of
// the chosen one, from which hidden items are dragged onto the bar.
#pragma once

#include <QDialog>
#include <QPointer>

#include <memory>

class QFrame;
class QLabel;
class QListWidget;
class QPushButton;
class TBtnControl;
class TSpeedBar;
class TSpeedItem;

class TSpeedbarSetupWindow : public QDialog {
public:
    TSpeedbarSetupWindow();
    ~TSpeedbarSetupWindow() override;

    TSpeedBar* SpeedBar() const { return bar_; }
    // Attaches to a bar, which enters customisation mode; the old one leaves it.
    void SetSpeedBar(TSpeedBar* bar);
    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int value) { helpContext_ = value; }
    // The section list's current row, -1 without a usable bar or sections.
    int CurrentSection() const;
    // The item of the button list's current row, or none.
    TSpeedItem* CurrentItem() const;
    void UpdateSizes();

    QListWidget* SectionList;
    QListWidget* ButtonsList;
    QLabel* CategoriesLabel;
    QLabel* ButtonsLabel;
    QFrame* Bevel1;
    QLabel* HintLabel;
    QPushButton* CloseBtn;
    QPushButton* HelpBtn;

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    bool Usable() const;
    void RefreshLists(bool keepSection);
    void SectionChosen();
    void FillButtons();
    void ButtonRowChosen();
    void ShowItemHint();
    void FitColumns();
    bool ButtonsMouse(QEvent* e);
    void EndDrag(QPoint screenPoint);
    void LeaveBar();

    QPointer<TSpeedBar> bar_;
    int helpContext_ = 0;
    std::unique_ptr<TBtnControl> floating_;
    bool dragging_ = false;
    TSpeedItem* dragItem_ = nullptr;
    int dragRow_ = -1;
};
