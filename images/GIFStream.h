// Byte streams the GIF library reads and writes, the exact-read helpers, and the
// sub-block writer that chops image data into blocks of at most 255 bytes.
#pragma once

#include <cstdint>
#include <string>

class TGIFImage;
class TStringList;

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

// A random-access byte stream. Read answers how many bytes it really read.
class TByteStream {
public:
    virtual ~TByteStream() = default;
    virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
    virtual std::int64_t Write(const void* buffer, std::int64_t count) = 0;
    virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;

    std::int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
    void SetPosition(std::int64_t position) { Seek(position, TSeekOrigin::soBeginning); }
    std::int64_t Size();
    // Bytes between the position and the end; never negative.
    std::int64_t Remaining();
};

// A stream over a byte string held in memory.
class TMemoryByteStream : public TByteStream {
public:
    TMemoryByteStream() = default;
    explicit TMemoryByteStream(std::string data) : data_(std::move(data)) {}

    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;

    const std::string& Data() const { return data_; }
    void Clear();

private:
    std::string data_;
    std::int64_t position_ = 0;
};

// Reads exactly count bytes or raises "Premature end of data".
void ReadCheck(TByteStream& stream, void* buffer, std::int64_t count);
void WriteByte(TByteStream& stream, std::uint8_t value);
// The next byte, or -1 at the end of the stream.
int ReadByte(TByteStream& stream);
// Each line becomes one or more sub-blocks of at most 255 bytes; a zero byte ends the data.
void WriteStrings(TByteStream& stream, const TStringList& strings);
// Every sub-block becomes one line; stops at a zero length byte or the end of the stream.
void ReadStrings(TByteStream& stream, TStringList& strings);
// Skips data sub-blocks up to and including the zero-length block (or the end of the stream).
void SkipSubBlocks(TByteStream& stream);

// A stream that refuses the ordinary stream operations; its descendants add their own.
class TGIFStream : public TByteStream {
public:
    explicit TGIFStream(TGIFImage* image) : image_(image) {}
    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    TGIFImage* Image() const { return image_; }

private:
    TGIFImage* image_;
};

// Collects bytes and writes them to the target as data sub-blocks (count byte,
// then up to 255 bytes). Close writes the last partial block; the zero-length
// block that ends the data is the caller's.
class TGIFWriter : public TGIFStream {
public:
    TGIFWriter(TByteStream& target, TGIFImage* image) : TGIFStream(image), target_(target) {}
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    void WriteByte(std::uint8_t value)
    {
        buffer_[++count_] = value;
        if (count_ == 255)
            FlushBlock();
    }
    void Close() { FlushBlock(); }

private:
    void FlushBlock();
    TByteStream& target_;
    std::uint8_t buffer_[256] = {};
    int count_ = 0;
};
