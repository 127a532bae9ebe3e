#include "tools/core/HTMLCompressor.h"

#include "platform/Exception.h"
#include "platform/FileIO.h"
#include "tools/core/CompressPasses.h"


namespace vx::tools {

namespace {

constexpr TReplaceRule DoubledCr[] = {{"\r\r", "\r"}};
constexpr TReplaceRule DoubledLf[] = {{"\n\n", "\n"}};
constexpr TReplaceRule CrLf[] = {{"\r\n", ""}};
constexpr TReplaceRule Cr[] = {{"\r", ""}};
constexpr TReplaceRule Lf[] = {{"\n", ""}};
// Run one after the other these collapse every blank run; tried in order at
// each place they do the same in one pass.
constexpr TReplaceRule BlankRuns[] = {{"    ", " "}, {"   ", " "}, {"  ", " "}, {"  ", " "}, {" >", ">"}};
// No short tag is part of a long one, so the eight share one pass.
constexpr TReplaceRule ShortTags[] = {
    {"<strong>", "<b>"}, {"</strong>", "</b>"}, {"<em>", "<i>"},         {"</em>", "</i>"},
    {"<strike>", "<s>"}, {"</strike>", "</s>"}, {"<blockquote>", "<ul>"}, {"</blockquote>", "</ul>"},
};

// The doubled breaks may go inside script blocks; nothing else touches them.
constexpr TReplacePass DoubledBreaks[] = {{DoubledCr, true, false}, {DoubledLf, true, false}};
constexpr TReplacePass BreakDeletions[] = {{CrLf, true, true}, {Cr, true, true}, {Lf, true, true}};
constexpr TReplacePass Blanks[] = {{BlankRuns, true, true}};
// Short tags are wanted inside pre blocks too, but never inside scripts.
constexpr TReplacePass Tags[] = {{ShortTags, false, true}};

constexpr TPairRule CentredParagraphs[] = {{"<p align=center>", "<center>", "</p>", "</center>"},
                                           {"<p align=\"center\">", "<center>", "</p>", "</center>"}};

void RunPasses(std::string& text, std::span<const TReplacePass> passes, bool webbots)
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
        RunPasses(text, Blanks, Webbots);
    if (SimpleTags)
        RunPasses(text, Tags, Webbots);
    if (Center) {
        PairRules(text, CentredParagraphs);
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
