// THTMLCompressor: holds an HTML file in memory and makes it smaller (short
// tags, fewer blanks, line breaks and double quotes, no webbot comments)
// without touching what the page's server and browser read as written. The
// text only ever shrinks.
#pragma once

#include "tools/PageCompressor.h"

#include <cstdint>
#include <string>

namespace vx::tools {

// The options are the compressor's published fields.
class THTMLCompressor : public TCompressOptions {
public:
    // Every option is on; the wizard turns all but SimpleTags off.
    THTMLCompressor()
        : TCompressOptions{.SimpleTags = true,
                           .Center = true,
                           .InvCommas = true,
                           .Spaces = true,
                           .Returns = true,
                           .AllReturns = true,
                           .Webbots = true}
    {
    }

    // Reads the whole file. On failure the compressor is left empty (no text,
    // sizes 0) and LastError() says why, in the current language.
    bool LoadFromFile(const std::string& fileName);
    // Runs the passes once per load; a second call does nothing.
    virtual void Compress();
    // Writes the compressed text atomically: an empty file before Compress.
    // False with LastError() when nothing was loaded or the write failed.
    bool SaveToFile(const std::string& fileName);

    // For callers that already hold the text.
    void SetText(std::string text);
    const std::string& Text() const { return buffer_; }

    std::int64_t LoadedSize() const { return loadedSize_; }
    std::int64_t CompressedSize() const { return compressedSize_; }
    bool Compressed() const { return compressed_; }
    const std::string& LastError() const { return lastError_; }

    virtual ~THTMLCompressor() = default;

private:
    void Clear();

    std::string buffer_;
    bool loaded_ = false;
    std::int64_t loadedSize_ = 0;
    std::int64_t compressedSize_ = 0;
    bool compressed_ = false;
    std::string lastError_;
};

} // namespace vx::tools
