// The editor's clipboard: the private block format that keeps a copied
// block's selection mode, and the narrow interface to the system clipboard.
#pragma once

#include "editor/mwEditTypes.h"
#include "platform/Exception.h"

#include <string>
#include <string_view>

VX_DECLARE_EXCEPTION(EmwEditError, Exception);

// The name of the private format on the system clipboard.
inline constexpr const char* MwEditBlockFormat = "Vellumix Editor Block Type";

// Mode byte, then the text and a terminating zero.
std::string EncodeEditBlock(TSelectionMode mode, std::string_view text);
// False for an empty block. The text ends at the first zero or at the end of
// the block, whichever comes first; an unknown mode byte reads as smNormal.
bool DecodeEditBlock(std::string_view block, TSelectionMode& mode, std::string& text);

class TmwClipboard {
public:
    virtual ~TmwClipboard() = default;
    virtual bool HasText() const = 0;
    virtual bool HasBlock() const = 0;
    virtual std::string Text() const = 0;
    // The raw private block; false when it cannot be read.
    virtual bool Block(std::string& block) const = 0;
    // Puts the plain text and the private block at once; false when that failed.
    virtual bool SetTextAndBlock(const std::string& text, const std::string& block) = 0;
};
