// TRxCustomSlider / TRxSlider: a track bar drawn from four images, a thumb and
// a ruler for each orientation. The ruler image is stretched to the control's
// length by repeating its middle; the thumb moves in steps of Increment (or
// freely with soSmooth) by dragging, by holding the mouse beside it, or with
// the keyboard. Tick points and a focus rectangle are optional.
#pragma once

#include "controls/common/Events.h"
#include "editor/Colors.h"

#include <QImage>
#include <QWidget>

#include <array>

class QTimer;

enum TSliderOrientation { soHorizontal, soVertical };
enum TSliderOption : unsigned { soShowFocus = 1, soShowPoints = 2, soSmooth = 4 };
using TSliderOptions = unsigned;
enum class TBevelCut { bvNone, bvLowered, bvRaised };
// Indices of the four images.
enum TSliderImage { siHThumb = 0, siHRuler = 1, siVThumb = 2, siVRuler = 3 };
enum class TSliderStep { Minimum, Maximum, Increase, Decrease };

namespace vx {

// The built-in image of that index: a two-state thumb or a ruler groove whose
// bottom-left pixel is the transparent colour.
QImage DefaultSliderImage(TSliderImage index);
// The ruler image stretched to length along the orientation: its first
// (image length - edge) pixels, then repeated middles, then its last pixels.
QImage BuildRuler(const QImage& image, int edge, int length, bool vertical);

} // namespace vx

class TRxCustomSlider : public QWidget {
public:
    explicit TRxCustomSlider(QWidget* parent = nullptr);
    ~TRxCustomSlider() override;

    const QImage& Images(TSliderImage index) const { return images_[index]; }
    // A copy of the bitmap is used and marked as set by the user; none puts
    // back the built-in image.
    void SetImages(TSliderImage index, const QImage* value);
    // Bit N set: image N was set by the user.
    unsigned UserImages() const { return userImages_; }
    int NumThumbStates() const { return numThumbStates_; }
    void SetNumThumbStates(int value);
    TSliderOrientation Orientation() const { return orientation_; }
    void SetOrientation(TSliderOrientation value);
    // Pixels at each end of the ruler image that are not repeated; a value too
    // large for the image is ignored.
    int EdgeSize() const { return edgeSize_; }
    void SetEdgeSize(int value);
    TSliderOptions Options() const { return options_; }
    void SetOptions(TSliderOptions value);
    TBevelCut BevelStyle() const { return bevelStyle_; }
    void SetBevelStyle(TBevelCut value);
    int MinValue() const { return minValue_; }
    void SetMinValue(int value);
    int MaxValue() const { return maxValue_; }
    void SetMaxValue(int value);
    // Raises Exception "Value must be between 1 and <range>" outside 1 .. range.
    int Increment() const { return increment_; }
    void SetIncrement(int value);
    int Value() const { return GetValue(); }
    void SetValue(int value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);

    // The value changed.
    vx::TNotifyEvent OnChange;
    // A user action (key step, click-repeat, thumb drag) ended.
    vx::TNotifyEvent OnChanged;
    // Replaces the default tick points; the canvas is the one being painted.
    std::function<void(QObject* Sender, QPainter& Canvas)> OnDrawPoints;

    void Step(TSliderStep step);

    // Geometry as placed now, in widget coordinates.
    QRect ThumbRect() const { return thumbRect_; }
    QPoint RulerOrigin() const { return rulerOrigin_; }
    const QImage& Ruler() const { return ruler_; }
    // Where the thumb of a value lies along the track, and back.
    int OffsetOfValue(int value) const;
    int ValueOfOffset(int offset) const;

protected:
    virtual bool CanModify() const { return true; }
    virtual QRect GetInnerRect() const;
    virtual int GetValue() const { return value_; }
    virtual void AdjustElements();
    virtual void ThumbMouseDown(int x, int y);
    virtual void ThumbMouseMove(int x, int y);
    virtual void ThumbMouseUp();
    virtual void DefaultDrawPoints(QPainter& canvas);

    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    const QImage& ThumbImage() const { return images_[orientation_ == soHorizontal ? siHThumb : siVThumb]; }
    const QImage& RulerImage() const { return images_[orientation_ == soHorizontal ? siHRuler : siVRuler]; }
    QSize ThumbSize() const;
    bool Vertical() const { return orientation_ == soVertical; }
    int TrackStart() const;
    int TrackLength() const;
    void SetRange(int minValue, int maxValue);
    void MoveThumb(int offset);
    void PlaceThumb(int offset);
    void RepeatStep();
    void StopRepeat();
    void Changed();
    void DrawThumb(QPainter& canvas);

    std::array<QImage, 4> images_;
    unsigned userImages_ = 0;
    QImage ruler_;
    int numThumbStates_ = 2;
    TSliderOrientation orientation_ = soHorizontal;
    int edgeSize_ = 2;
    TSliderOptions options_ = soShowFocus | soShowPoints | soSmooth;
    TBevelCut bevelStyle_ = TBevelCut::bvNone;
    int minValue_ = 0;
    int maxValue_ = 100;
    int increment_ = 10;
    int value_ = 0;
    TColor color_ = clWindow;

    QPoint rulerOrigin_;
    QRect thumbRect_;
    bool dragging_ = false;
    bool pressed_ = false;
    int grab_ = 0;
    bool tracking_ = false;
    QPoint lastMouse_;
    TSliderStep repeatStep_ = TSliderStep::Increase;
    QTimer* repeat_;
};

class TRxSlider : public TRxCustomSlider {
public:
    using TRxCustomSlider::TRxCustomSlider;
};
