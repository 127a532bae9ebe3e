// TFlatGauge: a flat progress bar with a per-cent text that inverts over the bar.
#pragma once

#include "controls/flat/FlatUtilitys.h"
#include "controls/flat/TFlatColorControl.h"

#include <string>

class TFlatGauge : public TFlatColorControl<QWidget> {
public:
    explicit TFlatGauge(QWidget* parent = nullptr);

    int MinValue() const { return minValue_; }
    // Kept at or below MaxValue; raises Progress to it.
    void SetMinValue(int value);
    int MaxValue() const { return maxValue_; }
    // Kept at or above MinValue; lowers Progress to it.
    void SetMaxValue(int value);
    int Progress() const { return progress_; }
    // Clamped into MinValue..MaxValue.
    void SetProgress(int value);
    bool ShowText() const { return showText_; }
    void SetShowText(bool value);
    TColor BorderColor() const { return colors_[0]; }
    void SetBorderColor(TColor value) { SetColors(colors_[0], value); }
    TColor BarColor() const { return colors_[1]; }
    void SetBarColor(TColor value) { SetColors(colors_[1], value); }
    vx::TAdvColors AdvColorBorder() const { return advColorBorder_; }
    void SetAdvColorBorder(int value) { SetAdvColor(advColorBorder_, value); }

    // The text shown: the whole per cent followed by " %", or "error" for an empty range.
    std::string PercentText() const;
    // Columns of a bar picture of the given width that are covered by the bar.
    int BarLength(int pictureWidth) const;

protected:
    void CalcAdvColors() override;
    void paintEvent(QPaintEvent* e) override;

private:
    int minValue_ = 0;
    int maxValue_ = 100;
    int progress_ = 25;
    bool showText_ = true;
    TColor colors_[2] = {vx::clGaugeBorder, vx::clGaugeBar};
    vx::TAdvColors advColorBorder_ = 0;
};
