// The browser preview window, created at start-up and shown by the preview commands.
#pragma once

#include "shell/qt/windows/ShellDialog.h"

class QStatusBar;
class QToolButton;
class TFlatComboBox;

namespace vx {
class TPreviewHTML;
}

class Tfrm_preview : public TShellDialog {
public:
    explicit Tfrm_preview(QWidget* parent = nullptr);

    // "Page Backward", "Page forward", "Quit browsing", "Refresh page", "Stop Browsing".
    QToolButton* ToolButton1;
    QToolButton* ToolButton2;
    QToolButton* ToolButton3;
    QToolButton* ToolButton4;
    QToolButton* ToolButton5;
    TFlatComboBox* ComboBox1;
    vx::TPreviewHTML* PreviewHTML1;
    QStatusBar* StatusBar1;

    void FormActivate() override;

protected:
    // Shown over the main window, it takes the keyboard, and keeps it when its
    // browser makes it anew: Escape closes it. Without a window manager no one
    // else gives it.
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

public:

    // The chosen "width*height" item becomes the window's size, at 1, 1.
    void ComboBox1Change(int index);
};

// "800*600" -> 800, 600; false for a text that names no size.
bool ParseResolution(const std::string& text, int& width, int& height);

extern Tfrm_preview* frm_preview;
