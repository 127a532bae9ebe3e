// A notice in the status bar that lasts while its cause does: its text wraps
// (a long path breaks at its slashes) and the bar grows by as many lines as
// it needs, so that the whole text shows at any width of the window.
#pragma once

#include <QLabel>

#include <string>

class TStatusNotice : public QLabel {
public:
    explicit TStatusNotice(QWidget* parent = nullptr);

    // Shows the text; an empty text hides the notice.
    void Show(const std::string& text);
};
