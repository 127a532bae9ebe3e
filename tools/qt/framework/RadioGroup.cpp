// The radio group.
#include "tools/qt/framework/RadioGroup.h"

#include "platform/qt/QtText.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

TRadioGroup::TRadioGroup(const char* name, const std::string& caption, QWidget* parent)
    : QGroupBox(vx::ToQString(caption), parent), group_(new QButtonGroup(this))
{
    setObjectName(name);
    new QVBoxLayout(this);
    connect(group_, &QButtonGroup::idClicked, this, [this](int) {
        if (OnClick)
            OnClick(this);
    });
}

void TRadioGroup::SetItems(const TStringList& items)
{
    for (QRadioButton* button : buttons_)
        delete button;
    buttons_.clear();
    for (int i = 0; i < items.Count(); ++i) {
        auto* button = new QRadioButton(vx::ToQString(items[i]), this);
        button->setObjectName(QString("%1_%2").arg(objectName()).arg(i));
        group_->addButton(button, i);
        layout()->addWidget(button);
        buttons_.push_back(button);
    }
}

int TRadioGroup::ItemIndex() const
{
    return group_->checkedId();
}

void TRadioGroup::SetItemIndex(int value)
{
    if (value >= 0 && value < Count()) {
        buttons_[value]->setChecked(true);
        return;
    }
    group_->setExclusive(false);
    for (QRadioButton* button : buttons_)
        button->setChecked(false);
    group_->setExclusive(true);
}
