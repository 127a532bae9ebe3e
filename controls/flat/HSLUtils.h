// Conversions between RGB colours and hue, saturation and lightness, in
// floating form (0..1) and in the integer form on a scale of HSLRange.
#pragma once

#include "editor/Colors.h"

namespace vx {

constexpr int HSLRange = 240;

// One channel of an HSL colour: h is brought into 0..1 first; returns 0..255.
int HueToRGB(double m1, double m2, double h);
// h, s, l in 0..1 (values outside are clamped) to an RGB TColor.
TColor HSLtoRGB(double h, double s, double l);
// The RGB part of color (system-colour references must be resolved first).
void RGBtoHSL(TColor color, double& h, double& s, double& l);
// Integer form: h in 0..HSLRange-1, s and l in 0..HSLRange.
TColor HSLRangeToRGB(int h, int s, int l);
void RGBtoHSLRange(TColor color, int& h, int& s, int& l);

} // namespace vx
