// HSL colour arithmetic of the flat-look controls.
#include "controls/flat/HSLUtils.h"

#include <algorithm>
#include <cmath>

namespace vx {

namespace {

// Half-way values go to the even neighbour, as the class library's Round does.
int RoundChannel(double v)
{
    return std::clamp(static_cast<int>(std::nearbyint(255.0 * v)), 0, 255);
}

TColor MakeRGB(int r, int g, int b)
{
    return static_cast<TColor>(r) | (static_cast<TColor>(g) << 8) | (static_cast<TColor>(b) << 16);
}

} // namespace

int HueToRGB(double m1, double m2, double h)
{
    if (h < 0)
        h += 1;
    if (h > 1)
        h -= 1;
    double v;
    if (6 * h < 1)
        v = m1 + (m2 - m1) * h * 6;
    else if (2 * h < 1)
        v = m2;
    else if (3 * h < 2)
        v = m1 + (m2 - m1) * (2.0 / 3.0 - h) * 6;
    else
        v = m1;
    return RoundChannel(v);
}

TColor HSLtoRGB(double h, double s, double l)
{
    h = std::clamp(h, 0.0, 1.0);
    s = std::clamp(s, 0.0, 1.0);
    l = std::clamp(l, 0.0, 1.0);
    if (s == 0) {
        int grey = RoundChannel(l);
        return MakeRGB(grey, grey, grey);
    }
    double m2 = l <= 0.5 ? l * (1 + s) : l + s - l * s;
    double m1 = 2 * l - m2;
    return MakeRGB(HueToRGB(m1, m2, h + 1.0 / 3.0), HueToRGB(m1, m2, h), HueToRGB(m1, m2, h - 1.0 / 3.0));
}

void RGBtoHSL(TColor color, double& h, double& s, double& l)
{
    double r = (color & 0xFF) / 255.0;
    double g = ((color >> 8) & 0xFF) / 255.0;
    double b = ((color >> 16) & 0xFF) / 255.0;
    double cmax = std::max({r, g, b});
    double cmin = std::min({r, g, b});
    l = (cmax + cmin) / 2;
    if (cmax == cmin) {
        h = 0;
        s = 0;
        return;
    }
    double delta = cmax - cmin;
    s = l < 0.5 ? delta / (cmax + cmin) : delta / (2 - cmax - cmin);
    if (r == cmax)
        h = (g - b) / delta;
    else if (g == cmax)
        h = 2 + (b - r) / delta;
    else
        h = 4 + (r - g) / delta;
    h /= 6;
    if (h < 0)
        h += 1;
}

TColor HSLRangeToRGB(int h, int s, int l)
{
    return HSLtoRGB(h / double(HSLRange - 1), s / double(HSLRange), l / double(HSLRange));
}

void RGBtoHSLRange(TColor color, int& h, int& s, int& l)
{
    double hf, sf, lf;
    RGBtoHSL(color, hf, sf, lf);
    h = static_cast<int>(std::nearbyint(hf * (HSLRange - 1)));
    s = static_cast<int>(std::nearbyint(sf * HSLRange));
    l = static_cast<int>(std::nearbyint(lf * HSLRange));
}

} // namespace vx
