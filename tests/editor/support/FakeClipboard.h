// A clipboard for the editor model's tests: holds what was put, and can be
// told to fail.
#pragma once

#include "editor/mwEditClipboard.h"

class TFakeClipboard : public TmwClipboard {
public:
    bool HasText() const override { return hasText; }
    bool HasBlock() const override { return hasBlock; }
    std::string Text() const override { return text; }
    bool Block(std::string& out) const override
    {
        out = block;
        return !failRead;
    }
    bool SetTextAndBlock(const std::string& t, const std::string& b) override
    {
        if (failWrite)
            return false;
        text = t;
        block = b;
        hasText = hasBlock = true;
        return true;
    }

    std::string text;
    std::string block;
    bool hasText = false;
    bool hasBlock = false;
    bool failWrite = false;
    bool failRead = false;
};
