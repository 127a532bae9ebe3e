// A framed group of radio buttons chosen by index, shared by the shell's
// windows and the generator dialogs, as the class library's
// radio group offers it: the items are texts, ItemIndex -1 means none.
#pragma once

#include "platform/TStringList.h"

#include <QGroupBox>

#include <functional>
#include <string>
#include <vector>

class QButtonGroup;
class QRadioButton;

class TRadioGroup : public QGroupBox {
public:
    TRadioGroup(const char* name, const std::string& caption, QWidget* parent = nullptr);

    // Replaces the buttons; the index goes back to -1.
    void SetItems(const TStringList& items);
    int Count() const { return static_cast<int>(buttons_.size()); }
    int ItemIndex() const;
    // Any value outside 0..Count-1 clears the choice.
    void SetItemIndex(int value);

    std::function<void(TRadioGroup* Sender)> OnClick;

private:
    QButtonGroup* group_;
    std::vector<QRadioButton*> buttons_;
};
