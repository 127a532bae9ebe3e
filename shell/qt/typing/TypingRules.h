// The typing rules of the five slot editors: a few keys become HTML or Perl
// text, each switched on by a preference. One event filter on the slot
// editors sees every key press before the editor does; workspace editors are
// not filtered.
#pragma once

#include <QObject>

class TForm1;

namespace vx::shell {

class TTypingRules : public QObject {
public:
    explicit TTypingRules(TForm1& form);

    // Filters the slot editors of the form.
    void Install();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class TKeyDownResult { Pass, Eaten, BreakLine };
    TKeyDownResult KeyDown(int key, bool alt);
    // The character rules; true when the key is eaten. key is 0 for none.
    bool KeyPress(char key);

    TForm1& form_;
    bool forwarding_ = false;
};

} // namespace vx::shell
