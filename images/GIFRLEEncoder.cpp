// Run-length coding in LZW codes. After a clear the decoder's table grows by one
// entry per code; a run of one colour written right after a clear makes entries
// holding 2, 3, 4 ... copies of that colour, which later runs of it reuse.
#include "images/GIFRLEEncoder.h"

#include <cstdint>

void TRLEEncoder::Output(int code)
{
    justCleared_ = false;
    WriteCode(code);
    ++outCount_;
    if (outCount_ >= outBump_) {
        ++codeSize_;
        outBump_ += 1 << (codeSize_ - 1);
    }
    if (outCount_ >= outClear_)
        Clear();
}

// The clear code goes out at the size the decoder reads it with; only then does
// the code size return to its initial value.
void TRLEEncoder::Clear()
{
    WriteCode(clearCode_);
    codeSize_ = initCodeSize_;
    outBump_ = outBumpInit_;
    outClear_ = outClearInit_;
    outCount_ = 0;
    tableMax_ = 0;
    justCleared_ = true;
}

int TRLEEncoder::TriangleCost(int count, int codes)
{
    std::int64_t n = count;
    int cost = 0;
    const std::int64_t perRepeat = std::int64_t{codes} * (codes + 1) / 2;
    while (n >= perRepeat) {
        cost += codes;
        n -= perRepeat;
    }
    if (n > 0) {
        // Smallest j with j(j+1) >= 2n, starting from Newton's integer square root of 2n.
        const std::int64_t target = 2 * n;
        std::int64_t j = target;
        for (std::int64_t next = (j + 1) / 2; next < j; next = (j + target / j) / 2)
            j = next;
        while (j > 0 && j * (j - 1) >= target)
            --j;
        while (j * (j + 1) < target)
            ++j;
        cost += static_cast<int>(j);
    }
    return cost;
}

void TRLEEncoder::RestoreClearPoint()
{
    outClear_ = outClearInit_;
    if (outCount_ >= outClear_)
        Clear();
}

void TRLEEncoder::FlushFromClear(int count)
{
    outClear_ = maxOut_;
    tablePixel_ = runPixel_;
    int k = 1;
    while (count > 0) {
        if (k == 1) {
            tableMax_ = 1;
            Output(runPixel_);
            --count;
        } else if (k <= count) {
            tableMax_ = k;
            Output(firstFree_ + k - 2);
            count -= k;
        } else {
            ++tableMax_;
            Output(count == 1 ? runPixel_ : firstFree_ + count - 2);
            count = 0;
        }
        k = outCount_ == 0 ? 1 : k + 1;
    }
    RestoreClearPoint();
}

void TRLEEncoder::FlushClearOrRepeat(int count)
{
    if (1 + TriangleCost(count, maxOut_) < count) {
        Clear();
        FlushFromClear(count);
    } else {
        for (int i = 0; i < count; ++i)
            Output(runPixel_);
    }
}

void TRLEEncoder::FlushWithTable(int count)
{
    const int t = tableMax_;
    int repeats = count / t;
    int leftover = count % t;
    int leftoverCost = leftover != 0 ? 1 : 0;
    if (outCount_ + repeats + leftoverCost > maxOut_) {
        repeats = maxOut_ - outCount_;
        leftover = count - repeats * t;
        leftoverCost = 1 + TriangleCost(leftover, maxOut_);
    }
    if (1 + TriangleCost(count, maxOut_) >= repeats + leftoverCost) {
        outClear_ = maxOut_;
        for (int i = 0; i < repeats; ++i)
            Output(firstFree_ + t - 2);
        if (leftover > 0) {
            if (justCleared_)
                FlushFromClear(leftover);
            else if (leftover == 1)
                Output(runPixel_);
            else
                Output(firstFree_ + leftover - 2);
        }
        RestoreClearPoint();
    } else {
        Clear();
        FlushFromClear(count);
    }
}

void TRLEEncoder::FlushRun(int count)
{
    if (count == 1)
        Output(runPixel_);
    else if (justCleared_)
        FlushFromClear(count);
    else if (tableMax_ < 2 || tablePixel_ != runPixel_)
        FlushClearOrRepeat(count);
    else
        FlushWithTable(count);
}

void TRLEEncoder::Compress()
{
    outBumpInit_ = clearCode_ - 1;
    outClearInit_ = initBits_ > 3 ? clearCode_ - 2 : 9;
    maxOut_ = 4095 - (clearCode_ + 2);
    runPixel_ = -1;
    runLength_ = 0;
    tablePixel_ = -1;
    Clear();
    const std::uint8_t* p;
    const std::uint8_t* end;
    while (NextSpan(p, end))
        while (p != end) {
            const std::uint8_t pixel = *p;
            const std::uint8_t* runEnd = p + 1;
            while (runEnd != end && *runEnd == pixel)
                ++runEnd;
            if (pixel == runPixel_) {
                runLength_ += static_cast<int>(runEnd - p);
            } else {
                if (runLength_ > 0)
                    FlushRun(runLength_);
                runPixel_ = pixel;
                runLength_ = static_cast<int>(runEnd - p);
            }
            p = runEnd;
        }
    if (runLength_ > 0)
        FlushRun(runLength_);
}
