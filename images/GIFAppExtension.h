// Application extensions: the base with its identifier, the loop extension and
// the keeper of data blocks of applications the library does not know.
#pragma once

#include "images/GIFExtension.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TGIFApplicationExtension : public TGIFExtension {
public:
    using TGIFExtension::TGIFExtension;
    static const TGIFExtensionClass& Class();
    const TGIFExtensionClass& ClassInfo() const override { return Class(); }

    // The 8-byte identifier followed by the 3-byte authentication code.
    std::string Identifier() const { return std::string(identifier_.begin(), identifier_.end()); }
    void SetIdentifier(std::string_view identifier);

protected:
    // Block size 11 and the identifier, then the application data.
    void SaveExtension(TByteStream& stream) override;
    // Raises "Unsupported Application Extension block size" below 10.
    void LoadExtension(TByteStream& stream) override;
    // Data of an application with no class of its own is skipped up to its zero-length block.
    virtual void SaveData(TByteStream& stream);
    virtual void LoadData(TByteStream& stream);

private:
    std::array<char, 11> identifier_{};
};

// One raw data sub-block.
struct TGIFBlock {
    std::string Data;
};

// Keeps the data blocks of an unregistered application so they survive a load and save.
class TGIFUnknownAppExtension : public TGIFApplicationExtension {
public:
    using TGIFApplicationExtension::TGIFApplicationExtension;
    static const TGIFExtensionClass& Class();
    const TGIFExtensionClass& ClassInfo() const override { return Class(); }

    std::vector<TGIFBlock> Blocks;

protected:
    void SaveData(TByteStream& stream) override;
    void LoadData(TByteStream& stream) override;
};

// The "NETSCAPE2.0" (or "ANIMEXTS1.0") loop extension.
class TGIFAppExtNSLoop : public TGIFApplicationExtension {
public:
    explicit TGIFAppExtNSLoop(TGIFSubImage& subImage);
    static const TGIFExtensionClass& Class();
    const TGIFExtensionClass& ClassInfo() const override { return Class(); }

    // 0 loops forever.
    std::uint16_t Loops = 0;
    std::uint32_t BufferSize = 0;

protected:
    void SaveData(TByteStream& stream) override;
    // Raises "Invalid GIF data" for a loop or buffer sub-block too short for its value.
    void LoadData(TByteStream& stream) override;
};
