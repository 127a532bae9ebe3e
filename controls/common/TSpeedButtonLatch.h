// TSpeedButtonLatch: what every speed button shares: GroupIndex, AllowAllUp,
// Down, the up/disabled/down/exclusive state and the dragging flag, with one
// button down at a time among the siblings of the same class in a group.
#pragma once

#include <QWidget>

// Button is the speed button class (a QWidget deriving from this latch); its
// siblings of that class form the groups. TState's values 0 to 3 are up,
// disabled, down and exclusive; a button may add states of its own after them.
template <class Button, class TState>
class TSpeedButtonLatch {
public:
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int value)
    {
        if (value == groupIndex_)
            return;
        groupIndex_ = value;
        UpdateExclusive();
    }
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool value)
    {
        if (value == allowAllUp_)
            return;
        allowAllUp_ = value;
        UpdateExclusive();
    }
    bool Down() const { return down_; }
    TState State() const { return state_; }

    // The group notification every sibling receives when a button goes down
    // or its group settings change: a down member goes up, and every member
    // takes over the sender's AllowAllUp.
    void ButtonPressed(int group, Button* sender)
    {
        if (group != groupIndex_ || sender == &Self())
            return;
        if (sender->Down() && down_) {
            down_ = false;
            state_ = kUp;
            Self().update();
        }
        allowAllUp_ = sender->AllowAllUp();
    }

protected:
    static constexpr TState kUp = TState(0);
    static constexpr TState kDisabled = TState(1);
    static constexpr TState kDown = TState(2);
    static constexpr TState kExclusive = TState(3);

    // The rules of the Down setter: ungrouped buttons never stay down, and a
    // down button is released only with AllowAllUp. Going down makes the state
    // exclusive and releases the group's other button; going up makes it up.
    // Answers whether Down changed; repainting is left to the caller.
    bool Latch(bool value)
    {
        if (groupIndex_ == 0)
            value = false;
        if (value == down_ || (down_ && !allowAllUp_))
            return false;
        down_ = value;
        if (value) {
            state_ = kExclusive;
            UpdateExclusive();
        } else {
            state_ = kUp;
        }
        return true;
    }

    // A disabled button shows disabled and stops dragging; once enabled again
    // it returns to exclusive when down in a group, else to up.
    void CorrectState()
    {
        if (!Self().isEnabled()) {
            state_ = kDisabled;
            dragging_ = false;
        } else if (state_ == kDisabled) {
            state_ = down_ && groupIndex_ != 0 ? kExclusive : kUp;
        }
    }

    // A left press on an enabled button: dragging starts, and a button that is
    // not down shows pressed. Answers whether the face is to be repainted
    // pressed; how soon is left to the caller.
    bool BeginDrag()
    {
        dragging_ = true;
        if (down_)
            return false;
        state_ = kDown;
        return true;
    }

    // The mouse moved while dragging: pressed inside, up outside; a down
    // button stays exclusive either way.
    void DragTo(bool inside)
    {
        const TState next = down_ ? kExclusive : inside ? kDown : kUp;
        if (next != state_) {
            state_ = next;
            Self().update();
        }
    }

    int groupIndex_ = 0;
    bool allowAllUp_ = false;
    bool down_ = false;
    TState state_ = kUp;
    bool dragging_ = false;

private:
    Button& Self() { return static_cast<Button&>(*this); }

    void UpdateExclusive()
    {
        QWidget* parent = Self().parentWidget();
        if (groupIndex_ == 0 || !parent)
            return;
        for (QObject* child : parent->children())
            if (auto* button = dynamic_cast<Button*>(child); button && button != &Self())
                button->ButtonPressed(groupIndex_, &Self());
    }
};
