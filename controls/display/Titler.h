// TTitler: a panel whose lines of text scroll upwards on a timer, like film credits.
#pragma once

#include "editor/Colors.h"
#include "platform/TStringList.h"

#include <QFrame>

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
    TPanelBevel BevelInner() const { return bevelInner_; }
    void SetBevelInner(TPanelBevel value) { bevelInner_ = value; }
    TPanelBevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TPanelBevel value) { bevelOuter_ = value; }
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int value) { bevelWidth_ = value; }
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int value) { borderWidth_ = value; }
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
