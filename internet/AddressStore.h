// The addresses of a link walk, kept once each in large blocks rather than as
// a string per link, and a set of the queued ones that finds an address
// without regard to case. An address costs its characters and about two dozen
// bytes more, so a walk over hundreds of thousands of links stays small.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

class TAddressStore {
public:
    using TId = std::uint32_t;

    // Keeps a copy of the text; its view stays valid until Clear.
    TId Add(std::string_view text);
    std::string_view Text(TId id) const { return texts_[id]; }
    // The queued address equal to text without regard to case, if there is one.
    std::optional<TId> FindQueued(std::string_view text) const;
    void MarkQueued(TId id);
    void Clear();

private:
    std::size_t Slot(std::string_view text) const;
    void Grow();

    std::vector<std::unique_ptr<char[]>> blocks_;
    std::size_t blockFree_ = 0;
    char* blockNext_ = nullptr;
    std::vector<std::string_view> texts_;
    // Open addressing over the queued ids: 0 is empty, otherwise id + 1.
    std::vector<TId> slots_;
    std::size_t queued_ = 0;
};
