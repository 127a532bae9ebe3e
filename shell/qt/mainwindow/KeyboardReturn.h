// Where the keyboard goes when a window of the program closes: back to the
// window it was opened from, and for the main window to its document. Without
// a window manager nothing else gives it back: X leaves the keyboard on the
// screen's root window and the keys typed next reach no window.
#pragma once

#include <QObject>
#include <QPointer>

class QWidget;
class TForm1;

namespace vx::shell {

class TKeyboardReturn : public QObject {
public:
    // Watches every window of the application; a child of the main window.
    explicit TKeyboardReturn(TForm1& form);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void GiveBack();

    TForm1& form_;
    // The window the last one that closed with the keyboard was opened from,
    // while the keyboard is still to go back to it.
    QPointer<QWidget> opener_;
    bool pending_ = false;
    // A key or click of the user's is being handled.
    bool answeringInput_ = false;
};

} // namespace vx::shell
