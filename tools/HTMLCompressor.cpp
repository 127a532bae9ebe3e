#include "tools/HTMLCompressor.h"

#include "localisation/RunTimeText.h"
#include "platform/Exception.h"
#include "platform/FileIO.h"

namespace vx::tools {

namespace {

const TRunTimeText CannotOpen{"Cannot open file %1: %2"};
const TRunTimeText CannotCreate{"Cannot create file %1: %2"};
const TRunTimeText NothingLoaded{"No file is loaded"};

} // namespace

void THTMLCompressor::Clear()
{
    buffer_.clear();
    loaded_ = false;
    loadedSize_ = 0;
    compressedSize_ = 0;
    compressed_ = false;
}

bool THTMLCompressor::LoadFromFile(const std::string& fileName)
{
    Clear();
    lastError_.clear();
    try {
        SetText(ReadWholeFile(fileName));
        return true;
    } catch (const Exception& e) {
        lastError_ = ErrorText(e);
    } catch (const std::exception& e) {
        lastError_ = CannotOpen({fileName, ErrorText(e)});
    }
    Clear();
    return false;
}

void THTMLCompressor::SetText(std::string text)
{
    buffer_ = std::move(text);
    loaded_ = true;
    loadedSize_ = static_cast<std::int64_t>(buffer_.size());
    compressedSize_ = 0;
    compressed_ = false;
}

void THTMLCompressor::Compress()
{
    if (loadedSize_ == 0 || compressed_)
        return;
    buffer_ = CompressPage(buffer_, *this);
    compressedSize_ = static_cast<std::int64_t>(buffer_.size());
    compressed_ = true;
}

bool THTMLCompressor::SaveToFile(const std::string& fileName)
{
    lastError_.clear();
    if (!loaded_) {
        lastError_ = NothingLoaded();
        return false;
    }
    try {
        // Before a compression there is nothing compressed to write.
        WriteFileAtomic(fileName, compressed_ ? buffer_ : std::string());
        return true;
    } catch (const Exception& e) {
        lastError_ = ErrorText(e);
    } catch (const std::exception& e) {
        lastError_ = CannotCreate({fileName, ErrorText(e)});
    }
    return false;
}

} // namespace vx::tools
