// The walk's address store.
#include "internet/AddressStore.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t kBlockSize = 64 << 10;

unsigned char Lower(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return u >= 'A' && u <= 'Z' ? static_cast<unsigned char>(u - 'A' + 'a') : u;
}

std::size_t HashNoCase(std::string_view text)
{
    std::size_t hash = 1469598103934665603ull;
    for (char c : text)
        hash = (hash ^ Lower(c)) * 1099511628211ull;
    return hash;
}

bool EqualNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

} // namespace

TAddressStore::TId TAddressStore::Add(std::string_view text)
{
    if (text.size() > blockFree_) {
        const std::size_t size = std::max(kBlockSize, text.size());
        blocks_.push_back(std::make_unique<char[]>(size));
        blockNext_ = blocks_.back().get();
        blockFree_ = size;
    }
    if (!text.empty())
        std::memcpy(blockNext_, text.data(), text.size());
    texts_.emplace_back(blockNext_, text.size());
    blockNext_ += text.size();
    blockFree_ -= text.size();
    return static_cast<TId>(texts_.size() - 1);
}

std::size_t TAddressStore::Slot(std::string_view text) const
{
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = HashNoCase(text) & mask;; i = (i + 1) & mask)
        if (slots_[i] == 0 || EqualNoCase(texts_[slots_[i] - 1], text))
            return i;
}

std::optional<TAddressStore::TId> TAddressStore::FindQueued(std::string_view text) const
{
    if (slots_.empty())
        return std::nullopt;
    const TId entry = slots_[Slot(text)];
    return entry == 0 ? std::nullopt : std::optional<TId>(entry - 1);
}

void TAddressStore::Grow()
{
    std::vector<TId> old = std::move(slots_);
    slots_.assign(old.empty() ? 1024 : old.size() * 2, 0);
    for (TId entry : old)
        if (entry != 0)
            slots_[Slot(texts_[entry - 1])] = entry;
}

void TAddressStore::MarkQueued(TId id)
{
    // At most half full, so every probe ends soon at an empty slot.
    if ((queued_ + 1) * 2 > slots_.size())
        Grow();
    std::size_t slot = Slot(texts_[id]);
    if (slots_[slot] == 0) {
        slots_[slot] = id + 1;
        ++queued_;
    }
}

void TAddressStore::Clear()
{
    // Gives the memory of a large walk back, not just the entries.
    *this = TAddressStore();
}
