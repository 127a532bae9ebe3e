// Ditherers and their kernels.
#include "images/GIFDither.h"

#include "images/GIFColorLookup.h"

#include <algorithm>

namespace {

// Weights of the published kernels; row 0 is the current row, columns are
// relative to the current pixel in the scanning direction.
const TDitherKernel kFloydSteinberg{{{0, 1, 7}, {1, -1, 3}, {1, 0, 5}, {1, 1, 1}}, 16};

const TDitherKernel kStucki{{{0, 1, 8}, {0, 2, 4},
                             {1, -2, 2}, {1, -1, 4}, {1, 0, 8}, {1, 1, 4}, {1, 2, 2},
                             {2, -2, 1}, {2, -1, 2}, {2, 0, 4}, {2, 1, 2}, {2, 2, 1}},
                            42};

const TDitherKernel kSierra{{{0, 1, 5}, {0, 2, 3},
                             {1, -2, 2}, {1, -1, 4}, {1, 0, 5}, {1, 1, 4}, {1, 2, 2},
                             {2, -1, 2}, {2, 0, 3}, {2, 1, 2}},
                            32};

const TDitherKernel kJarvisJudiceNinke{{{0, 1, 7}, {0, 2, 5},
                                        {1, -2, 3}, {1, -1, 5}, {1, 0, 7}, {1, 1, 5}, {1, 2, 3},
                                        {2, -2, 1}, {2, -1, 3}, {2, 0, 5}, {2, 1, 3}, {2, 2, 1}},
                                       48};

const TDitherKernel kStevensonArce{{{0, 2, 32},
                                    {1, -3, 12}, {1, -1, 26}, {1, 1, 30}, {1, 3, 16},
                                    {2, -2, 12}, {2, 0, 26}, {2, 2, 12},
                                    {3, -3, 5}, {3, -1, 12}, {3, 1, 12}, {3, 3, 5}},
                                   200};

const TDitherKernel kBurkes{{{0, 1, 8}, {0, 2, 4}, {1, -2, 2}, {1, -1, 4}, {1, 0, 8}, {1, 1, 4}, {1, 2, 2}}, 32};

} // namespace

std::uint8_t TDitherEngine::Dither(int red, int green, int blue)
{
    TGIFColor color;
    const int index = lookup_.Lookup(red, green, blue, color);
    Step();
    return static_cast<std::uint8_t>(index);
}

void TDitherEngine::NextLine()
{
    direction_ = -direction_;
    column_ = direction_ > 0 ? 0 : width_ - 1;
}

TErrorDiffusionDitherer::TErrorDiffusionDitherer(int width, TColorLookup& lookup, const TDitherKernel& kernel)
    : TDitherEngine(width, lookup), kernel_(kernel)
{
    for (const TKernelWeight& w : kernel.Weights) {
        rows_ = std::max(rows_, w.Row + 1);
        margin_ = std::max(margin_, std::abs(w.Column));
    }
    rowLength_ = (std::max(width, 0) + 2 * margin_) * 3;
    errors_.assign(static_cast<size_t>(rows_) * rowLength_, 0);
    AimRows();
}

void TErrorDiffusionDitherer::AimRows()
{
    rowStart_.resize(static_cast<size_t>(rows_));
    for (int row = 0; row < rows_; ++row)
        rowStart_[static_cast<size_t>(row)] = errors_.data() + static_cast<size_t>((first_ + row) % rows_) * rowLength_;
}

std::uint8_t TErrorDiffusionDitherer::Dither(int red, int green, int blue)
{
    const int column = Column();
    const int rounding = kernel_.Divisor / 2;
    const int* accumulated = Errors(0, column);
    int value[3] = {red, green, blue};
    for (int c = 0; c < 3; ++c)
        value[c] = std::clamp(value[c] + (accumulated[c] + rounding) / kernel_.Divisor, 0, 255);
    TGIFColor color;
    const int index = Lookup().Lookup(value[0], value[1], value[2], color);
    const int error[3] = {value[0] - color.Red, value[1] - color.Green, value[2] - color.Blue};
    for (const TKernelWeight& w : kernel_.Weights) {
        int* target = Errors(w.Row, column + w.Column * Direction());
        for (int c = 0; c < 3; ++c)
            target[c] += error[c] * w.Weight;
    }
    Step();
    return static_cast<std::uint8_t>(index);
}

void TErrorDiffusionDitherer::NextLine()
{
    std::fill_n(errors_.begin() + static_cast<std::ptrdiff_t>(first_) * rowLength_, rowLength_, 0);
    first_ = (first_ + 1) % rows_;
    AimRows();
    TDitherEngine::NextLine();
}

TFloydSteinbergDitherer::TFloydSteinbergDitherer(int width, TColorLookup& lookup)
    : TErrorDiffusionDitherer(width, lookup, kFloydSteinberg) {}

TStuckiDitherer::TStuckiDitherer(int width, TColorLookup& lookup) : T5by3Ditherer(width, lookup, kStucki) {}

TSierraDitherer::TSierraDitherer(int width, TColorLookup& lookup) : T5by3Ditherer(width, lookup, kSierra) {}

TJaJuNiDitherer::TJaJuNiDitherer(int width, TColorLookup& lookup)
    : T5by3Ditherer(width, lookup, kJarvisJudiceNinke) {}

TSteveArcheDitherer::TSteveArcheDitherer(int width, TColorLookup& lookup)
    : TErrorDiffusionDitherer(width, lookup, kStevensonArce) {}

TBurkesDitherer::TBurkesDitherer(int width, TColorLookup& lookup)
    : TErrorDiffusionDitherer(width, lookup, kBurkes) {}

std::unique_ptr<TDitherEngine> CreateDitherer(int mode, int width, TColorLookup& lookup)
{
    switch (mode) {
    case 0: return std::make_unique<TDitherEngine>(width, lookup);
    case 1: return std::make_unique<TFloydSteinbergDitherer>(width, lookup);
    case 2: return std::make_unique<TStuckiDitherer>(width, lookup);
    case 3: return std::make_unique<TSierraDitherer>(width, lookup);
    case 4: return std::make_unique<TJaJuNiDitherer>(width, lookup);
    case 5: return std::make_unique<TSteveArcheDitherer>(width, lookup);
    case 6: return std::make_unique<TBurkesDitherer>(width, lookup);
    default: return nullptr;
    }
}
