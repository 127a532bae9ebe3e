// Byte streams, exact reads, text sub-blocks and the sub-block writer.
#include "images/GIFStream.h"

#include "images/GIFException.h"
#include "platform/TStringList.h"

#include <algorithm>
#include <cstring>

namespace {

const TWording InvalidStreamOperation{"Invalid stream operation"};

} // namespace

std::int64_t TByteStream::Size()
{
    const std::int64_t position = Position();
    const std::int64_t size = Seek(0, TSeekOrigin::soEnd);
    SetPosition(position);
    return size;
}

std::int64_t TByteStream::Remaining()
{
    return std::max<std::int64_t>(0, Size() - Position());
}

std::int64_t TMemoryByteStream::Read(void* buffer, std::int64_t count)
{
    const std::int64_t size = static_cast<std::int64_t>(data_.size());
    const std::int64_t n = std::clamp<std::int64_t>(size - position_, 0, std::max<std::int64_t>(count, 0));
    if (n > 0)
        std::memcpy(buffer, data_.data() + position_, static_cast<size_t>(n));
    position_ += n;
    return n;
}

std::int64_t TMemoryByteStream::Write(const void* buffer, std::int64_t count)
{
    if (count <= 0)
        return 0;
    const size_t end = static_cast<size_t>(position_ + count);
    if (end > data_.size())
        data_.resize(end);
    std::memcpy(data_.data() + position_, buffer, static_cast<size_t>(count));
    position_ += count;
    return count;
}

std::int64_t TMemoryByteStream::Seek(std::int64_t offset, TSeekOrigin origin)
{
    std::int64_t base = 0;
    if (origin == TSeekOrigin::soCurrent)
        base = position_;
    else if (origin == TSeekOrigin::soEnd)
        base = static_cast<std::int64_t>(data_.size());
    position_ = std::max<std::int64_t>(0, base + offset);
    return position_;
}

void TMemoryByteStream::Clear()
{
    data_.clear();
    position_ = 0;
}

void ReadCheck(TByteStream& stream, void* buffer, std::int64_t count)
{
    if (stream.Read(buffer, count) != count)
        throw GIFException(TMessage(PrematureEndOfData, {}));
}

void WriteByte(TByteStream& stream, std::uint8_t value)
{
    stream.Write(&value, 1);
}

int ReadByte(TByteStream& stream)
{
    std::uint8_t value = 0;
    return stream.Read(&value, 1) == 1 ? value : -1;
}

void WriteStrings(TByteStream& stream, const TStringList& strings)
{
    for (int i = 0; i < strings.Count(); ++i) {
        const std::string& line = strings[i];
        for (size_t start = 0; start < line.size(); start += 255) {
            const size_t n = std::min<size_t>(255, line.size() - start);
            WriteByte(stream, static_cast<std::uint8_t>(n));
            stream.Write(line.data() + start, static_cast<std::int64_t>(n));
        }
    }
    WriteByte(stream, 0);
}

void ReadStrings(TByteStream& stream, TStringList& strings)
{
    int size;
    while ((size = ReadByte(stream)) > 0) {
        std::string line(static_cast<size_t>(size), '\0');
        ReadCheck(stream, line.data(), size);
        strings.Add(line);
    }
}

void SkipSubBlocks(TByteStream& stream)
{
    int size;
    while ((size = ReadByte(stream)) > 0)
        stream.Seek(std::min<std::int64_t>(size, stream.Remaining()), TSeekOrigin::soCurrent);
}

std::int64_t TGIFStream::Read(void*, std::int64_t)
{
    throw GIFException(TMessage(InvalidStreamOperation, {}));
}

std::int64_t TGIFStream::Write(const void*, std::int64_t)
{
    throw GIFException(TMessage(InvalidStreamOperation, {}));
}

std::int64_t TGIFStream::Seek(std::int64_t, TSeekOrigin)
{
    throw GIFException(TMessage(InvalidStreamOperation, {}));
}

std::int64_t TGIFWriter::Write(const void* buffer, std::int64_t count)
{
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    for (std::int64_t i = 0; i < count; ++i)
        WriteByte(bytes[i]);
    return count;
}

void TGIFWriter::FlushBlock()
{
    if (count_ == 0)
        return;
    buffer_[0] = static_cast<std::uint8_t>(count_);
    target_.Write(buffer_, count_ + 1);
    count_ = 0;
}
