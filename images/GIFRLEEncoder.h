// The run-length encoder: runs of one colour written as LZW codes that any GIF
// decoder accepts, without building a dictionary.
#pragma once

#include "images/GIFEncoder.h"

class TRLEEncoder : public TGIFEncoder {
public:
    using TGIFEncoder::TGIFEncoder;

protected:
    void Output(int code) override;
    void Clear() override;
    void Compress() override;

private:
    void FlushRun(int count);
    void FlushFromClear(int count);
    void FlushClearOrRepeat(int count);
    void FlushWithTable(int count);
    void RestoreClearPoint();
    // Codes needed to write count pixels with run codes of up to `codes` pixels each.
    static int TriangleCost(int count, int codes);

    int runPixel_ = -1;
    int runLength_ = 0;
    int outCount_ = 0;
    int outBump_ = 0;
    int outBumpInit_ = 0;
    int outClear_ = 0;
    int outClearInit_ = 0;
    int tableMax_ = 0;
    int tablePixel_ = -1;
    bool justCleared_ = false;
    int maxOut_ = 0;
};
