// Parsing the RIFF chunks of an animated cursor into icon frames.
#include "images/AnimatedCursorImage.h"

#include "images/IconList.h"
#include "images/LittleEndian.h"
#include "images/ReducedDIB.h"
#include "platform/Exception.h"
#include "platform/FileIO.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t kChunkHeader = 8;
constexpr size_t kMaxText = 255;

[[noreturn]] void ReadError()
{
    throw EReadError(TMessage(StreamReadError, {}));
}

struct TChunk {
    std::string_view tag;
    std::string_view data; // what of the declared size is present
    size_t padded = 0;     // the declared size rounded up to even
};

// Reads chunks one after another from a span of bytes.
class TChunkReader {
public:
    explicit TChunkReader(std::string_view span) : span_(span) {}
    bool Next(TChunk& chunk)
    {
        if (span_.size() - at_ < kChunkHeader)
            return false;
        chunk.tag = span_.substr(at_, 4);
        const std::uint64_t size = le::Get32(span_, at_ + 4);
        at_ += kChunkHeader;
        chunk.padded = static_cast<size_t>(std::min<std::uint64_t>(size + (size & 1), span_.size() - at_));
        chunk.data = span_.substr(at_, static_cast<size_t>(std::min<std::uint64_t>(size, span_.size() - at_)));
        truncated_ = size > span_.size() - at_;
        at_ += chunk.padded;
        return true;
    }
    // The last chunk's declared size passed the end of the span.
    bool Truncated() const { return truncated_; }

private:
    std::string_view span_;
    size_t at_ = 0;
    bool truncated_ = false;
};

int ColoursOfBitCount(int bits)
{
    return bits == 1 ? 2 : bits == 4 ? 16 : bits == 8 ? 256 : 0;
}

} // namespace

void TAnimatedCursorImage::Clear()
{
    header_ = TAniHeader{};
    title_.clear();
    creator_.clear();
    frames_.clear();
    maxColors_ = 0;
}

void TAnimatedCursorImage::LoadFromFile(const std::string& path)
{
    LoadFromData(vx::ReadWholeFile(path));
}

void TAnimatedCursorImage::LoadFromData(std::string_view data)
{
    if (data.empty())
        return;
    if (data.size() < 12 || data.substr(0, 4) != "RIFF" || data.substr(8, 4) != "ACON")
        ReadError();
    Clear();
    const std::uint64_t formEnd = std::min<std::uint64_t>(std::uint64_t{le::Get32(data, 4)} + 8, data.size());
    TChunkReader chunks(data.substr(12, formEnd > 12 ? static_cast<size_t>(formEnd - 12) : 0));
    size_t rateChunk = 0, seqChunk = 0;
    bool sequenced = false;
    int iconNumber = 0;
    TChunk chunk;
    while (chunks.Next(chunk)) {
        if (chunk.tag == "anih") {
            if (chunk.data.size() < 36)
                break;
            std::uint32_t fields[9];
            for (size_t i = 0; i < 9; ++i)
                fields[i] = le::Get32(chunk.data, i * 4);
            header_ = TAniHeader{fields[0], fields[1], fields[2], fields[3], fields[4],
                                 fields[5], fields[6], fields[7], fields[8]};
            if (!(header_.Flags & 1) || header_.Steps == 0)
                ReadError();
            // One frame per step, but never more than the rest of the file could hold.
            const size_t steps = std::min<size_t>(header_.Steps, data.size() / kChunkHeader);
            frames_.assign(steps, TIconFrame{});
            for (size_t i = 0; i < steps; ++i) {
                frames_[i].Index = static_cast<std::int32_t>(i);
                frames_[i].JiffRate = header_.DisplayRate;
            }
        } else if (chunk.tag == "rate" || chunk.tag == "seq ") {
            // One value per step.
            const bool rate = chunk.tag == "rate";
            size_t& next = rate ? rateChunk : seqChunk;
            sequenced = sequenced || !rate;
            for (size_t at = 0; at + 4 <= chunk.data.size() && next < frames_.size(); at += 4, ++next) {
                if (rate)
                    frames_[next].JiffRate = le::Get32(chunk.data, at);
                else
                    frames_[next].Index = static_cast<std::int32_t>(le::Get32(chunk.data, at));
            }
        } else if (chunk.tag == "LIST") {
            if (chunk.data.size() < 4)
                break;
            const std::string_view type = chunk.data.substr(0, 4);
            TChunkReader inner(chunk.data.substr(4));
            TChunk sub;
            if (type == "fram") {
                while (inner.Next(sub)) {
                    if (sub.tag != "icon")
                        continue;
                    std::string copy(sub.data);
                    if (copy.size() < 6)
                        break;
                    const int kind = static_cast<std::uint8_t>(copy[2]) | static_cast<std::uint8_t>(copy[3]) << 8;
                    if (kind != 1 && kind != 2)
                        break;
                    copy[2] = 1;
                    copy[3] = 0;
                    TIcon icon = TIcon::FromICO(copy);
                    if (icon.Empty())
                        break;
                    for (const TIconEntryInfo& e : icon.Entries())
                        maxColors_ = std::max(maxColors_, ColoursOfBitCount(e.bitCount));
                    const TIconEntryInfo& first = icon.Entries().front();
                    const int hotX = kind == 1 ? icon.Width() / 2 : first.hotX;
                    const int hotY = kind == 1 ? icon.Height() / 2 : first.hotY;
                    auto give = [&](TIconFrame& frame) {
                        frame.Icon = icon;
                        frame.IsIcon = kind == 1;
                        std::memcpy(frame.ChunkTag.data(), sub.tag.data(), 4);
                        frame.ChunkSize = static_cast<std::uint32_t>(sub.data.size());
                        frame.HotSpotX = hotX;
                        frame.HotSpotY = hotY;
                    };
                    bool matched = false;
                    for (TIconFrame& frame : frames_)
                        if (frame.Index == iconNumber) {
                            give(frame);
                            matched = true;
                        }
                    // Icons no step names become frames of their own, unless a sequence names the steps.
                    if (!matched && !sequenced) {
                        TIconFrame extra;
                        extra.JiffRate = header_.DisplayRate;
                        give(extra);
                        frames_.push_back(std::move(extra));
                    }
                    ++iconNumber;
                }
            } else if (type == "INFO") {
                while (inner.Next(sub) && !inner.Truncated()) {
                    if (sub.tag == "INAM" || sub.tag == "IART") {
                        std::string text(sub.data.substr(0, std::min(sub.data.size(), kMaxText)));
                        text = text.substr(0, text.find('\0'));
                        (sub.tag == "INAM" ? title_ : creator_) = text;
                    }
                }
            }
        }
        if (chunks.Truncated())
            break;
    }
    frames_.erase(std::remove_if(frames_.begin(), frames_.end(), [](const TIconFrame& f) { return f.Icon.Empty(); }),
                  frames_.end());
    header_.Steps = static_cast<std::uint32_t>(frames_.size());
    if (frames_.empty())
        ReadError();
}

TIcon TAnimatedCursorImage::FirstIcon() const
{
    return frames_.empty() ? TIcon{} : frames_.front().Icon;
}

void TAnimatedCursorImage::AssignTo(TIconList& list) const
{
    list.BeginUpdate();
    list.Clear();
    for (const TIconFrame& frame : frames_)
        list.Add(frame.Icon);
    list.EndUpdate();
}

TGIFBitmap TAnimatedCursorImage::DrawFramesToBitmap(std::uint32_t background, bool vertical, bool reduceColors) const
{
    if (frames_.empty())
        return TGIFBitmap{};
    const int w = frames_.front().Icon.Width();
    const int h = frames_.front().Icon.Height();
    const int n = Count();
    TGIFBitmap strip(vertical ? w : w * n, vertical ? h * n : h, TPixelFormat::pf24bit);
    for (int y = 0; y < strip.Height(); ++y)
        for (int x = 0; x < strip.Width(); ++x) {
            std::uint8_t* p = strip.ScanLine(y) + x * 3;
            p[0] = static_cast<std::uint8_t>(background >> 16);
            p[1] = static_cast<std::uint8_t>(background >> 8);
            p[2] = static_cast<std::uint8_t>(background);
        }
    for (int i = 0; i < n; ++i) {
        const TGIFBitmap icon = frames_[static_cast<size_t>(i)].Icon.Composed(background);
        const int left = vertical ? 0 : i * w;
        const int top = vertical ? i * h : 0;
        for (int y = 0; y < icon.Height() && top + y < strip.Height(); ++y)
            for (int x = 0; x < icon.Width() && left + x < strip.Width(); ++x)
                std::memcpy(strip.ScanLine(top + y) + (left + x) * 3, icon.ScanLine(y) + x * 3, 3);
    }
    if (reduceColors && maxColors_ > 0) {
        TGIFBitmap reduced;
        reduced.LoadFromBMP(BitmapToReducedDIBForColors(strip, maxColors_));
        return reduced;
    }
    return strip;
}
