// TTitler: a panel whose lines of text scroll upwards on a timer, like film credits.
#pragma once

#include "editor/Colors.h"
#include "platform/TStringList.h"

#include <QFrame>

#include <algorithm>

#include <functional>

class QPainter;
class QTimer;

enum TTitlerBorderStyle { bsNone, bsSingle };
enum TPanelBevel { bvNone, bvLowered, bvRaised };

class TTitler : public QFrame {
public:
    explicit TTitler(QWidget* parent = nullptr);

    // Any change of the lines repaints.
    TStringList& Titles() { return titles_; }
    void SetTitles(const TStringList& value);
    // Milliseconds between steps.
    int Interval() const;
    void SetInterval(int value);
    // Pixels per step; values below 1 are ignored.
    int Step() const { return step_; }
    void SetStep(int value);
    // How far the text has scrolled up, in pixels.
    int Offset() const { return offset_; }

    Qt::Alignment Alignment() const { return alignment_; }
    void SetAlignment(Qt::Alignment value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor value);
    TTitlerBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TTitlerBorderStyle value);
    // The panel's frame, outside in: the single border line, the outer bevel,
    // BorderWidth pixels of Color, the inner bevel; the titles scroll inside.
    TPanelBevel BevelInner() const { return bevelInner_; }
    void SetBevelInner(TPanelBevel value) { SetFramePart(bevelInner_, value); }
    TPanelBevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TPanelBevel value) { SetFramePart(bevelOuter_, value); }
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int value) { SetFramePart(bevelWidth_, std::max(value, 1)); }
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int value) { SetFramePart(borderWidth_, std::max(value, 0)); }
    bool Locked() const { return locked_; }
    void SetLocked(bool value) { locked_ = value; }

    // Receive the sender and the off-screen canvas before and after the text.
    std::function<void(QObject* Sender, QPainter& Canvas)> OnPaintBefore;
    std::function<void(QObject* Sender, QPainter& Canvas)> OnPaintAfter;

    // One timer step: scroll by Step and repaint.
    void Tick();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    template <class T> void SetFramePart(T& field, T value)
    {
        if (field != value) {
            field = value;
            UpdateFrame();
        }
    }
    // Keeps the titles inside the bevels and the border width.
    void UpdateFrame();
    void PaintBevels(QPainter& painter) const;

    TStringList titles_;
    QTimer* timer_;
    int step_ = 1;
    int offset_ = 0;
    Qt::Alignment alignment_ = Qt::AlignHCenter;
    TColor color_ = clBlack;
    TColor fontColor_ = 0x0000FF00;
    TTitlerBorderStyle borderStyle_ = bsSingle;
    TPanelBevel bevelInner_ = bvNone;
    TPanelBevel bevelOuter_ = bvNone;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    bool locked_ = false;
};
