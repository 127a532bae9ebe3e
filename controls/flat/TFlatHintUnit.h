// TFlatHint and TFlatHintWindow: flat tooltips with a coloured arrow strip on
// the side nearest the mouse cursor, styled by the main form's TFlatHint.
#pragma once

#include "editor/Colors.h"

#include <QFont>
#include <QObject>
#include <QWidget>

#include <functional>
#include <string>

// What the show-hint event may inspect and change before a hint appears.
struct THintInfo {
    QWidget* HintControl = nullptr;
    QPoint CursorPos;
    int HintMaxWidth = 0;
};

// Which screen quadrant held the cursor, and so where the arrow strip sits.
enum THintArrowPos { apTopRight = 0, apTopLeft = 1, apBottomRight = 2, apBottomLeft = 3 };

struct THintPlacement {
    QRect Bounds;
    THintArrowPos ArrowPos = apTopLeft;
};

// The colours, width limit and font of a hint.
struct TFlatHintLook {
    TColor ColorBackground = 0x00FFFFFF;
    TColor ColorBorder = 0;
    TColor ColorArrowBackground = 0x0053D2FF;
    TColor ColorArrow = 0;
    int MaxHintWidth = 200;
    QFont Font;
};

namespace vx {

// Outer size of a hint: the text wrapped at maxHintWidth - 22, plus 22 by 6.
QSize CalcHintSize(const QFont& font, int maxHintWidth, const QString& text);
// Where a hint of the given size goes for a cursor on a screen of the given size.
THintPlacement CalcHintPlacement(QPoint cursor, QSize screen, QSize hintSize);

} // namespace vx

class TFlatHint : public QObject {
public:
    using TShowHintEvent = std::function<void(std::string& HintStr, bool& CanShow, THintInfo& HintInfo)>;

    // Puts the flat hint window in place of the application's tooltips.
    explicit TFlatHint(QObject* owner = nullptr);
    ~TFlatHint() override;

    TColor ColorBackground() const { return look_.ColorBackground; }
    void SetColorBackground(TColor value) { SetColors(0, value); }
    TColor ColorBorder() const { return look_.ColorBorder; }
    void SetColorBorder(TColor value) { SetColors(1, value); }
    TColor ColorArrowBackground() const { return look_.ColorArrowBackground; }
    void SetColorArrowBackground(TColor value) { SetColors(2, value); }
    TColor ColorArrow() const { return look_.ColorArrow; }
    void SetColorArrow(TColor value) { SetColors(3, value); }
    int MaxHintWidth() const { return look_.MaxHintWidth; }
    void SetMaxHintWidth(int value) { look_.MaxHintWidth = value; }
    const QFont& Font() const { return look_.Font; }
    void SetFont(const QFont& value) { look_.Font = value; }
    const TFlatHintLook& Look() const { return look_; }

    TShowHintEvent OnShowHint;

    // The window whose first TFlatHint styles every hint; none gives the initial look.
    static void SetMainForm(QWidget* form);
    static QWidget* MainForm();
    // The application's hint timing, in milliseconds.
    static constexpr int HintShortPause = 25;
    static constexpr int HintPause = 500;
    static constexpr int HintHidePause = 5000;

private:
    friend class TFlatHintManager;
    void SetColors(int index, TColor value);
    void ShowHint(std::string& hintStr, bool& canShow, THintInfo& info);

    TFlatHintLook look_;
};

class TFlatHintWindow : public QWidget {
public:
    TFlatHintWindow();

    // Shows text near the cursor; rect's corner is where the framework would have put it.
    void ActivateHint(const QRect& rect, const std::string& text);
    // The same for a given cursor position on the primary screen.
    void ActivateHintAt(QPoint cursor, const std::string& text);
    THintArrowPos ArrowPos() const { return arrowPos_; }
    const std::string& Text() const { return text_; }
    // The main form's first TFlatHint, or nullptr.
    static TFlatHint* HintComponent();
    // That component's look, or the initial look without one.
    static TFlatHintLook CurrentLook();

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    std::string text_;
    THintArrowPos arrowPos_ = apTopLeft;
};
