// The editor's clipboard on the system clipboard: plain text, plus the
// private block under its own format name.
#pragma once

#include "editor/mwEditClipboard.h"

class TmwQtClipboard : public TmwClipboard {
public:
    bool HasText() const override;
    bool HasBlock() const override;
    std::string Text() const override;
    bool Block(std::string& block) const override;
    bool SetTextAndBlock(const std::string& text, const std::string& block) override;
};
