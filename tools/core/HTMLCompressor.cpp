#include "tools/core/HTMLCompressor.h"

#include "platform/Exception.h"
#include "platform/FileIO.h"
#include "tools/core/CompressPasses.h"

#include <array>

namespace vx::tools {

namespace {

// The doubled breaks may go inside script blocks; nothing else touches them.
constexpr std::array<TReplacePass, 2> DoubledBreaks{{
    {"\r\r", "\r", true, false},
    {"\n\n", "\n", true, false},
}};
constexpr std::array<TReplacePass, 3> BreakDeletions{{
    {"\r\n", "", true, true},
    {"\r", "", true, true},
    {"\n", "", true, true},
}};
constexpr std::array<TReplacePass, 5> BlankRuns{{
    {"    ", " ", true, true},
    {"   ", " ", true, true},
    {"  ", " ", true, true},
    {"  ", " ", true, true},
    {" >", ">", true, true},
}};
// Short tags are wanted inside pre blocks too, but never inside scripts.
constexpr std::array<TReplacePass, 8> ShortTags{{
    {"<strong>", "<b>", false, true},
    {"</strong>", "</b>", false, true},
    {"<em>", "<i>", false, true},
    {"</em>", "</i>", false, true},
    {"<strike>", "<s>", false, true},
    {"</strike>", "</s>", false, true},
    {"<blockquote>", "<ul>", false, true},
    {"</blockquote>", "</ul>", false, true},
}};

template <std::size_t N> void RunPasses(std::string& text, const std::array<TReplacePass, N>& passes, bool webbots)
{
    for (const TReplacePass& pass : passes)
        ReplacePass(text, pass, webbots);
}

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
        lastError_ = e.Message();
    } catch (const std::exception& e) {
        lastError_ = "Cannot open file " + fileName + ": " + e.what();
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
    std::string& text = buffer_;
    if (InvCommas)
        StripQuotes(text);
    if (AllReturns || Returns)
        RunPasses(text, DoubledBreaks, Webbots);
    if (AllReturns)
        RunPasses(text, BreakDeletions, Webbots);
    if (Spaces)
        RunPasses(text, BlankRuns, Webbots);
    if (SimpleTags)
        RunPasses(text, ShortTags, Webbots);
    if (Center) {
        PairRule(text, "<p align=center>", "<center>", "</p>", "</center>");
        PairRule(text, "<p align=\"center\">", "<center>", "</p>", "</center>");
    }
    compressedSize_ = static_cast<std::int64_t>(text.size());
    compressed_ = true;
}

bool THTMLCompressor::SaveToFile(const std::string& fileName)
{
    lastError_.clear();
    if (!loaded_) {
        lastError_ = "No file is loaded";
        return false;
    }
    try {
        WriteFileAtomic(fileName, buffer_);
        return true;
    } catch (const Exception& e) {
        lastError_ = e.Message();
    } catch (const std::exception& e) {
        lastError_ = "Cannot create file " + fileName + ": " + e.what();
    }
    return false;
}

} // namespace vx::tools
