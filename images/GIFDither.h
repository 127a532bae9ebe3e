// Ditherers: the plain nearest-colour engine and the six error-diffusion kernels.
// Rows are visited in serpentine order; a kernel is mirrored on right-to-left rows.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class TColorLookup;

// Nearest colour without error diffusion.
class TDitherEngine {
public:
    TDitherEngine(int width, TColorLookup& lookup) : width_(width), lookup_(lookup) {}
    virtual ~TDitherEngine() = default;
    TDitherEngine(const TDitherEngine&) = delete;
    TDitherEngine& operator=(const TDitherEngine&) = delete;

    // The palette index for the colour at the current column; the column moves on.
    virtual std::uint8_t Dither(int red, int green, int blue);
    // Moves past a pixel that is not dithered (a transparent one): it takes no
    // colour and spreads no error.
    void Skip() { Step(); }
    // Reverses the direction; the column restarts at the row's new first end.
    virtual void NextLine();
    int Column() const { return column_; }
    int Direction() const { return direction_; }
    int Width() const { return width_; }

protected:
    TColorLookup& Lookup() { return lookup_; }
    void Step() { column_ += direction_; }

private:
    int direction_ = 1;
    int column_ = 0;
    int width_;
    TColorLookup& lookup_;
};

// One weight of a kernel: rows below the current one, columns ahead of it.
struct TKernelWeight {
    int Row;
    int Column;
    int Weight;
};

struct TDitherKernel {
    std::vector<TKernelWeight> Weights;
    int Divisor;
};

// Spreads each pixel's error over the pixels ahead through a kernel, keeping one
// error row per kernel row and channel, wide enough for the kernel to reach past
// both edges.
class TErrorDiffusionDitherer : public TDitherEngine {
public:
    TErrorDiffusionDitherer(int width, TColorLookup& lookup, const TDitherKernel& kernel);
    std::uint8_t Dither(int red, int green, int blue) override;
    void NextLine() override;

private:
    // Points every kernel row at its error row, starting with the row of `first`.
    void AimRows();
    int* Errors(int row, int column) { return rowStart_[static_cast<size_t>(row)] + (column + margin_) * 3; }

    const TDitherKernel& kernel_;
    int rows_ = 1;
    int margin_ = 0;
    int rowLength_ = 0;
    int first_ = 0;
    std::vector<int> errors_;
    std::vector<int*> rowStart_;
};

class TFloydSteinbergDitherer : public TErrorDiffusionDitherer {
public:
    TFloydSteinbergDitherer(int width, TColorLookup& lookup);
};

// Kernels five columns wide over three rows.
class T5by3Ditherer : public TErrorDiffusionDitherer {
public:
    using TErrorDiffusionDitherer::TErrorDiffusionDitherer;
};

class TStuckiDitherer : public T5by3Ditherer {
public:
    TStuckiDitherer(int width, TColorLookup& lookup);
};

class TSierraDitherer : public T5by3Ditherer {
public:
    TSierraDitherer(int width, TColorLookup& lookup);
};

class TJaJuNiDitherer : public T5by3Ditherer {
public:
    TJaJuNiDitherer(int width, TColorLookup& lookup);
};

class TSteveArcheDitherer : public TErrorDiffusionDitherer {
public:
    TSteveArcheDitherer(int width, TColorLookup& lookup);
};

class TBurkesDitherer : public TErrorDiffusionDitherer {
public:
    TBurkesDitherer(int width, TColorLookup& lookup);
};

// Dither modes 0 (nearest) to 6 (Burkes); null for any other mode.
std::unique_ptr<TDitherEngine> CreateDitherer(int mode, int width, TColorLookup& lookup);
